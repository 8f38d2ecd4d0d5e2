// An icon file (.ico) read into memory once, from which icons of any size are made as the
// platform makes them from the file: the image it finds best for the size, created at that size.
#pragma once
#include "catalog/group_icon.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class IconFile {
public:
    // Reads the file; false (and no icons) when it cannot be read or is no icon file.
    bool Read(const std::wstring& path);
    // An icon at size x size pixels (the caller destroys it), or null; `source` receives the
    // image resource it was made from (valid while this object lives).
    HICON Make(int size, IconResourceData* source) const;

private:
    std::vector<std::uint8_t> m_bytes;
    // The file's directory in the form of an icon-group resource (image n has id n + 1), and
    // where each image lies in the file.
    std::vector<std::uint8_t> m_directory;
    std::vector<std::pair<DWORD, DWORD>> m_images;  // offset, size
};
