// The inspector's .ico writer: what it saves reads back as the same images.
#include "catalog/app_info.h"
#include "tests/catalog/catalog_fixture.h"
#include "tools/icon_file_writer.h"
#include "tests/catalog/icon_probe.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

HICON GroupIcon(int id, int size)
{
    CAppInfo entry;
    entry.m_strIconPath = FixturePath(L"icon_groups.dll");
    entry.m_nIconIndex = -id;
    return entry.CreateAppIcon(size);
}

}  // namespace

TEST(IconFileWriter, SavedImagesReadBackUnchanged)
{
    TempDirectory dir;
    HICON small = GroupIcon(5, 16);
    HICON large = GroupIcon(3, 32);
    ASSERT_TRUE(small && large);
    IconFacts smallFacts = Inspect(small);
    IconFacts largeFacts = Inspect(large);
    const std::wstring path = dir.path() + L"entry.ico";
    EXPECT_TRUE(WriteIconFile({small, nullptr, large}, path));
    DestroyIcon(small);
    DestroyIcon(large);

    IconFacts small2 = InspectIconFile(path, 16);
    IconFacts large2 = InspectIconFile(path, 32);
    ASSERT_TRUE(small2.ok && large2.ok);
    EXPECT_EQ(small2.width, 16);
    EXPECT_EQ(large2.width, 32);
    EXPECT_EQ(std::make_tuple(small2.red, small2.green, small2.blue),
              std::make_tuple(smallFacts.red, smallFacts.green, smallFacts.blue));
    EXPECT_EQ(std::make_tuple(large2.red, large2.green, large2.blue),
              std::make_tuple(largeFacts.red, largeFacts.green, largeFacts.blue));
}

TEST(IconFileWriter, MonochromeIconsAndFailures)
{
    TempDirectory dir;
    std::vector<BYTE> andMask(32 * 4, 0x00);  // 32 x 32, all opaque
    std::vector<BYTE> xorMask(32 * 4, 0xFF);  // all white
    HICON mono = CreateIcon(nullptr, 32, 32, 1, 1, andMask.data(), xorMask.data());
    ASSERT_TRUE(mono);
    const std::wstring path = dir.path() + L"mono.ico";
    EXPECT_TRUE(WriteIconFile({mono}, path));
    DestroyIcon(mono);
    IconFacts facts = InspectIconFile(path, 32);
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(std::make_tuple(facts.red, facts.green, facts.blue), std::make_tuple(255, 255, 255));

    EXPECT_FALSE(WriteIconFile({}, dir.path() + L"none.ico"));
    EXPECT_FALSE(WriteIconFile({nullptr}, dir.path() + L"none.ico"));
    EXPECT_EQ(GetFileAttributesW((dir.path() + L"none.ico").c_str()), INVALID_FILE_ATTRIBUTES);
    HICON icon = GroupIcon(5, 32);
    EXPECT_FALSE(WriteIconFile({icon}, dir.path() + L"no\\such\\dir\\x.ico"));
    DestroyIcon(icon);
}
