/* Reads a message box of another process the way the user sees it: waits for a visible
   top-level window with the given caption, prints the texts of its children one a line (UTF-8),
   then answers it with OK. Exit code 0 when a box was found and answered, 1 when none came.
   Usage: message_box_text.exe CAPTION TIMEOUT_MS */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static BOOL CALLBACK PrintChildText(HWND child, LPARAM unused)
{
    wchar_t text[1024];
    char utf8[4096];
    (void)unused;
    if (GetWindowTextW(child, text, 1024) > 0 &&
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), NULL, NULL) > 0)
        printf("%s\n", utf8);
    return TRUE;
}

int wmain(int argc, wchar_t** argv)
{
    DWORD start, timeout;
    if (argc < 3)
        return 2;
    timeout = (DWORD)wcstoul(argv[2], NULL, 10);
    start = GetTickCount();
    do {
        HWND box = FindWindowW(NULL, argv[1]);
        if (box && IsWindowVisible(box)) {
            Sleep(200); /* let it finish creating its controls */
            EnumChildWindows(box, PrintChildText, 0);
            fflush(stdout);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeout);
    return 1;
}
