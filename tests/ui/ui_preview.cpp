// Shows the main dialog (and, with "about", the About box over it) for screenshots. Once the
// window is painted it writes "left top right bottom" of that window to GEOMETRY_FILE, and it
// closes everything when that file has been deleted.
// Usage: ui_preview.exe main|about|categories|list|recent GEOMETRY_FILE [ENTRY_ID] [/lang:LANG]
// The tab modes open that tab first, with ENTRY_ID (if given) selected as a start request would.
// With /lang:LANG (for example /lang:de) the texts come from the resource library in the
// folder LANG beside the program.
#include "res/registry_paths.h"
#include "ui/main_dlg.h"
#include "app/resource_library.h"
#include "win/resource_module.h"
#include "sable/sable_api.h"
#include "ui/window_state.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring g_geometryFile;
bool g_about = false;
HWND g_main = nullptr;
HWND g_shown = nullptr;
int g_ticks = 0;

BOOL CALLBACK FindOtherDialog(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (window != g_main && IsWindowVisible(window) && std::wstring(name) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The About box: this thread's other visible dialog, whatever its caption's language.
HWND FindAboutBox()
{
    HWND about = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOtherDialog, reinterpret_cast<LPARAM>(&about));
    return about;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_ticks;
    if (!g_shown) {
        HWND target = g_about ? FindAboutBox() : g_main;
        if (!target || g_ticks < 5)  // a few ticks for the first paint
            return;
        RECT rc{};
        GetWindowRect(target, &rc);
        FILE* out = _wfopen(g_geometryFile.c_str(), L"w");
        if (out) {
            std::fprintf(out, "%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
            std::fclose(out);
        }
        g_shown = target;
        return;
    }
    if (GetFileAttributesW(g_geometryFile.c_str()) != INVALID_FILE_ATTRIBUTES && g_ticks < 600)
        return;  // the screenshot is not taken yet (a minute at most)
    if (HWND about = FindAboutBox())
        PostMessageW(about, WM_CLOSE, 0, 0);
    PostMessageW(g_main, WM_CLOSE, 0, 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3)
        return 2;
    const std::wstring mode = argv[1];
    g_about = mode == L"about";
    g_geometryFile = argv[2];
    StartRequest start;
    const wchar_t* const tabModes[] = {L"categories", L"list", L"recent"};
    for (int tab = 0; tab < 3; ++tab) {
        if (mode == tabModes[tab])
            start.tab = tab;
    }
    std::wstring language;
    for (int i = 3; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument.rfind(L"/lang:", 0) == 0)
            language = argument.substr(6);
        else
            start.name = argument;
    }
    LocalFree(argv);
    if (!(language.empty() ? LoadResourceLibrary()
                           : LoadResourceLibraryFrom(GetProgramDirectory() + language + L"\\QclRes.dll")))
        return 3;
    sable::SableAPI::EnableLuna(true);
    // First-run placement: centred at its smallest size.
    RegDeleteKeyW(HKEY_CURRENT_USER, kWindowStateKeyPath);

    CMainDlg dialog(nullptr);
    dialog.SetStartRequest(start);
    dialog.SetWindowCallback([](HWND hwnd) {
        g_main = hwnd;
        if (hwnd && g_about)
            PostMessageW(hwnd, WM_SYSCOMMAND, 0x10, 0);
    });
    SetTimer(nullptr, 0, 100, &OnTick);
    dialog.DoModal();
    return 0;
}
