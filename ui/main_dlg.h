// The program's only top-level window: a skinned dialog of fixed width whose working area is
// the tab control. It restores and saves its rectangle and offers the About box.
#pragma once
#include "handles.h"
#include "main_dlg_painter.h"
#include "sable_dialog.h"
#include "tab_ctrl_main.h"

#include <functional>

class CMainDlg : public SableDialog2 {
public:
    explicit CMainDlg(HWND parent);
    ~CMainDlg() override;

    // Called with the window once it exists (before its initialisation) and with null when
    // it is being destroyed; for whoever must reach the window from outside (WM_CLOSE).
    void SetWindowCallback(std::function<void(HWND)> callback) { m_windowCallback = std::move(callback); }

    // WM_USER hands the focus to the current view; the rest is the dialog's.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}  // Enter does not close the dialog
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnPaintMinimized();
    void OnDestroy();

    CTabCtrlMain m_tabCtrl;
    win::UniqueIcon m_hSmallIcon;
    win::UniqueIcon m_hLargeIcon;
    CMainDlgPainter m_painter;
    std::function<void(HWND)> m_windowCallback;
};
