// Move-only owners for the handles of kernel, GDI, USER, registry and image-list objects.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <utility>

namespace win {

// Owns one handle of a kind described by Traits (its type, its empty value, how to close it).
template <typename Traits>
class UniqueHandleOf {
public:
    using handle_type = typename Traits::Handle;

    UniqueHandleOf() noexcept = default;
    explicit UniqueHandleOf(handle_type h) noexcept : m_h(h) {}
    ~UniqueHandleOf() { reset(); }
    UniqueHandleOf(UniqueHandleOf&& other) noexcept : m_h(other.release()) {}
    UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandleOf(const UniqueHandleOf&) = delete;
    UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;

    handle_type get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return Traits::IsValid(m_h); }

    // Gives up ownership; the caller closes the handle.
    handle_type release() noexcept { return std::exchange(m_h, Traits::Empty()); }

    // Closes the current handle (if any) and takes `h`.
    void reset(handle_type h = Traits::Empty()) noexcept
    {
        handle_type old = std::exchange(m_h, h);
        if (Traits::IsValid(old))
            Traits::Close(old);
    }

private:
    handle_type m_h = Traits::Empty();
};

namespace traits {

struct Kernel {  // events, mutexes, threads, processes: empty is null
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

struct File {  // CreateFileW and FindFirstFileW-style results: empty is INVALID_HANDLE_VALUE
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

template <typename H>
struct GdiObject {  // brushes, fonts, pens, bitmaps, regions
    using Handle = H;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};

struct Icon {  // icons and cursors made by LoadImageW/CreateIcon* (not shared ones)
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DestroyIcon(h); }
};

struct Menu {
    using Handle = HMENU;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DestroyMenu(h); }
};

struct ImageList {
    using Handle = HIMAGELIST;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::ImageList_Destroy(h); }
};

struct RegKey {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};

struct Library {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
};

struct HeapBlock {  // blocks of the process heap
    using Handle = void*;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::HeapFree(::GetProcessHeap(), 0, h); }
};

}  // namespace traits

using UniqueHandle = UniqueHandleOf<traits::Kernel>;
using UniqueFile = UniqueHandleOf<traits::File>;
using UniqueBrush = UniqueHandleOf<traits::GdiObject<HBRUSH>>;
using UniqueFont = UniqueHandleOf<traits::GdiObject<HFONT>>;
using UniquePen = UniqueHandleOf<traits::GdiObject<HPEN>>;
using UniqueBitmap = UniqueHandleOf<traits::GdiObject<HBITMAP>>;
using UniqueIcon = UniqueHandleOf<traits::Icon>;
using UniqueMenu = UniqueHandleOf<traits::Menu>;
using UniqueImageList = UniqueHandleOf<traits::ImageList>;
using UniqueKey = UniqueHandleOf<traits::RegKey>;
using UniqueLibrary = UniqueHandleOf<traits::Library>;
using UniqueHeapBlock = UniqueHandleOf<traits::HeapBlock>;

// Selects a GDI object into a device context and puts the previous one back when it ends.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_old(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A window's device context from GetDC/GetWindowDC, released when it ends.
class WindowDC {
public:
    WindowDC(HWND hwnd, bool wholeWindow = false) noexcept
        : m_hwnd(hwnd), m_dc(wholeWindow ? ::GetWindowDC(hwnd) : ::GetDC(hwnd)) {}
    ~WindowDC()
    {
        if (m_dc)
            ::ReleaseDC(m_hwnd, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// A memory device context compatible with the screen, deleted with the object.
class MemoryDC {
public:
    MemoryDC() noexcept : m_dc(::CreateCompatibleDC(nullptr)) {}
    ~MemoryDC()
    {
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const noexcept { return m_dc; }

private:
    HDC m_dc;
};

// BeginPaint/EndPaint as one object.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) noexcept : m_hwnd(hwnd) { ::BeginPaint(hwnd, &m_ps); }
    ~PaintDC() { ::EndPaint(m_hwnd, &m_ps); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const noexcept { return m_ps.hdc; }
    const PAINTSTRUCT& paint() const noexcept { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
};

}  // namespace win
