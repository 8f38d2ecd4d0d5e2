// The page's keyboard rules: where the tab strip stands in the Tab order, Ctrl+Tab and
// Ctrl+Shift+Tab between the tabs, and Enter on a focused Open or Help button.
#include "ui/tab_ctrl_main.h"

#include "win/key_event.h"

bool CTabCtrlMain::PreTranslateMessage(MSG* msg)
{
    const win::KeyEvent key = win::KeyEvent::FromMessage(*msg);
    if (!key.IsKeyDown())
        return sable::SableTabCtrl::PreTranslateMessage(msg);

    if (IsSearchKey(key)) {
        m_searchBox.Activate();
        return true;
    }
    const HWND focus = ::GetFocus();
    const HWND open = m_btnOpen.GetSafeHwnd();
    const bool tab = key.Is(VK_TAB);

    if (focus != m_hWnd && tab && !key.ctrl) {
        // The tab strip sits in the cycle between the visible view and Open: Tab that would wrap
        // to Open and Shift+Tab from Open land on it, and so does Tab from the page's only stop.
        const HWND next = ::GetNextDlgTabItem(m_hWnd, focus, FALSE);
        if ((!key.shift && next == open) || (key.shift && focus == open) || next == focus) {
            SetFocus();
            return true;
        }
    } else if (tab && key.ctrl) {
        const int count = GetItemCount();
        if (count > 0) {
            SelectTab(CPageModel::NextTab(GetCurSel(), count, key.shift));
            KeepFocusUsable(focus);
        }
        return true;
    }

    if (key.Is(VK_RETURN) && focus && focus == open) {
        OnBnClickedOpen();
        return true;
    }
    if (key.Is(VK_RETURN) && focus && focus == m_btnHelp.GetSafeHwnd()) {
        OnBnClickedHelp();
        return true;
    }
    return sable::SableTabCtrl::PreTranslateMessage(msg);
}
