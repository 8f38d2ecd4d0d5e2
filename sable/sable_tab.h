// The skinned tab strip: a tab common control whose whole surface an installable painter draws.
#pragma once
#include "win/controls.h"

#include <string>

namespace sable {

// The order of the virtual operations is fixed: programs override them by position as well.
class SableTabPainter {
public:
    virtual ~SableTabPainter();
    // The whole client area, first of every paint.
    virtual void DrawBackdrop(HDC dc, const RECT& rc);
    // The page below the row of tabs.
    virtual void DrawBackGround(HDC dc, const RECT& rc);
    // A tab that is not the current one.
    virtual void DrawItem(HDC dc, const RECT& rc, const std::wstring& text);
    // The current tab.
    virtual void DrawSelectItem(HDC dc, const RECT& rc, const std::wstring& text);
    // The focus mark on the current tab while the strip has the keyboard focus.
    virtual void DrawFocus(HDC dc, const RECT& rc);
};

class AbstractTabCtrl : public win::TabCtrl {
public:
    AbstractTabCtrl();
    // Installs `painter` (not owned; it must outlive the window). Null puts the skin's own back.
    void SetPainter(SableTabPainter* painter);

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC dc);

    SableTabPainter m_ownPainter;
    SableTabPainter* m_pPainter;
    bool m_bSkinned = false;
};

class SableTabCtrl : public AbstractTabCtrl {};

}  // namespace sable
