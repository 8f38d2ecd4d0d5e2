#include "ui/view_common.h"

#include "catalog/app_info.h"
#include "res/resource.h"
#include "ui/page_ids.h"
#include "win/controls.h"
#include "win/resource_module.h"

namespace view {

RECT Placement(const RECT& ownerClient)
{
    return RECT{ownerClient.left + 2, ownerClient.top + 100, ownerClient.right - 2, ownerClient.bottom - 2};
}

void Move(HWND view, const RECT& ownerClient, int grow)
{
    if (!view || !::IsWindow(view))
        return;
    const RECT rc = Placement(ownerClient);
    ::MoveWindow(view, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    if (grow > 0 && ::IsWindowVisible(view)) {
        RECT client{};
        ::GetClientRect(view, &client);
        RECT strip{client.left, client.bottom - grow, client.right, client.bottom};
        ::RedrawWindow(view, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void TranslateCommand(HWND view, UINT command)
{
    UINT target = 0;
    if (command == page::kMenuOpenCommand)
        target = page::kOpenButtonId;
    else if (command == page::kMenuHelpCommand)
        target = page::kHelpButtonId;
    else
        return;
    // Posted, not sent: the owner acts after the current message, on the entry last reported.
    ::PostMessageW(::GetParent(view), WM_COMMAND, MAKEWPARAM(target, 0), 0);
}

void PostOpen(HWND view)
{
    ::PostMessageW(::GetParent(view), WM_COMMAND, MAKEWPARAM(page::kOpenButtonId, 0), 0);
}

void ShowEntryMenu(HWND view, const CAppInfo& entry)
{
    win::PopupMenu menu;
    if (!menu.Create())
        return;
    menu.AppendString(page::kMenuOpenCommand, LoadResString(IDS_OPEN));
    menu.AppendString(page::kMenuHelpCommand, LoadResString(IDS_HELP));
    menu.SetDefaultItem(page::kMenuOpenCommand);
    if (entry.m_strHelpPath.empty())
        menu.EnableItem(page::kMenuHelpCommand, false);
    POINT pointer{};
    ::GetCursorPos(&pointer);
    menu.Track(view, pointer);
}

}  // namespace view
