#include "win/file_stamp.h"

#include <winternl.h>

namespace win {

namespace {

std::uint64_t Join(DWORD high, DWORD low)
{
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// The system's own query by path, which also gives the change time (the same single query the
// documented attribute call makes). Both functions have been in ntdll since NT 4.
using QueryFullAttributes = LONG(NTAPI*)(POBJECT_ATTRIBUTES, PFILE_NETWORK_OPEN_INFORMATION);
using DosPathToNtPath = BOOLEAN(NTAPI*)(PCWSTR, PUNICODE_STRING, PCWSTR*, void*);
using FreeUnicodeString = VOID(NTAPI*)(PUNICODE_STRING);

// An export by name as the given function type (through void*: the types share no signature).
template <typename Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

struct NtFileQuery {
    QueryFullAttributes query = nullptr;
    DosPathToNtPath convert = nullptr;
    FreeUnicodeString release = nullptr;

    NtFileQuery()
    {
        HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        if (!ntdll)
            return;
        query = Export<QueryFullAttributes>(ntdll, "NtQueryFullAttributesFile");
        convert = Export<DosPathToNtPath>(ntdll, "RtlDosPathNameToNtPathName_U");
        release = Export<FreeUnicodeString>(ntdll, "RtlFreeUnicodeString");
    }
    bool ok() const { return query && convert && release; }
};

// True when the query could be asked; `stamp` then tells what it found.
bool StampFromSystem(const std::wstring& path, FileStamp& stamp)
{
    static const NtFileQuery nt;
    UNICODE_STRING name{};
    if (!nt.ok() || !nt.convert(path.c_str(), &name, nullptr, nullptr))
        return false;
    OBJECT_ATTRIBUTES attributes{};
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    FILE_NETWORK_OPEN_INFORMATION info{};
    const LONG status = nt.query(&attributes, &info);
    nt.release(&name);
    if (status >= 0) {
        stamp.exists = true;
        stamp.size = info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : static_cast<std::uint64_t>(info.EndOfFile.QuadPart);
        stamp.writeTime = static_cast<std::uint64_t>(info.LastWriteTime.QuadPart);
        stamp.changeTime = static_cast<std::uint64_t>(info.ChangeTime.QuadPart);
    }
    return true;
}

}  // namespace

FileStamp StampOf(const std::wstring& path)
{
    FileStamp stamp;
    if (path.empty() || StampFromSystem(path, stamp))
        return stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return stamp;
    stamp.exists = true;
    stamp.size = Join(data.nFileSizeHigh, data.nFileSizeLow);
    stamp.writeTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

bool IsFullyQualifiedPath(const std::wstring& path)
{
    const auto slash = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (path.size() >= 3 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') && path[1] == L':' && slash(path[2]))
        return true;
    return path.size() >= 3 && slash(path[0]) && slash(path[1]) && !slash(path[2]);
}

std::uint64_t FileTimeNow()
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return Join(now.dwHighDateTime, now.dwLowDateTime);
}

}  // namespace win
