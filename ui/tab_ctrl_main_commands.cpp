// Open and Help: from the buttons, and from the views through the buttons' posted commands.
#include "ui/tab_ctrl_main.h"

#include "ui/app_launcher.h"

void CTabCtrlMain::OnEntryCommand(EntryCommand command, CAppInfo* entry)
{
    // The entry asked for becomes the page's entry first (a menu can be for a row selected among
    // others that the view never reported), so the button command acts on it.
    if (entry && entry != m_model.SelectedEntry())
        OnSelectionChanged(entry);
    // Posted, not acted on: the command runs after the view's current message (a menu, a
    // notification), as a click of the button would.
    const UINT id = command == EntryCommand::Open ? page::kOpenButtonId : page::kHelpButtonId;
    PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

bool CTabCtrlMain::OnCommand(UINT id, UINT code, HWND source)
{
    if (code == BN_CLICKED && id == page::kOpenButtonId) {
        OnBnClickedOpen();
        return true;
    }
    if (code == BN_CLICKED && id == page::kHelpButtonId) {
        OnBnClickedHelp();
        return true;
    }
    return sable::SableTabCtrl::OnCommand(id, code, source);
}

void CTabCtrlMain::OnBnClickedOpen()
{
    CAppInfo* app = m_model.EntryToOpen();  // the message box of a failure runs a loop of its own
    if (!app || OpenApp(*app) != OpenResult::Started)
        return;
    m_model.RecordStart(*app);
    // The visible recent view keeps its items under the user's eyes; a hidden one is rebuilt.
    if (!m_listRecent.IsWindowVisible()) {
        m_listRecent.RefreshView(m_model.RecentEntries());
        m_filteredBy[page::IndexOf(page::View::Recent)].clear();  // narrowed again when shown
    }
}

void CTabCtrlMain::OnBnClickedHelp()
{
    if (CAppInfo* app = m_model.EntryForHelp())
        OpenHelp(*app);
}
