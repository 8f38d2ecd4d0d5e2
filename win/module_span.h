// How much of a loaded module can be read from its base without a fault.
#pragma once
#include <windows.h>

namespace win {

// The module's base address: data-file handles carry flags in their low bits.
UINT_PTR ModuleBase(HMODULE module);

// Bytes from the module's base that are mapped and readable, in one run of committed pages of
// its mapping; for a module the loader mapped as an image, no more than its image size.
UINT_PTR ReadableModuleBytes(HMODULE module);

}  // namespace win
