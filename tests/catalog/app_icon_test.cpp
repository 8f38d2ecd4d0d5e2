// Icon resolution of catalogue entries against the icon fixtures.
#include "catalog/app_info.h"
#include "catalog/icon_store.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/catalog/icon_probe.h"

#include <gtest/gtest.h>

namespace {

IconFacts Icon(const std::wstring& path, int index, int size, std::wstring* pathAfter = nullptr)
{
    return IconOf<CAppInfo>(path, index, size, pathAfter);
}

const std::wstring kGroups = FixturePath(L"icon_groups.dll");

}  // namespace

TEST(AppIcon, QuotedPathsWorkAndAreUnquotedInPlace)
{
    std::wstring after;
    IconFacts facts = Icon(L"\"" + kGroups + L"\"", 0, 32, &after);
    EXPECT_TRUE(facts.ok);
    EXPECT_EQ(after, kGroups);
    facts = Icon(L"\"" + FixturePath(L"sizes.ico") + L"\"", 0, 32, &after);
    EXPECT_TRUE(facts.ok);
    EXPECT_EQ(after, FixturePath(L"sizes.ico"));
    Icon(L"\"half quoted", 0, 32, &after);
    EXPECT_EQ(after, L"\"half quoted");  // only enclosing pairs are removed
}

TEST(AppIcon, IcoFilesAreReadAtTheExactSizeWhateverTheIndex)
{
    TempDirectory dir;
    const std::wstring upper = dir.path() + L"SIZES.ICO";
    ASSERT_TRUE(CopyFileW(FixturePath(L"sizes.ico").c_str(), upper.c_str(), FALSE));
    for (int index : {0, 3, -5}) {
        for (int size : {16, 24, 32, 48}) {
            IconFacts facts = Icon(upper, index, size);
            ASSERT_TRUE(facts.ok) << index << " " << size;
            EXPECT_EQ(facts.width, size);
            EXPECT_EQ(facts.height, size);
            EXPECT_EQ(facts.red, size);  // the image of that size, not a scaled one
            EXPECT_EQ(facts.blue, 20);
        }
    }
    EXPECT_FALSE(Icon(dir.path() + L"missing.ico", 0, 32).ok);
    // An .ico path that is no icon file gives nothing: no other attempt is made.
    const std::wstring notIcon = dir.path() + L"library.ico";
    ASSERT_TRUE(CopyFileW(kGroups.c_str(), notIcon.c_str(), FALSE));
    EXPECT_FALSE(Icon(notIcon, 0, 32).ok);
}

TEST(AppIcon, PositionsFollowTheFilesGroupOrder)
{
    // Enumeration order: "ALPHA", "ZETA", 3, 5, 7 (text names first, then ids ascending).
    struct Case {
        int position;
        int tag;
        int bits;  // at 32 pixels
    } cases[] = {{0, 1, 8}, {1, 2, 8}, {2, 3, 32}, {3, 5, 8}, {4, 7, 8}};
    for (const Case& c : cases) {
        CAppInfo entry;
        entry.m_strIconPath = kGroups;
        entry.m_nIconIndex = c.position;
        HICON icon = entry.CreateAppIcon(32);
        IconFacts facts = Inspect(icon);
        if (icon)
            DestroyIcon(icon);
        ASSERT_TRUE(facts.ok) << c.position;
        EXPECT_EQ(facts.blue, c.tag) << c.position;
        EXPECT_EQ(facts.green, c.bits) << c.position;
        EXPECT_EQ(entry.m_nIconEnumPos, c.position);
        EXPECT_FALSE(entry.m_pIconGroupName.IsSet());  // the copied name is released
    }
}

TEST(AppIcon, NegativeSelectorsAreGroupIds)
{
    IconFacts facts = Icon(kGroups, -5, 32);
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(facts.blue, 5);
    EXPECT_EQ(facts.green, 8);  // the 8-bit image wins over the 32-bit and the 4-bit one
    EXPECT_EQ(facts.red, 32);

    facts = Icon(kGroups, -5, 16);
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(facts.red, 16);
    EXPECT_EQ(facts.green, 8);

    facts = Icon(kGroups, -7, 32);
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(facts.blue, 7);  // of two equal images the first in the directory

    facts = Icon(kGroups, -3, 32);  // only true colour: the platform's choice stands
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(facts.green, 32);

    EXPECT_FALSE(Icon(kGroups, -4, 32).ok);       // no such group, and no extraction either
    EXPECT_FALSE(Icon(kGroups, -65541, 32).ok);   // 0x10005 must not wrap onto group 5
    EXPECT_FALSE(Icon(kGroups, -2147483647 - 1, 32).ok);
    EXPECT_FALSE(Icon(FixturePath(L"missing.dll"), -5, 32).ok);
}

TEST(AppIcon, ExactSizesFromGroups)
{
    for (int size : {16, 24, 32, 48}) {
        IconFacts facts = Icon(kGroups, 0, size);
        ASSERT_TRUE(facts.ok) << size;
        EXPECT_EQ(facts.width, size);
        EXPECT_EQ(facts.height, size);
    }
}

TEST(AppIcon, WithoutAGroupAtThePositionExtractionIsTheLastResort)
{
    // Past the last group: extraction has nothing there either.
    EXPECT_FALSE(Icon(kGroups, 5, 32).ok);
    EXPECT_FALSE(Icon(kGroups, 500, 16).ok);

    // A file that cannot be opened as a library but that extraction can read: an icon file
    // under another extension. Large icon for 32 and up, small below.
    TempDirectory dir;
    const std::wstring disguised = dir.path() + L"picture.dat";
    ASSERT_TRUE(CopyFileW(FixturePath(L"sizes.ico").c_str(), disguised.c_str(), FALSE));
    IconFacts large = Icon(disguised, 0, 32);
    ASSERT_TRUE(large.ok);
    EXPECT_EQ(large.width, GetSystemMetrics(SM_CXICON));
    IconFacts small = Icon(disguised, 0, 16);
    ASSERT_TRUE(small.ok);
    EXPECT_EQ(small.width, GetSystemMetrics(SM_CXSMICON));
    EXPECT_FALSE(Icon(disguised, 1, 32).ok);  // an icon file holds one icon
}

TEST(AppIcon, AGroupThatFailsOurChecksGivesNoIconHoweverItIsSelected)
{
    // Enumeration order of the malformed library: "CURSORDIR", 1, 2, 3, 4, 5, 6, 8, 9.
    const std::wstring malformed = FixturePath(L"icon_malformed.dll");
    const struct {
        const char* what;
        int position;
        int id;
        int size;
    } cases[] = {
        {"count larger than the data", 1, 1, 32},
        {"count larger than the data", 1, 1, 16},
        {"header cut short", 5, 5, 32},
        {"header cut short", 5, 5, 16},
        {"zero-sized image chosen", 3, 3, 32},
        {"image shorter than its header chosen", 6, 6, 32},
        {"image shorter than its bits chosen", 8, 9, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(c.size));
        EXPECT_FALSE(Icon(malformed, c.position, c.size).ok);  // never handed on to extraction
        EXPECT_FALSE(Icon(malformed, -c.id, c.size).ok);
    }
    // The well-formed control group of the same file still gives its icon both ways.
    EXPECT_EQ(Icon(malformed, 7, 32).blue, 9);
    EXPECT_EQ(Icon(malformed, -8, 16).blue, 9);
}

// The page's icon store reads an entry's icon file once, at the first request, for every size the
// page shows: once the file is gone, every size still comes as the file gave it.
TEST(IconStore, EachIconFileIsReadOnceForEverySizeThePageShows)
{
    struct Case {
        const wchar_t* fixture;
        const wchar_t* name;
        int index;
    } cases[] = {
        {L"icon_groups.dll", L"groups.dll", 1},  // a group by position
        {L"icon_groups.dll", L"by_id.dll", -5},  // a group by id
        {L"sizes.ico", L"sizes.ico", 0},         // an icon file
        {L"sizes.ico", L"picture.dat", 0},       // the platform's extraction
    };
    const std::vector<int> sizes{16, 24, 32, 48};  // the views' sizes at 96 and 144 dots per inch
    TempDirectory dir;
    IconStore store;
    store.SetSizes(sizes);
    for (const Case& c : cases) {
        const std::wstring path = dir.path() + c.name;
        ASSERT_TRUE(CopyFileW(FixturePath(c.fixture).c_str(), path.c_str(), FALSE)) << c.name;
        std::vector<IconFacts> truth;
        for (int size : sizes)
            truth.push_back(Icon(path, c.index, size));

        CAppInfo entry;
        entry.m_strIconPath = L"\"" + path + L"\"";
        entry.m_nIconIndex = c.index;
        CAppInfo sameIcon;  // another entry naming the same icon
        sameIcon.m_strIconPath = path;
        sameIcon.m_nIconIndex = c.index;
        {
            const IconStore::Use use(store);
            EXPECT_TRUE(entry.HasAppIcon(32)) << c.name;  // the catalogue's test, the first request
        }
        ASSERT_TRUE(DeleteFileW(path.c_str())) << c.name;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            for (CAppInfo* asking : {&entry, &sameIcon}) {
                HICON icon = store.Icon(*asking, sizes[i]);
                const IconFacts facts = Inspect(icon);
                if (icon)
                    DestroyIcon(icon);
                ASSERT_TRUE(facts.ok) << c.name << " at " << sizes[i];
                EXPECT_EQ(facts.width, truth[i].width) << c.name << " at " << sizes[i];
                EXPECT_EQ(facts.red, truth[i].red) << c.name << " at " << sizes[i];
                EXPECT_EQ(facts.green, truth[i].green) << c.name << " at " << sizes[i];
                EXPECT_EQ(facts.blue, truth[i].blue) << c.name << " at " << sizes[i];
            }
        }
    }
}
