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

namespace {

// String `id` of `module` into `text` (empty when it is not there).
win::ResourceStatus FindModuleString(HMODULE module, UINT id, std::wstring& text)
{
    text.clear();
    id &= 0xFFFF;  // string ids are 16 bits; the platform's loader drops the rest too
    // String tables are blocks of 16 length-prefixed UTF-16 strings; block n holds ids 16(n-1)..16n-1.
    win::ResourceData block;
    const win::ResourceStatus status =
        win::FindResourceData(module, MAKEINTRESOURCEW((id >> 4) + 1), reinterpret_cast<LPCWSTR>(RT_STRING), block);
    if (status != win::ResourceStatus::Found)
        return status;
    const WCHAR* p = reinterpret_cast<const WCHAR*>(block.data);
    const DWORD units = block.size / sizeof(WCHAR);
    DWORD pos = 0;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (pos >= units)
            return status;
        pos += 1 + p[pos];
    }
    if (pos >= units)
        return status;
    DWORD length = p[pos];
    if (length > units - pos - 1)  // a damaged table: never read past the resource
        return status;
    text.assign(p + pos + 1, length);
    return status;
}

// Resource `id` of `type` from the current resource module, or from the program when the
// module's copy is damaged (a library cut short): the program carries the same English texts.
win::ResourceStatus FindCurrentResource(UINT id, LPCWSTR type, win::ResourceData& found)
{
    const win::ResourceStatus status = win::FindResourceData(GetResourceModule(), MAKEINTRESOURCEW(id), type, found);
    if (status != win::ResourceStatus::OutOfFile)
        return status;
    return win::FindResourceData(GetProgramModule(), MAKEINTRESOURCEW(id), type, found);
}

}  // namespace

std::wstring LoadModuleString(HMODULE module, UINT id)
{
    std::wstring text;
    FindModuleString(module, id, text);
    return text;
}

const DLGTEMPLATE* FindDialogTemplate(UINT id)
{
    win::ResourceData found;
    if (FindCurrentResource(id, reinterpret_cast<LPCWSTR>(RT_DIALOG), found) != win::ResourceStatus::Found ||
        found.size < sizeof(DLGTEMPLATE))
        return nullptr;
    return reinterpret_cast<const DLGTEMPLATE*>(found.data);
}

std::wstring LoadResString(UINT id)
{
    std::wstring text;
    if (FindModuleString(GetResourceModule(), id, text) == win::ResourceStatus::OutOfFile)
        FindModuleString(GetProgramModule(), id, text);
    return text;
}

std::wstring LoadLibraryString(const std::wstring& path, UINT id)
{
    const win::DataFileModule module(path);
    if (!module)
        return std::wstring();
    return LoadModuleString(module.get(), id);
}
