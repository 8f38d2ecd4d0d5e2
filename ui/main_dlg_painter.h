// The main dialog's look: a black backdrop under a one-pixel light strip.
#pragma once
#include "sable/sable_dialog_painter.h"

class CMainDlgPainter : public sable::SableDialogPainter {
public:
    void DrawBackdrop(HDC dc, const RECT& rc) override;
};
