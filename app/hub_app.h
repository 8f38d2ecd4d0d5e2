// The application object: decides once per process whether to signal running instances,
// hand over to the one running in this session, or run the main dialog.
#pragma once
#include "app/instance_guard.h"
#include "win/handles.h"

#include <windows.h>
#include <atomic>
#include <string>

class CHubApp : public IShutdownObserver {
public:
    // `productName` is the base name of the instance objects; the program passes "Brindle",
    // a literal that does not change with the language of the resource library.
    explicit CHubApp(const wchar_t* productName = L"Brindle");
    ~CHubApp();
    CHubApp(const CHubApp&) = delete;
    CHubApp& operator=(const CHubApp&) = delete;

    // The whole start-up: exactly one of halt, haltAll, hand-over or run. Always false.
    bool InitInstance();

    // On the watcher thread: post WM_CLOSE to the main window if it still exists.
    void OnShutdownAll() override;
    void OnShutdownUser() override;

    // The main dialog's window while it exists (set on creation, cleared on destruction).
    void SetMainWindow(HWND window) { m_hMainWnd.store(window); }
    HWND GetMainWindow() const { return m_hMainWnd.load(); }

    // Set when a shutdown signal reached the main window: the page's availability checks, should
    // they still run, end at once, so that the close they hold up follows without delay.
    HANDLE GetHaltEvent() const { return m_hHaltEvent.get(); }

    // Caption of the program's message boxes: string 57344 of the program's own module.
    const std::wstring& GetAppName() const { return m_strAppName; }

private:
    void CloseMainWindow();
    void ShowMessage(const std::wstring& text) const;
    void BringRunningInstanceToFront() const;

    // Declared before the guard: the watcher, stopped when the guard dies, reads the window.
    std::wstring m_strAppName;
    std::atomic<HWND> m_hMainWnd{nullptr};
    win::UniqueHandle m_hHaltEvent;

public:
    CInstanceGuard m_guard;
    // Entry id to select first; empty = none. Set just before the main dialog runs.
    std::wstring m_strStartName;
    // View to show first (0 Categories, 1 List, 2 Recent Settings); -1 = none.
    int m_nStartTab = -1;
};

// The process's application object (the first one constructed); null when there is none.
CHubApp* GetHubApp();
