#include "tests/ui/gui_object_counts.h"

#include <windows.h>
#include <winternl.h>

namespace {

// One entry of Wine's GDI handle table, which the PEB publishes as GdiSharedHandleTable.
struct GdiHandleEntry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type;  // 0 = free
    UCHAR flags;
    unsigned long long userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "layout of the shared GDI handle table");

const int kGdiTableEntries = 0x4000;

long CountGdiTableEntries()
{
    using QueryFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
        return -1;
    const BYTE* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    // GdiSharedHandleTable: offset 0x94 in the 32-bit PEB, 0xF8 in the 64-bit one.
    const size_t offset = sizeof(void*) == 4 ? 0x94 : 0xF8;
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + offset);
    if (!table)
        return -1;
    long live = 0;
    for (int i = 0; i < kGdiTableEntries; ++i)
        live += table[i].type != 0;
    return live;
}

long CountUserHandles()
{
    // A handle with a zero high word names the entry whatever its generation.
    long live = 0;
    for (ULONG_PTR low = 0x20; low < 0x10000; low += 2) {
        HANDLE h = reinterpret_cast<HANDLE>(low);
        DWORD owner = 0;
        if (IsWindow(static_cast<HWND>(h)) && GetWindowThreadProcessId(static_cast<HWND>(h), &owner) &&
            owner != GetCurrentProcessId())
            continue;  // windows of other processes share the handle space
        if (IsWindow(static_cast<HWND>(h)) || IsMenu(static_cast<HMENU>(h))) {
            ++live;
            continue;
        }
        ICONINFO info{};
        if (GetIconInfo(static_cast<HICON>(h), &info)) {
            ++live;
            if (info.hbmMask)
                DeleteObject(info.hbmMask);
            if (info.hbmColor)
                DeleteObject(info.hbmColor);
        }
    }
    return live;
}

}  // namespace

GuiObjectCounts CountGuiObjects()
{
    GuiObjectCounts counts;
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (gdi != 0 || user != 0) {
        counts.gdi = static_cast<long>(gdi);
        counts.user = static_cast<long>(user);
        return counts;
    }
    counts.user = CountUserHandles();  // first: its icon probes create and delete bitmaps
    counts.gdi = CountGdiTableEntries();
    return counts;
}
