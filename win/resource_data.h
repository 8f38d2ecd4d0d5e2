// Resource data of a loaded module, read only where all of it lies inside the module's mapped
// file: a file cut short (an interrupted copy) keeps a directory that names data past its end.
#pragma once
#include <windows.h>

#include <cstddef>

namespace win {

enum class ResourceStatus {
    Found,
    Missing,    // the module has no such resource
    OutOfFile,  // named by the directory, but not all of its bytes are in the file
};

struct ResourceData {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// Finds resource `name` of `type`; `out` is set only when Found. A null module is the program.
ResourceStatus FindResourceData(HMODULE module, LPCWSTR name, LPCWSTR type, ResourceData& out);

// Whether `size` bytes from `data` lie inside what `module` maps of its file.
bool LiesInModuleFile(HMODULE module, const void* data, std::size_t size);

}  // namespace win
