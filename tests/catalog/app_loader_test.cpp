// Loading registered applications from a sandboxed catalogue: accept and drop rules in order.
#include "catalog/app_info.h"
#include "tests/catalog/catalog_fixture.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <memory>

namespace {

class AppLoader : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox_.ok()); }

    // Loads subkey `id` into `app_`; the drop reason lands in `reason_`.
    int Load(const std::wstring& id)
    {
        app_ = std::make_unique<CAppInfo>();
        reason_ = DropReason::Hidden;  // overwritten by every load
        app_->ReportDropReasonTo(&reason_);
        return app_->LoadRegisteredApp(id);
    }
    bool Set(const std::wstring& id, const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ)
    {
        return SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), name, value, type);
    }
    bool Set(const std::wstring& id, const wchar_t* name, DWORD value)
    {
        return SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), name, value);
    }
    std::wstring CheckSpec(const wchar_t* function, int answer)
    {
        return FixturePath(L"check_fixture.dll") + L", " + function + L", " + std::to_wstring(answer);
    }

    RegistrySandbox sandbox_;
    CheckRecordsInSandbox records_{sandbox_};
    std::unique_ptr<CAppInfo> app_;
    DropReason reason_ = DropReason::None;
    const std::wstring strings_ = FixturePath(L"fixture_strings.dll");
};

}  // namespace

TEST_F(AppLoader, CompleteEntryFillsEveryField)
{
    const std::wstring id = L"Complete";
    ASSERT_TRUE(RegisterMinimalApp(id, L"Complete Tool", 4));
    ASSERT_TRUE(Set(id, L"AppOption", L"/x"));
    ASSERT_TRUE(Set(id, L"Folder", L"C:\\work"));
    ASSERT_TRUE(Set(id, L"Description", L"Line\\nNext"));
    ASSERT_TRUE(Set(id, L"IconIndex", 3));
    ASSERT_TRUE(Set(id, L"HelpPath", L"C:\\help.chm"));
    ASSERT_TRUE(Set(id, L"HelpOption1", 1));
    ASSERT_TRUE(Set(id, L"HelpOption2", 42));
    ASSERT_TRUE(Set(id, L"AppHide", 3));  // no effect
    ASSERT_EQ(Load(id), 1);
    EXPECT_EQ(reason_, DropReason::None);
    EXPECT_EQ(app_->m_strId, id);
    EXPECT_EQ(app_->m_strAppName, L"Complete Tool");
    EXPECT_EQ(app_->m_strAppPath, L"C:\\app.exe");
    EXPECT_EQ(app_->m_strAppOption, L"/x");
    EXPECT_EQ(app_->m_strFolder, L"C:\\work");
    EXPECT_EQ(app_->m_nCategory, 4);
    EXPECT_EQ(app_->m_strDescription, L"Line\r\nNext");
    EXPECT_EQ(app_->m_strIconPath, FixturePath(L"fixture.ico"));
    EXPECT_EQ(app_->m_nIconIndex, 3);  // an .ico file ignores it
    EXPECT_EQ(app_->m_strHelpPath, L"C:\\help.chm");
    EXPECT_EQ(app_->m_nHelpOption1, 1);
    EXPECT_EQ(app_->m_nHelpOption2, 42);
    EXPECT_EQ(app_->m_nAppHide, 3);
    EXPECT_EQ(app_->GetDescriptionLine(1), L"Next");
}

TEST_F(AppLoader, HideRules)
{
    // Under Wine the process is an administrator, so AppHide 2 shows the entry.
    struct Case {
        DWORD hide;
        int result;
        DropReason reason;
    } cases[] = {{0, 1, DropReason::None}, {1, 0, DropReason::Hidden}, {2, 1, DropReason::None},
                 {3, 1, DropReason::None}, {0xFFFFFFFF, 1, DropReason::None}};
    for (const Case& c : cases) {
        ASSERT_TRUE(RegisterMinimalApp(L"Hide"));
        ASSERT_TRUE(Set(L"Hide", L"AppHide", c.hide));
        EXPECT_EQ(Load(L"Hide"), c.result) << c.hide;
        EXPECT_EQ(reason_, c.reason) << c.hide;
        EXPECT_EQ(app_->m_nAppHide, static_cast<int>(c.hide));
    }
    ASSERT_TRUE(Set(L"Hide", L"AppHide", L"1"));  // a string of the right size is read as its bytes
    EXPECT_EQ(Load(L"Hide"), 1);
}

TEST_F(AppLoader, CheckFunctionRunsOnlyForVisibleEntriesAndBeforeTheNameIsLookedAt)
{
    // Hidden: the check is never called.
    ASSERT_TRUE(RegisterMinimalApp(L"Hidden"));
    ASSERT_TRUE(Set(L"Hidden", L"AppHide", 1));
    ASSERT_TRUE(Set(L"Hidden", L"AppCheck", 1));
    ASSERT_TRUE(Set(L"Hidden", L"AppCheckFunc", CheckSpec(L"CheckCdecl", 1)));
    EXPECT_EQ(Load(L"Hidden"), 0);
    EXPECT_EQ(reason_, DropReason::Hidden);
    EXPECT_EQ(CheckCalls(L"CheckCdecl"), 0u);

    // No name: the check still runs first, then the entry is dropped for the name.
    ASSERT_TRUE(Set(L"Nameless", L"AppPath", L"C:\\app.exe"));
    ASSERT_TRUE(Set(L"Nameless", L"Category", 1));
    ASSERT_TRUE(Set(L"Nameless", L"AppCheck", 1));
    ASSERT_TRUE(Set(L"Nameless", L"AppCheckFunc", CheckSpec(L"CheckStdcall", 1)));
    EXPECT_EQ(Load(L"Nameless"), 0);
    EXPECT_EQ(reason_, DropReason::NoName);
    EXPECT_EQ(CheckCalls(L"CheckStdcall"), 1u);

    // No path or no category: likewise called once per load.
    ASSERT_TRUE(Set(L"Pathless", L"AppName", L"P"));
    ASSERT_TRUE(Set(L"Pathless", L"AppCheck", 1));
    ASSERT_TRUE(Set(L"Pathless", L"AppCheckFunc", CheckSpec(L"CheckStdcall", 2)));
    EXPECT_EQ(Load(L"Pathless"), 0);
    EXPECT_EQ(reason_, DropReason::NoPath);
    ASSERT_TRUE(Set(L"Pathless", L"AppPath", L"C:\\app.exe"));
    EXPECT_EQ(Load(L"Pathless"), 0);
    EXPECT_EQ(reason_, DropReason::NoCategory);
    EXPECT_EQ(CheckCalls(L"CheckStdcall"), 3u);
}

TEST_F(AppLoader, CheckSwitchAndAnswer)
{
    struct Case {
        const wchar_t* id;
        DWORD check;        // AppCheck
        int answer;         // what the function returns; < -100 = no AppCheckFunc
        int result;
        DWORD calls;
    } cases[] = {
        {L"Answer0", 1, 0, 0, 1},   {L"Answer1", 1, 1, 1, 1}, {L"AnswerM1", 1, -1, 1, 1},
        {L"Answer2", 1, 2, 1, 1},   {L"NoFunc", 1, -999, 1, 0}, {L"SwitchOff", 0, 0, 1, 0},
        {L"Switch2", 2, 0, 1, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(RegisterMinimalApp(c.id));
        ASSERT_TRUE(Set(c.id, L"AppCheck", c.check));
        if (c.answer > -100) {
            ASSERT_TRUE(Set(c.id, L"AppCheckFunc", CheckSpec(L"CheckCdecl", c.answer)));
        }
        DWORD before = CheckCalls(L"CheckCdecl");
        EXPECT_EQ(Load(c.id), c.result) << testing::PrintToString(std::wstring(c.id));
        EXPECT_EQ(reason_, c.result ? DropReason::None : DropReason::CheckFailed);
        EXPECT_EQ(CheckCalls(L"CheckCdecl") - before, c.calls) << testing::PrintToString(std::wstring(c.id));
    }
    // A malformed specification or a missing library drops without calling anything.
    ASSERT_TRUE(RegisterMinimalApp(L"Malformed"));
    ASSERT_TRUE(Set(L"Malformed", L"AppCheck", 1));
    ASSERT_TRUE(Set(L"Malformed", L"AppCheckFunc", FixturePath(L"check_fixture.dll") + L",CheckCdecl"));
    EXPECT_EQ(Load(L"Malformed"), 0);
    EXPECT_EQ(reason_, DropReason::CheckFailed);
    ASSERT_TRUE(Set(L"Malformed", L"AppCheckFunc", L"missing_check.dll,CheckCdecl,1"));
    EXPECT_EQ(Load(L"Malformed"), 0);
}

TEST_F(AppLoader, IndirectNamesAndDescriptions)
{
    struct Case {
        const wchar_t* id;
        std::wstring value;
        bool nameLoads;          // as AppName: loaded, or dropped as a bad reference
        std::wstring text;       // resulting name (when loaded) and description
    } cases[] = {
        {L"Plain", L"Plain text", true, L"Plain text"},
        {L"TwoAts", L"@@word", true, L"@word"},
        {L"Resource", L"@" + strings_ + L",-1", true, L"Fixture Name"},
        {L"Spaced", L"@ " + strings_ + L" ,  -2 ", true, L"Fixture description"},
        {L"Unicode", L"@" + strings_ + L",-700", true, L"R\u00e9f\u00e9rence \u00fcnicode"},
        {L"MissingId", L"@" + strings_ + L",-55", true, L""},
        {L"MissingLib", L"@" + FixturePath(L"no_such.dll") + L",-1", true, L""},
        {L"WideId", L"@" + strings_ + L",-65537", true, L"Fixture Name"},  // ids are 16 bits
        {L"ZeroId", L"@" + strings_ + L",0", false, L""},
        {L"PositiveId", L"@" + strings_ + L",1", false, L""},
        {L"TextId", L"@" + strings_ + L",one", false, L""},
        {L"OneField", L"@" + strings_, false, L""},
        {L"ThreeFields", L"@" + strings_ + L",-1,-2", false, L""},
        {L"MarkerOnly", L"@", false, L""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(RegisterMinimalApp(c.id, c.value));
        ASSERT_TRUE(Set(c.id, L"Description", c.value));
        EXPECT_EQ(Load(c.id), c.nameLoads ? 1 : 0) << testing::PrintToString(std::wstring(c.id));
        if (c.nameLoads) {
            EXPECT_EQ(app_->m_strAppName, c.text) << testing::PrintToString(std::wstring(c.id));
        } else {
            EXPECT_EQ(reason_, DropReason::BadNameReference);
        }
        // The same text as a description never drops the entry.
        ASSERT_TRUE(Set(c.id, L"AppName", L"Name"));
        EXPECT_EQ(Load(c.id), 1);
        EXPECT_EQ(app_->m_strDescription, c.text) << testing::PrintToString(std::wstring(c.id));
    }
}

TEST_F(AppLoader, IndirectLibraryMayBeARegistryReference)
{
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, L"Software\\Vendor", L"Strings", strings_));
    ASSERT_TRUE(RegisterMinimalApp(L"Ref", L"@HKEY_LOCAL_MACHINE\\Software\\Vendor\\Strings,-1"));
    ASSERT_TRUE(Set(L"Ref", L"Description", L"@HKEY_LOCAL_MACHINE\\Software\\Vendor\\Nothing,-2"));
    ASSERT_EQ(Load(L"Ref"), 1);
    EXPECT_EQ(app_->m_strAppName, L"Fixture Name");
    EXPECT_EQ(app_->m_strDescription, L"");
}

TEST_F(AppLoader, DescriptionForms)
{
    const wchar_t multi[] = {L'A', 0, L'B', 0, 0};
    ASSERT_TRUE(RegisterMinimalApp(L"Multi"));
    ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, AppKey(L"Multi"), L"Description", REG_MULTI_SZ, multi,
                             sizeof(multi)));
    ASSERT_EQ(Load(L"Multi"), 1);
    EXPECT_EQ(app_->m_strDescription, L"A\r\nB");

    ASSERT_TRUE(Set(L"Multi", L"Description", L"A\\nB"));
    ASSERT_EQ(Load(L"Multi"), 1);
    EXPECT_EQ(app_->m_strDescription, L"A\r\nB");

    ASSERT_TRUE(Set(L"Multi", L"Description", L"@" + strings_ + L",-3"));
    ASSERT_EQ(Load(L"Multi"), 1);
    EXPECT_EQ(app_->GetDescriptionLine(0), L"First line");
    EXPECT_EQ(app_->GetDescriptionLine(1), L"Second line");

    ASSERT_TRUE(Set(L"Multi", L"Description", 5));  // another type: present, text left empty
    ASSERT_EQ(Load(L"Multi"), 1);
    EXPECT_EQ(app_->m_strDescription, L"");
}

TEST_F(AppLoader, NameOfAnotherTypeCountsAsPresent)
{
    ASSERT_TRUE(RegisterMinimalApp(L"NumberName"));
    ASSERT_TRUE(Set(L"NumberName", L"AppName", 12));
    ASSERT_EQ(Load(L"NumberName"), 1);
    EXPECT_EQ(app_->m_strAppName, L"");
}

TEST_F(AppLoader, CategoryIsRequiredAndAnyNumberIsKept)
{
    for (int category : {0, 10, 11, -1, 255}) {
        ASSERT_TRUE(RegisterMinimalApp(L"Cat", L"Name", category));
        ASSERT_EQ(Load(L"Cat"), 1) << category;
        EXPECT_EQ(app_->m_nCategory, category);
    }
    ASSERT_TRUE(SHDeleteValueW(HKEY_LOCAL_MACHINE, AppKey(L"Cat").c_str(), L"Category") == ERROR_SUCCESS);
    EXPECT_EQ(Load(L"Cat"), 0);
    EXPECT_EQ(reason_, DropReason::NoCategory);
}

TEST_F(AppLoader, IconComesFromIconPathOrAppPathAndIsRequired)
{
    const std::wstring ico = FixturePath(L"fixture.ico");
    ASSERT_TRUE(Set(L"Icon", L"AppName", L"N"));
    ASSERT_TRUE(Set(L"Icon", L"Category", 1));

    ASSERT_TRUE(Set(L"Icon", L"AppPath", ico));  // no IconPath: the program's own file
    ASSERT_EQ(Load(L"Icon"), 1);
    EXPECT_EQ(app_->m_strIconPath, ico);

    ASSERT_TRUE(Set(L"Icon", L"AppPath", FixturePath(L"missing.exe")));
    EXPECT_EQ(Load(L"Icon"), 0);
    EXPECT_EQ(reason_, DropReason::NoIcon);

    ASSERT_TRUE(Set(L"Icon", L"IconPath", L""));  // empty counts as absent
    EXPECT_EQ(Load(L"Icon"), 0);
    EXPECT_EQ(app_->m_strIconPath, FixturePath(L"missing.exe"));

    ASSERT_TRUE(Set(L"Icon", L"IconPath", L"\"" + ico + L"\""));
    ASSERT_EQ(Load(L"Icon"), 1);
    EXPECT_EQ(app_->m_strIconPath, ico);  // unquoted in place

    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, L"Software\\Vendor", L"Icon", ico));
    ASSERT_TRUE(Set(L"Icon", L"IconPath", L"HKEY_CURRENT_USER\\Software\\Vendor\\Icon"));
    ASSERT_EQ(Load(L"Icon"), 1);
    EXPECT_EQ(app_->m_strIconPath, ico);

    ASSERT_TRUE(Set(L"Icon", L"IconPath", L"HKEY_CURRENT_USER\\Software\\Vendor\\Nothing"));
    EXPECT_EQ(Load(L"Icon"), 0);
    EXPECT_EQ(app_->m_strIconPath, L"");
    EXPECT_EQ(reason_, DropReason::NoIcon);
}

TEST_F(AppLoader, HelpOptions)
{
    ASSERT_TRUE(RegisterMinimalApp(L"Help"));
    ASSERT_TRUE(Set(L"Help", L"HelpOption1", 1));
    ASSERT_TRUE(Set(L"Help", L"HelpOption2", 9));
    ASSERT_EQ(Load(L"Help"), 1);  // no HelpPath: neither option is read
    EXPECT_EQ(app_->m_nHelpOption1, 0);
    EXPECT_EQ(app_->m_nHelpOption2, 0);

    ASSERT_TRUE(Set(L"Help", L"HelpPath", L"C:\\h.chm"));
    ASSERT_EQ(Load(L"Help"), 1);
    EXPECT_EQ(app_->m_nHelpOption1, 1);
    EXPECT_EQ(app_->m_nHelpOption2, 9);

    ASSERT_TRUE(Set(L"Help", L"HelpOption1", 2));
    ASSERT_EQ(Load(L"Help"), 1);
    EXPECT_EQ(app_->m_nHelpOption1, 2);
    EXPECT_EQ(app_->m_nHelpOption2, 0);  // only read with HelpOption1 = 1
}

TEST_F(AppLoader, EnumerationKeepsRegistryOrderAndDropsDoNotShiftIndices)
{
    EXPECT_EQ(CAppInfo().LoadRegisteredAppAt(0), 2);  // no catalogue key at all
    ASSERT_TRUE(RegisterMinimalApp(L"Beta"));
    ASSERT_TRUE(Set(L"Alpha", L"AppName", L"dropped: no path"));
    ASSERT_TRUE(RegisterMinimalApp(L"Gamma"));

    HKEY catalog = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCatalogKey, 0, KEY_READ, &catalog), ERROR_SUCCESS);
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD units = 256;
        if (SHEnumKeyExW(catalog, i, name, &units) != ERROR_SUCCESS) {
            EXPECT_EQ(i, 3u);
            EXPECT_EQ(CAppInfo().LoadRegisteredAppAt(static_cast<int>(i)), 2);
            break;
        }
        CAppInfo app;
        EXPECT_EQ(app.LoadRegisteredAppAt(static_cast<int>(i)), std::wstring(name) == L"Alpha" ? 0 : 1);
        EXPECT_EQ(app.m_strId, name);
    }
    RegCloseKey(catalog);
}

TEST_F(AppLoader, ReportingTheReasonChangesNothing)
{
    ASSERT_TRUE(RegisterMinimalApp(L"Same"));
    ASSERT_TRUE(Set(L"Same", L"IconPath", FixturePath(L"missing.ico")));
    CAppInfo plain;
    EXPECT_EQ(plain.LoadRegisteredApp(L"Same"), 0);
    EXPECT_EQ(Load(L"Same"), 0);
    EXPECT_EQ(reason_, DropReason::NoIcon);
    EXPECT_EQ(plain.m_strAppName, app_->m_strAppName);
    EXPECT_EQ(plain.m_strIconPath, app_->m_strIconPath);
    EXPECT_EQ(plain.m_nCategory, app_->m_nCategory);
}

TEST_F(AppLoader, ExpandableValuesKeepTheTailTheirExpansionAdds)
{
    // %Q% grows by seven characters: longer than the raw text, shorter than twice it.
    SetEnvironmentVariableW(L"Q", L"QQQQQQQQQQ");
    const std::wstring bin = TestBinDirectory();
    const std::wstring detour = bin + L"%Q%\\..\\";  // names the same folder once expanded
    const std::wstring id = L"Expand";
    ASSERT_TRUE(Set(id, L"AppName", L"%Q%name", REG_EXPAND_SZ));
    ASSERT_TRUE(Set(id, L"AppPath", L"C:\\%Q%\\app.exe", REG_EXPAND_SZ));
    ASSERT_TRUE(Set(id, L"AppOption", L"/o:%Q%", REG_EXPAND_SZ));
    ASSERT_TRUE(Set(id, L"Folder", L"C:\\%Q%", REG_EXPAND_SZ));
    ASSERT_TRUE(Set(id, L"Category", 1));
    ASSERT_TRUE(Set(id, L"Description", L"%Q% text", REG_EXPAND_SZ));
    ASSERT_TRUE(Set(id, L"HelpPath", L"C:\\%Q%.chm", REG_EXPAND_SZ));
    ASSERT_TRUE(Set(id, L"AppCheck", 1));
    ASSERT_TRUE(Set(id, L"AppCheckFunc", detour + L"check_fixture.dll, CheckCdecl, 1", REG_EXPAND_SZ));
    // The icon file through a registry reference naming an expandable value.
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, L"Software\\Vendor", L"Icon", detour + L"fixture.ico", REG_EXPAND_SZ));
    ASSERT_TRUE(Set(id, L"IconPath", L"HKEY_CURRENT_USER\\Software\\Vendor\\Icon"));
    const DWORD callsBefore = CheckCalls(L"CheckCdecl");
    ASSERT_EQ(Load(id), 1) << static_cast<int>(reason_);
    EXPECT_EQ(CheckCalls(L"CheckCdecl") - callsBefore, 1u);
    EXPECT_EQ(app_->m_strAppName, L"QQQQQQQQQQname");
    EXPECT_EQ(app_->m_strAppPath, L"C:\\QQQQQQQQQQ\\app.exe");
    EXPECT_EQ(app_->m_strAppOption, L"/o:QQQQQQQQQQ");
    EXPECT_EQ(app_->m_strFolder, L"C:\\QQQQQQQQQQ");
    EXPECT_EQ(app_->m_strDescription, L"QQQQQQQQQQ text");
    EXPECT_EQ(app_->m_strHelpPath, L"C:\\QQQQQQQQQQ.chm");
    EXPECT_EQ(app_->m_strIconPath, bin + L"QQQQQQQQQQ\\..\\fixture.ico");

    // The maker's own example: a program file reached through a folder that is climbed out of.
    ASSERT_TRUE(RegisterMinimalApp(L"Notepad"));
    ASSERT_TRUE(Set(L"Notepad", L"IconPath", L"%ProgramFiles%\\Common Files\\..\\..\\windows\\notepad.exe",
                    REG_EXPAND_SZ));
    EXPECT_EQ(Load(L"Notepad"), 1) << static_cast<int>(reason_);
    wchar_t expected[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%ProgramFiles%\\Common Files\\..\\..\\windows\\notepad.exe", expected, MAX_PATH);
    EXPECT_EQ(app_->m_strIconPath, expected);
}

TEST_F(AppLoader, NumbersOfZeroBytesLeaveTheirFieldsAlone)
{
    ASSERT_TRUE(RegisterMinimalApp(L"Empty"));
    ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, AppKey(L"Empty"), L"Category", REG_DWORD, nullptr, 0));
    ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, AppKey(L"Empty"), L"IconIndex", REG_DWORD, nullptr, 0));
    ASSERT_EQ(Load(L"Empty"), 1);  // present, so not dropped
    EXPECT_EQ(app_->m_nCategory, 255);  // still "Others", not category 0
    EXPECT_EQ(app_->m_nIconIndex, 0);
}
