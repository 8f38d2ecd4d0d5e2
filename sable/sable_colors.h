// The skin's colours: a dark, calm frame around the light band the pages stand on; while the
// system's high-contrast mode is on, the system's own colours in the same places.
#pragma once
#include "win/handles.h"

#include <windows.h>

namespace sable {

// The dark palette.
const COLORREF kBand = RGB(215, 221, 224);        // page band, strips, light text on dark
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kBackdrop = RGB(26, 29, 33);        // dialogs that keep the skin's own backdrop
const COLORREF kFace = RGB(54, 60, 67);            // buttons, tabs at rest
const COLORREF kFaceHot = RGB(74, 82, 91);
const COLORREF kFaceDisabled = RGB(40, 44, 48);
const COLORREF kTextDisabled = RGB(112, 118, 124);
const COLORREF kEdge = RGB(118, 126, 134);
const COLORREF kTrack = RGB(38, 42, 46);           // scroll-bar track
const COLORREF kThumb = RGB(128, 136, 144);

// What the skin draws each part with.
struct Palette {
    COLORREF backdrop;       // skinned dialogs behind their controls
    COLORREF backdropText;   // statics on that backdrop
    COLORREF black;          // the main window and its tab strip behind the page
    COLORREF strip;          // the thin strip along a dialog's top edge
    COLORREF band;           // the page below the tabs, the description pane
    COLORREF bandText;       // text on the band
    COLORREF face;           // buttons and tabs at rest
    COLORREF faceText;
    COLORREF faceHot;        // a button under the pointer
    COLORREF faceHotText;
    COLORREF faceDisabled;
    COLORREF textDisabled;
    COLORREF edge;           // a button's frame
    COLORREF edgeDisabled;
    COLORREF active;         // the current tab, a pressed button
    COLORREF activeText;
    COLORREF outline;        // the default button's double frame
    COLORREF track;          // scroll-bar track and arrow buttons
    COLORREF trackInk;       // arrows on them
    COLORREF thumb;
};

// The dark palette, or the system's colours while the high-contrast mode is on (read afresh
// on every call, so that a change of mode or colours shows at the next paint).
Palette CurrentPalette();

// Fills `rc` with a solid colour (no brush kept).
void FillSolid(HDC dc, const RECT& rc, COLORREF colour);
// A frame of `colour` inside `rc`, `width` pixels wide.
void FrameSolid(HDC dc, const RECT& rc, COLORREF colour, int width = 1);

// A solid brush of one colour, made again when another colour is asked of it; for the colour
// requests of controls, which keep the brush they are given while they paint.
class SolidBrush {
public:
    SolidBrush() = default;
    explicit SolidBrush(COLORREF colour) { Get(colour); }

    HBRUSH Get(COLORREF colour);

private:
    win::UniqueBrush m_brush;
    COLORREF m_colour = 0;
};

}  // namespace sable
