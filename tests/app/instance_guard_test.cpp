#include "app/instance_guard.h"
#include "app/shared_security.h"

#include "win/handles.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>

#include <string>

namespace {

// Names of their own per test, so no test meets another's objects (or the program's).
std::wstring UniqueBaseName()
{
    static LONG counter = 0;
    return L"BrindleTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter));
}

std::wstring Format(const wchar_t* format, const std::wstring& base)
{
    std::wstring text = format;
    return text.replace(text.find(L"%s"), 2, base);
}

// Counts the calls it gets and signals each one.
class RecordingObserver : public IShutdownObserver {
public:
    RecordingObserver() : m_called(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    void OnShutdownAll() override { Record(m_all); }
    void OnShutdownUser() override { Record(m_user); }
    bool WaitForCall(DWORD ms) const { return WaitForSingleObject(m_called.get(), ms) == WAIT_OBJECT_0; }
    LONG all() const { return m_all; }
    LONG user() const { return m_user; }

private:
    void Record(volatile LONG& count)
    {
        InterlockedIncrement(&count);
        SetEvent(m_called.get());
    }
    win::UniqueHandle m_called;
    volatile LONG m_all = 0;
    volatile LONG m_user = 0;
};

// Blocks inside the notification until released, so the watcher cannot end.
class BlockingObserver : public IShutdownObserver {
public:
    BlockingObserver()
        : m_entered(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_release(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~BlockingObserver() { SetEvent(m_release.get()); }
    void OnShutdownAll() override { Block(); }
    void OnShutdownUser() override { Block(); }
    bool WaitEntered(DWORD ms) const { return WaitForSingleObject(m_entered.get(), ms) == WAIT_OBJECT_0; }

private:
    void Block()
    {
        SetEvent(m_entered.get());
        WaitForSingleObject(m_release.get(), 10000);
    }
    win::UniqueHandle m_entered;
    win::UniqueHandle m_release;
};

struct AceView {
    BYTE type = 0;
    ACCESS_MASK mask = 0;
    bool everyone = false;
};

bool IsEveryone(PSID sid)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    const bool equal = EqualSid(sid, everyone);
    FreeSid(everyone);
    return equal;
}

std::vector<AceView> ReadAces(PACL acl)
{
    std::vector<AceView> aces;
    for (WORD i = 0; acl && i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(acl, i, &ace))
            break;
        AceView view;
        view.type = static_cast<ACE_HEADER*>(ace)->AceType;
        // Allowed and denied entries share one layout: header, mask, SID.
        auto* known = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        view.mask = known->Mask;
        view.everyone = IsEveryone(&known->SidStart);
        aces.push_back(view);
    }
    return aces;
}

// A handle that may read the access list of the named mutex or event.
win::UniqueHandle OpenForReadControl(const std::wstring& name, bool isMutex)
{
    return win::UniqueHandle(isMutex ? OpenMutexW(READ_CONTROL, FALSE, name.c_str())
                                     : OpenEventW(READ_CONTROL, FALSE, name.c_str()));
}

}  // namespace

TEST(SharedSecurity, DescriptorDeniesChangesThenAllowsAll)
{
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(BuildSharedSecurityDescriptor(&descriptor, false));
    BOOL present = FALSE, defaulted = TRUE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(&descriptor, &present, &acl, &defaulted));
    EXPECT_TRUE(present);
    EXPECT_FALSE(defaulted);
    ASSERT_NE(acl, nullptr);
    EXPECT_EQ(acl->AclRevision, ACL_REVISION);
    std::vector<AceView> aces = ReadAces(acl);
    ASSERT_EQ(aces.size(), 2u);
    EXPECT_EQ(aces[0].type, ACCESS_DENIED_ACE_TYPE);
    EXPECT_EQ(aces[0].mask, static_cast<ACCESS_MASK>(WRITE_DAC | WRITE_OWNER));
    EXPECT_TRUE(aces[0].everyone);
    EXPECT_EQ(aces[1].type, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(aces[1].mask, static_cast<ACCESS_MASK>(GENERIC_ALL));
    EXPECT_TRUE(aces[1].everyone);
    PSID owner = nullptr;
    BOOL ownerDefaulted = FALSE;
    EXPECT_TRUE(GetSecurityDescriptorOwner(&descriptor, &owner, &ownerDefaulted));
    EXPECT_EQ(owner, nullptr);
    FreeSharedSecurityDescriptor(&descriptor);
    ASSERT_TRUE(GetSecurityDescriptorDacl(&descriptor, &present, &acl, &defaulted));
    EXPECT_FALSE(present);

    SECURITY_DESCRIPTOR open;
    ASSERT_TRUE(BuildSharedSecurityDescriptor(&open, true));
    ASSERT_TRUE(GetSecurityDescriptorDacl(&open, &present, &acl, &defaulted));
    aces = ReadAces(acl);
    ASSERT_EQ(aces.size(), 1u);
    EXPECT_EQ(aces[0].type, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_TRUE(aces[0].everyone);
    FreeSharedSecurityDescriptor(&open);

    EXPECT_FALSE(BuildSharedSecurityDescriptor(nullptr, false));
}

TEST(InstanceGuard, NamedObjectsCarryTheSharedAccessList)
{
    const std::wstring base = UniqueBaseName();
    CInstanceGuard guard(base.c_str());
    ASSERT_TRUE(guard.Start());

    const struct {
        const wchar_t* format;
        bool isMutex;
    } objects[] = {
        {L"%s-MutexUser", true},
        {L"Global\\%s-MutexAll", true},
        {L"Global\\%s-Shutdown-All", false},
        {L"%s-Shutdown-User", false},
    };
    for (const auto& object : objects) {
        const std::wstring name = Format(object.format, base);
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        win::UniqueHandle handle = OpenForReadControl(name, object.isMutex);
        ASSERT_TRUE(handle);
        PACL acl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_EQ(GetSecurityInfo(handle.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                                  nullptr, &descriptor),
                  static_cast<DWORD>(ERROR_SUCCESS));
        const std::vector<AceView> aces = ReadAces(acl);
        LocalFree(descriptor);
        ASSERT_EQ(aces.size(), 2u);
        EXPECT_EQ(aces[0].type, ACCESS_DENIED_ACE_TYPE);
        EXPECT_EQ(aces[0].mask, static_cast<ACCESS_MASK>(WRITE_DAC | WRITE_OWNER));
        EXPECT_TRUE(aces[0].everyone);
        EXPECT_EQ(aces[1].type, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_TRUE(aces[1].everyone);
    }
}

TEST(InstanceGuard, CreateOrOpenFallsBackToOpeningAProtectedObject)
{
    const std::wstring name = UniqueBaseName() + L"-Object";
    win::UniqueHandle first = CreateOrOpenEvent(true, false, name);
    ASSERT_TRUE(first);
    win::UniqueHandle second = CreateOrOpenEvent(true, false, name);
    ASSERT_TRUE(second);
    // Both name one object: a signal through the second is seen through the first.
    ASSERT_TRUE(SetEvent(second.get()));
    EXPECT_EQ(WaitForSingleObject(first.get(), 0), WAIT_OBJECT_0);

    const std::wstring mutexName = UniqueBaseName() + L"-Mutex";
    win::UniqueHandle mutex = CreateOrOpenMutex(false, mutexName);
    ASSERT_TRUE(mutex);
    EXPECT_TRUE(CreateOrOpenMutex(false, mutexName));
    // The name belongs to a mutex, so no event can be made or opened under it.
    EXPECT_FALSE(CreateOrOpenEvent(true, false, mutexName));
    EXPECT_FALSE(CreateOrOpenMutex(false, L""));
}

TEST(InstanceGuard, UserInstanceIsSeenWhileAGuardIsStarted)
{
    const std::wstring base = UniqueBaseName();
    CInstanceGuard observer(base.c_str());
    EXPECT_FALSE(observer.IsUserInstanceRunning());
    {
        CInstanceGuard running(base.c_str());
        EXPECT_FALSE(observer.IsUserInstanceRunning());  // constructing makes only the events
        EXPECT_TRUE(running.Start());
        EXPECT_TRUE(observer.IsUserInstanceRunning());
        EXPECT_TRUE(running.IsUserInstanceRunning());
    }
    EXPECT_FALSE(observer.IsUserInstanceRunning());
}

TEST(InstanceGuard, WatcherReportsTheSignalledEventToWindowAndObserver)
{
    const UINT notify = ObserveAppNotifyMessage();
    ASSERT_NE(notify, 0u);
    ASSERT_EQ(RegisterWindowMessageW(L"CObserveAppNotify"), notify);

    const struct {
        bool signalAll;
        bool signalUser;
        WPARAM expectedWParam;
    } cases[] = {
        {true, false, 1},
        {false, true, 2},
        {true, true, 1},  // the global event wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "all " << c.signalAll << ", user " << c.signalUser);
        const std::wstring base = UniqueBaseName();
        HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        RecordingObserver observer;
        {
            CInstanceGuard guard(base.c_str());
            CInstanceGuard signaller(base.c_str());  // another process would do the same
            EXPECT_TRUE(!c.signalAll || signaller.SignalAllShutdown());
            EXPECT_TRUE(!c.signalUser || signaller.SignalUserShutdown());
            guard.SetObserver(&observer);
            guard.SetNotifyWindow(window);
            guard.Start();
            ASSERT_TRUE(observer.WaitForCall(2000));
            // The watcher acted once and ended: stopping it is clean.
            EXPECT_TRUE(guard.StopWatcher());
        }
        EXPECT_EQ(observer.all(), c.expectedWParam == 1 ? 1 : 0);
        EXPECT_EQ(observer.user(), c.expectedWParam == 2 ? 1 : 0);
        MSG msg;
        ASSERT_TRUE(PeekMessageW(&msg, window, notify, notify, PM_REMOVE));
        EXPECT_EQ(msg.wParam, c.expectedWParam);
        EXPECT_EQ(msg.lParam, 0);
        EXPECT_FALSE(PeekMessageW(&msg, window, notify, notify, PM_REMOVE));  // exactly one
        DestroyWindow(window);
    }
}

TEST(InstanceGuard, StoppedWatcherNotifiesNobody)
{
    const std::wstring base = UniqueBaseName();
    RecordingObserver observer;
    CInstanceGuard guard(base.c_str());
    guard.SetObserver(&observer);
    ASSERT_TRUE(guard.Start());
    EXPECT_TRUE(guard.StopWatcher());
    EXPECT_TRUE(guard.StopWatcher());  // nothing left to stop
    ASSERT_TRUE(guard.SignalUserShutdown());
    ASSERT_TRUE(guard.SignalAllShutdown());
    EXPECT_FALSE(observer.WaitForCall(100));

    // A restarted watcher finds the events still set and reports once.
    ASSERT_TRUE(guard.StartWatcher());
    ASSERT_TRUE(observer.WaitForCall(2000));
    EXPECT_TRUE(guard.StopWatcher());
    EXPECT_EQ(observer.all(), 1);
    EXPECT_EQ(observer.user(), 0);
}

TEST(InstanceGuard, WatcherThatDoesNotEndIsForcedAfterTheLimit)
{
    const std::wstring base = UniqueBaseName();
    BlockingObserver observer;
    CInstanceGuard guard(base.c_str());
    guard.SetObserver(&observer);
    guard.Start();
    ASSERT_TRUE(guard.SignalUserShutdown());
    ASSERT_TRUE(observer.WaitEntered(2000));
    const DWORD started = GetTickCount();
    EXPECT_FALSE(guard.StopWatcher());
    const DWORD waited = GetTickCount() - started;
    EXPECT_GE(waited, 1900u);
    EXPECT_TRUE(guard.StopWatcher());
}

TEST(InstanceGuard, MissingObjectsFailQuietly)
{
    // The per-session event's name is taken by a mutex: the event can be neither made nor opened.
    const std::wstring base = UniqueBaseName();
    win::UniqueHandle squatter(CreateMutexW(nullptr, FALSE, Format(L"%s-Shutdown-User", base.c_str()).c_str()));
    ASSERT_TRUE(squatter);
    RecordingObserver observer;
    CInstanceGuard guard(base.c_str());
    guard.SetObserver(&observer);
    EXPECT_FALSE(guard.SignalUserShutdown());
    EXPECT_TRUE(guard.Start());
    ASSERT_TRUE(guard.SignalAllShutdown());
    EXPECT_FALSE(observer.WaitForCall(100));  // the watcher could not wait, so it ended at once
    EXPECT_TRUE(guard.StopWatcher());

    CInstanceGuard unnamed(L"");
    EXPECT_EQ(unnamed.FormatObjectName(L"%s-MutexUser"), L"");
    EXPECT_FALSE(unnamed.SignalUserShutdown());
    EXPECT_FALSE(unnamed.SignalAllShutdown());
    EXPECT_FALSE(unnamed.IsUserInstanceRunning());
    EXPECT_FALSE(unnamed.Start());
}
