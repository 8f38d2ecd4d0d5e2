// Pixel measures at the DPI of a window. Every figure of the program's layout is written for
// 96 DPI and scaled here, in one place, so that at 96 DPI every figure stays what it was.
// Calls newer than XP are looked up at run time; without them the system's DPI holds.
#pragma once
#include <windows.h>

namespace win {

constexpr int kBaseDpi = 96;

// The scale of one DPI: 96-DPI lengths to pixels at that DPI.
class DpiScale {
public:
    constexpr DpiScale() = default;
    explicit constexpr DpiScale(int dpi) : m_dpi(dpi > 0 ? dpi : kBaseDpi) {}

    constexpr int Dpi() const { return m_dpi; }
    // A length given at 96 DPI, rounded to the nearest pixel (half away from zero).
    int operator()(int pixels) const { return ::MulDiv(pixels, m_dpi, kBaseDpi); }
    // The square size of a 96-DPI image (16-pixel icons become 24 at 150 %).
    int ImageSize(int pixels) const { return (*this)(pixels); }
    bool operator==(const DpiScale& other) const { return m_dpi == other.m_dpi; }
    bool operator!=(const DpiScale& other) const { return m_dpi != other.m_dpi; }

private:
    int m_dpi = kBaseDpi;
};

// The DPI the system draws `window` at: its monitor's where the system knows per-monitor DPI
// (GetDpiForWindow), else the system's.
int DpiOfWindow(HWND window);
// The system's DPI (LOGPIXELSY of the screen).
int SystemDpi();

// The outer size of a window with `window`'s styles at `dpi` whose client area is the client area
// that `outerAt96` (an outer size at 96 DPI) leaves, scaled: the frame is the system's at each DPI,
// the client area grows with the DPI. At 96 DPI the result is `outerAt96` itself.
SIZE ScaledOuterSize(HWND window, SIZE outerAt96, int dpi);

// A copy of `font` for `toDpi`, made from its description at `fromDpi`; null on failure. The
// caller deletes it.
HFONT CreateFontForDpi(HFONT font, int fromDpi, int toDpi);

// Keeps the dialog manager of Windows 10 from rescaling `dialog`'s fonts and controls when its
// DPI changes: the program lays itself out. Nothing where the call does not exist.
void TakeOverDialogDpiScaling(HWND dialog);

// WM_DPICHANGED (Windows 8.1 and later): the new DPI is in the low word of wParam, lParam points
// at the rectangle the system suggests for the window at that DPI.
constexpr UINT kDpiChangedMessage = 0x02E0;

}  // namespace win
