#include "catalog/group_icon.h"
#include "tests/support/test_process.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

struct ModuleCloser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using DataModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;
DataModule OpenData(const wchar_t* fileName)
{
    return DataModule(LoadLibraryExW((TestBinDirectory() + fileName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

// "WxH from S@B/T": the icon's bitmap size and which fixture image it was made from, read
// from its centre pixel (the fixture script paints red = image size, green = bit count,
// blue = tag). Empty when the icon cannot be read.
std::string Describe(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return "";
    std::string text;
    BITMAP bitmap = {};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap)) {
        BITMAPINFO request = {};
        request.bmiHeader = {sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<BYTE> pixels(static_cast<std::size_t>(bitmap.bmWidth) * bitmap.bmHeight * 4);
        HDC dc = GetDC(nullptr);
        if (GetDIBits(dc, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &request, DIB_RGB_COLORS) ==
            bitmap.bmHeight) {
            const BYTE* centre = &pixels[(std::size_t(bitmap.bmHeight / 2) * bitmap.bmWidth + bitmap.bmWidth / 2) * 4];
            text = std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight) + " from " +
                   std::to_string(centre[2]) + "@" + std::to_string(centre[1]) + "/" + std::to_string(centre[0]);
        }
        ReleaseDC(nullptr, dc);
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return text;
}

std::string Describe(const OwnedIcon& icon) { return Describe(icon.get()); }

LPCWSTR Id(int id) { return MAKEINTRESOURCEW(id); }

}  // namespace

TEST(LoadGroupIcon, PicksTheDeepestImageNotAboveTheMaximumAtTheRequestedSize)
{
    const DataModule module = OpenData(L"icon_groups.dll");
    ASSERT_NE(module.get(), nullptr);
    const struct {
        const char* what;
        LPCWSTR group;
        int size;
        int maxBitCount;
        const char* expected;
    } cases[] = {
        {"8 bits chosen over 32 at 32 px", Id(5), 32, 8, "32x32 from 32@8/5"},
        {"8 bits chosen over 32 at 16 px", Id(5), 16, 8, "16x16 from 16@8/5"},
        {"maximum 4", Id(5), 32, 4, "32x32 from 32@4/5"},
        {"maximum 32", Id(5), 32, 32, "32x32 from 32@32/5"},
        {"equal depths: first in the directory", Id(7), 32, 8, "32x32 from 32@8/7"},
        {"no maximum: the depth of the platform's choice", Id(7), 32, 0, "32x32 from 32@8/7"},
        {"only true colour: the platform's choice", Id(3), 32, 8, "32x32 from 32@32/3"},
        {"only true colour at 16 px", Id(3), 16, 8, "16x16 from 16@32/3"},
        {"text name", L"ALPHA", 32, 8, "32x32 from 32@8/1"},
        {"text name at 16 px", L"ALPHA", 16, 8, "16x16 from 16@8/1"},
        {"text name, deeper image listed second", L"ZETA", 32, 8, "32x32 from 32@8/2"},
        {"text name, maximum 4", L"ZETA", 32, 4, "32x32 from 32@4/2"},
        {"no image of that size: stretched to it", Id(5), 24, 8, "24x24 from 32@8/5"},
        {"larger than every image", Id(5), 48, 8, "48x48 from 32@8/5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnedIcon icon(LoadGroupIcon(module.get(), c.group, c.size, c.size, c.maxBitCount));
        EXPECT_EQ(Describe(icon), c.expected);
    }
}

TEST(LoadGroupIcon, MissingGroupGivesNull)
{
    const DataModule module = OpenData(L"icon_groups.dll");
    ASSERT_NE(module.get(), nullptr);
    EXPECT_EQ(LoadGroupIcon(module.get(), Id(4), 32, 32, 8), nullptr);
    EXPECT_EQ(LoadGroupIcon(module.get(), L"MISSING", 32, 32, 8), nullptr);
    EXPECT_EQ(LoadGroupIcon(module.get(), Id(101), 32, 32, 8), nullptr);  // an RT_ICON id, not a group
}

TEST(LoadGroupIcon, MalformedGroupsGiveNullOrTheirGoodImageWithoutReadingPastTheirData)
{
    const DataModule module = OpenData(L"icon_malformed.dll");
    ASSERT_NE(module.get(), nullptr);
    const struct {
        const char* what;
        int id;
        int size;
        const char* expected;  // empty: null
    } cases[] = {
        {"well-formed control group", 8, 32, "32x32 from 32@8/9"},
        {"count larger than the data", 1, 32, ""},
        {"header cut short", 5, 32, ""},
        {"zero-sized image chosen", 3, 32, ""},
        {"image shorter than its header chosen", 6, 32, ""},
        {"image shorter than its bits chosen", 9, 32, ""},
        {"zero-sized image not chosen", 3, 16, "16x16 from 16@8/9"},
        {"short image not chosen", 6, 16, "16x16 from 16@8/9"},
        {"missing RT_ICON not chosen", 2, 16, "16x16 from 16@8/9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnedIcon icon(LoadGroupIcon(module.get(), Id(c.id), c.size, c.size, 8));
        EXPECT_EQ(icon != nullptr, *c.expected != '\0');
        EXPECT_EQ(Describe(icon), c.expected);
    }
}

TEST(LoadGroupIcon, UnusableGroupsFallBackToThePlatformsStandardIcon)
{
    const DataModule module = OpenData(L"icon_malformed.dll");
    ASSERT_NE(module.get(), nullptr);
    const struct {
        const char* what;
        LPCWSTR group;
        bool platformHasOne;  // as Wine's loader behaves: it accepts a type 2 directory
    } cases[] = {
        {"chosen entry names a missing RT_ICON", Id(2), false},
        {"directory of type 2", Id(4), true},
        {"directory of type 2 by text name", L"CURSORDIR", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnedIcon platform(IS_INTRESOURCE(c.group)
                               ? LoadIconW(module.get(), c.group)
                               : static_cast<HICON>(LoadImageW(module.get(), c.group, IMAGE_ICON, 32, 32, 0)));
        OwnedIcon icon(LoadGroupIcon(module.get(), c.group, 32, 32, 8));
        EXPECT_EQ(icon != nullptr, c.platformHasOne);
        EXPECT_EQ(Describe(icon), Describe(platform));
    }
}
