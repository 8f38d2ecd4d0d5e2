/* startup_timer.exe PROGRAM [ARGS...]: starts PROGRAM, prints the milliseconds from the start to
   its first visible top-level window once it waits for input, then closes that window with
   WM_CLOSE and waits for the process to end. Exit code 0 on success. For start-up benchmarks. */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

static HWND g_found;

static BOOL CALLBACK FindVisible(HWND window, LPARAM pid)
{
    DWORD owner = 0;
    RECT rect;
    GetWindowThreadProcessId(window, &owner);
    if (owner == (DWORD)pid && IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.right > rect.left) {
        g_found = window;
        return FALSE;
    }
    return TRUE;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        fwprintf(stderr, L"usage: startup_timer PROGRAM [ARGS...]\n");
        return 2;
    }
    /* The command line after our own name, as it was written. */
    wchar_t* line = GetCommandLineW();
    int quoted = 0;
    while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
        if (*line == L'"')
            quoted = !quoted;
        ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;

    LARGE_INTEGER frequency, start, ready;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&startup, sizeof(startup));
    ZeroMemory(&process, sizeof(process));
    startup.cb = sizeof(startup);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fwprintf(stderr, L"startup_timer: cannot start %ls (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    WaitForInputIdle(process.hProcess, 60000);
    DWORD waited = 0;
    for (g_found = NULL; !g_found && waited < 60000; waited += 5) {
        EnumWindows(FindVisible, (LPARAM)process.dwProcessId);
        if (!g_found)
            Sleep(5);
    }
    QueryPerformanceCounter(&ready);
    if (!g_found) {
        fwprintf(stderr, L"startup_timer: no visible window\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    wprintf(L"%.1f\n", (double)(ready.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart);
    fflush(stdout);
    PostMessageW(g_found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);  /* only the process we started */
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
