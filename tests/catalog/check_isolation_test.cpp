// Makers' check functions that crash, end their process, wait for the user or never return: each
// costs only its own entry, and the catalogue built around it keeps the good entries.
#include "catalog/catalog_builder.h"
#include "catalog/check_protocol.h"
#include "catalog/check_session.h"
#include "win/handles.h"
#include "tests/catalog/catalog_fixture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

// Shorter than the product's limit, to keep the hanging cases quick; long enough for a helper to start.
constexpr DWORD kTestTimeLimitMs = 3000;

class Outcomes : public ICatalogObserver {
public:
    void OnEntry(const CAppInfo& entry, bool, DropReason reason, CheckOutcome check) override
    {
        seen[entry.m_strId] = {reason, check};
    }
    std::map<std::wstring, std::pair<DropReason, CheckOutcome>> seen;
};

class CheckIsolation : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox_.ok()); }

    // A good entry with a passing check before and after the faulty one, so the check after a
    // failure shows that the helper was replaced.
    void Register(const std::wstring& faultySpec)
    {
        for (const wchar_t* id : {L"A-Good", L"M-Faulty", L"Z-Good"}) {
            ASSERT_TRUE(RegisterMinimalApp(id));
            ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheck", 1));
        }
        const std::wstring good = FixturePath(L"check_fixture.dll") + L",CheckStdcall,1";
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"A-Good"), L"AppCheckFunc", good));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Z-Good"), L"AppCheckFunc", good));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"M-Faulty"), L"AppCheckFunc", faultySpec));
    }

    std::vector<std::wstring> Build(CheckSession& session)
    {
        (void)session;  // the builder uses the session that is open
        std::vector<std::unique_ptr<CAppInfo>> catalog;
        BuildCatalog(catalog, &outcomes_);
        std::vector<std::wstring> ids;
        for (const auto& entry : catalog)
            ids.push_back(entry->m_strId);
        return ids;
    }

    RegistrySandbox sandbox_;
    CheckRecordsInSandbox records_{sandbox_};
    Outcomes outcomes_;
};

}  // namespace

TEST_F(CheckIsolation, AFaultyCheckCostsOnlyItsOwnEntry)
{
    const std::wstring faulty = FixturePath(L"faulty_checks.dll");
    const struct {
        std::wstring spec;
        CheckOutcome outcome;
    } cases[] = {
        {faulty + L",CrashNull,1", CheckOutcome::Crashed},
        {faulty + L",RaiseError,1", CheckOutcome::Crashed},
        {faulty + L",OverflowStack,1", CheckOutcome::Crashed},
        {faulty + L",LeaveThread,1", CheckOutcome::Crashed},
        {faulty + L",EndProcess,0", CheckOutcome::Exited},
        {faulty + L",ShowMessage,1", CheckOutcome::TimedOut},
        {faulty + L",SleepLong,1", CheckOutcome::TimedOut},
        {FixturePath(L"hanging_check.dll") + L",Check,1", CheckOutcome::TimedOut},
        {FixturePath(L"crashing_start.dll") + L",Check,1", CheckOutcome::Crashed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.spec));
        Register(c.spec);
        outcomes_.seen.clear();
        DWORD before = CheckCalls(L"CheckStdcall");
        CheckSession session(kTestTimeLimitMs);
        const DWORD started = GetTickCount();
        EXPECT_EQ(Build(session), (std::vector<std::wstring>{L"A-Good", L"Z-Good"}));
        EXPECT_LT(GetTickCount() - started, kTestTimeLimitMs + 10000);  // the hang was cut off
        EXPECT_EQ(outcomes_.seen[L"M-Faulty"], std::make_pair(DropReason::CheckFailed, c.outcome));
        EXPECT_EQ(outcomes_.seen[L"Z-Good"], std::make_pair(DropReason::None, CheckOutcome::Passed));
        EXPECT_EQ(CheckCalls(L"CheckStdcall") - before, 2u);
    }
}

TEST_F(CheckIsolation, FailedChecksAreToldApart)
{
    const std::wstring library = FixturePath(L"check_fixture.dll");
    Register(library + L",CheckCdecl,0");
    CheckSession session(kTestTimeLimitMs);
    EXPECT_EQ(Build(session), (std::vector<std::wstring>{L"A-Good", L"Z-Good"}));
    EXPECT_EQ(outcomes_.seen[L"M-Faulty"].second, CheckOutcome::AnsweredZero);
    EXPECT_EQ(outcomes_.seen[L"A-Good"].second, CheckOutcome::Passed);

    const std::pair<std::wstring, CheckOutcome> failures[] = {
        {FixturePath(L"no_such_check.dll") + L",CheckCdecl,1", CheckOutcome::NoLibrary},
        {library + L",CheckMissing,1", CheckOutcome::NoFunction},
        {library + L",CheckCdecl", CheckOutcome::BadFields},
    };
    for (const auto& failure : failures) {
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"M-Faulty"), L"AppCheckFunc", failure.first));
        Build(session);
        EXPECT_EQ(outcomes_.seen[L"M-Faulty"], std::make_pair(DropReason::CheckFailed, failure.second));
    }
    // An entry without a check reports none.
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(L"M-Faulty"), L"AppCheck", 0));
    Build(session);
    EXPECT_EQ(outcomes_.seen[L"M-Faulty"], std::make_pair(DropReason::None, CheckOutcome::NotRun));
}

TEST_F(CheckIsolation, WithoutTheHelperProgramEveryCheckFails)
{
    Register(FixturePath(L"check_fixture.dll") + L",CheckCdecl,1");
    ASSERT_TRUE(RegisterMinimalApp(L"Unchecked"));
    CheckSession session(kTestTimeLimitMs, FixturePath(L"missing\\BrindleCheck.exe"));
    EXPECT_EQ(Build(session), std::vector<std::wstring>{L"Unchecked"});
    EXPECT_EQ(outcomes_.seen[L"A-Good"], std::make_pair(DropReason::CheckFailed, CheckOutcome::NoHelper));
    EXPECT_EQ(CheckCalls(L"CheckStdcall") + CheckCalls(L"CheckCdecl"), 0u);
}

namespace {

win::UniqueHandle Inheritable(HANDLE handle, DWORD access = 0)
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, access, TRUE,
                    access ? 0 : DUPLICATE_SAME_ACCESS);
    return win::UniqueHandle(copy);
}

win::UniqueHandle StartProcess(const std::wstring& commandLine, DWORD flags)
{
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    return win::UniqueHandle(pi.hProcess);
}

}  // namespace

// Where the hub runs in a job that cannot nest (before Windows 8) its helpers are in no job of
// its own: each then ends itself when it sees the hub end, even while its check hangs.
TEST(CheckHelperProgram, EndsItselfWhenTheProcessThatStartedItEnds)
{
    const std::wstring helper = L"\"" + FixturePath(L"BrindleCheck.exe") + L"\"";
    win::UniqueHandle hub = StartProcess(helper, CREATE_SUSPENDED | CREATE_NO_WINDOW);  // a stand-in that lives
    ASSERT_TRUE(hub);
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    win::UniqueHandle requestsIn(read), requestsOut(write);
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    win::UniqueHandle repliesIn(read), repliesOut(write);
    win::UniqueHandle ready(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    win::UniqueHandle handles[] = {Inheritable(requestsIn.get()), Inheritable(repliesOut.get()),
                                   Inheritable(ready.get()), Inheritable(hub.get(), SYNCHRONIZE)};
    std::wstring command = helper;
    for (const win::UniqueHandle& handle : handles)
        command += L" " + std::to_wstring(reinterpret_cast<UINT_PTR>(handle.get()));
    win::UniqueHandle running = StartProcess(command, CREATE_NO_WINDOW);
    ASSERT_TRUE(running);

    // A check whose library's start-up never ends: the helper is stuck in the loader.
    const std::vector<char> request = EncodeCheckRequest({FixturePath(L"hanging_check.dll"), L"Check", 1, 0});
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(requestsOut.get(), request.data(), static_cast<DWORD>(request.size()), &written, nullptr));
    EXPECT_EQ(WaitForSingleObject(running.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT)) << "it lives with the hub";

    TerminateProcess(hub.get(), 0);
    EXPECT_EQ(WaitForSingleObject(running.get(), 3000), static_cast<DWORD>(WAIT_OBJECT_0)) << "it outlived the hub";
    TerminateProcess(running.get(), 0);
}

// Checks that only wait their turn for a helper, however long the queue, are run and pass: only
// behind as many stuck helpers as there may be does a check fail unrun.
TEST_F(CheckIsolation, ManySlowGoodChecksStartedTogetherAllPass)
{
    constexpr DWORD kShortLimitMs = 1500;
    const CheckRequest slow{FixturePath(L"faulty_checks.dll"), L"SleepThenAnswer", 200, 0};
    const std::vector<CheckRequest> requests(24, slow);  // 4.8 s of checks: more than a limit even in two helpers
    CheckSession session(kShortLimitMs);
    session.RunAhead(requests);
    int passed = 0;
    for (const CheckRequest& request : requests)
        passed += session.Run(request).outcome == CheckOutcome::Passed;
    EXPECT_EQ(passed, 24);
}
