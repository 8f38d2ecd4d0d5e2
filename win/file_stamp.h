// What a file looked like when it was read: whether it existed, its size, its last-write time
// and, where the file system keeps one, its change time (set by the system on every write,
// rename or copy over it; no program can set it back).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace win {

struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;   // FILETIME as one number; 0 when the file is missing
    std::uint64_t changeTime = 0;  // 0 where not kept

    bool operator==(const FileStamp& other) const
    {
        return exists == other.exists && size == other.size && writeTime == other.writeTime &&
               changeTime == other.changeTime;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The stamp of `path` now; a folder counts as existing with size 0.
FileStamp StampOf(const std::wstring& path);

// True for "X:\..." and "\\server\..." paths, which name one file whatever the current folder
// and the search path are.
bool IsFullyQualifiedPath(const std::wstring& path);

// The current time as FILETIME units (100 ns since 1601).
std::uint64_t FileTimeNow();

}  // namespace win
