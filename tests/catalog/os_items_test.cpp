// Built-in control-panel items and the catalogue builder, against a stand-in Windows directory
// (bin/fixture_windir) whose system files carry "Item n name" and "Item n description".
#include "catalog/app_info.h"
#include "catalog/catalog_builder.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/catalog/module_probe.h"
#include "win/data_file_cache.h"
#include "tests/catalog/icon_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Points %windir% somewhere for the life of the object.
class WindowsDirectoryOverride {
public:
    explicit WindowsDirectoryOverride(const std::wstring& directory)
    {
        wchar_t old[MAX_PATH] = {};
        had_ = GetEnvironmentVariableW(L"windir", old, MAX_PATH) > 0;
        old_ = old;
        SetEnvironmentVariableW(L"windir", directory.c_str());
    }
    ~WindowsDirectoryOverride() { SetEnvironmentVariableW(L"windir", had_ ? old_.c_str() : nullptr); }

private:
    bool had_ = false;
    std::wstring old_;
};

const wchar_t* const kResourceFiles[] = {L"powercfg.cpl", L"main.cpl",  L"netshell.dll",
                                         L"telephon.cpl", L"desk.cpl",  L"Mmsys.cpl",
                                         L"Nusrmgr.cpl",  L"xpsp2res.dll"};

std::wstring FixtureWindows()
{
    return TestBinDirectory() + L"fixture_windir";
}

// A copy of the stand-in Windows directory that the test may change.
class WindowsCopy {
public:
    WindowsCopy()
    {
        CreateDirectoryW((dir_.path() + L"system32").c_str(), nullptr);
        for (const wchar_t* file : kResourceFiles)
            CopyFileW((FixtureWindows() + L"\\system32\\" + file).c_str(), File(file).c_str(), FALSE);
    }
    std::wstring File(const wchar_t* name) const { return dir_.path() + L"system32\\" + name; }
    std::wstring Root() const { return dir_.path().substr(0, dir_.path().size() - 1); }

private:
    TempDirectory dir_;
};

class Recorder : public ICatalogObserver {
public:
    void OnEntry(const CAppInfo& entry, bool builtIn, DropReason reason, CheckOutcome) override
    {
        seen.push_back({entry.m_strId, builtIn, reason});
    }
    struct Seen {
        std::wstring id;
        bool builtIn;
        DropReason reason;
    };
    std::vector<Seen> seen;
};

std::vector<std::wstring> Ids(const std::vector<std::unique_ptr<CAppInfo>>& catalog)
{
    std::vector<std::wstring> ids;
    for (const auto& entry : catalog)
        ids.push_back(entry->m_strId);
    return ids;
}

std::vector<std::wstring> BuildIds(Recorder* recorder = nullptr)
{
    std::vector<std::unique_ptr<CAppInfo>> catalog;
    BuildCatalog(catalog, recorder);
    return Ids(catalog);
}

std::vector<std::wstring> BuiltInIds(std::initializer_list<int> items)
{
    std::vector<std::wstring> ids;
    for (int item : items)
        ids.push_back(L"OSApp" + std::to_wstring(item));
    return ids;
}

// GDI and USER objects. Where the platform counts them (GetGuiResources) the counts are compared.
// Wine reports 0; there the GDI table is probed instead: allocating a fixed batch of brushes
// reaches a higher slot once any GDI object stays alive (a leaked icon holds GDI bitmaps too).
class GuiObjectProbe {
public:
    GuiObjectProbe() : before_(CurrentResourceCounts())
    {
        HICON held = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
        counted_ = CurrentResourceCounts().user > before_.user;
        DestroyIcon(held);
        before_ = CurrentResourceCounts();
        if (!counted_) {
            // Afterwards exactly one batch of slots is free, so a batch fills them all and any
            // slot still held at the end forces the batch onto a new, higher slot.
            WORD settled = PeakSlot();
            ballast_ = CreateSolidBrush(0);  // held to the end; also shows the probe sees a leak
            peak_ = PeakSlot();
            EXPECT_GT(peak_, settled) << "the GDI probe cannot see a leak here";
        }
    }
    ~GuiObjectProbe()
    {
        if (ballast_)
            DeleteObject(ballast_);
    }
    GuiObjectProbe(const GuiObjectProbe&) = delete;
    GuiObjectProbe& operator=(const GuiObjectProbe&) = delete;
    void ExpectUnchanged() const
    {
        if (counted_) {
            ResourceCounts after = CurrentResourceCounts();
            EXPECT_EQ(after.gdi, before_.gdi);
            EXPECT_EQ(after.user, before_.user);
        } else {
            EXPECT_EQ(PeakSlot(), peak_);
        }
    }

private:
    static WORD PeakSlot()
    {
        std::vector<HBRUSH> brushes;
        WORD peak = 0;
        for (int i = 0; i < 2000; ++i) {
            brushes.push_back(CreateSolidBrush(RGB(i & 0xFF, 0, 0)));
            peak = std::max(peak, LOWORD(reinterpret_cast<ULONG_PTR>(brushes.back())));
        }
        for (HBRUSH brush : brushes)
            DeleteObject(brush);
        return peak;
    }

    ResourceCounts before_;
    bool counted_ = false;
    WORD peak_ = 0;
    HBRUSH ballast_ = nullptr;
};

// Kernel handles: the count where the platform keeps it, otherwise the value of the next handle,
// which moves when any handle stays open because handles are handed out lowest-free first.
class KernelHandleProbe {
public:
    KernelHandleProbe() : count_(CurrentResourceCounts().handles), next_(NextHandle())
    {
        // The fallback must be able to see a leak: one deliberately held handle has to move it.
        HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        EXPECT_TRUE(count_ != 0 || NextHandle() != next_) << "no way to see a handle leak";
        CloseHandle(held);
        EXPECT_EQ(NextHandle(), next_);
    }
    void ExpectUnchanged() const
    {
        if (count_ != 0) {
            EXPECT_EQ(CurrentResourceCounts().handles, count_);
        }
        EXPECT_EQ(NextHandle(), next_);
    }

private:
    static HANDLE NextHandle()
    {
        HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        CloseHandle(probe);
        return probe;
    }
    DWORD count_;
    HANDLE next_;
};

}  // namespace

TEST(OsItems, EveryRowFillsTheEntryFromItsSystemFile)
{
    WindowsDirectoryOverride windows(FixtureWindows());
    struct Row {
        const wchar_t* argument;
        const wchar_t* file;
        int icon;
        int category;
    } rows[] = {
        {L"powercfg.cpl", L"powercfg.cpl", 202, 1}, {L"main.cpl", L"main.cpl", 100, 3},
        {L"main.cpl @1", L"main.cpl", 200, 3},      {L"Ncpa.cpl", L"netshell.dll", 5, 4},
        {L"telephon.cpl", L"telephon.cpl", 100, 4}, {L"desk.cpl", L"desk.cpl", 100, 5},
        {L"Mmsys.cpl", L"Mmsys.cpl", 3004, 7},      {L"Nusrmgr.cpl", L"Nusrmgr.cpl", 200, 8},
        {L"wscui.cpl", L"xpsp2res.dll", 6105, 8},
    };
    for (int n = 0; n < 9; ++n) {
        CAppInfo entry;
        ASSERT_EQ(entry.LoadOsItem(n), 1) << n;
        const std::wstring number = std::to_wstring(n);
        EXPECT_EQ(entry.m_strId, L"OSApp" + number);
        EXPECT_EQ(entry.m_strAppPath, FixtureWindows() + L"\\system32\\rundll32.exe");
        EXPECT_EQ(entry.m_strAppOption, std::wstring(L"shell32.dll,Control_RunDLL ") + rows[n].argument);
        EXPECT_EQ(entry.m_strIconPath, FixtureWindows() + L"\\system32\\" + rows[n].file);
        EXPECT_EQ(entry.m_nIconIndex, -rows[n].icon);
        EXPECT_EQ(entry.m_nCategory, rows[n].category);
        EXPECT_EQ(entry.m_strAppName, L"Item " + number + L" name");
        EXPECT_EQ(entry.m_strDescription, L"Item " + number + L" description");
        EXPECT_TRUE(entry.m_strFolder.empty() && entry.m_strHelpPath.empty() && entry.m_strAppCheckFunc.empty());
        EXPECT_EQ(entry.m_nHelpOption1 + entry.m_nHelpOption2 + entry.m_nAppHide + entry.m_nAppCheck, 0);
        for (int size : {16, 32}) {
            HICON icon = entry.CreateAppIcon(size);
            EXPECT_EQ(Inspect(icon).width, size) << n;
            if (icon)
                DestroyIcon(icon);
        }
    }
}

TEST(OsItems, NumbersOutsideTheTableFillNothing)
{
    WindowsDirectoryOverride windows(FixtureWindows());
    for (int n : {9, 10, -1, -2147483647 - 1}) {
        CAppInfo entry;
        EXPECT_EQ(entry.LoadOsItem(n), 0) << n;
        EXPECT_TRUE(entry.m_strId.empty());
        EXPECT_EQ(entry.m_nCategory, 255);
    }
}

TEST(OsItems, MissingFileOrStringDropsOnlyThatItem)
{
    WindowsCopy copy;
    ASSERT_TRUE(DeleteFileW(copy.File(L"xpsp2res.dll").c_str()));
    ASSERT_TRUE(CopyFileW(FixturePath(L"desk_no_description.cpl").c_str(), copy.File(L"desk.cpl").c_str(), FALSE));
    WindowsDirectoryOverride windows(copy.Root());

    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.ok());
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kCatalogKey, L"OSItems", 511));
    Recorder recorder;
    EXPECT_EQ(BuildIds(&recorder), BuiltInIds({0, 1, 2, 3, 4, 6, 7}));
    ASSERT_EQ(recorder.seen.size(), 9u);
    EXPECT_EQ(recorder.seen[5].id, L"OSApp5");
    EXPECT_EQ(recorder.seen[5].reason, DropReason::NoDescription);
    EXPECT_EQ(recorder.seen[8].id, L"OSApp8");
    EXPECT_EQ(recorder.seen[8].reason, DropReason::NoName);
    EXPECT_TRUE(recorder.seen[8].builtIn);

    // Items 1 and 2 share main.cpl: without it both go, and nothing else.
    ASSERT_TRUE(DeleteFileW(copy.File(L"main.cpl").c_str()));
    EXPECT_EQ(BuildIds(), BuiltInIds({0, 3, 4, 6, 7}));
}

TEST(CatalogBuilder, BuiltInItemsFollowRegisteredAppsWhenTheMaskIsADword)
{
    WindowsDirectoryOverride windows(FixtureWindows());
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.ok());
    EXPECT_TRUE(BuildIds().empty());  // no catalogue key

    ASSERT_TRUE(RegisterMinimalApp(L"Registered"));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Dropped"), L"AppName", L"no path"));
    std::vector<std::wstring> registered = BuildIds();
    ASSERT_EQ(registered, std::vector<std::wstring>{L"Registered"});

    struct Case {
        DWORD type;
        DWORD value;
        std::vector<std::wstring> builtIn;
    } cases[] = {
        {REG_DWORD, 511, BuiltInIds({0, 1, 2, 3, 4, 5, 6, 7, 8})},
        {REG_DWORD, 512, {}},
        {REG_DWORD, 0xFFFFFE00u | 0x104, BuiltInIds({2, 8})},  // bits 9-31 ignored
        {REG_DWORD, 0, {}},
        {REG_BINARY, 511, {}},  // four bytes, but not a REG_DWORD
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, kCatalogKey, L"OSItems", c.type, &c.value, sizeof(c.value)));
        std::vector<std::wstring> expected = registered;
        expected.insert(expected.end(), c.builtIn.begin(), c.builtIn.end());
        EXPECT_EQ(BuildIds(), expected) << c.value;
    }
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kCatalogKey, L"OSItems", L"511"));
    EXPECT_EQ(BuildIds(), registered);

    // The observer sees every subkey, kept or not, in catalogue order.
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kCatalogKey, L"OSItems", 1));
    Recorder recorder;
    BuildIds(&recorder);
    ASSERT_EQ(recorder.seen.size(), 3u);
    EXPECT_EQ(recorder.seen[2].id, L"OSApp0");
    EXPECT_TRUE(recorder.seen[2].builtIn);
    for (const Recorder::Seen& s : recorder.seen)
        EXPECT_EQ(s.reason, s.id == L"Dropped" ? DropReason::NoPath : DropReason::None);
}

TEST(CatalogBuilder, BuildingAndDrawingAThousandTimesLeaksNothing)
{
    WindowsDirectoryOverride windows(FixtureWindows());
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.ok());
    ASSERT_TRUE(RegisterMinimalApp(L"IcoFile"));  // an .ico file
    ASSERT_TRUE(RegisterMinimalApp(L"Position"));  // position 1: a group with a text name, copied
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Position"), L"IconPath", FixturePath(L"icon_groups.dll")));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(L"Position"), L"IconIndex", 1));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kCatalogKey, L"OSItems", 0x1));  // a group id

    auto buildAndDraw = [](bool cached) {
        std::unique_ptr<win::DataFileCache> iconFiles;
        if (cached)
            iconFiles = std::make_unique<win::DataFileCache>();  // as the page builds it
        std::vector<std::unique_ptr<CAppInfo>> catalog;
        BuildCatalog(catalog);
        return MakeEveryIcon(catalog);
    };
    ASSERT_EQ(buildAndDraw(false), 6);  // warm-up: three entries, two sizes each
    ASSERT_EQ(buildAndDraw(true), 6);

    GuiObjectProbe gui;
    KernelHandleProbe handles;
    DataFileModuleProbe modules(FixturePath(L"icon_groups.dll"));
    int icons = 0;
    for (int i = 0; i < 1000; ++i)
        icons += buildAndDraw(i % 2 == 0);
    EXPECT_EQ(icons, 6000);
    gui.ExpectUnchanged();
    handles.ExpectUnchanged();
    modules.ExpectUnchanged();
}
