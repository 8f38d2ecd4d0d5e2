// Measures the main dialog at the DPI this process runs at, for tests/ui/dpi_test.py, which runs
// it once per DPI and compares the figures with the 96-DPI ones scaled. A catalogue of one entry
// (icon: an .ico with a 16, 24, 32 and 48 pixel image, each of its own colour) is registered in a
// scratch registry; the page opens on "Categories" with that entry selected.
// Usage: dpi_probe.exe OUTPUT_FILE ICON_FILE
// Writes "name value..." lines; rectangles as left top right bottom. Exit code 0 when the dialog
// ran through every step.
#include "app/resource_library.h"
#include "res/registry_paths.h"
#include "sable/sable_api.h"
#include "tests/support/registry_sandbox.h"
#include "tests/ui/image_pixels.h"
#include "tests/ui/modal_script.h"
#include "tests/ui/page_measures.h"
#include "ui/main_dlg.h"
#include "ui/page_ids.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const wchar_t kEntryId[] = L"Sizes";

FILE* g_out = nullptr;

void Line(const char* name, std::initializer_list<long> values)
{
    std::fprintf(g_out, "%s", name);
    for (long value : values)
        std::fprintf(g_out, " %ld", value);
    std::fprintf(g_out, "\n");
}

void Rect(const char* name, const RECT& rc)
{
    Line(name, {rc.left, rc.top, rc.right, rc.bottom});
}

RECT WindowRectOf(HWND hwnd)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

// 1 when image `index` of `list` shows exactly what the system makes of the icon file at the
// list's size (the file's image nearest that size), 0 otherwise.
long ShowsIconFileAtSize(HIMAGELIST list, int index, const std::wstring& iconFile)
{
    int size = 0, unused = 0;
    if (!list || index < 0 || !ImageList_GetIconSize(list, &size, &unused))
        return 0;
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, iconFile.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    const bool same = icon && ImagePixels(list, index) == IconPixels(icon, size);
    if (icon)
        DestroyIcon(icon);
    return same ? 1 : 0;
}

HTREEITEM FindChild(HWND tree)
{
    for (HTREEITEM root = TreeView_GetRoot(tree); root; root = TreeView_GetNextSibling(tree, root)) {
        if (HTREEITEM child = TreeView_GetChild(tree, root))
            return child;
    }
    return nullptr;
}

int TreeImage(HWND tree, HTREEITEM item)
{
    TVITEMW tv{};
    tv.mask = TVIF_IMAGE | TVIF_HANDLE;
    tv.hItem = item;
    return TreeView_GetItem(tree, &tv) ? tv.iImage : -1;
}

void MeasurePage(HWND dialog, const std::wstring& iconFile)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    Line("dpi", {getDpi ? static_cast<long>(getDpi(dialog)) : 0});
    RECT client{};
    GetClientRect(dialog, &client);
    Line("client", {client.right - client.left, client.bottom - client.top});

    HWND tab = GetDlgItem(dialog, page::kTabCtrlId);
    Rect("page", InParent(tab));
    RECT tabClient{};
    GetClientRect(tab, &tabClient);
    Rect("tabclient", tabClient);
    for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
        RECT item{};
        TabCtrl_GetItemRect(tab, i, &item);
        Line("tabitem", {item.right - item.left, item.bottom - item.top});
    }
    Rect("open", InParent(GetDlgItem(tab, page::kOpenButtonId)));
    Rect("help", InParent(GetDlgItem(tab, page::kHelpButtonId)));
    HWND pane = FindWindowExW(tab, nullptr, L"Edit", nullptr);
    Rect("pane", InParent(pane));
    Line("fontheight", {FontHeight(pane)});

    HWND tree = GetDlgItem(tab, page::kTreeViewId);
    HWND all = GetDlgItem(tab, page::kAllListId);
    Rect("view", InParent(tree));
    Line("rowheight", {static_cast<long>(TreeView_GetItemHeight(tree))});
    HIMAGELIST treeImages = TreeView_GetImageList(tree, TVSIL_NORMAL);
    HIMAGELIST listImages = ListView_GetImageList(all, LVSIL_SMALL);
    Line("treeimage", {ImageSize(treeImages)});
    Line("listimage", {ImageSize(listImages)});
    HTREEITEM entry = FindChild(tree);
    Line("treeicon", {ShowsIconFileAtSize(treeImages, entry ? TreeImage(tree, entry) : -1, iconFile)});
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 0;
    ListView_GetItem(all, &item);
    Line("listicon", {ShowsIconFileAtSize(listImages, item.iImage, iconFile)});
    Line("foldercolours", {DistinctColours(ImagePixels(treeImages, 0))});
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    g_out = _wfopen(argv[1], L"w");
    if (!g_out)
        return 3;
    const std::wstring iconFile = argv[2];
    RegistrySandbox sandbox;
    const std::wstring key = std::wstring(kCatalogKeyPath) + L"\\" + kEntryId;
    if (!sandbox.ok() || !SetRegString(HKEY_LOCAL_MACHINE, key, L"AppName", L"Sizes") ||
        !SetRegString(HKEY_LOCAL_MACHINE, key, L"AppPath", L"C:\\app.exe") ||
        !SetRegDword(HKEY_LOCAL_MACHINE, key, L"Category", 2) ||
        !SetRegString(HKEY_LOCAL_MACHINE, key, L"Description", L"One line.") ||
        !SetRegString(HKEY_LOCAL_MACHINE, key, L"IconPath", iconFile) || !LoadResourceLibrary())
        return 4;
    sable::SableAPI::EnableLuna(true);

    CMainDlg dialog(nullptr);
    HWND hwnd = nullptr;
    dialog.SetWindowCallback([&](HWND window) {
        if (window)
            hwnd = window;
    });
    StartRequest start;
    start.name = kEntryId;
    start.tab = 0;
    dialog.SetStartRequest(start);
    ModalScript script(
        {
            [&] { MeasurePage(hwnd, iconFile); },
            [&] { PostMessageW(hwnd, WM_SYSCOMMAND, 0x10, 0); },
            [&] {
                HWND about = FindThreadDialog(L"About Brindle");
                Rect("about", WindowRectOf(about));
                Rect("main", WindowRectOf(hwnd));
                PostMessageW(about, WM_CLOSE, 0, 0);
            },
            [&] { PostMessageW(hwnd, WM_CLOSE, 0, 0); },
        },
        20000);
    dialog.DoModal();
    std::fclose(g_out);
    return script.AllStepsRan() && !script.TimedOut() ? 0 : 1;
}
