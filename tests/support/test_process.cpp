#include "tests/support/test_process.h"

#include <shellapi.h>
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

TempDirectory::~TempDirectory()
{
    std::wstring from = path_.substr(0, path_.size() - 1);
    from.push_back(0);  // SHFileOperation wants a double-terminated list
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
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
