#include "tests/support/test_process.h"

#include <vector>

std::wstring TestBinDirectory()
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
    std::wstring path(buffer, n);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

int RunProcess(const std::wstring& commandLine, DWORD timeoutMs, const std::wstring& directory)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back(0);
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &si, &pi))
        return -1;
    CloseHandle(pi.hThread);
    int result = -2;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        result = static_cast<int>(code);
    } else {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    return result;
}

TempDirectory::TempDirectory()
{
    static LONG counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"brindle-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(InterlockedIncrement(&counter)) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
}

namespace {

// Deletes `folder` (a long-path form "\\?\C:\...\", with the trailing backslash) and all it
// holds; what cannot go yet stays. Not SHFileOperation: under Wine it deletes files of the current
// directory instead of entries whose paths are longer than MAX_PATH.
void DeleteTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path + L"\\");
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempDirectory::~TempDirectory()
{
    // Only the absolute folder this object made ("X:\...\brindle-test-...\").
    if (path_.size() > 3 && path_[1] == L':' && path_.find(L"brindle-test-") != std::wstring::npos)
        DeleteTree(L"\\\\?\\" + path_);
}

ResourceCounts CurrentResourceCounts()
{
    ResourceCounts counts;
    counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    using HandleCountFn = BOOL(WINAPI*)(HANDLE, PDWORD);
    auto fn = reinterpret_cast<HandleCountFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetProcessHandleCount")));
    if (fn)
        fn(GetCurrentProcess(), &counts.handles);
    return counts;
}
