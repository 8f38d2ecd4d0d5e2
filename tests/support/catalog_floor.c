/* catalog_floor.exe: the naive floor of a catalogue start, for scripts/bench.sh. For every
   subkey of the catalogue key it opens the key once, reads the values an entry has, maps the
   entry's icon file as a data file and makes one 32-pixel icon of the selected group; then it
   shows a window and waits for input like the hub. Nothing is cached, nothing else is done. */
#include <windows.h>
#include <wchar.h>

static const wchar_t* const kValues[] = {L"AppHide", L"AppCheck", L"AppCheckFunc", L"AppName", L"AppPath",
                                         L"AppOption", L"Folder", L"Category", L"Description", L"IconPath",
                                         L"IconIndex", L"HelpPath", L"HelpOption1", L"HelpOption2"};

struct GroupSearch {
    int wanted;
    int seen;
    LPWSTR name;  /* an id, or a text name valid while the module is mapped */
};

static BOOL CALLBACK FindGroup(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    struct GroupSearch* search = (struct GroupSearch*)param;
    (void)module;
    (void)type;
    if (search->seen++ != search->wanted)
        return TRUE;
    search->name = name;
    return FALSE;
}

static void MakeIcon(const wchar_t* path, int index)
{
    HMODULE module = LoadLibraryExW(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    struct GroupSearch search = {index, 0, NULL};
    HRSRC group;
    if (!module)
        return;
    EnumResourceNamesW(module, (LPCWSTR)RT_GROUP_ICON, FindGroup, (LONG_PTR)&search);
    group = search.name ? FindResourceW(module, search.name, (LPCWSTR)RT_GROUP_ICON) : NULL;
    if (group) {
        BYTE* directory = (BYTE*)LockResource(LoadResource(module, group));
        int id = directory ? LookupIconIdFromDirectoryEx(directory, TRUE, 32, 32, LR_DEFAULTCOLOR) : 0;
        HRSRC image = id ? FindResourceW(module, MAKEINTRESOURCEW(id), (LPCWSTR)RT_ICON) : NULL;
        if (image) {
            HICON icon = CreateIconFromResourceEx((BYTE*)LockResource(LoadResource(module, image)),
                                                  SizeofResource(module, image), TRUE, 0x00030000, 32, 32, 0);
            if (icon)
                DestroyIcon(icon);
        }
    }
    FreeLibrary(module);
}

static void ReadEntry(HKEY catalog, const wchar_t* name)
{
    HKEY key;
    BYTE data[2048];
    wchar_t iconPath[1024] = L"";
    DWORD index = 0;
    size_t i;
    if (RegOpenKeyExW(catalog, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (i = 0; i < sizeof(kValues) / sizeof(kValues[0]); ++i) {
        DWORD type = 0, bytes = sizeof(data);
        if (RegQueryValueExW(key, kValues[i], NULL, &type, data, &bytes) != ERROR_SUCCESS)
            continue;
        if (wcscmp(kValues[i], L"IconPath") == 0 && type == REG_SZ && bytes >= 2) {
            data[sizeof(data) - 1] = data[sizeof(data) - 2] = 0;
            lstrcpynW(iconPath, (const wchar_t*)data, 1024);
        } else if (wcscmp(kValues[i], L"IconIndex") == 0 && type == REG_DWORD) {
            index = *(DWORD*)data;
        }
    }
    RegCloseKey(key);
    if (iconPath[0])
        MakeIcon(iconPath, (int)index);
}

static LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR line, int show)
{
    HKEY catalog;
    WNDCLASSW windowClass;
    HWND window;
    MSG msg;
    (void)previous;
    (void)line;
    (void)show;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Marbeck\\Quillon", 0, KEY_READ, &catalog) == ERROR_SUCCESS) {
        wchar_t name[1024];
        DWORD i;
        for (i = 0;; ++i) {
            DWORD units = 1024;
            if (RegEnumKeyExW(catalog, i, name, &units, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
                break;
            ReadEntry(catalog, name);
        }
        RegCloseKey(catalog);
    }
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"CatalogFloor";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, L"CatalogFloor", L"Catalogue floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                             CW_USEDEFAULT, 640, 300, NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
