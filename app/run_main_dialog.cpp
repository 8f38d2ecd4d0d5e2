#include "app/run_main_dialog.h"

#include "app/hub_app.h"
#include "catalog/check_session.h"
#include "ui/main_dlg.h"
#include "win/com_apartment.h"

void RunMainDialog(CHubApp& app)
{
    const win::ComApartment com;  // before the window exists, for its accessible objects
    CMainDlg dialog(nullptr);
    StartRequest start;
    start.name = app.m_strStartName;
    start.tab = app.m_nStartTab;
    dialog.SetStartRequest(start);
    // The shutdown observer may post WM_CLOSE only while the dialog's window exists.
    dialog.SetWindowCallback([&app](HWND window) { app.SetMainWindow(window); });
    // The page builds its catalogue in this session: a halt that arrives during its checks cuts
    // them short instead of waiting for them.
    CheckSession checks;
    checks.SetCancelEvent(app.GetHaltEvent());
    dialog.DoModal();
}
