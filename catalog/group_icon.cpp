#include "catalog/group_icon.h"

#include "catalog/icon_directory.h"
#include "win/resource_data.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

bool IconImageFits(const BYTE* data, DWORD size)
{
    const win::ResourceData image{data, size};
    static const BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (image.size >= sizeof(kPngSignature) && std::memcmp(image.data, kPngSignature, sizeof(kPngSignature)) == 0)
        return true;
    BITMAPINFOHEADER header;
    if (image.size < sizeof(header))
        return false;
    std::memcpy(&header, image.data, sizeof(header));
    if (header.biSize < sizeof(header) || header.biSize > image.size || header.biWidth <= 0 ||
        header.biHeight <= 0 || header.biPlanes != 1)
        return false;
    const std::uint64_t width = static_cast<std::uint64_t>(header.biWidth);
    const std::uint64_t height = static_cast<std::uint64_t>(header.biHeight) / 2;  // colour bits, then the mask
    const std::uint64_t bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    std::uint64_t colours = header.biClrUsed;
    if (colours == 0 && bits <= 8)
        colours = std::uint64_t(1) << bits;
    std::uint64_t masks = 0;
    if (header.biCompression == BI_BITFIELDS)
        masks = 3 * sizeof(DWORD);
    else if (header.biCompression != BI_RGB)
        return false;
    const std::uint64_t colourStride = ((width * bits + 31) / 32) * 4;
    const std::uint64_t maskStride = ((width + 31) / 32) * 4;
    const std::uint64_t needed = header.biSize + masks + colours * sizeof(RGBQUAD) + (colourStride + maskStride) * height;
    return needed <= image.size;
}

namespace {

// The platform's standard icon of the group, used when the group's own images cannot be.
HICON PlatformGroupIcon(HMODULE module, LPCWSTR group, int width, int height)
{
    if (IS_INTRESOURCE(group))
        return LoadIconW(module, group);
    return static_cast<HICON>(LoadImageW(module, group, IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

}  // namespace

HICON LoadGroupIcon(HMODULE module, LPCWSTR group, int width, int height, int maxBitCount, bool* rejected,
                    IconResourceData* source)
{
    bool ignored = false;
    bool& reject = rejected ? *rejected : ignored;
    reject = false;
    win::ResourceData directory;
    const win::ResourceStatus found = win::FindResourceData(module, group, RT_GROUP_ICON, directory);
    if (found == win::ResourceStatus::Missing)
        return nullptr;

    // The directory comes from a file anyone may have registered: it must fit its resource and the
    // file before it is read here or handed to the platform, whose fallback would read it too.
    IconDirectoryHeader header;
    if (found == win::ResourceStatus::OutOfFile || directory.size < sizeof(header)) {
        reject = true;
        return nullptr;
    }
    std::memcpy(&header, directory.data, sizeof(header));
    if (sizeof(header) + std::size_t(header.count) * sizeof(GroupDirectoryEntry) > directory.size) {
        reject = true;
        return nullptr;
    }

    auto entryAt = [&directory](WORD index) {
        GroupDirectoryEntry entry;
        std::memcpy(&entry, directory.data + sizeof(IconDirectoryHeader) + index * sizeof(entry), sizeof(entry));
        return entry;
    };

    // Whichever image the platform picks, in any fallback, must be in the file.
    win::ResourceData image;
    for (WORD i = 0; i < header.count; ++i) {
        if (win::FindResourceData(module, MAKEINTRESOURCEW(entryAt(i).id), RT_ICON, image) ==
            win::ResourceStatus::OutOfFile) {
            reject = true;
            return nullptr;
        }
    }
    if (header.type != 1)
        return PlatformGroupIcon(module, group, width, height);

    int chosenId = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(directory.data), TRUE, width, height, LR_DEFAULTCOLOR);

    bool chosenFound = false;
    BYTE chosenWidth = 0;
    BYTE chosenHeight = 0;
    for (WORD i = 0; i < header.count && !chosenFound; ++i) {
        const GroupDirectoryEntry entry = entryAt(i);
        if (entry.id == chosenId) {
            chosenFound = true;
            chosenWidth = entry.width;
            chosenHeight = entry.height;
            if (maxBitCount <= 0)
                maxBitCount = entry.bitCount;
        }
    }
    if (chosenFound) {
        int bestBitCount = 0;
        for (WORD i = 0; i < header.count; ++i) {
            const GroupDirectoryEntry entry = entryAt(i);
            if (entry.width == chosenWidth && entry.height == chosenHeight && entry.bitCount > bestBitCount &&
                entry.bitCount <= maxBitCount) {
                chosenId = entry.id;
                bestBitCount = entry.bitCount;
            }
        }
    }

    if (chosenId != 0 && win::FindResourceData(module, MAKEINTRESOURCEW(chosenId), RT_ICON, image) ==
                             win::ResourceStatus::Found) {
        // A chosen image that cannot hold what it announces is broken data: the platform's
        // fallback would pick and read the same image, so give nothing.
        if (!IconImageFits(image.data, image.size)) {
            reject = true;
            return nullptr;
        }
        HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE, 0x00030000, width,
                                              height, LR_DEFAULTCOLOR);
        if (icon) {
            if (source)
                *source = IconResourceData{image.data, image.size};
            return icon;
        }
    }
    return PlatformGroupIcon(module, group, width, height);
}
