#include "ui/main_dlg_painter.h"

#include "sable/sable_colors.h"

void CMainDlgPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    sable::FillSolid(dc, rc, RGB(0, 0, 0));
    sable::FillSolid(dc, RECT{rc.left, rc.top, rc.right, rc.top + 1}, RGB(215, 221, 224));
}
