// The start-up cache as stored: what the catalogue resolved that is costly (string-library
// texts and icon images), each with the stamp of the one file it was read from, and the state of
// the machine the results depend on.
#pragma once
#include "catalog/icon_image.h"
#include "win/file_stamp.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// What else a result depends on: the program that made it and the display and language it was
// made for. A cache made under another is not used.
struct CacheContext {
    std::wstring producer;       // path of the program that wrote the cache
    win::FileStamp producerStamp;
    std::uint32_t colourBits = 0;  // of the screen: the platform picks icon images by it
    std::uint32_t iconSize = 0;    // the system's large and small icon sizes (the platform's extraction)
    std::uint32_t smallIconSize = 0;
    std::uint32_t dpi = 0;
    std::uint32_t uiLanguage = 0;  // string resources are looked up in it
    std::uint32_t locale = 0;

    bool operator==(const CacheContext& other) const;
    bool operator!=(const CacheContext& other) const { return !(*this == other); }
};

// The context of this process now.
CacheContext CurrentCacheContext();

// String `id` of the string library `library`.
struct CachedText {
    std::wstring library;
    std::uint32_t id = 0;
    win::FileStamp stamp;
    std::wstring text;
};

// The icon of `path` and selector `index` at `size` pixels; an empty image: no icon could be made.
struct CachedIcon {
    std::wstring path;
    std::int32_t index = 0;
    std::int32_t size = 0;
    win::FileStamp stamp;
    IconImage image;
};

struct CacheContents {
    CacheContext context;
    std::vector<CachedText> texts;
    std::vector<CachedIcon> icons;
};

// The stored form: a fixed header with a checksum of everything after it.
std::vector<std::uint8_t> SerializeCache(const CacheContents& contents);
// False for anything that is not exactly what SerializeCache writes (damaged, cut, of another
// format); `contents` is then unspecified.
bool ParseCache(const std::vector<std::uint8_t>& bytes, CacheContents& contents);

// Largest cache file read.
constexpr std::uint32_t kLargestCacheBytes = 64u * 1024 * 1024;
