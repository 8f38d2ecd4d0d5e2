#include "ui/view_common.h"

#include "catalog/app_info.h"
#include "res/resource.h"
#include "ui/page_ids.h"
#include "win/controls.h"
#include "win/resource_module.h"

namespace view {

void Move(HWND view, const RECT& placement, int grow)
{
    if (!view || !::IsWindow(view))
        return;
    const RECT& rc = placement;
    ::MoveWindow(view, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    if (grow > 0 && ::IsWindowVisible(view)) {
        RECT client{};
        ::GetClientRect(view, &client);
        RECT strip{client.left, client.bottom - grow, client.right, client.bottom};
        ::RedrawWindow(view, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
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

bool MenuCommand(UINT id, EntryCommand& command)
{
    if (id == page::kMenuOpenCommand)
        command = EntryCommand::Open;
    else if (id == page::kMenuHelpCommand)
        command = EntryCommand::Help;
    else
        return false;
    return true;
}

}  // namespace view
