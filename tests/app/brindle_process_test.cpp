// Brindle.exe as a user meets it: real processes, real windows, the real named objects.
#include "win/handles.h"
#include "tests/support/restricted_token.h"
#include "tests/support/test_process.h"
#include "ui/page_ids.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

const wchar_t kSystemError[] = L"System error has occurred. Please make sure Brindle is correctly installed.";

// A started process that is killed if the test leaves it running.
class ChildProcess {
public:
    // Runs as `token`'s user when one is given.
    ChildProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& directory = L"",
                 HANDLE token = nullptr)
    {
        std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        commandLine.push_back(L'\0');
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        const wchar_t* folder = directory.empty() ? nullptr : directory.c_str();
        const BOOL created =
            token ? CreateProcessAsUserW(token, exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                         folder, &si, &pi)
                  : CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &pi);
        if (created) {
            m_process.reset(pi.hProcess);
            CloseHandle(pi.hThread);
            m_id = pi.dwProcessId;
        }
    }
    ~ChildProcess()
    {
        if (m_process && !WaitExit(0)) {
            TerminateProcess(m_process.get(), 1);
            WaitForSingleObject(m_process.get(), 5000);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return static_cast<bool>(m_process); }
    DWORD id() const { return m_id; }

    // True when the process ended within `ms`; its exit code goes to `code`.
    bool WaitExit(DWORD ms, DWORD* code = nullptr) const
    {
        if (WaitForSingleObject(m_process.get(), ms) != WAIT_OBJECT_0)
            return false;
        if (code)
            GetExitCodeProcess(m_process.get(), code);
        return true;
    }

private:
    win::UniqueHandle m_process;
    DWORD m_id = 0;
};

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

// Visible top-level windows of one process.
std::vector<HWND> VisibleWindowsOf(DWORD processId)
{
    WindowSearch search = {processId, {}};
    EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first visible top-level dialog-class window of the process other than `other`, within `ms`.
HWND WaitForDialogOf(DWORD processId, DWORD ms, HWND other = nullptr)
{
    const DWORD start = GetTickCount();
    do {
        for (HWND window : VisibleWindowsOf(processId)) {
            if (ClassOf(window) == L"#32770" && window != other)
                return window;
        }
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

// A visible top-level dialog of the process other than `other`, within `ms`.
HWND WaitForDialogBesides(DWORD processId, HWND other, DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        for (HWND window : VisibleWindowsOf(processId)) {
            if (window != other && ClassOf(window) == L"#32770")
                return window;
        }
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

// A catalogue of one entry in the machine's registry, which the started processes read (they
// do not see a test's sandbox); removed again, with the user's state, by the destructor.
class MachineCatalog {
public:
    explicit MachineCatalog(const std::wstring& id)
    {
        Remove();
        m_ok = true;
        Add(id);
    }
    // Another entry; Set writes its values from now on.
    void Add(const std::wstring& id)
    {
        if (m_key)
            RegCloseKey(m_key);
        m_key = nullptr;
        m_ok = m_ok && RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kProductKey) + L"\\" + id).c_str(), 0,
                                       nullptr, 0, KEY_WRITE, nullptr, &m_key, nullptr) == ERROR_SUCCESS;
    }
    ~MachineCatalog()
    {
        if (m_key)
            RegCloseKey(m_key);
        Remove();
    }
    MachineCatalog(const MachineCatalog&) = delete;
    MachineCatalog& operator=(const MachineCatalog&) = delete;

    void Set(const wchar_t* name, const std::wstring& value)
    {
        const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        m_ok = m_ok && RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
                           ERROR_SUCCESS;
    }
    void Set(const wchar_t* name, DWORD value)
    {
        m_ok = m_ok && RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                      sizeof(value)) == ERROR_SUCCESS;
    }
    bool ok() const { return m_ok; }

private:
    static void Remove()
    {
        SHDeleteKeyW(HKEY_LOCAL_MACHINE, kProductKey);
        SHDeleteKeyW(HKEY_CURRENT_USER, kProductKey);
    }
    static constexpr const wchar_t* kProductKey = L"SOFTWARE\\Marbeck\\Quillon";
    HKEY m_key = nullptr;
    bool m_ok = false;
};

bool WaitForWindowGone(HWND window, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= ms)
            return false;
        Sleep(10);
    }
    return true;
}

std::vector<std::wstring> ChildTexts(HWND window)
{
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(TextOf(child));
    return texts;
}

bool UserInstanceMutexExists()
{
    win::UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, L"Brindle-MutexUser"));
    return static_cast<bool>(mutex);
}

bool IsSignalled(const win::UniqueHandle& event)
{
    return WaitForSingleObject(event.get(), 0) == WAIT_OBJECT_0;
}

class BrindleProcess : public testing::Test {
protected:
    void SetUp() override
    {
        // An instance left by an earlier run would take every start's hand-over path.
        if (UserInstanceMutexExists()) {
            RunProcess(L"\"" + m_exe + L"\" /halt", 5000);
            for (int i = 0; i < 100 && UserInstanceMutexExists(); ++i)
                Sleep(30);
        }
        ASSERT_FALSE(UserInstanceMutexExists()) << "a Brindle instance is still running";
    }

    void TearDown() override
    {
        // Every process this test started is gone by now; so are the objects they held.
        EXPECT_FALSE(UserInstanceMutexExists());
    }

    // Starts Brindle and waits for its main dialog.
    HWND StartRunningInstance(ChildProcess& process)
    {
        if (!process.started())
            return nullptr;
        return WaitForDialogOf(process.id(), 5000);
    }

    const std::wstring m_exe = TestBinDirectory() + L"Brindle.exe";
};

}  // namespace

TEST_F(BrindleProcess, SecondStartHandsOverToTheFirstAndBringsItToTheFront)
{
    ChildProcess first(m_exe, L"halt");  // a bare word is no switch: this runs
    const HWND main = StartRunningInstance(first);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TextOf(main), L"Brindle");
    EXPECT_EQ(FindWindowW(L"#32770", L"Brindle"), main);
    EXPECT_TRUE(UserInstanceMutexExists());

    // Something else is in front when the second start comes.
    HWND other = CreateWindowExW(0, L"STATIC", L"Other", WS_POPUP | WS_VISIBLE | WS_CAPTION, 300, 300, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);

    ChildProcess second(m_exe, L"/X /2");
    DWORD code = 99;
    ASSERT_TRUE(second.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(GetForegroundWindow(), main);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(FindWindowW(L"#32770", L"Brindle"), main);  // still the only one
    DestroyWindow(other);

    // Enter does nothing; Escape ends the dialog and with it the process.
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(first.WaitExit(300));
    EXPECT_TRUE(IsWindow(main));
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(first.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(BrindleProcess, HaltSwitchesCloseTheRunningInstanceWithinASecond)
{
    for (const wchar_t* halt : {L"/halt", L"-HALT", L"/haltAll"}) {
        SCOPED_TRACE(std::string(halt, halt + wcslen(halt)));
        ChildProcess running(m_exe, L"");
        const HWND main = StartRunningInstance(running);
        ASSERT_NE(main, nullptr);

        ChildProcess halter(m_exe, halt);
        DWORD code = 99;
        ASSERT_TRUE(halter.WaitExit(5000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_TRUE(VisibleWindowsOf(halter.id()).empty());
        EXPECT_TRUE(WaitForWindowGone(main, 1000));
        EXPECT_TRUE(running.WaitExit(5000, &code));
        EXPECT_EQ(code, 0u);
    }
}

TEST_F(BrindleProcess, HaltClosesTheRunningInstanceAlsoWhileItsAboutBoxIsOpen)
{
    ChildProcess running(m_exe, L"");
    const HWND main = StartRunningInstance(running);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_SYSCOMMAND, 0x0010, 0);  // the About command of the system menu
    const HWND about = WaitForDialogOf(running.id(), 5000, main);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the About box runs modally";

    ChildProcess halter(m_exe, L"/halt");
    DWORD code = 99;
    ASSERT_TRUE(halter.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitForWindowGone(main, 1000));
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(running.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(BrindleProcess, HaltWithoutInstanceSignalsOnlyTheChosenEvent)
{
    // Held here so that the events outlive the signalling processes and can be inspected.
    win::UniqueHandle user(CreateEventW(nullptr, TRUE, FALSE, L"Brindle-Shutdown-User"));
    win::UniqueHandle all(CreateEventW(nullptr, TRUE, FALSE, L"Global\\Brindle-Shutdown-All"));
    ASSERT_TRUE(user);
    ASSERT_TRUE(all);
    ResetEvent(user.get());
    ResetEvent(all.get());

    const struct {
        const wchar_t* arguments;
        bool user;
        bool all;
    } cases[] = {
        {L"/halt /haltAll", true, false},  // halt is tested first
        {L"-haltall", false, true},
        {L"/haltAll /halt", true, false},  // so is it when it comes second
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.arguments, c.arguments + wcslen(c.arguments)));
        EXPECT_EQ(RunProcess(L"\"" + m_exe + L"\" " + c.arguments, 5000), 0);
        EXPECT_EQ(IsSignalled(user), c.user);
        EXPECT_EQ(IsSignalled(all), c.all);
        ResetEvent(user.get());
        ResetEvent(all.get());
    }
}

TEST_F(BrindleProcess, WithoutItsResourceLibraryOnlyTheSystemErrorIsShown)
{
    TempDirectory program;
    ASSERT_TRUE(CopyFileW(m_exe.c_str(), (program.path() + L"Brindle.exe").c_str(), FALSE));
    // A library in the current directory or on the search path must not stand in for the missing one.
    TempDirectory planted;
    ASSERT_TRUE(CopyFileW((TestBinDirectory() + L"QclRes.dll").c_str(), (planted.path() + L"QclRes.dll").c_str(),
                          FALSE));

    win::UniqueHandle user(CreateEventW(nullptr, TRUE, FALSE, L"Brindle-Shutdown-User"));
    win::UniqueHandle all(CreateEventW(nullptr, TRUE, FALSE, L"Global\\Brindle-Shutdown-All"));
    ASSERT_TRUE(user);
    ASSERT_TRUE(all);

    wchar_t savedPath[32767] = {};
    GetEnvironmentVariableW(L"PATH", savedPath, 32767);
    const struct {
        const wchar_t* label;
        bool plant;
    } cases[] = {{L"missing", false}, {L"planted", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.label, c.label + wcslen(c.label)));
        if (c.plant)
            SetEnvironmentVariableW(L"PATH", (planted.path() + L";" + savedPath).c_str());
        ChildProcess process(program.path() + L"Brindle.exe", L"/X", c.plant ? planted.path() : program.path());
        SetEnvironmentVariableW(L"PATH", savedPath);
        ASSERT_TRUE(process.started());

        const HWND box = WaitForDialogOf(process.id(), 5000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(VisibleWindowsOf(process.id()), std::vector<HWND>{box});
        EXPECT_EQ(TextOf(box), L"Brindle");
        const std::vector<std::wstring> texts = ChildTexts(box);
        EXPECT_NE(std::find(texts.begin(), texts.end(), kSystemError), texts.end());
        EXPECT_FALSE(UserInstanceMutexExists());

        PostMessageW(box, WM_COMMAND, IDOK, 0);
        DWORD code = 99;
        EXPECT_TRUE(process.WaitExit(5000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_FALSE(IsSignalled(user));
        EXPECT_FALSE(IsSignalled(all));
    }
}

namespace {

BOOL CALLBACK CollectText(HWND window, LPARAM texts)
{
    reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(TextOf(window));
    return TRUE;
}

// The texts of every window below `window`.
std::vector<std::wstring> DescendantTexts(HWND window)
{
    std::vector<std::wstring> texts;
    EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

}  // namespace

TEST_F(BrindleProcess, WithItsResourceLibraryCutShortTheProgramsOwnTemplateAndTextsStandIn)
{
    // Cut a third of the way into the main dialog's template: it and every string table after it
    // are named by the library's directory but lie past the end of the file.
    const std::wstring library = TestBinDirectory() + L"QclRes.dll";
    size_t cut = 0;
    {
        HMODULE data = LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(data, nullptr);
        HRSRC found = FindResourceW(data, MAKEINTRESOURCEW(129), reinterpret_cast<LPCWSTR>(RT_DIALOG));
        const BYTE* bytes = found ? static_cast<const BYTE*>(LockResource(LoadResource(data, found))) : nullptr;
        ASSERT_NE(bytes, nullptr);
        const BYTE* base = reinterpret_cast<const BYTE*>(reinterpret_cast<UINT_PTR>(data) & ~UINT_PTR(3));
        cut = static_cast<size_t>(bytes - base) + SizeofResource(data, found) / 3;
        FreeLibrary(data);
    }
    TempDirectory program;
    ASSERT_TRUE(CopyFileW(m_exe.c_str(), (program.path() + L"Brindle.exe").c_str(), FALSE));
    {
        win::UniqueFile in(CreateFileW(library.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        win::UniqueFile out(CreateFileW((program.path() + L"QclRes.dll").c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, 0, nullptr));
        std::vector<BYTE> bytes(cut);
        DWORD moved = 0;
        ASSERT_TRUE(ReadFile(in.get(), bytes.data(), static_cast<DWORD>(cut), &moved, nullptr) && moved == cut);
        ASSERT_TRUE(WriteFile(out.get(), bytes.data(), static_cast<DWORD>(cut), &moved, nullptr) && moved == cut);
    }

    ChildProcess process(program.path() + L"Brindle.exe", L"", program.path());
    const HWND main = StartRunningInstance(process);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TextOf(main), L"Brindle");
    const std::vector<std::wstring> texts = DescendantTexts(main);
    for (const wchar_t* text : {L"&Open", L"&Help"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << std::string(text, text + wcslen(text));
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(process.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(BrindleProcess, HaltAllWithoutAdministratorsGroupIsRefused)
{
    win::UniqueHandle filtered(TokenWithoutAdministrators());
    ASSERT_TRUE(filtered);

    win::UniqueHandle all(CreateEventW(nullptr, TRUE, FALSE, L"Global\\Brindle-Shutdown-All"));
    ASSERT_TRUE(all);
    ResetEvent(all.get());

    ChildProcess process(m_exe, L"/haltAll", L"", filtered.get());
    ASSERT_TRUE(process.started());

    // Refused with the literal text, not one of the string table.
    const HWND box = WaitForDialogOf(process.id(), 5000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextOf(box), L"Brindle");
    const std::vector<std::wstring> texts = ChildTexts(box);
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"APP_ERR_CAN_NOT_HALT_ALL_NEED_ADMIN"), texts.end());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(process.WaitExit(5000));
    EXPECT_FALSE(IsSignalled(all));
}

TEST_F(BrindleProcess, HaltEndsTheInstanceWhileTheMessageOfOpenOrHelpIsUp)
{
    MachineCatalog catalog(L"MissingProgram");
    catalog.Set(L"AppName", L"Missing Program");
    catalog.Set(L"AppPath", L"C:\\no such folder\\missing.exe");
    catalog.Set(L"Category", 3);
    catalog.Set(L"IconPath", m_exe);
    catalog.Set(L"HelpPath", L"C:\\no such folder\\missing.chm");
    ASSERT_TRUE(catalog.ok());
    const struct {
        UINT command;
        const wchar_t* message;
    } cases[] = {{page::kOpenButtonId, L"Program not found."}, {page::kHelpButtonId, L"Help file not found."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ChildProcess running(m_exe, L"/MissingProgram");  // the start name selects the entry
        const HWND main = StartRunningInstance(running);
        ASSERT_NE(main, nullptr);
        PostMessageW(GetDlgItem(main, page::kTabCtrlId), WM_COMMAND, c.command, 0);
        const HWND box = WaitForDialogBesides(running.id(), main, 5000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(TextOf(box), L"Brindle");
        const std::vector<std::wstring> texts = ChildTexts(box);
        EXPECT_NE(std::find(texts.begin(), texts.end(), c.message), texts.end());

        EXPECT_EQ(RunProcess(L"\"" + m_exe + L"\" /halt", 5000), 0);
        DWORD code = 99;
        EXPECT_TRUE(running.WaitExit(5000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_FALSE(IsWindow(box));
    }
}

namespace {

// Processes whose parent is `parent`, by id.
std::vector<DWORD> ChildrenOf(DWORD parent)
{
    std::vector<DWORD> children;
    win::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == parent)
            children.push_back(entry.th32ProcessID);
    }
    return children;
}

// The check helpers of `hub` once at least `count` run, within `ms`.
std::vector<DWORD> WaitForHelpersOf(DWORD hub, size_t count, DWORD ms)
{
    const DWORD start = GetTickCount();
    std::vector<DWORD> helpers;
    while ((helpers = ChildrenOf(hub)).size() < count && GetTickCount() - start < ms)
        Sleep(10);
    return helpers;
}

// Whether every process that `parent` started has ended within `ms` (any that `parent` was
// starting when it ended included).
bool AllChildrenEnded(DWORD parent, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!ChildrenOf(parent).empty()) {
        if (GetTickCount() - start >= ms)
            return false;
        Sleep(20);
    }
    return true;
}

// Four entries whose checks hang (two in their library's start-up, two in the call) around two good ones.
void RegisterHangingChecks(MachineCatalog& catalog)
{
    const std::wstring bin = TestBinDirectory();
    const std::pair<const wchar_t*, std::wstring> checks[] = {
        {L"HangA", bin + L"hanging_check.dll,Check,1"}, {L"HangB", bin + L"faulty_checks.dll,SleepLong,1"},
        {L"HangC", bin + L"hanging_check.dll,Check,1"}, {L"HangD", bin + L"faulty_checks.dll,SleepLong,1"},
        {L"HangE", bin + L"check_fixture.dll,CheckCdecl,1"}, {L"HangF", bin + L"check_fixture.dll,CheckStdcall,1"},
    };
    for (const auto& check : checks) {
        catalog.Add(check.first);
        catalog.Set(L"AppName", check.first);
        catalog.Set(L"AppPath", L"C:\\x.exe");
        catalog.Set(L"Category", 3);
        catalog.Set(L"IconPath", bin + L"Brindle.exe");
        catalog.Set(L"AppCheck", 1);
        catalog.Set(L"AppCheckFunc", check.second);
    }
}

}  // namespace

TEST_F(BrindleProcess, HaltDuringHangingChecksEndsTheInstanceAtOnceAndLeavesNoHelper)
{
    MachineCatalog catalog(L"HangA");
    RegisterHangingChecks(catalog);
    ASSERT_TRUE(catalog.ok());
    const DWORD started = GetTickCount();
    ChildProcess running(m_exe, L"");
    ASSERT_TRUE(running.started());
    // Halted once its checks run: its window exists then, though it is not shown yet.
    const std::vector<DWORD> helpers = WaitForHelpersOf(running.id(), 2, 5000);
    ASSERT_GE(helpers.size(), 2u);
    EXPECT_TRUE(VisibleWindowsOf(running.id()).empty());
    EXPECT_EQ(RunProcess(L"\"" + m_exe + L"\" /halt", 5000), 0);
    const DWORD halted = GetTickCount();
    DWORD code = 99;
    EXPECT_TRUE(running.WaitExit(8000, &code));
    // The checks would hold it about five seconds: cut short, it ends soon after the halt.
    EXPECT_LT(GetTickCount() - halted, 3000u) << "the halt waited for the hanging checks";
    EXPECT_LT(GetTickCount() - started, 6000u);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(AllChildrenEnded(running.id(), 3000));
}

TEST_F(BrindleProcess, EndingTheHubDuringHangingChecksEndsItsCheckHelpers)
{
    MachineCatalog catalog(L"HangA");
    RegisterHangingChecks(catalog);
    ASSERT_TRUE(catalog.ok());
    ChildProcess running(m_exe, L"");
    ASSERT_TRUE(running.started());
    // Ended once every hanging check has a helper and no more are being started: under Wine a
    // process whose creator is killed inside CreateProcess never finishes starting, and nothing
    // of its own can then end it.
    const DWORD started = GetTickCount();
    std::vector<DWORD> helpers;
    for (DWORD settled = GetTickCount(); GetTickCount() - settled < 700 && GetTickCount() - started < 4000;) {
        Sleep(20);
        const std::vector<DWORD> now = ChildrenOf(running.id());
        if (now != helpers || now.size() < 4)
            settled = GetTickCount();
        helpers = now;
    }
    ASSERT_GE(helpers.size(), 4u);
    ASSERT_LT(GetTickCount() - started, 4500u) << "the checks did not hang long enough to be watched";
    win::UniqueHandle hub(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, running.id()));
    ASSERT_TRUE(hub);
    ASSERT_TRUE(TerminateProcess(hub.get(), 1));
    EXPECT_TRUE(running.WaitExit(5000));
    EXPECT_TRUE(AllChildrenEnded(running.id(), 3000)) << "a check helper outlived the hub";
}
