#include "ui/main_dlg_painter.h"

#include "sable/sable_colors.h"

void CMainDlgPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    const sable::Palette palette = sable::CurrentPalette();
    sable::FillSolid(dc, rc, palette.black);
    sable::FillSolid(dc, RECT{rc.left, rc.top, rc.right, rc.top + Scale()(1)}, palette.strip);
}
