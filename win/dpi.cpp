#include "win/dpi.h"

namespace win {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

const int kDialogDisableAll = 0x0001;  // DDC_DISABLE_ALL

template <typename Fn>
Fn UserFunction(const char* name)
{
    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user, name))) : nullptr;
}

SIZE SizeOf(const RECT& rc)
{
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// The frame around a client area for these styles: at `dpi` where the system can say it, else
// at the system's DPI (false).
bool FrameFor(DWORD style, DWORD exStyle, int dpi, SIZE& frame)
{
    static const auto adjustForDpi = UserFunction<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT rc{0, 0, 0, 0};
    if (adjustForDpi && adjustForDpi(&rc, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        frame = SizeOf(rc);
        return true;
    }
    rc = RECT{0, 0, 0, 0};
    ::AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    frame = SizeOf(rc);
    return false;
}

}  // namespace

int SystemDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int DpiOfWindow(HWND window)
{
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

SIZE ScaledOuterSize(HWND window, SIZE outerAt96, int dpi)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    const int systemDpi = SystemDpi();

    SIZE frame96{};
    if (!FrameFor(style, exStyle, kBaseDpi, frame96)) {
        // Only the system's DPI is known: its frame, brought back to 96 DPI.
        frame96.cx = ::MulDiv(frame96.cx, kBaseDpi, systemDpi);
        frame96.cy = ::MulDiv(frame96.cy, kBaseDpi, systemDpi);
    }
    // The frame is the one the system draws, at the DPI it has the window at; only the client
    // area follows `dpi`.
    SIZE frame{};
    FrameFor(style, exStyle, DpiOfWindow(window), frame);

    const DpiScale scale(dpi);
    return SIZE{scale(outerAt96.cx - frame96.cx) + frame.cx, scale(outerAt96.cy - frame96.cy) + frame.cy};
}

HFONT CreateFontForDpi(HFONT font, int fromDpi, int toDpi)
{
    LOGFONTW description{};
    if (!font || !::GetObjectW(font, sizeof(description), &description))
        return nullptr;
    description.lfHeight = ::MulDiv(description.lfHeight, toDpi, fromDpi > 0 ? fromDpi : kBaseDpi);
    description.lfWidth = ::MulDiv(description.lfWidth, toDpi, fromDpi > 0 ? fromDpi : kBaseDpi);
    return ::CreateFontIndirectW(&description);
}

void TakeOverDialogDpiScaling(HWND dialog)
{
    static const auto setBehavior = UserFunction<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (setBehavior && dialog)
        setBehavior(dialog, kDialogDisableAll, kDialogDisableAll);
}

}  // namespace win
