#include "win/module_span.h"

namespace win {

namespace {

bool Readable(const MEMORY_BASIC_INFORMATION& region)
{
    if (region.State != MEM_COMMIT || (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
        return false;
    switch (region.Protect & 0xFF) {
    case PAGE_READONLY:
    case PAGE_READWRITE:
    case PAGE_WRITECOPY:
    case PAGE_EXECUTE_READ:
    case PAGE_EXECUTE_READWRITE:
    case PAGE_EXECUTE_WRITECOPY:
        return true;
    default:
        return false;
    }
}

// Committed readable pages of the allocation that starts at `base`, counted from `base`.
UINT_PTR CommittedBytes(UINT_PTR base)
{
    UINT_PTR end = base;
    MEMORY_BASIC_INFORMATION region{};
    while (VirtualQuery(reinterpret_cast<const void*>(end), &region, sizeof(region)) == sizeof(region) &&
           reinterpret_cast<UINT_PTR>(region.AllocationBase) == base && Readable(region) && region.RegionSize > 0)
        end = reinterpret_cast<UINT_PTR>(region.BaseAddress) + region.RegionSize;
    return end - base;
}

// SizeOfImage of a module the loader mapped as an image (its headers are mapped and checked).
UINT_PTR ImageBytes(UINT_PTR base, UINT_PTR committed)
{
    const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (committed < sizeof(IMAGE_DOS_HEADER) || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0)
        return 0;
    const UINT_PTR headerEnd = static_cast<UINT_PTR>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS);
    if (headerEnd > committed)
        return 0;
    const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt->OptionalHeader.SizeOfImage : 0;
}

}  // namespace

UINT_PTR ModuleBase(HMODULE module)
{
    return reinterpret_cast<UINT_PTR>(module) & ~static_cast<UINT_PTR>(3);
}

UINT_PTR ReadableModuleBytes(HMODULE module)
{
    const UINT_PTR base = ModuleBase(module);
    if (base == 0)
        return 0;
    const UINT_PTR committed = CommittedBytes(base);
    if (reinterpret_cast<UINT_PTR>(module) & 3)
        return committed;  // a data file: its pages are the file, laid out flat
    const UINT_PTR image = ImageBytes(base, committed);
    return image < committed ? image : committed;
}

}  // namespace win
