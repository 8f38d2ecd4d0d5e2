// One running instance per logon session, a machine-wide "an instance runs" mark, and
// shutdown requests from other processes (this session or all sessions).
#pragma once
#include "win/handles.h"

#include <windows.h>
#include <string>

// Told on the guard's watcher thread which shutdown event fired; implementations must
// only post to their own thread.
class IShutdownObserver {
public:
    virtual void OnShutdownAll() = 0;
    virtual void OnShutdownUser() = 0;

protected:
    ~IShutdownObserver() = default;
};

// Id of the registered window message "CObserveAppNotify" (registered on first use).
UINT ObserveAppNotifyMessage();

// Creates the named object with the shared security (handle not inheritable), or, when that
// gives no handle (it exists with a stricter access list), opens it with SYNCHRONIZE
// (mutex) or EVENT_MODIFY_STATE|SYNCHRONIZE (event). Empty when neither works.
win::UniqueHandle CreateOrOpenMutex(bool initialOwner, const std::wstring& name);
win::UniqueHandle CreateOrOpenEvent(bool manualReset, bool initiallySignalled, const std::wstring& name);

class CInstanceGuard {
public:
    // Copies `name` and creates or opens the per-session, then the global shutdown event.
    explicit CInstanceGuard(const wchar_t* name);
    // Ends the watcher first, then closes every handle.
    ~CInstanceGuard();
    CInstanceGuard(const CInstanceGuard&) = delete;
    CInstanceGuard& operator=(const CInstanceGuard&) = delete;

    // `format` with "%s" replaced by the base name; empty when there is no name.
    std::wstring FormatObjectName(const wchar_t* format) const;

    // Whether the per-session instance mutex exists (only a running instance holds it).
    bool IsUserInstanceRunning() const;

    // Takes both instance mutexes (as far as free) and starts the watcher.
    // True when the per-session mutex handle is held.
    bool Start();

    // Set the shutdown event; true on success.
    bool SignalUserShutdown();
    bool SignalAllShutdown();

    // Ends a running watcher, then starts a new one; true when the thread was created.
    bool StartWatcher();
    // Ends the watcher within 2000 ms, else forcibly; false only when it had to be forced.
    bool StopWatcher();

    // Both must be set before Start/StartWatcher; the watcher reads them without a lock.
    void SetObserver(IShutdownObserver* observer) { m_pObserver = observer; }
    void SetNotifyWindow(HWND window) { m_hNotifyWnd = window; }

private:
    static DWORD WINAPI WatchShutdown(LPVOID parameter);
    void OnShutdownSignalled(WPARAM which);

    win::UniqueHandle m_hUserMutex;
    win::UniqueHandle m_hAllMutex;
    win::UniqueHandle m_hUserShutdownEvent;
    win::UniqueHandle m_hAllShutdownEvent;
    win::UniqueHandle m_hStopEvent;
    win::UniqueHandle m_hWatcherThread;
    std::wstring m_pszName;
    HWND m_hNotifyWnd = nullptr;
    IShutdownObserver* m_pObserver = nullptr;
};
