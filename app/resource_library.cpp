#include "app/resource_library.h"

#include "win/data_file.h"
#include "win/resource_module.h"

namespace {

HMODULE g_resourceLibrary = nullptr;  // loaded once, never unloaded

}  // namespace

bool LoadResourceLibraryFrom(const std::wstring& fullPath)
{
    if (g_resourceLibrary)
        return false;
    // As a data file: the library's code never runs, even when the program is elevated; its
    // strings and templates are read only where they lie inside the file.
    g_resourceLibrary = win::OpenDataFile(fullPath);
    if (!g_resourceLibrary)
        return false;
    SetResourceModule(g_resourceLibrary);
    return true;
}

bool LoadResourceLibrary()
{
    if (g_resourceLibrary)
        return true;
    // Only the program's own directory: a planted copy elsewhere on the search path must not win.
    std::wstring dir = GetProgramDirectory();
    if (dir.empty())
        return false;
    return LoadResourceLibraryFrom(dir + L"QclRes.dll");
}

