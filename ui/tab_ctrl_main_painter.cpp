#include "ui/tab_ctrl_main_painter.h"

#include "sable/sable_colors.h"

void CTabCtrlMainPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    sable::FillSolid(dc, rc, sable::CurrentPalette().black);
}
