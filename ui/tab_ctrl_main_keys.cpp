// The page's keyboard rules: where the tab strip stands in the Tab order, Ctrl+Tab and
// Ctrl+Shift+Tab between the tabs, and Enter on a focused Open or Help button.
#include "ui/tab_ctrl_main.h"

namespace {

bool IsKeyDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

bool CTabCtrlMain::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN)
        return sable::SableTabCtrl::PreTranslateMessage(msg);

    const HWND focus = ::GetFocus();
    const HWND open = m_btnOpen.GetSafeHwnd();
    const bool tab = IsKeyDown(VK_TAB);
    const bool shift = IsKeyDown(VK_SHIFT);
    const bool ctrl = IsKeyDown(VK_CONTROL);

    if (focus != m_hWnd && tab && !ctrl) {
        // The tab strip sits in the cycle between the visible view and Open: Tab that would wrap
        // to Open and Shift+Tab from Open land on it, and so does Tab from the page's only stop.
        const HWND next = ::GetNextDlgTabItem(m_hWnd, focus, FALSE);
        if ((!shift && next == open) || (shift && focus == open) || next == focus) {
            SetFocus();
            return true;
        }
    } else if (tab && ctrl) {
        const int count = GetItemCount();
        const int current = GetCurSel();
        if (count > 0)
            SelectTab(shift ? (current <= 0 ? count - 1 : current - 1) : (current >= count - 1 ? 0 : current + 1));
        return true;
    }

    if (msg->wParam == VK_RETURN && focus && focus == open) {
        OnBnClickedOpen();
        return true;
    }
    if (msg->wParam == VK_RETURN && focus && focus == m_btnHelp.GetSafeHwnd()) {
        OnBnClickedHelp();
        return true;
    }
    return sable::SableTabCtrl::PreTranslateMessage(msg);
}
