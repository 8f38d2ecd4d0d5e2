// The start-up cache: what it may reuse, what it must notice, and which files it refuses.
#include "catalog/catalog_builder.h"
#include "catalog/catalog_cache.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/catalog/icon_probe.h"
#include "win/data_file_cache.h"
#include "win/file_trust.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t kVendorKey[] = L"SOFTWARE\\BrindleCacheTest";

// An entry as a user meets it: its texts, the path it starts, its icons in tree and lists.
struct Shown {
    std::wstring name;
    std::wstring description;
    std::wstring appPath;
    IconFacts small;
    IconFacts large;
    std::vector<DWORD> drawnSmall;  // every pixel, on white and on black
    std::vector<DWORD> drawnLarge;
};

struct StartResult {
    std::map<std::wstring, Shown> entries;
    CatalogCache::FileState state = CatalogCache::FileState::Missing;
    int reused = 0;
    int resolved = 0;
};

bool SameIcon(const IconFacts& a, const IconFacts& b)
{
    return a.ok == b.ok && a.width == b.width && a.height == b.height && a.red == b.red && a.green == b.green &&
           a.blue == b.blue;
}

// `icon` drawn on white and on black, as 32-bit pixels (what a view shows).
std::vector<DWORD> Drawn(HICON icon, int size)
{
    std::vector<DWORD> all;
    for (COLORREF background : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all_rect{0, 0, size, size};
        FillRect(dc, &all_rect, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const DWORD* pixels = static_cast<const DWORD*>(bits);
        all.insert(all.end(), pixels, pixels + size * size);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    return all;
}

IconFacts InspectAndDestroy(HICON icon, int size, std::vector<DWORD>& drawn)
{
    IconFacts facts = Inspect(icon);
    if (icon) {
        drawn = Drawn(icon, size);
        DestroyIcon(icon);
    }
    return facts;
}

void SetWriteTime(const std::wstring& path, std::uint64_t time)
{
    FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
}

// Gives `path` a last-write time `minutes` before now.
void SetWrittenMinutesAgo(const std::wstring& path, int minutes)
{
    SetWriteTime(path, win::FileTimeNow() - static_cast<std::uint64_t>(minutes) * 60 * 10000000);
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path)
{
    std::vector<std::uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Writes the cache file as an administrator's Brindle would (the folder made for administrators).
void WriteCacheFile(const std::wstring& folder, const std::vector<std::uint8_t>& bytes)
{
    win::AdministratorsOnlySecurity security;
    CreateDirectoryW(folder.c_str(), security.get());
    HANDLE file = CreateFileW(CatalogCache::FilePath(folder).c_str(), GENERIC_WRITE, 0, security.get(), CREATE_ALWAYS,
                              0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Lets everyone change `path` (a file, or a folder and what it holds).
void LetEveryoneChange(const std::wstring& path)
{
    PSECURITY_DESCRIPTOR security = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;OICI;FA;;;WD)", SDDL_REVISION_1,
                                                                     &security, nullptr));
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(security, &present, &dacl, &defaulted);
    EXPECT_EQ(SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    dacl, nullptr),
              static_cast<DWORD>(ERROR_SUCCESS));
    LocalFree(security);
}

// A catalogue of three entries whose parts come from files of their own, all written an hour
// ago: "First" names itself and its description from a string library, "Second" finds its icon
// file through a registry reference, "Third" has an icon file proper.
class CacheScenario {
public:
    CacheScenario()
    {
        EXPECT_TRUE(sandbox_.ok());
        place_.folder = files_.path() + L"cache";
        place_.administrator = true;
        place_.settleTime = 0;  // every fixture file was copied just now; that rule has a test of its own
        Install(L"icon_groups.dll", L"first.dll");
        Install(L"icon_groups.dll", L"second.dll");
        Install(L"sizes.ico", L"third.ico");
        Install(L"fixture_strings.dll", L"strings.dll");
        Install(L"fixture_strings.dll", L"other.dll");
        Install(L"fixture_windir\\system32\\telephon.cpl", L"other_strings.dll");

        EXPECT_TRUE(Register(L"First", L"@" + File(L"strings.dll") + L",-1", File(L"first.dll"), 0));
        EXPECT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"First"), L"Description",
                                 L"@" + File(L"strings.dll") + L",-2"));
        EXPECT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kVendorKey, L"SecondIcon", File(L"second.dll")));
        EXPECT_TRUE(Register(L"Second", L"Second", std::wstring(L"HKEY_LOCAL_MACHINE\\") + kVendorKey + L"\\SecondIcon", 0));
        EXPECT_TRUE(Register(L"Third", L"Third", File(L"third.ico"), 0));
    }

    std::wstring File(const wchar_t* name) const { return files_.path() + name; }

    // Copies a fixture from bin/ to `name`, written an hour ago.
    void Install(const wchar_t* fixture, const wchar_t* name)
    {
        ASSERT_TRUE(CopyFileW(FixturePath(fixture).c_str(), File(name).c_str(), FALSE)) << name;
        SetWrittenMinutesAgo(File(name), 60);
    }

    // Puts another file in the place of `name`: a change the file's stamp shows.
    void Replace(const wchar_t* name, const wchar_t* fixture)
    {
        ASSERT_TRUE(CopyFileW(FixturePath(fixture).c_str(), File(name).c_str(), FALSE)) << name;
        SetWrittenMinutesAgo(File(name), 30);
    }

    static bool Register(const std::wstring& id, const std::wstring& name, const std::wstring& iconPath, DWORD index)
    {
        return SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppName", name) &&
               SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppPath", L"C:\\" + id + L".exe") &&
               SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"Category", 1) &&
               SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"IconPath", iconPath) &&
               SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"IconIndex", index);
    }

    // What a user meets of each entry of `catalog`, its icons made as tree and lists make them.
    static StartResult Observe(const std::vector<std::unique_ptr<CAppInfo>>& catalog)
    {
        StartResult result;
        for (const auto& entry : catalog) {
            Shown& shown = result.entries[entry->m_strId];
            shown.name = entry->m_strAppName;
            shown.description = entry->m_strDescription;
            shown.appPath = entry->m_strAppPath;
            shown.small = InspectAndDestroy(entry->CreateAppIcon(16), 16, shown.drawnSmall);
            shown.large = InspectAndDestroy(entry->CreateAppIcon(32), 32, shown.drawnLarge);
        }
        return result;
    }

    // One start of the page as far as the catalogue goes: the cache read, the catalogue built,
    // the icons of tree and lists made, the cache written.
    StartResult Start(const CatalogCacheSetup& setup)
    {
        const win::DataFileCache iconFiles;
        CatalogCache cache(setup);
        std::vector<std::unique_ptr<CAppInfo>> catalog;
        BuildCatalog(catalog);
        StartResult result = Observe(catalog);
        result.state = cache.State();
        result.reused = cache.Reused();
        result.resolved = cache.Resolved();
        return result;
    }
    StartResult Start() { return Start(place_); }

    // The same catalogue built without any cache: what every start must show.
    StartResult Truth()
    {
        std::vector<std::unique_ptr<CAppInfo>> catalog;
        BuildCatalog(catalog);
        return Observe(catalog);
    }

    static void ExpectSame(const StartResult& actual, const StartResult& expected, const std::string& when)
    {
        ASSERT_EQ(actual.entries.size(), expected.entries.size()) << when;
        for (const auto& e : expected.entries) {
            auto found = actual.entries.find(e.first);
            ASSERT_TRUE(found != actual.entries.end()) << when;
            EXPECT_EQ(found->second.name, e.second.name) << when;
            EXPECT_EQ(found->second.description, e.second.description) << when;
            EXPECT_EQ(found->second.appPath, e.second.appPath) << when;
            EXPECT_TRUE(SameIcon(found->second.small, e.second.small)) << when;
            EXPECT_TRUE(SameIcon(found->second.large, e.second.large)) << when;
            EXPECT_TRUE(found->second.drawnSmall == e.second.drawnSmall) << when << ": drawn alike";
            EXPECT_TRUE(found->second.drawnLarge == e.second.drawnLarge) << when << ": drawn alike";
        }
    }

    std::wstring CacheFile() const { return CatalogCache::FilePath(place_.folder); }

    RegistrySandbox sandbox_;
    TempDirectory files_;
    CatalogCacheSetup place_;
};

class CatalogCacheTest : public ::testing::Test, public CacheScenario {};

// Each thing that can change, changed once: the next start shows it, and so does the start
// after it, from the cache again.
TEST(CatalogCacheValidity, EveryChangeShowsAtTheNextStart)
{
    struct Change {
        const char* what;
        std::function<void(CacheScenario&)> make;
        std::function<void(const StartResult&)> shows;
    };
    const std::vector<Change> changes = {
        {"a new entry",
         [](CacheScenario& t) {
             t.Install(L"icon_groups.dll", L"fourth.dll");
             ASSERT_TRUE(CacheScenario::Register(L"Fourth", L"Fourth", t.File(L"fourth.dll"), 3));
         },
         [](const StartResult& r) {
             ASSERT_EQ(r.entries.count(L"Fourth"), 1u);
             EXPECT_EQ(r.entries.at(L"Fourth").large.blue, 5) << "group 5 at position 3";
         }},
        {"a renamed entry",
         [](CacheScenario& t) {
             ASSERT_EQ(SHDeleteKeyW(HKEY_LOCAL_MACHINE, AppKey(L"Third").c_str()), ERROR_SUCCESS);
             ASSERT_TRUE(CacheScenario::Register(L"ThirdRenamed", L"Third renamed", t.File(L"third.ico"), 0));
         },
         [](const StartResult& r) {
             EXPECT_EQ(r.entries.count(L"Third"), 0u);
             ASSERT_EQ(r.entries.count(L"ThirdRenamed"), 1u);
             EXPECT_EQ(r.entries.at(L"ThirdRenamed").name, L"Third renamed");
         }},
        {"a removed entry",
         [](CacheScenario&) { ASSERT_EQ(SHDeleteKeyW(HKEY_LOCAL_MACHINE, AppKey(L"Third").c_str()), ERROR_SUCCESS); },
         [](const StartResult& r) { EXPECT_EQ(r.entries.count(L"Third"), 0u); }},
        {"a changed icon file",
         [](CacheScenario& t) { t.Replace(L"first.dll", L"fixture_strings.dll"); },
         [](const StartResult& r) {
             EXPECT_EQ(r.entries.at(L"First").large.red, 40 + 6 * 32) << "the fixture icon, not group ALPHA";
         }},
        {"an icon file rewritten with its size and write time kept",
         [](CacheScenario& t) {
             const std::wstring path = t.File(L"first.dll");
             const win::FileStamp before = win::StampOf(path);
             std::vector<std::uint8_t> bytes = ReadBytes(path);
             const std::uint8_t alpha32[] = {1, 8, 32, 0};  // palette colour of group ALPHA's 32-pixel image
             int patched = 0;
             for (std::size_t i = 0; i + 4 <= bytes.size(); ++i) {
                 if (std::memcmp(&bytes[i], alpha32, 4) == 0) {
                     bytes[i] = 3;
                     ++patched;
                 }
             }
             ASSERT_GT(patched, 0);
             WriteBytes(path, bytes);
             SetWriteTime(path, before.writeTime);
             const win::FileStamp after = win::StampOf(path);
             ASSERT_EQ(after.size, before.size);
             ASSERT_EQ(after.writeTime, before.writeTime);
         },
         [](const StartResult& r) { EXPECT_EQ(r.entries.at(L"First").large.blue, 3); }},
        {"a changed icon selector",
         [](CacheScenario&) { ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(L"First"), L"IconIndex", 4)); },
         [](const StartResult& r) { EXPECT_EQ(r.entries.at(L"First").large.blue, 7) << "group 7"; }},
        {"a changed registry reference",
         [](CacheScenario& t) {
             ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kVendorKey, L"SecondIcon", t.File(L"other.dll")));
         },
         [](const StartResult& r) { EXPECT_EQ(r.entries.at(L"Second").large.red, 40 + 6 * 32); }},
        {"a changed string library",
         [](CacheScenario& t) { t.Replace(L"strings.dll", L"fixture_windir\\system32\\telephon.cpl"); },
         [](const StartResult& r) {
             EXPECT_EQ(r.entries.at(L"First").name, L"Item 4 name");
             EXPECT_EQ(r.entries.at(L"First").description, L"Item 4 description");
         }},
        {"a changed program path",
         [](CacheScenario&) {
             ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Second"), L"AppPath", L"C:\\moved.exe"));
         },
         [](const StartResult& r) { EXPECT_EQ(r.entries.at(L"Second").appPath, L"C:\\moved.exe"); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        CacheScenario fixture;
        const StartResult first = fixture.Start();
        EXPECT_EQ(first.state, CatalogCache::FileState::Missing);
        EXPECT_GT(first.resolved, 0);
        const StartResult second = fixture.Start();
        EXPECT_EQ(second.state, CatalogCache::FileState::Read);
        EXPECT_EQ(second.resolved, 0) << "nothing changed: every part comes from the cache";
        CacheScenario::ExpectSame(second, first, "unchanged");

        change.make(fixture);
        const StartResult next = fixture.Start();
        change.shows(next);
        CacheScenario::ExpectSame(next, fixture.Truth(), "the start after the change");
        const StartResult later = fixture.Start();
        EXPECT_EQ(later.resolved, 0) << "the changed parts were kept";
        CacheScenario::ExpectSame(later, next, "the start after that");
    }
}

TEST_F(CatalogCacheTest, HoldsOnlyWhatTheCatalogueUsesNow)
{
    Start();
    const std::vector<std::uint8_t> withThird = ReadBytes(CacheFile());
    CacheContents contents;
    ASSERT_TRUE(ParseCache(withThird, contents));
    auto mentionsThird = [this](const CacheContents& c) {
        for (const CachedIcon& icon : c.icons) {
            if (icon.path == File(L"third.ico"))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(mentionsThird(contents));
    EXPECT_EQ(contents.texts.size(), 2u) << "name and description of First";

    ASSERT_EQ(SHDeleteKeyW(HKEY_LOCAL_MACHINE, AppKey(L"Third").c_str()), ERROR_SUCCESS);
    Start();
    ASSERT_TRUE(ParseCache(ReadBytes(CacheFile()), contents));
    EXPECT_FALSE(mentionsThird(contents)) << "a removed entry's parts leave the cache";

    // Nothing changed since: the file is not written again.
    const std::vector<std::uint8_t> before = ReadBytes(CacheFile());
    SetWrittenMinutesAgo(CacheFile(), 10);
    const win::FileStamp stamp = win::StampOf(CacheFile());
    Start();
    EXPECT_EQ(win::StampOf(CacheFile()), stamp);
    EXPECT_EQ(ReadBytes(CacheFile()), before);
}

TEST_F(CatalogCacheTest, KeepsNothingOfAFileJustChangedOrFoundThroughTheSearchPath)
{
    // Every fixture file was copied moments ago: a change within the same tick of the file
    // system's clock would not show in its stamp, so nothing of them is kept yet.
    CatalogCacheSetup waiting = place_;
    waiting.settleTime = kSettleTime;
    const StartResult first = Start(waiting);
    const StartResult second = Start(waiting);
    EXPECT_EQ(second.reused, 0);
    EXPECT_EQ(second.resolved, first.resolved);
    ExpectSame(second, Truth(), "parts not kept are made afresh");

    // A file found through the current folder or the search path may be another one next time.
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Third"), L"IconPath", L"fixture.ico"));  // in bin/
    Start();
    const StartResult relative = Start();
    ExpectSame(relative, Truth(), "a relative icon path");
    EXPECT_EQ(relative.resolved, 0) << "the other parts came from the cache";
    CacheContents contents;
    ASSERT_TRUE(ParseCache(ReadBytes(CacheFile()), contents));
    for (const CachedIcon& icon : contents.icons)
        EXPECT_NE(icon.path, L"fixture.ico");
    EXPECT_EQ(contents.icons.size(), 4u) << "First's and Second's two sizes";
}

// A cache that does not parse is ignored and written anew; the catalogue is what it is.
TEST_F(CatalogCacheTest, ADamagedCacheIsIgnoredAndRewritten)
{
    const StartResult truth = Truth();
    Start();
    const std::vector<std::uint8_t> good = ReadBytes(CacheFile());
    ASSERT_GT(good.size(), 64u);
    struct Damage {
        const char* what;
        std::function<std::vector<std::uint8_t>(std::vector<std::uint8_t>)> apply;
    };
    const std::vector<Damage> damages = {
        {"a flipped byte", [](std::vector<std::uint8_t> b) { b[b.size() / 2] ^= 0x40; return b; }},
        {"cut in half", [](std::vector<std::uint8_t> b) { b.resize(b.size() / 2); return b; }},
        {"empty", [](std::vector<std::uint8_t>) { return std::vector<std::uint8_t>(); }},
        {"another format", [](std::vector<std::uint8_t> b) { b[0] = 'X'; return b; }},
        {"text instead", [](std::vector<std::uint8_t>) { return std::vector<std::uint8_t>(100, 'x'); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        WriteCacheFile(place_.folder, damage.apply(good));
        const StartResult damaged = Start();
        EXPECT_EQ(damaged.state, CatalogCache::FileState::Damaged);
        ExpectSame(damaged, truth, "over a damaged cache");
        const StartResult after = Start();
        EXPECT_EQ(after.state, CatalogCache::FileState::Read) << "rewritten";
        EXPECT_EQ(after.resolved, 0);
    }
}

// The plant: a cache that names First "Planted" and gives Third a false stamp-matching icon.
std::vector<std::uint8_t> PlantedCache(const std::wstring& strings)
{
    CacheContents contents;
    contents.context = CurrentCacheContext();
    contents.texts.push_back(CachedText{strings, 1, win::StampOf(strings), L"Planted"});
    return SerializeCache(contents);
}

TEST_F(CatalogCacheTest, ACacheANonAdministratorCouldHaveWrittenIsIgnored)
{
    const StartResult truth = Truth();
    const std::vector<std::uint8_t> plant = PlantedCache(File(L"strings.dll"));

    // The control: where only administrators may write, the cache is believed.
    WriteCacheFile(place_.folder, plant);
    EXPECT_EQ(Start().entries[L"First"].name, L"Planted");

    // A file that anyone may change: ignored, and replaced by one of the administrators.
    WriteCacheFile(place_.folder, plant);
    LetEveryoneChange(CacheFile());
    const StartResult open = Start();
    EXPECT_EQ(open.state, CatalogCache::FileState::Untrusted);
    ExpectSame(open, truth, "over a file anyone may change");
    EXPECT_EQ(Start().state, CatalogCache::FileState::Read);

    // A folder that anyone may change: ignored, and nothing is written into it.
    WriteCacheFile(place_.folder, plant);
    LetEveryoneChange(place_.folder);
    const StartResult openFolder = Start();
    EXPECT_EQ(openFolder.state, CatalogCache::FileState::Untrusted);
    ExpectSame(openFolder, truth, "in a folder anyone may change");
    EXPECT_EQ(ReadBytes(CacheFile()), plant);
}

TEST_F(CatalogCacheTest, AUserWhoIsNoAdministratorNeitherBelievesHisOwnFilesNorWrites)
{
    CatalogCacheSetup user = place_;
    user.administrator = false;
    const StartResult truth = Truth();

    const StartResult nothingYet = Start(user);
    ExpectSame(nothingYet, truth, "without a cache");
    EXPECT_EQ(GetFileAttributesW(place_.folder.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing written";

    // A file of the process's own account counts only for an administrator.
    const std::vector<std::uint8_t> plant = PlantedCache(File(L"strings.dll"));
    WriteCacheFile(place_.folder, plant);
    const StartResult planted = Start(user);
    ExpectSame(planted, truth, "over the user's own file");
    EXPECT_EQ(ReadBytes(CacheFile()), plant) << "not written";
}

TEST_F(CatalogCacheTest, ACacheMadeForAnotherDisplayOrProgramIsIgnored)
{
    const StartResult truth = Truth();
    CacheContents contents;
    contents.context = CurrentCacheContext();
    contents.context.colourBits = 4;
    contents.texts.push_back(CachedText{File(L"strings.dll"), 1, win::StampOf(File(L"strings.dll")), L"Planted"});
    WriteCacheFile(place_.folder, SerializeCache(contents));
    const StartResult other = Start();
    EXPECT_EQ(other.state, CatalogCache::FileState::OtherContext);
    ExpectSame(other, truth, "over a cache of another display");
    EXPECT_EQ(Start().state, CatalogCache::FileState::Read);
}

// ---- the stored form ----

std::uint64_t Fnv1a(const std::uint8_t* data, std::size_t bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < bytes; ++i)
        hash = (hash ^ data[i]) * 1099511628211ull;
    return hash;
}

// Header (magic, version, length, checksum of the payload) around a payload of our making.
std::vector<std::uint8_t> Sealed(const std::vector<std::uint8_t>& payload)
{
    std::vector<std::uint8_t> bytes = {'B', 'R', 'N', 'D', 'L', 'C', 'A', 'T', 1, 0, 0, 0};
    const std::uint32_t length = static_cast<std::uint32_t>(payload.size());
    const std::uint64_t sum = Fnv1a(payload.data(), payload.size());
    bytes.insert(bytes.end(), reinterpret_cast<const std::uint8_t*>(&length), reinterpret_cast<const std::uint8_t*>(&length) + 4);
    bytes.insert(bytes.end(), reinterpret_cast<const std::uint8_t*>(&sum), reinterpret_cast<const std::uint8_t*>(&sum) + 8);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

TEST(CacheFormat, ReadsBackWhatItWritesAndNothingThatClaimsMoreThanItHolds)
{
    CacheContents contents;
    contents.context = CurrentCacheContext();
    contents.texts.push_back(CachedText{L"C:\\lib.dll", 7, win::FileStamp{true, 10, 20, 25}, L"Text"});
    contents.icons.push_back(CachedIcon{L"C:\\icons.dll", -5, 16, win::FileStamp{true, 30, 40, 45}, IconImage{std::vector<std::uint8_t>(1128, 7), 16, 16}});
    contents.icons.push_back(CachedIcon{L"C:\\none.dll", 0, 32, win::FileStamp{}, IconImage()});
    const std::vector<std::uint8_t> bytes = SerializeCache(contents);
    CacheContents back;
    ASSERT_TRUE(ParseCache(bytes, back));
    EXPECT_EQ(back.context, contents.context);
    ASSERT_EQ(back.texts.size(), 1u);
    EXPECT_EQ(back.texts[0].text, L"Text");
    EXPECT_EQ(back.texts[0].stamp, contents.texts[0].stamp);
    ASSERT_EQ(back.icons.size(), 2u);
    EXPECT_EQ(back.icons[0].index, -5);
    EXPECT_EQ(back.icons[0].image, contents.icons[0].image);
    EXPECT_TRUE(back.icons[1].image.empty());

    // Payloads with a true checksum that promise more than they hold.
    const std::vector<std::uint8_t> payload(bytes.begin() + 24, bytes.end());
    ASSERT_EQ(Sealed(payload), bytes) << "the test seals as the cache does";
    auto withU32At = [&payload](std::size_t at, std::uint32_t value) {
        std::vector<std::uint8_t> p = payload;
        std::memcpy(p.data() + at, &value, 4);
        return Sealed(p);
    };
    const std::size_t producerUnits = contents.context.producer.size();
    const std::size_t textCountAt = 4 + producerUnits * 2 + 25 + 6 * 4;
    std::vector<std::uint8_t> trailing = payload;
    trailing.push_back(0);
    for (const auto& bad : {withU32At(0, 0x7FFFFFFF), withU32At(textCountAt, 0xFFFFFFFF),
                            withU32At(textCountAt + 4, 100000), Sealed(trailing),
                            Sealed(std::vector<std::uint8_t>(payload.begin(), payload.end() - 1))}) {
        EXPECT_FALSE(ParseCache(bad, back));
    }
}

// ---- who may have written it ----

TEST(FileTrust, OnlyTheSystemAndAdministratorsMayChangeATrustedFile)
{
    const wchar_t* const administrator = L"S-1-5-21-1-2-3-1001";
    struct Case {
        const wchar_t* sddl;
        bool withAdministratorAccount;
        bool trusted;
    };
    const Case cases[] = {
        {L"O:BAD:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;WD)", false, true},
        {L"O:SYD:(A;;FA;;;SY)", false, true},
        {L"O:BUD:(A;;FA;;;SY)(A;;FA;;;BA)", false, false},             // owned by Users
        {L"O:S-1-5-21-1-2-3-1001D:(A;;FA;;;BA)", false, false},         // owned by an account...
        {L"O:S-1-5-21-1-2-3-1001D:(A;;FA;;;BA)", true, true},           // ...known to be an administrator
        {L"O:BAD:(A;;FA;;;S-1-5-21-1-2-3-1001)", true, true},
        {L"O:BAD:(A;;FA;;;S-1-5-21-1-2-3-1002)", true, false},          // another account
        {L"O:BAD:(A;;FA;;;BA)(A;;FW;;;BU)", false, false},              // Users may write
        {L"O:BAD:(A;;FA;;;BA)(A;;0x4;;;AU)", false, false},             // append, or add a subfolder
        {L"O:BAD:(A;;FA;;;BA)(A;;0x40;;;BU)", false, false},            // delete a folder's children
        {L"O:BAD:(A;;FA;;;BA)(A;;SD;;;WD)", false, false},              // delete
        {L"O:BAD:(A;;FA;;;BA)(A;;WD;;;WD)", false, false},              // change the access list
        {L"O:BAD:(A;;FA;;;BA)(A;;WO;;;WD)", false, false},              // take ownership
        {L"O:BAD:(A;;FA;;;BA)(A;;GA;;;BU)", false, false},
        {L"O:BAD:(A;;FA;;;BA)(A;;GW;;;BU)", false, false},
        {L"O:BAD:(A;;FA;;;BA)(A;;FR;;;BU)", false, true},               // reading is fine
        {L"O:BAD:(D;;FA;;;WD)(A;;FA;;;BA)", false, true},               // denying takes away
        {L"O:BAD:(A;;FA;;;BA)(A;OICIIO;FA;;;CO)", false, true},         // only for children made later
        {L"O:BAD:(A;OICI;FA;;;CO)", false, false},                      // the creator owner, here and now
        {L"O:BA", false, false},                                        // no list at all: everyone everything
    };
    PSID account = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidW(administrator, &account));
    for (const Case& c : cases) {
        PSECURITY_DESCRIPTOR security = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(c.sddl, SDDL_REVISION_1, &security, nullptr))
            << std::string(c.sddl, c.sddl + wcslen(c.sddl));
        EXPECT_EQ(win::SecurityLetsOnlyAdministratorsChange(security, c.withAdministratorAccount ? account : nullptr),
                  c.trusted)
            << std::string(c.sddl, c.sddl + wcslen(c.sddl));
        LocalFree(security);
    }
    LocalFree(account);

    // A list that is present but null lets everyone do everything as well.
    PSECURITY_DESCRIPTOR owned = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:BA", SDDL_REVISION_1, &owned, nullptr));
    SECURITY_DESCRIPTOR absolute{};
    ASSERT_TRUE(InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION));
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    ASSERT_TRUE(GetSecurityDescriptorOwner(owned, &owner, &defaulted));
    ASSERT_TRUE(SetSecurityDescriptorOwner(&absolute, owner, FALSE));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&absolute, TRUE, nullptr, FALSE));
    EXPECT_FALSE(win::SecurityLetsOnlyAdministratorsChange(&absolute, nullptr));
    alignas(DWORD) BYTE empty[sizeof(ACL)];
    ASSERT_TRUE(InitializeAcl(reinterpret_cast<PACL>(empty), sizeof(empty), ACL_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&absolute, TRUE, reinterpret_cast<PACL>(empty), FALSE));
    EXPECT_TRUE(win::SecurityLetsOnlyAdministratorsChange(&absolute, nullptr)) << "an empty list lets nobody in";
    LocalFree(owned);
}

// ---- the images it keeps ----

TEST(IconImages, AKeptImageDrawsAsTheIconItWasTakenFrom)
{
    struct Source {
        const wchar_t* file;
        int index;
        int size;
    };
    const Source sources[] = {
        {L"icon_groups.dll", 0, 32},  // 8 bits
        {L"icon_groups.dll", 1, 32},  // 8 bits beside a 4-bit image
        {L"icon_groups.dll", 2, 16},  // true colour
        {L"sizes.ico", 0, 16},        // an icon file, 32 bits with alpha
        {L"depths.ico", 0, 32},
        {L"fixture.ico", 0, 32},
    };
    for (const Source& source : sources) {
        SCOPED_TRACE(std::string(source.file, source.file + wcslen(source.file)) + " " + std::to_string(source.size));
        CAppInfo entry;
        entry.m_strIconPath = FixturePath(source.file);
        entry.m_nIconIndex = source.index;
        HICON original = entry.CreateAppIcon(source.size);
        ASSERT_NE(original, nullptr);
        const IconImage image = IconImageOf(original);
        ASSERT_FALSE(image.empty());
        HICON copy = IconFromImage(image);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(Drawn(copy, source.size), Drawn(original, source.size));
        EXPECT_TRUE(SameIcon(Inspect(copy), Inspect(original)));
        DestroyIcon(copy);
        DestroyIcon(original);
    }

    // A monochrome icon (its two masks in one bitmap) keeps its look too.
    const BYTE andMask[4 * 32] = {0xFF, 0x00, 0xF0, 0x0F};
    BYTE xorMask[4 * 32] = {};
    for (int i = 0; i < 4 * 32; i += 3)
        xorMask[i] = 0xAA;
    HICON mono = CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask);
    ASSERT_NE(mono, nullptr);
    HICON copy = IconFromImage(IconImageOf(mono));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Drawn(copy, 32), Drawn(mono, 32));
    DestroyIcon(copy);
    DestroyIcon(mono);

    EXPECT_EQ(IconFromImage(IconImage{std::vector<std::uint8_t>(40, 0), 300, 300}), nullptr) << "larger than any icon";
    EXPECT_EQ(IconFromImage(IconImage()), nullptr);
}

}  // namespace
