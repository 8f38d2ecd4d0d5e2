// Shows the main dialog (and, with "about", the About box over it) for screenshots. Once the
// window is painted it writes "left top right bottom" of that window to GEOMETRY_FILE, and it
// closes everything when that file has been deleted.
// Usage: ui_preview.exe main|about|categories|list|recent GEOMETRY_FILE [ENTRY_ID]
// The tab modes open that tab first, with ENTRY_ID (if given) selected as a start request would.
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

HWND FindAboutBox()
{
    HWND about = FindWindowW(L"#32770", L"About Brindle");
    DWORD pid = 0;
    return about && GetWindowThreadProcessId(about, &pid) && pid == GetCurrentProcessId() ? about : nullptr;
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
    if (argc > 3)
        start.name = argv[3];
    LocalFree(argv);
    if (!LoadResourceLibrary())
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
