// The tab strip's look: a black backdrop; the tabs and the page below them are the skin's.
#pragma once
#include "sable/sable_tab.h"

class CTabCtrlMainPainter : public sable::SableTabPainter {
public:
    void DrawBackdrop(HDC dc, const RECT& rc) override;
};
