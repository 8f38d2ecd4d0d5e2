// Times the search box on the catalogue registered now (scripts/bench.sh registers 1,000 entries
// with an icon file each): each keystroke of a search typed into the box, from the change of its
// text to the repainted page, on the List and on Categories, and the clearing that puts the views
// back. Beside each, in the same run, a floor: a bare list view in the same window filled with as
// many rows as that keystroke lists, without icons. Writes one line per keystroke to OUT_FILE.
// Usage: search_bench.exe OUT_FILE
#include "app/resource_library.h"
#include "catalog/catalog_builder.h"
#include "sable/sable_api.h"
#include "ui/entry_order.h"
#include "ui/entry_search.h"
#include "ui/main_dlg.h"
#include "ui/page_ids.h"

#include <commctrl.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const wchar_t* const kTyped[] = {L"e", L"en", L"ent", L"entr", L"entry", L"entry ", L"entry 9", L"entry 99",
                                 L"entry 999", L""};

double Now()
{
    LARGE_INTEGER count{}, frequency{};
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A plain list view refilled with `rows` rows: what any list of that many rows costs here.
double FloorFor(HWND parent, int rows)
{
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER, 0, 0,
                                400, 300, parent, nullptr, nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 380;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    const double start = Now();
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < rows; ++i) {
        std::wstring text = L"\r\nBench entry " + std::to_wstring(i);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = &text[0];
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    const double took = Now() - start;
    DestroyWindow(list);
    return took;
}

std::wstring g_out;
HWND g_main = nullptr;
int g_ticks = 0;

void Measure()
{
    HWND page = GetDlgItem(g_main, page::kTabCtrlId);
    HWND box = GetDlgItem(page, page::kSearchBoxId);
    HWND views[] = {GetDlgItem(page, page::kAllListId), GetDlgItem(page, page::kTreeViewId)};
    const int tabs[] = {1, 0};
    const char* names[] = {"List", "Categories"};
    FILE* out = _wfopen(g_out.c_str(), L"w");
    if (!out)
        return;
    for (int v = 0; v < 2; ++v) {
        TabCtrl_SetCurSel(page, tabs[v]);
        NMHDR change{page, page::kTabCtrlId, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(g_main, WM_NOTIFY, page::kTabCtrlId, reinterpret_cast<LPARAM>(&change));
        UpdateWindow(g_main);
        for (const wchar_t* text : kTyped) {
            const double start = Now();
            SetWindowTextW(box, text);
            UpdateWindow(g_main);
            const double took = Now() - start;
            const int rows = v == 0 ? ListView_GetItemCount(views[0]) : TreeView_GetCount(views[1]);
            std::fprintf(out, "%-10s %-12ls %5d rows %8.1f ms | floor %8.1f ms\n", names[v],
                         (std::wstring(L"\"") + text + L"\"").c_str(), rows, took, FloorFor(g_main, rows));
        }
    }
    // After the keystrokes, so that nothing here warms anything up for them.
    // What a first search adds: the folded texts and the shown order of the whole catalogue.
    CAppList catalogue;
    BuildCatalog(catalogue);
    double start = Now();
    SearchIndex index;
    index.Build(catalogue);
    const double folding = Now() - start;
    EntryList order;
    for (const auto& entry : catalogue)
        order.push_back(entry.get());
    start = Now();
    SortInShownOrder(order);
    std::fprintf(out, "First search: folding %zu entries %.1f ms, their shown order %.1f ms\n", catalogue.size(), folding,
                 Now() - start);
    std::fclose(out);
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_main || ++g_ticks != 3)
        return;
    Measure();
    PostMessageW(g_main, WM_CLOSE, 0, 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 2;
    g_out = argv[1];
    LocalFree(argv);
    if (!LoadResourceLibrary())
        return 3;
    sable::SableAPI::EnableLuna(true);
    CMainDlg dialog(nullptr);
    dialog.SetWindowCallback([](HWND hwnd) { g_main = hwnd; });
    SetTimer(nullptr, 0, 200, &OnTick);
    dialog.DoModal();
    return 0;
}
