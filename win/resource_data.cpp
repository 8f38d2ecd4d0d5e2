#include "win/resource_data.h"

#include "win/data_file.h"
#include "win/module_span.h"

namespace win {

bool LiesInModuleFile(HMODULE module, const void* data, std::size_t size)
{
    if (!module)
        module = GetModuleHandleW(nullptr);
    UINT_PTR readable = 0;
    if (!DataFileBytes(module, readable))
        readable = ReadableModuleBytes(module);
    const UINT_PTR base = ModuleBase(module);
    const UINT_PTR begin = reinterpret_cast<UINT_PTR>(data);
    if (!data || begin < base || begin - base > readable)
        return false;
    return size <= readable - (begin - base);
}

ResourceStatus FindResourceData(HMODULE module, LPCWSTR name, LPCWSTR type, ResourceData& out)
{
    HRSRC info = FindResourceW(module, name, type);
    if (!info)
        return ResourceStatus::Missing;
    // Resources live as long as their module: nothing to release.
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, info);
    if (!data || !LiesInModuleFile(module, data, size))
        return ResourceStatus::OutOfFile;
    out.data = static_cast<const BYTE*>(data);
    out.size = size;
    return ResourceStatus::Found;
}

}  // namespace win
