#include "app/hub_app.h"

#include "app/command_line_info.h"
#include "win/privileges.h"
#include "res/resource.h"
#include "app/resource_library.h"
#include "win/resource_module.h"
#include "app/run_main_dialog.h"
#include "sable/sable_api.h"

#include <commctrl.h>

namespace {

CHubApp* g_pHubApp = nullptr;

}  // namespace

CHubApp* GetHubApp()
{
    return g_pHubApp;
}

CHubApp::CHubApp(const wchar_t* productName)
    : m_hHaltEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_guard(productName)
{
    if (!g_pHubApp)
        g_pHubApp = this;
}

CHubApp::~CHubApp()
{
    if (g_pHubApp == this)
        g_pHubApp = nullptr;
}

bool CHubApp::InitInstance()
{
    // Taken before the resource library is in force, so the caption is always the program's own.
    m_strAppName = LoadModuleString(GetProgramModule(), IDS_APP_TITLE);
    InitCommonControls();

    if (!LoadResourceLibrary()) {
        ShowMessage(LoadModuleString(GetProgramModule(), IDS_ERR_SYSTEM));
        return false;
    }

    CHubCommandLineInfo cmdInfo;
    ParseCommandLine(GetCommandLineW(), cmdInfo);

    if (cmdInfo.m_bHalt) {
        m_guard.SignalUserShutdown();
        return false;
    }
    if (cmdInfo.m_bHaltAll) {
        bool admin = false;
        if (IsAdministrator(&admin) && admin)
            m_guard.SignalAllShutdown();
        else
            ShowMessage(L"APP_ERR_CAN_NOT_HALT_ALL_NEED_ADMIN");
        return false;
    }
    if (m_guard.IsUserInstanceRunning()) {
        BringRunningInstanceToFront();
        return false;
    }

    m_guard.SetObserver(this);
    m_guard.Start();  // the dialog runs even when the guard could not take its objects
    m_strStartName = cmdInfo.m_strStartName;
    m_nStartTab = cmdInfo.m_nStartTab;

    const bool lunaEnabled = sable::SableAPI::EnableLuna(true);
    RunMainDialog(*this);
    if (lunaEnabled)
        sable::SableAPI::EnableLuna(true);
    return false;
}

void CHubApp::OnShutdownAll()
{
    CloseMainWindow();
}

void CHubApp::OnShutdownUser()
{
    CloseMainWindow();
}

void CHubApp::CloseMainWindow()
{
    const HWND window = m_hMainWnd.load();
    if (window && IsWindow(window)) {
        SetEvent(m_hHaltEvent.get());
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

void CHubApp::ShowMessage(const std::wstring& text) const
{
    MessageBoxW(nullptr, text.c_str(), m_strAppName.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CHubApp::BringRunningInstanceToFront() const
{
    // The running instance's main dialog carries the application title as its caption.
    const std::wstring title = LoadResString(IDS_APP_TITLE);
    const HWND window = FindWindowW(L"#32770", title.c_str());
    if (window)
        SetForegroundWindow(window);
}
