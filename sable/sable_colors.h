// The skin's palette: a dark, calm frame around the light band the pages stand on.
#pragma once
#include <windows.h>

namespace sable {

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

// Fills `rc` with a solid colour (no brush kept).
void FillSolid(HDC dc, const RECT& rc, COLORREF colour);
// A one-pixel frame of `colour` inside `rc`.
void FrameSolid(HDC dc, const RECT& rc, COLORREF colour);

}  // namespace sable
