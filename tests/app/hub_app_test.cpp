#include "app/hub_app.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring UniqueProductName()
{
    return L"BrindleHubTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
}

// Waits up to `ms` for a WM_CLOSE to `window` in this thread's queue.
bool WaitForClose(HWND window, DWORD ms)
{
    const DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        if (PeekMessageW(&msg, window, WM_CLOSE, WM_CLOSE, PM_REMOVE))
            return msg.wParam == 0 && msg.lParam == 0;
        if (GetTickCount() - start >= ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
    }
}

}  // namespace

TEST(HubApp, ShutdownClosesTheMainWindowOnlyWhileItExists)
{
    const std::wstring name = UniqueProductName();
    CHubApp app(name.c_str());
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    app.OnShutdownUser();  // no main window yet
    EXPECT_FALSE(WaitForClose(window, 0));

    app.SetMainWindow(window);
    app.OnShutdownUser();
    EXPECT_TRUE(WaitForClose(window, 0));
    app.OnShutdownAll();
    EXPECT_TRUE(WaitForClose(window, 0));

    // A signal from another process reaches the window through the guard's watcher.
    app.m_guard.SetObserver(&app);
    app.m_guard.Start();
    CInstanceGuard signaller(name.c_str());
    ASSERT_TRUE(signaller.SignalUserShutdown());
    EXPECT_TRUE(WaitForClose(window, 2000));
    EXPECT_TRUE(app.m_guard.StopWatcher());

    DestroyWindow(window);  // a late notification finds the handle dead
    app.OnShutdownAll();
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}
