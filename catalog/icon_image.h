// An icon kept as bytes: the image of one icon in the form of an icon image resource (a bitmap
// header with twice the height, then colour and mask rows; or a PNG image) with the size to make
// it at, so that it can be stored and made into an icon again that draws as the original did.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

struct IconImage {
    std::vector<std::uint8_t> bytes;  // empty: no icon
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool empty() const { return bytes.empty(); }
    bool operator==(const IconImage& other) const
    {
        return bytes == other.bytes && width == other.width && height == other.height;
    }
};

// The image of `icon` read back from its bitmaps (32-bit colour, 1-bit mask); empty when it
// cannot be read.
IconImage IconImageOf(HICON icon);

// The image resource an icon was made from at `width` x `height`, copied.
IconImage IconImageFromResource(const BYTE* data, DWORD size, int width, int height);

// A new icon from an image (the caller destroys it); null for an empty or unusable one.
HICON IconFromImage(const IconImage& image);
