// The program's only top-level window: a skinned dialog of fixed width whose working area is
// the tab control. It restores and saves its rectangle and offers the About box.
#pragma once
#include "win/handles.h"
#include "ui/main_dlg_painter.h"
#include "sable/sable_dialog.h"
#include "ui/start_request.h"
#include "ui/tab_ctrl_main.h"

#include <functional>

class CMainDlg : public sable::SableDialog2 {
public:
    explicit CMainDlg(HWND parent);
    ~CMainDlg() override;

    // Called with the window once it exists (before its initialisation) and with null when
    // it is being destroyed; for whoever must reach the window from outside (WM_CLOSE).
    void SetWindowCallback(std::function<void(HWND)> callback) { m_windowCallback = std::move(callback); }

    // What the command line asked to show first; set before DoModal.
    void SetStartRequest(const StartRequest& start) { m_tabCtrl.SetStartRequest(start); }

    // WM_USER hands the focus to the current view; the rest is the dialog's.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}  // Enter does not close the dialog
    bool OnSysCommand(UINT command) override;
    bool OnPaint() override;
    HICON OnQueryDragIcon() override { return m_hSmallIcon.get(); }
    void OnNcHitTest(POINT screen, LRESULT& hit) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnSize(UINT type, int width, int height) override;
    void OnDestroy() override;
    // The window moved to a monitor of another DPI: it takes the suggested rectangle and lays
    // the page out, with its images and fonts, at the new DPI.
    bool OnDpiChanged(int dpi, const RECT& suggested) override;

    // The DPI the window is laid out at.
    int Dpi() const;
    // The two icons of the window at the scale of `dpi`.
    void LoadIcons(int dpi);

    CTabCtrlMain m_tabCtrl;
    win::UniqueIcon m_hSmallIcon;
    win::UniqueIcon m_hLargeIcon;
    CMainDlgPainter m_painter;
    std::function<void(HWND)> m_windowCallback;
    int m_nDpi = 0;  // 0 until the window is initialised: the system's answer then
};
