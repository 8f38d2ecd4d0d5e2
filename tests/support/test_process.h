// Helpers for tests that run real processes and look at files beside the tests.
#pragma once
#include <windows.h>
#include <string>

// Directory of the running test program (the build's bin/), with a trailing backslash.
std::wstring TestBinDirectory();

// Starts `commandLine` in `directory` (empty = current) and waits up to `timeoutMs`.
// Returns the exit code, or -1 when it could not start, -2 on timeout (the process is then killed).
int RunProcess(const std::wstring& commandLine, DWORD timeoutMs, const std::wstring& directory = L"");

// A fresh empty directory under the temp folder, deleted with its files by the destructor.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    const std::wstring& path() const { return path_; }  // with a trailing backslash

private:
    std::wstring path_;
};

// GDI objects, USER objects and kernel handles of this process.
struct ResourceCounts {
    DWORD gdi = 0;
    DWORD user = 0;
    DWORD handles = 0;
};
ResourceCounts CurrentResourceCounts();
