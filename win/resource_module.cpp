#include "win/resource_module.h"

#include "win/data_file_cache.h"
#include "win/resource_data.h"

#include <vector>

namespace {

HMODULE g_resourceModule = nullptr;  // not owned: whoever set it keeps it loaded

}  // namespace

void SetResourceModule(HMODULE module)
{
    g_resourceModule = module;
}

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

HINSTANCE GetResourceModule()
{
    return g_resourceModule ? g_resourceModule : GetProgramModule();
}

std::wstring LoadModuleString(HMODULE module, UINT id)
{
    id &= 0xFFFF;  // string ids are 16 bits; the platform's loader drops the rest too
    // String tables are blocks of 16 length-prefixed UTF-16 strings; block n holds ids 16(n-1)..16n-1.
    win::ResourceData block;
    if (win::FindResourceData(module, MAKEINTRESOURCEW((id >> 4) + 1), reinterpret_cast<LPCWSTR>(RT_STRING), block) !=
        win::ResourceStatus::Found)
        return std::wstring();
    const WCHAR* p = reinterpret_cast<const WCHAR*>(block.data);
    const DWORD units = block.size / sizeof(WCHAR);
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

const DLGTEMPLATE* FindDialogTemplate(UINT id)
{
    win::ResourceData found;
    for (HMODULE module : {static_cast<HMODULE>(GetResourceModule()), static_cast<HMODULE>(GetProgramModule())}) {
        if (win::FindResourceData(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG), found) ==
                win::ResourceStatus::Found &&
            found.size >= sizeof(DLGTEMPLATE))
            return reinterpret_cast<const DLGTEMPLATE*>(found.data);
    }
    return nullptr;
}

std::wstring LoadResString(UINT id)
{
    return LoadModuleString(GetResourceModule(), id);
}

std::wstring LoadLibraryString(const std::wstring& path, UINT id)
{
    const win::DataFileModule module(path);
    if (!module)
        return std::wstring();
    return LoadModuleString(module.get(), id);
}
