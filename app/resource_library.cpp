#include "resource_library.h"

#include "handles.h"

#include <vector>

namespace {

HMODULE g_resourceLibrary = nullptr;  // loaded once, never unloaded

}  // namespace

HINSTANCE GetProgramModule()
{
    return GetModuleHandleW(nullptr);
}

std::wstring GetProgramDirectory()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::wstring();
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool LoadResourceLibraryFrom(const std::wstring& fullPath)
{
    if (g_resourceLibrary)
        return false;
    // As a data file: the library's code never runs, even when the program is elevated.
    g_resourceLibrary = LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return g_resourceLibrary != nullptr;
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

HINSTANCE GetResourceModule()
{
    return g_resourceLibrary ? g_resourceLibrary : GetProgramModule();
}

std::wstring LoadModuleString(HMODULE module, UINT id)
{
    // String tables are blocks of 16 length-prefixed UTF-16 strings; block n holds ids 16(n-1)..16n-1.
    HRSRC block = FindResourceW(module, MAKEINTRESOURCEW((id >> 4) + 1), reinterpret_cast<LPCWSTR>(RT_STRING));
    if (!block)
        return std::wstring();
    HGLOBAL loaded = LoadResource(module, block);
    const WCHAR* p = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    DWORD units = SizeofResource(module, block) / sizeof(WCHAR);
    if (!p)
        return std::wstring();
    DWORD pos = 0;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (pos >= units)
            return std::wstring();
        pos += 1 + p[pos];
    }
    if (pos >= units)
        return std::wstring();
    DWORD length = p[pos];
    if (length > units - pos - 1)  // a damaged table: never read past the resource
        return std::wstring();
    return std::wstring(p + pos + 1, length);
}

std::wstring LoadResString(UINT id)
{
    return LoadModuleString(GetResourceModule(), id);
}

std::wstring LoadLibraryString(const std::wstring& path, UINT id)
{
    const win::UniqueLibrary module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        return std::wstring();
    return LoadModuleString(module.get(), id);
}
