#include "main_dlg_painter.h"

#include "handles.h"

void CMainDlgPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    win::UniqueBrush black(::CreateSolidBrush(RGB(0, 0, 0)));
    ::FillRect(dc, &rc, black.get());
    RECT strip{rc.left, rc.top, rc.right, rc.top + 1};
    win::UniqueBrush band(::CreateSolidBrush(RGB(215, 221, 224)));
    ::FillRect(dc, &strip, band.get());
}
