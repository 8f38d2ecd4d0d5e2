#include "catalog/icon_file.h"

#include "catalog/icon_directory.h"
#include "win/handles.h"

#include <cstring>

namespace {

// Larger icon files are not read: no icon the views show needs that much.
constexpr LONGLONG kLargestIconFile = 16 * 1024 * 1024;

bool ReadWhole(const std::wstring& path, std::vector<std::uint8_t>& bytes)
{
    const win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestIconFile)
        return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    return ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
}

}  // namespace

bool IconFile::Read(const std::wstring& path)
{
    m_bytes.clear();
    m_directory.clear();
    m_images.clear();
    std::vector<std::uint8_t> bytes;
    IconDirectoryHeader header;
    if (!ReadWhole(path, bytes) || bytes.size() < sizeof(header))
        return false;
    std::memcpy(&header, bytes.data(), sizeof(header));
    if (header.reserved != 0 || header.type != 1 || header.count == 0 ||
        sizeof(header) + std::size_t(header.count) * sizeof(FileDirectoryEntry) > bytes.size())
        return false;

    m_directory.resize(sizeof(header) + std::size_t(header.count) * sizeof(GroupDirectoryEntry));
    std::memcpy(m_directory.data(), &header, sizeof(header));
    for (WORD i = 0; i < header.count; ++i) {
        FileDirectoryEntry in;
        std::memcpy(&in, bytes.data() + sizeof(header) + i * sizeof(in), sizeof(in));
        // An image that does not lie wholly in the file is never chosen (its id stays 0).
        const bool inFile = in.offset <= bytes.size() && in.bytesInRes <= bytes.size() - in.offset;
        GroupDirectoryEntry out{in.width, in.height, in.colorCount, in.reserved, in.planes, in.bitCount,
                                in.bytesInRes, static_cast<WORD>(inFile ? i + 1 : 0)};
        std::memcpy(m_directory.data() + sizeof(header) + i * sizeof(out), &out, sizeof(out));
        m_images.emplace_back(in.offset, inFile ? in.bytesInRes : 0);
    }
    m_bytes = std::move(bytes);
    return true;
}

HICON IconFile::Make(int size, IconResourceData* source) const
{
    if (m_directory.empty())
        return nullptr;
    const int id = ::LookupIconIdFromDirectoryEx(const_cast<std::uint8_t*>(m_directory.data()), TRUE, size, size,
                                                 LR_DEFAULTCOLOR);
    if (id <= 0 || static_cast<std::size_t>(id) > m_images.size() || m_images[id - 1].second == 0)
        return nullptr;
    const BYTE* data = m_bytes.data() + m_images[id - 1].first;
    const DWORD bytes = m_images[id - 1].second;
    if (!IconImageFits(data, bytes))
        return nullptr;
    HICON icon = ::CreateIconFromResourceEx(const_cast<BYTE*>(data), bytes, TRUE, 0x00030000, size, size,
                                            LR_DEFAULTCOLOR);
    if (icon && source)
        *source = IconResourceData{data, bytes};
    return icon;
}
