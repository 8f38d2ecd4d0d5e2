// The layout of an icon directory: as stored in a module (RT_GROUP_ICON, each image named by its
// RT_ICON id) and as stored in an .ico file (each image named by its place in the file). Both
// begin with the same header.
#pragma once
#include <windows.h>

#pragma pack(push, 2)
struct IconDirectoryHeader {
    WORD reserved;
    WORD type;  // 1 = icon
    WORD count;
};
struct GroupDirectoryEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;  // RT_ICON resource holding the image
};
struct FileDirectoryEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    DWORD offset;  // of the image in the file
};
#pragma pack(pop)
static_assert(sizeof(IconDirectoryHeader) == 6, "directory header layout");
static_assert(sizeof(GroupDirectoryEntry) == 14, "group directory entry layout");
static_assert(sizeof(FileDirectoryEntry) == 16, "file directory entry layout");
