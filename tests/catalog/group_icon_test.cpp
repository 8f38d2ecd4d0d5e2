#include "group_icon.h"
#include "test_process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DataModule {
public:
    explicit DataModule(const wchar_t* fileName)
        : module_(LoadLibraryExW((TestBinDirectory() + fileName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~DataModule()
    {
        if (module_)
            FreeLibrary(module_);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

class OwnedIcon {
public:
    explicit OwnedIcon(HICON icon) : icon_(icon) {}
    ~OwnedIcon()
    {
        if (icon_)
            DestroyIcon(icon_);
    }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    HICON get() const { return icon_; }

private:
    HICON icon_;
};

// What a created icon looks like: its bitmap size and the colour of its centre pixel, which
// the fixture script sets to red = image width, green = bit count, blue = tag.
struct Picture {
    int width = 0;
    int height = 0;
    int sourceSize = 0;
    int bitCount = 0;
    int tag = 0;
};

bool Describe(HICON icon, Picture& picture)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    bool ok = false;
    BITMAP bitmap = {};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap)) {
        picture.width = bitmap.bmWidth;
        picture.height = bitmap.bmHeight;
        BITMAPINFO request = {};
        request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        request.bmiHeader.biWidth = bitmap.bmWidth;
        request.bmiHeader.biHeight = -bitmap.bmHeight;  // top-down
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 32;
        request.bmiHeader.biCompression = BI_RGB;
        std::vector<BYTE> pixels(static_cast<std::size_t>(bitmap.bmWidth) * bitmap.bmHeight * 4);
        HDC dc = GetDC(nullptr);
        if (GetDIBits(dc, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &request, DIB_RGB_COLORS) ==
            bitmap.bmHeight) {
            const std::size_t centre = (static_cast<std::size_t>(bitmap.bmHeight / 2) * bitmap.bmWidth + bitmap.bmWidth / 2) * 4;
            picture.tag = pixels[centre];
            picture.bitCount = pixels[centre + 1];
            picture.sourceSize = pixels[centre + 2];
            ok = true;
        }
        ReleaseDC(nullptr, dc);
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return ok;
}

LPCWSTR Id(int id) { return MAKEINTRESOURCEW(id); }

struct Expected {
    int sourceSize;
    int bitCount;
    int tag;
};

void ExpectPicture(HICON icon, int size, Expected expected)
{
    ASSERT_NE(icon, nullptr);
    Picture picture;
    ASSERT_TRUE(Describe(icon, picture));
    EXPECT_EQ(picture.width, size);
    EXPECT_EQ(picture.height, size);
    EXPECT_EQ(picture.sourceSize, expected.sourceSize);
    EXPECT_EQ(picture.bitCount, expected.bitCount);
    EXPECT_EQ(picture.tag, expected.tag);
}

}  // namespace

TEST(LoadGroupIcon, PicksTheDeepestImageNotAboveTheMaximumAtTheRequestedSize)
{
    DataModule module(L"icon_groups.dll");
    ASSERT_NE(module.get(), nullptr);
    const struct Case {
        const char* what;
        LPCWSTR group;
        int size;
        int maxBitCount;
        Expected expected;
    } cases[] = {
        {"8 bits chosen over 32 at 32 px", Id(5), 32, 8, {32, 8, 5}},
        {"8 bits chosen over 32 at 16 px", Id(5), 16, 8, {16, 8, 5}},
        {"maximum 4", Id(5), 32, 4, {32, 4, 5}},
        {"maximum 32", Id(5), 32, 32, {32, 32, 5}},
        {"equal depths: first in the directory", Id(7), 32, 8, {32, 8, 7}},
        {"equal depths, maximum from the platform's choice", Id(7), 32, 0, {32, 8, 7}},
        {"only true colour: the platform's choice", Id(3), 32, 8, {32, 32, 3}},
        {"only true colour at 16 px", Id(3), 16, 8, {16, 32, 3}},
        {"text name", L"ALPHA", 32, 8, {32, 8, 1}},
        {"text name at 16 px", L"ALPHA", 16, 8, {16, 8, 1}},
        {"text name, deeper image listed second", L"ZETA", 32, 8, {32, 8, 2}},
        {"text name, maximum 4", L"ZETA", 32, 4, {32, 4, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OwnedIcon icon(LoadGroupIcon(module.get(), c.group, c.size, c.size, c.maxBitCount));
        ExpectPicture(icon.get(), c.size, c.expected);
    }
}

TEST(LoadGroupIcon, CreatesTheIconAtExactlyTheRequestedSize)
{
    DataModule module(L"icon_groups.dll");
    ASSERT_NE(module.get(), nullptr);
    for (int size : {16, 20, 24, 32, 48}) {
        SCOPED_TRACE(size);
        OwnedIcon icon(LoadGroupIcon(module.get(), Id(5), size, size, 8));
        ASSERT_NE(icon.get(), nullptr);
        Picture picture;
        ASSERT_TRUE(Describe(icon.get(), picture));
        EXPECT_EQ(picture.width, size);
        EXPECT_EQ(picture.height, size);
        EXPECT_EQ(picture.bitCount, 8);  // whichever size the platform took, its 8-bit image
        EXPECT_TRUE(picture.sourceSize == 16 || picture.sourceSize == 32) << picture.sourceSize;
    }
}

TEST(LoadGroupIcon, MissingGroupGivesNull)
{
    DataModule module(L"icon_groups.dll");
    ASSERT_NE(module.get(), nullptr);
    EXPECT_EQ(LoadGroupIcon(module.get(), Id(4), 32, 32, 8), nullptr);
    EXPECT_EQ(LoadGroupIcon(module.get(), L"MISSING", 32, 32, 8), nullptr);
    EXPECT_EQ(LoadGroupIcon(module.get(), Id(101), 32, 32, 8), nullptr);  // an RT_ICON id, not a group
}

TEST(LoadGroupIcon, MalformedDirectoriesGiveTheFallbackOrNullWithoutReadingPastTheirData)
{
    DataModule module(L"icon_malformed.dll");
    ASSERT_NE(module.get(), nullptr);

    // The control group in the same file works.
    {
        OwnedIcon icon(LoadGroupIcon(module.get(), Id(8), 32, 32, 8));
        ExpectPicture(icon.get(), 32, {32, 8, 9});
    }
    // Directories that do not fit their resource, and images too small for their header.
    const struct {
        const char* what;
        int id;
    } broken[] = {
        {"count larger than the data", 1},
        {"header cut short", 5},
        {"zero-sized image", 3},
        {"image shorter than its header", 6},
    };
    for (const auto& b : broken) {
        SCOPED_TRACE(b.what);
        EXPECT_EQ(LoadGroupIcon(module.get(), Id(b.id), 32, 32, 8), nullptr);
    }
    // Where the broken image is not the one chosen, the group still serves its good image.
    for (int id : {2, 3, 6}) {
        SCOPED_TRACE(id);
        OwnedIcon icon(LoadGroupIcon(module.get(), Id(id), 16, 16, 8));
        ExpectPicture(icon.get(), 16, {16, 8, 9});
    }
}

TEST(LoadGroupIcon, UnusableGroupsFallBackToThePlatformsStandardIcon)
{
    DataModule module(L"icon_malformed.dll");
    ASSERT_NE(module.get(), nullptr);
    // A missing RT_ICON or a cursor directory: the platform's own icon for the group, if any.
    const struct {
        const char* what;
        LPCWSTR group;
    } cases[] = {
        {"entry names a missing RT_ICON", Id(2)},
        {"directory of type 2", Id(4)},
        {"directory of type 2 by text name", L"CURSORDIR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnedIcon platform(IS_INTRESOURCE(c.group)
                               ? LoadIconW(module.get(), c.group)
                               : static_cast<HICON>(LoadImageW(module.get(), c.group, IMAGE_ICON, 32, 32, 0)));
        OwnedIcon icon(LoadGroupIcon(module.get(), c.group, 32, 32, 8));
        EXPECT_EQ(icon.get() != nullptr, platform.get() != nullptr);
        if (icon.get() && platform.get()) {
            Picture fromGroup, fromPlatform;
            ASSERT_TRUE(Describe(icon.get(), fromGroup));
            ASSERT_TRUE(Describe(platform.get(), fromPlatform));
            EXPECT_EQ(fromGroup.tag, fromPlatform.tag);
            EXPECT_EQ(fromGroup.sourceSize, fromPlatform.sourceSize);
        }
    }
}
