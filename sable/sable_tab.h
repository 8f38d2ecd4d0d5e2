// The skinned tab strip: a tab common control whose whole surface an installable painter draws.
#pragma once
#include "win/controls.h"
#include "win/dpi.h"

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

    // The DPI the strip is drawn at; set by the strip before each paint.
    void SetScale(const win::DpiScale& scale) { m_scale = scale; }
    const win::DpiScale& Scale() const { return m_scale; }

private:
    win::DpiScale m_scale;
};

// To a screen reader a list of page tabs, one item per tab.
class AbstractTabCtrl : public win::TabCtrl, private win::AccessibleParts {
public:
    AbstractTabCtrl();
    // Installs `painter` (not owned; it must outlive the window). Null puts the skin's own back.
    void SetPainter(SableTabPainter* painter);
    // The DPI the strip draws at (from creation: the system's for its window).
    void SetDpi(int dpi);

    win::AccessibleParts* GetAccessibleParts() override { return this; }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC dc);

    // Item n is tab n - 1.
    int ItemCount() const override { return GetItemCount(); }
    bool Name(int item, std::wstring& name) const override;
    bool Role(int item, long& role) const override;
    bool State(int item, long& state) const override;
    bool Location(int item, RECT& screen) const override;
    bool FocusedItem(int& item) const override;
    bool SelectedItem(int& item) const override;
    // Makes the tab current as a click would (the owner hears TCN_SELCHANGE).
    bool DoDefaultAction(int item) override;

    SableTabPainter m_ownPainter;
    SableTabPainter* m_pPainter;
    win::DpiScale m_scale;
    bool m_bSkinned = false;
};

class SableTabCtrl : public AbstractTabCtrl {};

}  // namespace sable
