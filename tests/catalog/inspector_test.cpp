// BrindleCatalog.exe run as a child process. Children do not see the test's registry sandbox,
// so these tests write uniquely named subkeys into the real catalogue and delete them afterwards.
#include "catalog/catalog_cache.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/catalog/icon_probe.h"
#include "tests/catalog/inspector_run.h"
#include "tests/support/restricted_token.h"
#include "win/file_trust.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>
#include <vector>

namespace {

// Registers entries under the real catalogue with ids unique to this process; removes them again.
class RealCatalogue {
public:
    RealCatalogue() : prefix_(L"BrindleInspectorTest-" + std::to_wstring(GetCurrentProcessId()) + L"-") {}
    ~RealCatalogue()
    {
        for (const std::wstring& id : ids_)
            SHDeleteKeyW(HKEY_LOCAL_MACHINE, AppKey(id).c_str());
        // Only keys left empty go: anything someone else registered stays.
        SHDeleteEmptyKeyW(HKEY_LOCAL_MACHINE, kCatalogKey);
        SHDeleteEmptyKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Marbeck");
    }
    std::wstring Add(const wchar_t* suffix)
    {
        ids_.push_back(prefix_ + suffix);
        return ids_.back();
    }
    std::string Utf8Id(const char* suffix) const
    {
        return "BrindleInspectorTest-" + std::to_string(GetCurrentProcessId()) + "-" + suffix;
    }

private:
    std::wstring prefix_;
    std::vector<std::wstring> ids_;
};

class Inspector : public testing::Test {
protected:
    void SetUp() override
    {
        std::wstring id = catalogue_.Add(L"Shown");
        ASSERT_TRUE(RegisterMinimalApp(id, L"Caf\u00e9 \u2713 tool", 7));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"Description", L"Say \"hi\"\\nnext"));
        id = catalogue_.Add(L"Hidden");
        ASSERT_TRUE(RegisterMinimalApp(id));
        ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"AppHide", 1));
        id = catalogue_.Add(L"CheckFailed");
        ASSERT_TRUE(RegisterMinimalApp(id));
        ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheck", 1));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheckFunc", L"no_such_check.dll,Check,1"));
        id = catalogue_.Add(L"BadName");
        ASSERT_TRUE(RegisterMinimalApp(id, L"@library.dll,5"));
        id = catalogue_.Add(L"NoName");
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppPath", L"C:\\x.exe"));
        id = catalogue_.Add(L"NoPath");
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppName", L"N"));
        id = catalogue_.Add(L"NoCategory");
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppName", L"N"));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppPath", L"C:\\x.exe"));
        id = catalogue_.Add(L"NoIcon");
        ASSERT_TRUE(RegisterMinimalApp(id, L"N", 3));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"IconPath", FixturePath(L"missing.ico")));
    }

    RealCatalogue catalogue_;
};

}  // namespace

TEST_F(Inspector, PrintsOneLinePerSubkeyWithTheOutcomeAndACount)
{
    std::string output;
    ASSERT_EQ(RunInspector(L"", output), 0);
    std::vector<std::string> lines = Lines(output);
    ASSERT_FALSE(lines.empty());

    struct Expected {
        const char* suffix;
        std::string rest;
    } expected[] = {
        {"Shown", "\tshown\t7\tCaf\xc3\xa9 \xe2\x9c\x93 tool"},
        {"Hidden", "\tdropped:hidden\t-\t"},
        {"CheckFailed", "\tdropped:check-failed\t-\t"},
        {"BadName", "\tdropped:bad-name-reference\t-\tlibrary.dll,5"},
        {"NoName", "\tdropped:no-name\t-\t"},
        {"NoPath", "\tdropped:no-path\t-\tN"},
        {"NoCategory", "\tdropped:no-category\t-\tN"},
        {"NoIcon", "\tdropped:no-icon\t3\tN"},
    };
    for (const Expected& e : expected) {
        std::string line = catalogue_.Utf8Id(e.suffix) + e.rest;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line << "\nin:\n" << output;
    }

    // The last line counts every line before it (other entries of the real catalogue included).
    int shown = 0;
    int dropped = 0;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].find("\tshown\t") != std::string::npos)
            ++shown;
        else if (lines[i].find("\tdropped:") != std::string::npos)
            ++dropped;
        else
            ADD_FAILURE() << "unexpected line: " << lines[i];
    }
    EXPECT_GE(shown, 1);
    EXPECT_GE(dropped, 7);
    EXPECT_EQ(lines.back(), std::to_string(shown) + " shown, " + std::to_string(dropped) + " dropped");
}

TEST_F(Inspector, JsonListsEveryFieldEscaped)
{
    std::string output;
    ASSERT_EQ(RunInspector(L"--json", output), 0);
    ASSERT_GE(output.size(), 2u);
    EXPECT_EQ(output.front(), '[');
    EXPECT_EQ(output.substr(output.size() - 2), "]\n");

    std::string shownId = catalogue_.Utf8Id("Shown");
    size_t start = output.find("{\"id\": \"" + shownId + "\"");
    ASSERT_NE(start, std::string::npos) << output;
    std::string object = output.substr(start, output.find('}', start) - start + 1);
    std::string icon;
    const std::wstring iconPath = FixturePath(L"fixture.ico");  // ASCII in the test tree
    for (wchar_t c : iconPath) {
        icon += static_cast<char>(c);
        if (c == '\\')
            icon += '\\';
    }
    for (const std::string& field : {
             std::string("\"outcome\": \"shown\""), std::string("\"reason\": \"\""), std::string("\"builtIn\": false"),
             std::string("\"AppName\": \"Caf\xc3\xa9 \xe2\x9c\x93 tool\""), std::string("\"AppPath\": \"C:\\\\app.exe\""),
             std::string("\"AppOption\": \"\""), std::string("\"Folder\": \"\""), std::string("\"Category\": 7"),
             std::string("\"Description\": \"Say \\\"hi\\\"\\r\\nnext\""), std::string("\"IconPath\": \"") + icon + "\"",
             std::string("\"IconIndex\": 0"), std::string("\"HelpPath\": \"\""), std::string("\"HelpOption1\": 0"),
             std::string("\"HelpOption2\": 0"), std::string("\"AppHide\": 0"), std::string("\"AppCheck\": 0"),
             std::string("\"AppCheckFunc\": \"\"")})
        EXPECT_NE(object.find(field), std::string::npos) << field << "\nin: " << object;

    EXPECT_NE(object.find("\"check\": \"\""), std::string::npos) << object;

    size_t hidden = output.find("{\"id\": \"" + catalogue_.Utf8Id("Hidden") + "\"");
    ASSERT_NE(hidden, std::string::npos);
    EXPECT_NE(output.find("\"outcome\": \"dropped\", \"reason\": \"hidden\"", hidden), std::string::npos);
    std::string hiddenObject = output.substr(hidden, output.find('}', hidden) - hidden);
    EXPECT_NE(hiddenObject.find("\"Category\": null"), std::string::npos) << hiddenObject;  // never read
}

TEST_F(Inspector, IconsAreWrittenForShownEntriesOnly)
{
    TempDirectory dir;
    std::string output;
    ASSERT_EQ(RunInspector(L"--icons \"" + dir.path() + L"out\"", output), 0) << output;
    const std::wstring prefix = dir.path() + L"out\\BrindleInspectorTest-" + std::to_wstring(GetCurrentProcessId());
    EXPECT_EQ(GetFileAttributesW((prefix + L"-Hidden.ico").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((prefix + L"-NoIcon.ico").c_str()), INVALID_FILE_ATTRIBUTES);
    for (int size : {16, 32}) {
        // The saved image is the one the hub makes from the registered .ico file.
        IconFacts saved = InspectIconFile(prefix + L"-Shown.ico", size);
        IconFacts original = InspectIconFile(FixturePath(L"fixture.ico"), size);
        ASSERT_TRUE(saved.ok && original.ok) << size;
        EXPECT_EQ(saved.width, size);
        EXPECT_EQ(std::make_tuple(saved.red, saved.green, saved.blue),
                  std::make_tuple(original.red, original.green, original.blue));
    }
}

TEST_F(Inspector, AdministratorOnlyEntriesAreShownToAdministratorsOnly)
{
    std::wstring id = catalogue_.Add(L"AdminOnly");
    ASSERT_TRUE(RegisterMinimalApp(id, L"Admin tool", 8));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"AppHide", 2));
    const std::string shown = catalogue_.Utf8Id("AdminOnly") + "\tshown\t8\tAdmin tool";
    const std::string dropped = catalogue_.Utf8Id("AdminOnly") + "\tdropped:admin-only\t-\t";

    std::string output;
    ASSERT_EQ(RunInspector(L"", output), 0);  // the test runs as an administrator
    std::vector<std::string> lines = Lines(output);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), shown), 1) << output;

    HANDLE token = TokenWithoutAdministrators();
    ASSERT_NE(token, nullptr);
    int code = RunInspector(L"", output, token);
    CloseHandle(token);
    ASSERT_EQ(code, 0);
    lines = Lines(output);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), dropped), 1) << output;
}

TEST(InspectorConsole, TheCallersConsoleKeepsItsCodePage)
{
    // The inspector writes UTF-8 to the console it shares with its caller (cmd.exe, say),
    // which must get its own code page back afterwards.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    ASSERT_TRUE(SetConsoleOutputCP(437));
    std::string output;
    EXPECT_EQ(RunInspector(L"--help", output), 0);
    EXPECT_EQ(GetConsoleOutputCP(), 437u);
    FreeConsole();
}

// A start-up cache that would name an entry otherwise, made for the inspector as it would be
// for the hub: the inspector still lists what the string library holds, and its help says why.
TEST(InspectorUsage, ReadsEveryNameAfreshWithoutTheStartupCacheAndSaysSo)
{
    RealCatalogue catalogue;
    const std::wstring id = catalogue.Add(L"Afresh");
    const std::wstring library = FixturePath(L"fixture_strings.dll");
    ASSERT_TRUE(RegisterMinimalApp(id, L"@" + library + L",-1"));

    CacheContents plant;
    plant.context = CurrentCacheContext();
    plant.context.producer = TestBinDirectory() + L"BrindleCatalog.exe";
    plant.context.producerStamp = win::StampOf(plant.context.producer);
    plant.texts.push_back(CachedText{library, 1, win::StampOf(library), L"Planted"});
    const std::vector<std::uint8_t> bytes = SerializeCache(plant);
    const CatalogCacheSetup place = MachineCacheSetup();
    const std::wstring file = CatalogCache::FilePath(place.folder);
    const std::wstring kept = file + L".kept-by-test";
    MoveFileExW(file.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING);
    win::AdministratorsOnlySecurity security;
    CreateDirectoryW(place.folder.c_str(), security.get());
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, security.get(), CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);

    std::string output;
    EXPECT_EQ(RunInspector(L"", output), 0);
    DeleteFileW(file.c_str());
    MoveFileExW(kept.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
    EXPECT_NE(output.find(catalogue.Utf8Id("Afresh") + "\tshown\t2\tFixture Name\n"), std::string::npos) << output;

    EXPECT_EQ(RunInspector(L"--help", output), 0);
    EXPECT_NE(output.find("the hub's start-up cache is\nneither read nor written"), std::string::npos) << output;
}

TEST(InspectorUsage, UnknownOptionsAreRefused)
{
    std::string output;
    EXPECT_EQ(RunInspector(L"--bogus", output), 2);
    EXPECT_NE(output.find("Usage: BrindleCatalog"), std::string::npos);
    EXPECT_EQ(RunInspector(L"--icons", output), 2);  // a directory is required
    EXPECT_EQ(RunInspector(L"--help", output), 0);
    EXPECT_NE(output.find("--json"), std::string::npos);
}

namespace {

// Good entries with passing checks around checks that crash, hang and end the helper.
class InspectorFaultyChecks : public Inspector {
protected:
    void SetUp() override
    {
        Inspector::SetUp();
        const std::wstring good = FixturePath(L"check_fixture.dll") + L",CheckStdcall,1";
        const std::wstring faulty = FixturePath(L"faulty_checks.dll");
        const std::pair<const wchar_t*, std::wstring> checks[] = {
            {L"A-Good", good},
            {L"B-Hang", faulty + L",SleepLong,1"},
            {L"C-Crash", faulty + L",CrashNull,1"},
            {L"D-Good", good},
            {L"E-Exit", faulty + L",EndProcess,3"},
            {L"F-Good", good},
        };
        for (const auto& check : checks) {
            std::wstring id = catalogue_.Add(check.first);
            ASSERT_TRUE(RegisterMinimalApp(id, L"Checked", 4));
            ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheck", 1));
            ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheckFunc", check.second));
        }
    }
};

}  // namespace

TEST_F(InspectorFaultyChecks, EveryLineIsPrintedAndOnlyTheFaultyEntriesAreDropped)
{
    // Each line is out as soon as its entry is decided: the good entry before the hanging check
    // can be read while the inspector still waits for that check.
    const std::string firstGood = catalogue_.Utf8Id("A-Good") + "\tshown\t4\tChecked";
    bool seenWhileRunning = false;
    auto watch = [&](HANDLE process, const std::wstring& file) {
        for (int tries = 0; tries < 200 && WaitForSingleObject(process, 100) == WAIT_TIMEOUT; ++tries) {
            std::vector<std::string> lines = Lines(ReadWholeFile(file));
            if (std::count(lines.begin(), lines.end(), firstGood) == 1) {
                seenWhileRunning = true;
                return;
            }
        }
    };
    std::string output;
    const DWORD started = GetTickCount();
    ASSERT_EQ(RunInspector(L"", output, nullptr, watch), 0) << output;
    EXPECT_LT(GetTickCount() - started, 20000u);
    EXPECT_TRUE(seenWhileRunning) << output;

    std::vector<std::string> lines = Lines(output);
    for (const char* id : {"A-Good", "D-Good", "F-Good"})
        EXPECT_EQ(std::count(lines.begin(), lines.end(), catalogue_.Utf8Id(id) + "\tshown\t4\tChecked"), 1) << output;
    for (const char* id : {"B-Hang", "C-Crash", "E-Exit"})
        EXPECT_EQ(std::count(lines.begin(), lines.end(), catalogue_.Utf8Id(id) + "\tdropped:check-failed\t-\t"), 1)
            << output;
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find(" shown, "), std::string::npos) << output;
}

TEST_F(InspectorFaultyChecks, JsonTellsHowEachCheckEnded)
{
    std::wstring id = catalogue_.Add(L"G-Zero");
    ASSERT_TRUE(RegisterMinimalApp(id));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheck", 1));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheckFunc", FixturePath(L"check_fixture.dll") + L",CheckCdecl,0"));
    id = catalogue_.Add(L"H-NoFunction");
    ASSERT_TRUE(RegisterMinimalApp(id));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheck", 1));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheckFunc", FixturePath(L"check_fixture.dll") + L",Missing,1"));
    id = catalogue_.Add(L"I-BadFields");
    ASSERT_TRUE(RegisterMinimalApp(id));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheck", 1));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppCheckFunc", L"a.dll,F"));

    std::string output;
    ASSERT_EQ(RunInspector(L"--json", output), 0) << output;
    const std::pair<const char*, const char*> expected[] = {
        {"A-Good", "passed"},     {"B-Hang", "timed-out"},      {"C-Crash", "crashed"},
        {"E-Exit", "exited"},     {"G-Zero", "answered-0"},     {"H-NoFunction", "no-function"},
        {"I-BadFields", "bad-fields"}, {"CheckFailed", "no-library"},
    };
    for (const auto& e : expected) {
        size_t start = output.find("{\"id\": \"" + catalogue_.Utf8Id(e.first) + "\"");
        ASSERT_NE(start, std::string::npos) << e.first << "\n" << output;
        std::string object = output.substr(start, output.find('}', start) - start);
        EXPECT_NE(object.find(std::string("\"check\": \"") + e.second + "\""), std::string::npos) << object;
    }
}

// --reg: registration files listed from a private stand-in for the catalogue.
namespace {

// Every subkey, value name, type and data under `path` of HKEY_LOCAL_MACHINE, as one text.
std::string Snapshot(const std::wstring& path)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return "(none)";
    std::string text;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD length = ARRAYSIZE(name);
        DWORD type = 0;
        BYTE data[4096];
        DWORD bytes = sizeof(data);
        if (RegEnumValueW(opened, i, name, &length, nullptr, &type, data, &bytes) != ERROR_SUCCESS)
            break;
        text += std::string(reinterpret_cast<char*>(name), length * 2) + "|" + std::to_string(type) + "|" +
                std::string(reinterpret_cast<char*>(data), bytes) + "\n";
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = ARRAYSIZE(name);
        if (RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        text += "[" + std::to_string(length) + "]" + Snapshot(path + L"\\" + name);
    }
    RegCloseKey(opened);
    return text;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

// UTF-16 LE with its byte-order mark, as regedit saves.
std::string Utf16File(const std::wstring& text)
{
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// The sample's files where sample.reg expects them (its installer's folder), for the test's life.
class InstalledSample {
public:
    InstalledSample()
    {
        wchar_t folder[MAX_PATH];
        ExpandEnvironmentStringsW(L"%ProgramFiles%\\Brindle Samples\\", folder, MAX_PATH);
        folder_ = folder;
        createdFolder_ = CreateDirectoryW(folder_.c_str(), nullptr) != FALSE;
        ok_ = CopyFileW(FixturePath(L"sample_check.dll").c_str(), (folder_ + L"sample_check.dll").c_str(), FALSE) &&
              CopyFileW(FixturePath(L"sample_help.txt").c_str(), (folder_ + L"sample_help.txt").c_str(), FALSE);
    }
    ~InstalledSample()
    {
        DeleteFileW((folder_ + L"sample_check.dll").c_str());
        DeleteFileW((folder_ + L"sample_help.txt").c_str());
        if (createdFolder_)
            RemoveDirectoryW(folder_.c_str());
    }
    bool ok() const { return ok_; }

private:
    std::wstring folder_;
    bool createdFolder_ = false;
    bool ok_ = false;
};

}  // namespace

TEST_F(Inspector, RegSampleShowsEveryEntryInBothConventionsAndLeavesTheCatalogueAlone)
{
    InstalledSample sample;
    ASSERT_TRUE(sample.ok());
    const std::string before = Snapshot(kCatalogKey);
    std::string output;
    EXPECT_EQ(RunInspector(L"--reg \"" + FixturePath(L"sample.reg") + L"\"", output), 0) << output;
    // Each entry's check (one __stdcall, one __cdecl export) answered: both are shown, nothing else.
    EXPECT_EQ(Lines(output), (std::vector<std::string>{"BrindleSampleMouse\tshown\t2\tSample Mouse Settings",
                                                       "BrindleSampleSettings\tshown\t5\tSample Settings",
                                                       "2 shown, 0 dropped"}));
    EXPECT_EQ(Snapshot(kCatalogKey), before);
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, AppKey(L"BrindleSampleSettings")));
    // Nor is the stand-in key left behind under HKEY_CURRENT_USER.
    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &software), ERROR_SUCCESS);
    std::wstring leftOver;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = ARRAYSIZE(name);
        if (RegEnumKeyExW(software, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (wcsncmp(name, L"BrindleCatalogScratch-", 22) == 0)
            leftOver = name;
    }
    RegCloseKey(software);
    EXPECT_EQ(leftOver, L"");

    // The snapshot sees a change of one byte.
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(catalogue_.Add(L"Shown")), L"Category", 8));
    EXPECT_NE(Snapshot(kCatalogKey), before);
}

TEST(InspectorRegFile, ProblemsOnlyAFileShowsAreWarnedOneALineAfterTheEntry)
{
    TempDirectory dir;
    const std::wstring file = dir.path() + L"problems.reg";
    WriteBytes(file, Utf16File(L"Windows Registry Editor Version 5.00\r\n\r\n"
                               L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Marbeck\\Quillon\\Typo]\r\n"
                               L"\"AppNmae\"=\"Typo\"\r\n"
                               L"\"AppPath\"=\"%SystemRoot%\\\\notepad.exe\"\r\n"
                               L"\"Category\"=\"1\"\r\n"
                               L"\"IconPath\"=\"C:\\\\nowhere\\\\missing.ico\"\r\n"
                               L"\r\n"
                               L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\Clean]\r\n"
                               L"\"AppName\"=\"Clean\"\r\n"
                               L"\"AppPath\"=\"%SystemRoot%\\\\notepad.exe\"\r\n"
                               L"\"Category\"=dword:00000003\r\n"));
    std::string output;
    EXPECT_EQ(RunInspector(L"--reg \"" + file + L"\"", output), 1) << output;
    std::vector<std::string> lines = Lines(output);
    auto typo = std::find(lines.begin(), lines.end(), "Typo\tdropped:no-name\t-\t");
    ASSERT_TRUE(typo != lines.end() && lines.end() - typo > 3) << output;
    EXPECT_EQ(typo[1], "Typo: unknown value \"AppNmae\": the hub reads no value of that name");
    EXPECT_EQ(typo[2], "Typo: Category is REG_SZ, the hub reads it as REG_DWORD");
    EXPECT_EQ(typo[3], "Typo: IconPath names a file that does not exist on this machine: C:\\nowhere\\missing.ico");
    auto clean = std::find(lines.begin(), lines.end(), "Clean\tshown\t3\tClean");
    ASSERT_TRUE(clean != lines.end()) << output;
    EXPECT_EQ(clean[1].find("Clean:"), std::string::npos) << output;

    // Alone, the clean entry passes.
    WriteBytes(file, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\Clean]\n\"AppName\"=\"Clean\"\n"
                     "\"AppPath\"=\"%SystemRoot%\\\\notepad.exe\"\n\"Category\"=dword:3\n");
    EXPECT_EQ(RunInspector(L"--reg \"" + file + L"\"", output), 0) << output;
}

TEST(InspectorRegFile, ASyntaxErrorNamesTheFileAndLineAndLoadsNothingFromIt)
{
    TempDirectory dir;
    const std::wstring file = dir.path() + L"broken.reg";
    WriteBytes(file, "Windows Registry Editor Version 5.00\r\n"
                     "\r\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\BeforeTheError]\r\n"
                     "\"AppName\"=\"Before\"\r\n"
                     "\"AppPath\"=\"%SystemRoot%\\\\notepad.exe\"\r\n"
                     "\"Category\"=dword:00000003\r\n"
                     "\"Description\"=\"unclosed\r\n");
    std::string output;
    EXPECT_EQ(RunInspector(L"--reg \"" + file + L"\"", output), 2) << output;
    EXPECT_NE(output.find("broken.reg, line 7: "), std::string::npos) << output;
    EXPECT_EQ(output.find("BeforeTheError"), std::string::npos) << output;
    EXPECT_NE(output.find("0 shown, 0 dropped"), std::string::npos) << output;
}
