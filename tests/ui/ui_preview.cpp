// Shows the main dialog (and, with "about", the About box over it) for screenshots. Once the
// window is painted it writes "left top right bottom" of that window to GEOMETRY_FILE, and it
// closes everything when that file has been deleted.
// Usage: ui_preview.exe main|about|categories|list|recent|recent-after-start GEOMETRY_FILE [ENTRY_ID]
//        [/lang:LANG] [/search:TEXT]
// The tab modes open that tab first, with ENTRY_ID (if given) selected as a start request would.
// recent-after-start opens the List with ENTRY_ID selected, starts it with the Open button and
// switches to Recent Settings as a click on its tab does.
// With /search:TEXT the search box takes the focus and TEXT is typed into it, as a search in
// progress.
// With /lang:LANG (for example /lang:de) the texts come from the resource library in the
// folder LANG beside the program.
#include "res/registry_paths.h"
#include "ui/main_dlg.h"
#include "app/resource_library.h"
#include "win/resource_module.h"
#include "sable/sable_api.h"
#include "ui/page_ids.h"
#include "ui/window_state.h"

#include <commctrl.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring g_geometryFile;
bool g_about = false;
bool g_startFirst = false;  // recent-after-start
HWND g_main = nullptr;
HWND g_shown = nullptr;
int g_ticks = 0;
std::wstring g_search;  // /search:TEXT

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

// Starts the selected entry with the Open button, then shows Recent Settings as a click does.
void StartAndShowRecent(int tick)
{
    HWND page = GetDlgItem(g_main, page::kTabCtrlId);
    if (tick == 3) {
        SendMessageW(GetDlgItem(page, page::kOpenButtonId), BM_CLICK, 0, 0);
    } else if (tick == 6) {
        const int recent = 2;
        TabCtrl_SetCurSel(page, recent);
        NMHDR change{page, page::kTabCtrlId, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(g_main, WM_NOTIFY, page::kTabCtrlId, reinterpret_cast<LPARAM>(&change));
    }
}

// Types the search text into the box with the focus there, the caret after the text.
void TypeSearch()
{
    HWND box = GetDlgItem(GetDlgItem(g_main, page::kTabCtrlId), page::kSearchBoxId);
    SetFocus(box);
    SetWindowTextW(box, g_search.c_str());
    const LPARAM end = static_cast<LPARAM>(g_search.size());
    SendMessageW(box, EM_SETSEL, end, end);
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_ticks;
    if (g_startFirst && g_main && g_ticks <= 6)
        StartAndShowRecent(g_ticks);
    if (!g_search.empty() && g_main && g_ticks == 2)
        TypeSearch();
    if (!g_shown) {
        HWND target = g_about ? FindAboutBox() : g_main;
        if (!target || g_ticks < (g_startFirst ? 10 : 5))  // a few ticks for the first paint
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
    g_startFirst = mode == L"recent-after-start";
    g_geometryFile = argv[2];
    StartRequest start;
    const wchar_t* const tabModes[] = {L"categories", L"list", L"recent"};
    for (int tab = 0; tab < 3; ++tab) {
        if (mode == tabModes[tab])
            start.tab = tab;
    }
    if (g_startFirst)
        start.tab = 1;  // the List
    std::wstring language;
    for (int i = 3; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument.rfind(L"/lang:", 0) == 0)
            language = argument.substr(6);
        else if (argument.rfind(L"/search:", 0) == 0)
            g_search = argument.substr(8);
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
