#include "sable/sable_colors.h"

namespace sable {

void FillSolid(HDC dc, const RECT& rc, COLORREF colour)
{
    // ExtTextOut with ETO_OPAQUE fills with the background colour and needs no brush.
    COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void FrameSolid(HDC dc, const RECT& rc, COLORREF colour)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    FillSolid(dc, RECT{rc.left, rc.top, rc.right, rc.top + 1}, colour);
    FillSolid(dc, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, colour);
    FillSolid(dc, RECT{rc.left, rc.top, rc.left + 1, rc.bottom}, colour);
    FillSolid(dc, RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, colour);
}

}  // namespace sable
