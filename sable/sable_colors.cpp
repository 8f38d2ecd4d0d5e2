#include "sable/sable_colors.h"

#include "win/high_contrast.h"

#include <utility>

namespace sable {

namespace {

Palette DarkPalette()
{
    Palette palette{};
    palette.backdrop = kBackdrop;
    palette.backdropText = kBand;
    palette.black = kBlack;
    palette.strip = kBand;
    palette.band = kBand;
    palette.bandText = kBlack;
    palette.face = kFace;
    palette.faceText = kBand;
    palette.faceHot = kFaceHot;
    palette.faceHotText = kBand;
    palette.faceDisabled = kFaceDisabled;
    palette.textDisabled = kTextDisabled;
    palette.edge = kEdge;
    palette.edgeDisabled = kFace;
    palette.active = kBand;
    palette.activeText = kBlack;
    palette.outline = kBand;
    palette.track = kTrack;
    palette.trackInk = kBand;
    palette.thumb = kThumb;
    return palette;
}

// The same parts in the system's colours: window and window text for what stands on the
// window's ground, button face and text for buttons, tabs and scroll bars, highlight for what is
// current or under the pointer, gray text for what is disabled.
Palette SystemPalette()
{
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF faceText = ::GetSysColor(COLOR_BTNTEXT);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF gray = ::GetSysColor(COLOR_GRAYTEXT);
    Palette palette{};
    palette.backdrop = window;
    palette.backdropText = windowText;
    palette.black = window;
    palette.strip = windowText;
    palette.band = window;
    palette.bandText = windowText;
    palette.face = face;
    palette.faceText = faceText;
    palette.faceHot = highlight;
    palette.faceHotText = highlightText;
    palette.faceDisabled = face;
    palette.textDisabled = gray;
    palette.edge = faceText;
    palette.edgeDisabled = gray;
    palette.active = highlight;
    palette.activeText = highlightText;
    palette.outline = windowText;
    palette.track = face;
    palette.trackInk = faceText;
    palette.thumb = faceText;
    return palette;
}

}  // namespace

Palette CurrentPalette()
{
    return win::IsHighContrastOn() ? SystemPalette() : DarkPalette();
}

void FillSolid(HDC dc, const RECT& rc, COLORREF colour)
{
    // ExtTextOut with ETO_OPAQUE fills with the background colour and needs no brush.
    COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void FrameSolid(HDC dc, const RECT& rc, COLORREF colour, int width)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top || width <= 0)
        return;
    FillSolid(dc, RECT{rc.left, rc.top, rc.right, rc.top + width}, colour);
    FillSolid(dc, RECT{rc.left, rc.bottom - width, rc.right, rc.bottom}, colour);
    FillSolid(dc, RECT{rc.left, rc.top, rc.left + width, rc.bottom}, colour);
    FillSolid(dc, RECT{rc.right - width, rc.top, rc.right, rc.bottom}, colour);
}

HBRUSH SolidBrush::Get(COLORREF colour)
{
    if (!m_brush || colour != m_colour) {
        win::UniqueBrush made(::CreateSolidBrush(colour));
        if (!made)
            return m_brush.get();
        m_brush = std::move(made);
        m_colour = colour;
    }
    return m_brush.get();
}

}  // namespace sable
