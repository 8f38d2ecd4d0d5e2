// Running BrindleCatalog.exe as a child process and reading what it printed.
#pragma once
#include "tests/support/test_process.h"

#include <windows.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

inline std::string ReadWholeFile(const std::wstring& file)
{
    std::ifstream in(file.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Called once the inspector runs, with its process and output file.
using WhileRunning = std::function<void(HANDLE process, const std::wstring& file)>;

// Runs the inspector with `arguments` (as `token`'s user when given), its output going to a file;
// returns the exit code and the output. One still running after `timeoutMs` is killed (-1).
inline int RunInspector(const std::wstring& arguments, std::string& output, HANDLE token = nullptr,
                        const WhileRunning& whileRunning = nullptr, DWORD timeoutMs = 30000)
{
    // A fresh file per run, deletable while open: a process the child starts (Wine's desktop
    // process, when none is running yet) inherits the handle and may keep the file open.
    static int runs = 0;
    std::wstring file = TestBinDirectory() + L"inspector-output-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++runs) + L".txt";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return -1;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = handle;
    si.hStdError = handle;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + TestBinDirectory() + L"BrindleCatalog.exe\" " + arguments;
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(0);
    int code = -1;
    BOOL created = token ? CreateProcessAsUserW(token, nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                                nullptr, &si, &pi)
                         : CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    if (created) {
        if (whileRunning)
            whileRunning(pi.hProcess, file);
        DWORD exit = 0;
        if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &exit))
            code = static_cast<int>(exit);
        else
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(handle);
    output = ReadWholeFile(file);
    DeleteFileW(file.c_str());
    return code;
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
