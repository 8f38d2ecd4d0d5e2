#include "app/instance_guard.h"

#include "app/shared_security.h"

namespace {

const WPARAM kNotifyAll = 1;
const WPARAM kNotifyUser = 2;
const DWORD kStopTimeoutMs = 2000;

}  // namespace

UINT ObserveAppNotifyMessage()
{
    static const UINT message = RegisterWindowMessageW(L"CObserveAppNotify");
    return message;
}

win::UniqueHandle CreateOrOpenMutex(bool initialOwner, const std::wstring& name)
{
    if (name.empty())
        return win::UniqueHandle();
    SharedSecurityAttributes security;
    win::UniqueHandle mutex(CreateMutexW(security.attributes(), initialOwner, name.c_str()));
    if (!mutex)
        mutex.reset(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
    return mutex;
}

win::UniqueHandle CreateOrOpenEvent(bool manualReset, bool initiallySignalled, const std::wstring& name)
{
    if (name.empty())
        return win::UniqueHandle();
    SharedSecurityAttributes security;
    win::UniqueHandle event(CreateEventW(security.attributes(), manualReset, initiallySignalled, name.c_str()));
    if (!event)
        event.reset(OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name.c_str()));
    return event;
}

CInstanceGuard::CInstanceGuard(const wchar_t* name)
{
    if (!name || !*name)
        return;
    m_pszName = name;
    m_hUserShutdownEvent = CreateOrOpenEvent(true, false, FormatObjectName(L"%s-Shutdown-User"));
    m_hAllShutdownEvent = CreateOrOpenEvent(true, false, FormatObjectName(L"Global\\%s-Shutdown-All"));
}

CInstanceGuard::~CInstanceGuard()
{
    // The watcher may still wait on the handles below.
    StopWatcher();
    // Mutex ownership ends with the owning thread; it is not released here.
    m_hUserMutex.reset();
    m_hAllMutex.reset();
    m_hUserShutdownEvent.reset();
    m_hAllShutdownEvent.reset();
}

std::wstring CInstanceGuard::FormatObjectName(const wchar_t* format) const
{
    if (m_pszName.empty() || !format)
        return std::wstring();
    std::wstring result = format;
    const size_t at = result.find(L"%s");
    if (at != std::wstring::npos)
        result.replace(at, 2, m_pszName);
    return result;
}

bool CInstanceGuard::IsUserInstanceRunning() const
{
    const std::wstring name = FormatObjectName(L"%s-MutexUser");
    if (name.empty())
        return false;
    win::UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
    return static_cast<bool>(mutex);
}

bool CInstanceGuard::Start()
{
    // A zero wait takes ownership when the mutex is free; a later instance just holds a handle.
    if (!m_hUserMutex)
        m_hUserMutex = CreateOrOpenMutex(false, FormatObjectName(L"%s-MutexUser"));
    if (m_hUserMutex)
        WaitForSingleObject(m_hUserMutex.get(), 0);
    if (!m_hAllMutex)
        m_hAllMutex = CreateOrOpenMutex(false, FormatObjectName(L"Global\\%s-MutexAll"));
    if (m_hAllMutex)
        WaitForSingleObject(m_hAllMutex.get(), 0);
    StartWatcher();
    return static_cast<bool>(m_hUserMutex);
}

bool CInstanceGuard::SignalUserShutdown()
{
    return m_hUserShutdownEvent && SetEvent(m_hUserShutdownEvent.get());
}

bool CInstanceGuard::SignalAllShutdown()
{
    return m_hAllShutdownEvent && SetEvent(m_hAllShutdownEvent.get());
}

bool CInstanceGuard::StartWatcher()
{
    StopWatcher();
    m_hStopEvent.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    // Without a stop event the watcher could neither wait nor be ended cleanly.
    if (!m_hStopEvent)
        return false;
    m_hWatcherThread.reset(CreateThread(nullptr, 0, &CInstanceGuard::WatchShutdown, this, 0, nullptr));
    return static_cast<bool>(m_hWatcherThread);
}

bool CInstanceGuard::StopWatcher()
{
    bool clean = true;
    if (m_hWatcherThread) {
        if (m_hStopEvent)
            SetEvent(m_hStopEvent.get());
        if (WaitForSingleObject(m_hWatcherThread.get(), kStopTimeoutMs) != WAIT_OBJECT_0) {
            TerminateThread(m_hWatcherThread.get(), 0);
            clean = false;
        }
        m_hWatcherThread.reset();
    }
    m_hStopEvent.reset();
    return clean;
}

DWORD WINAPI CInstanceGuard::WatchShutdown(LPVOID parameter)
{
    auto* guard = static_cast<CInstanceGuard*>(parameter);
    // Order matters: a stop request wins, and a global shutdown wins over a per-session one.
    const HANDLE handles[3] = {guard->m_hStopEvent.get(), guard->m_hAllShutdownEvent.get(),
                               guard->m_hUserShutdownEvent.get()};
    for (HANDLE h : handles) {
        if (!h)
            return 0;  // an object is missing: this instance cannot be asked to close
    }
    switch (WaitForMultipleObjects(3, handles, FALSE, INFINITE)) {
    case WAIT_OBJECT_0 + 1:
        guard->OnShutdownSignalled(kNotifyAll);
        break;
    case WAIT_OBJECT_0 + 2:
        guard->OnShutdownSignalled(kNotifyUser);
        break;
    default:  // stopped, or the wait failed
        break;
    }
    return 0;
}

void CInstanceGuard::OnShutdownSignalled(WPARAM which)
{
    if (m_hNotifyWnd && IsWindow(m_hNotifyWnd))
        PostMessageW(m_hNotifyWnd, ObserveAppNotifyMessage(), which, 0);
    if (!m_pObserver)
        return;
    if (which == kNotifyAll)
        m_pObserver->OnShutdownAll();
    else
        m_pObserver->OnShutdownUser();
}
