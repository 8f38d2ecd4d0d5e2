// The main dialog's look: a black backdrop under a one-pixel light strip (at 96 DPI; in the
// system's colours while high contrast is on).
#pragma once
#include "sable/sable_dialog_painter.h"

class CMainDlgPainter : public sable::SableDialogPainter {
public:
    void DrawBackdrop(HDC dc, const RECT& rc) override;
};
