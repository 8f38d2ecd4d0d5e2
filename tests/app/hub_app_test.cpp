#include "app/hub_app.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring UniqueProductName()
{
    return L"BrindleHubTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
}

// Waits up to `ms` for a WM_CLOSE anywhere in this thread's queue, for a window or for none (a
// post to a null window lands there); true with the window it was for in `target`.
bool NextClose(DWORD ms, HWND* target)
{
    const DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        if (PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
            *target = msg.wParam == 0 && msg.lParam == 0 ? msg.hwnd : nullptr;
            return true;
        }
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
    HWND target = nullptr;

    app.OnShutdownUser();  // no main window yet
    EXPECT_FALSE(NextClose(0, &target));

    app.SetMainWindow(window);
    app.OnShutdownUser();
    ASSERT_TRUE(NextClose(0, &target));
    EXPECT_EQ(target, window);
    app.OnShutdownAll();
    ASSERT_TRUE(NextClose(0, &target));
    EXPECT_EQ(target, window);

    // A signal from another process reaches the window through the guard's watcher.
    app.m_guard.SetObserver(&app);
    app.m_guard.Start();
    CInstanceGuard signaller(name.c_str());
    ASSERT_TRUE(signaller.SignalUserShutdown());
    ASSERT_TRUE(NextClose(2000, &target));
    EXPECT_EQ(target, window);
    EXPECT_TRUE(app.m_guard.StopWatcher());

    // A handle that names no live window gets nothing. A destroyed window's handle is refused by
    // PostMessageW itself; the broadcast value is not, and would reach every top-level window
    // (the one above included) if the handle were not checked first.
    app.SetMainWindow(HWND_BROADCAST);
    app.OnShutdownAll();
    EXPECT_FALSE(NextClose(0, &target));
    app.SetMainWindow(window);
    DestroyWindow(window);  // a late notification finds the handle dead
    app.OnShutdownAll();
    EXPECT_FALSE(NextClose(0, &target));
}
