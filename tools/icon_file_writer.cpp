#include "tools/icon_file_writer.h"
#include "win/handles.h"

#include <cstdint>
#include <cstring>

namespace {

// Pixels of `bitmap` as 32-bit BGRA, top row first.
bool ReadPixels(HBITMAP bitmap, int width, int height, std::vector<uint32_t>& pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels.assign(static_cast<size_t>(width) * height, 0);
    win::WindowDC dc(nullptr);  // the screen's DC
    return dc.get() && GetDIBits(dc.get(), bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS) == height;
}

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> data;  // BITMAPINFOHEADER, bottom-up BGRA rows, bottom-up AND mask
};

template <typename T>
void Append(std::vector<uint8_t>& out, const T& value)
{
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof(T));
}

bool ImageOf(HICON icon, IconImage& image)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    // GetIconInfo hands out copies of the icon's bitmaps; they are ours to delete.
    const win::UniqueBitmap colourBitmap(info.hbmColor);
    const win::UniqueBitmap maskBitmap(info.hbmMask);
    BITMAP mask = {};
    if (!maskBitmap || !GetObjectW(maskBitmap.get(), sizeof(mask), &mask))
        return false;
    const bool monochrome = !colourBitmap;  // mask holds AND over XOR
    const int width = mask.bmWidth;
    const int height = monochrome ? mask.bmHeight / 2 : mask.bmHeight;
    if (width <= 0 || height <= 0 || width > 256 || height > 256)
        return false;

    std::vector<uint32_t> andPixels;
    std::vector<uint32_t> colour;
    if (!ReadPixels(maskBitmap.get(), width, monochrome ? height * 2 : height, andPixels))
        return false;
    if (monochrome) {
        colour.assign(andPixels.begin() + static_cast<size_t>(width) * height, andPixels.end());
        andPixels.resize(static_cast<size_t>(width) * height);
    } else if (!ReadPixels(colourBitmap.get(), width, height, colour)) {
        return false;
    }
    // Without any alpha the mask alone says what is transparent.
    bool hasAlpha = false;
    for (uint32_t p : colour)
        hasAlpha = hasAlpha || (p >> 24) != 0;
    for (size_t i = 0; i < colour.size(); ++i) {
        bool transparent = (andPixels[i] & 0xFFFFFF) != 0;
        if (!hasAlpha)
            colour[i] = (colour[i] & 0xFFFFFF) | (transparent ? 0u : 0xFF000000u);
    }

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height * 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const int maskStride = ((width + 31) / 32) * 4;
    header.biSizeImage = static_cast<DWORD>((width * 4 + maskStride) * height);
    image.width = width;
    image.height = height;
    image.data.clear();
    Append(image.data, header);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            Append(image.data, colour[static_cast<size_t>(y) * width + x]);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < width; ++x) {
            if ((andPixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) != 0)
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        image.data.insert(image.data.end(), row.begin(), row.end());
    }
    return true;
}

}  // namespace

bool WriteIconFile(const std::vector<HICON>& icons, const std::wstring& path)
{
    std::vector<IconImage> images;
    for (HICON icon : icons) {
        IconImage image;
        if (icon && ImageOf(icon, image))
            images.push_back(std::move(image));
    }
    if (images.empty())
        return false;

    std::vector<uint8_t> file;
    Append(file, static_cast<uint16_t>(0));
    Append(file, static_cast<uint16_t>(1));
    Append(file, static_cast<uint16_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const IconImage& image : images) {
        Append(file, static_cast<uint8_t>(image.width % 256));  // 0 means 256
        Append(file, static_cast<uint8_t>(image.height % 256));
        Append(file, static_cast<uint8_t>(0));
        Append(file, static_cast<uint8_t>(0));
        Append(file, static_cast<uint16_t>(1));
        Append(file, static_cast<uint16_t>(32));
        Append(file, static_cast<uint32_t>(image.data.size()));
        Append(file, offset);
        offset += static_cast<uint32_t>(image.data.size());
    }
    for (const IconImage& image : images)
        file.insert(file.end(), image.data.begin(), image.data.end());

    HANDLE opened = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    win::UniqueFile handle(opened);
    if (!handle)
        return false;
    DWORD written = 0;
    return WriteFile(handle.get(), file.data(), static_cast<DWORD>(file.size()), &written, nullptr) &&
           written == file.size();
}
