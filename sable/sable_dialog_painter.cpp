#include "sable/sable_dialog_painter.h"

#include "sable/sable_colors.h"

namespace sable {

SableDialogPainter::~SableDialogPainter() = default;

void SableDialogPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    const Palette palette = CurrentPalette();
    sable::FillSolid(dc, rc, palette.backdrop);
    sable::FillSolid(dc, RECT{rc.left, rc.top, rc.right, rc.top + Scale()(1)}, palette.strip);
}

void SableDialogPainter::DrawNonClient(HDC, const RECT&) {}
void SableDialogPainter::DrawTitleBar(HDC, const RECT&) {}
void SableDialogPainter::DrawCloseButton(HDC, const RECT&) {}
void SableDialogPainter::DrawHelpButton(HDC, const RECT&) {}
void SableDialogPainter::DrawMaxButton(HDC, const RECT&) {}
void SableDialogPainter::DrawMinButton(HDC, const RECT&) {}
void SableDialogPainter::DrawRestoreButton(HDC, const RECT&) {}
void SableDialogPainter::DrawTitleText(HDC, const RECT&) {}
void SableDialogPainter::DrawTopMenuBarBkgnd(HDC, const RECT&) {}
void SableDialogPainter::DrawTopMenuBarText(HDC, const RECT&) {}
void SableDialogPainter::DrawMenuBarBkgnd(HDC, const RECT&) {}
void SableDialogPainter::DrawMenuBarText(HDC, const RECT&) {}
void SableDialogPainter::DrawMenuBarSeparator(HDC, const RECT&) {}

}  // namespace sable
