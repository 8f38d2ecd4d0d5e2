#include "catalog/icon_image.h"

#include "win/handles.h"

#include <cstring>

namespace {

constexpr LONG kLargestSide = 256;

std::size_t MaskStride(LONG width)
{
    return ((static_cast<std::size_t>(width) + 31) / 32) * 4;
}

// The colour and mask bytes an image of this size must carry after its header.
std::size_t PixelBytes(LONG width, LONG height)
{
    return static_cast<std::size_t>(width) * height * 4 + MaskStride(width) * height;
}

BITMAPINFOHEADER HeaderFor(LONG width, LONG height, WORD bits)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = BI_RGB;
    return header;
}

// Rows of `bitmap` read bottom-up as 32-bit pixels (`bits` 32) or as a 1-bit mask (`bits` 1).
bool ReadRows(HDC dc, HBITMAP bitmap, LONG width, LONG rows, WORD bits, std::uint8_t* out)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header = HeaderFor(width, rows, bits);
    return ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(rows), out, reinterpret_cast<BITMAPINFO*>(&info),
                       DIB_RGB_COLORS) == rows;
}

}  // namespace

IconImage IconImageOf(HICON icon)
{
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return {};
    const win::UniqueBitmap colour(info.hbmColor);
    const win::UniqueBitmap mask(info.hbmMask);
    BITMAP maskBitmap{};
    if (!mask || ::GetObjectW(mask.get(), sizeof(maskBitmap), &maskBitmap) != sizeof(maskBitmap))
        return {};
    const LONG width = maskBitmap.bmWidth;
    // A monochrome icon keeps its AND and XOR halves one above the other in the mask.
    const LONG height = colour ? maskBitmap.bmHeight : maskBitmap.bmHeight / 2;
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide)
        return {};

    const BITMAPINFOHEADER header = [&] {
        BITMAPINFOHEADER h = HeaderFor(width, height * 2, 32);
        h.biSizeImage = static_cast<DWORD>(PixelBytes(width, height));
        return h;
    }();
    IconImage image;
    image.width = width;
    image.height = height;
    image.bytes.resize(sizeof(header) + PixelBytes(width, height));
    std::memcpy(image.bytes.data(), &header, sizeof(header));
    std::uint8_t* pixels = image.bytes.data() + sizeof(header);
    std::uint8_t* andRows = pixels + static_cast<std::size_t>(width) * height * 4;

    const win::WindowDC screen(nullptr);
    HDC dc = screen.get();
    if (colour) {
        if (!ReadRows(dc, colour.get(), width, height, 32, pixels) || !ReadRows(dc, mask.get(), width, height, 1, andRows))
            return {};
    } else {
        // Bottom-up, the XOR half comes first: rows 0..h-1 are XOR, h..2h-1 are AND.
        std::vector<std::uint8_t> both(MaskStride(width) * height * 2);
        if (!ReadRows(dc, mask.get(), width, height * 2, 1, both.data()))
            return {};
        const std::size_t stride = MaskStride(width);
        std::memcpy(andRows, both.data() + stride * height, stride * height);
        for (LONG y = 0; y < height; ++y) {
            for (LONG x = 0; x < width; ++x) {
                const bool set = both[stride * y + x / 8] & (0x80 >> (x % 8));
                const std::uint32_t pixel = set ? 0x00FFFFFFu : 0u;
                std::memcpy(pixels + (static_cast<std::size_t>(y) * width + x) * 4, &pixel, 4);
            }
        }
    }
    return image;
}

IconImage IconImageFromResource(const BYTE* data, DWORD size, int width, int height)
{
    IconImage image;
    if (!data || size == 0 || width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide)
        return image;
    image.bytes.assign(data, data + size);
    image.width = width;
    image.height = height;
    return image;
}

HICON IconFromImage(const IconImage& image)
{
    // The bytes passed the image checks when they were first read from their file; the cache
    // that kept them is checksummed and only administrators may change it.
    if (image.bytes.size() < sizeof(BITMAPINFOHEADER) || image.width <= 0 || image.height <= 0 ||
        image.width > kLargestSide || image.height > kLargestSide)
        return nullptr;
    return ::CreateIconFromResourceEx(const_cast<std::uint8_t*>(image.bytes.data()),
                                      static_cast<DWORD>(image.bytes.size()), TRUE, 0x00030000, image.width,
                                      image.height, LR_DEFAULTCOLOR);
}
