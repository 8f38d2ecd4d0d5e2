// The description pane above the views: a read-only edit that stands one, two or three text
// lines high, vertically centred in a fixed band beside the Open and Help buttons.
#pragma once
#include "win/controls.h"
#include "win/dpi.h"

#include <windows.h>

class CAppInfo;

// To a screen reader read-only text named "Description", whose value is the shown text.
class CDescriptionEdit : public win::Edit, private win::AccessibleParts {
public:
    // The DPI the line spacing is scaled to; set by the owner before CreateInParent.
    void SetScale(const win::DpiScale& scale) { m_scale = scale; }
    // Computes the three rectangles from the band the owner stored in m_rcThreeLines.
    void CalcLineRects(int fontHeight);
    // Creates the pane (id 0) in `owner` at the three-line rectangle, with the owner's font;
    // the owner stores the band in m_rcThreeLines first. Returns 0.
    int CreateInParent(win::Window& owner);
    // Shows the entry's description (nothing for null) and fits the pane's height to it. A text
    // equal to the shown one but for letter case is left as it is.
    void SetApp(const CAppInfo* entry);

    // The page was laid out afresh (another DPI, another font): the rectangles from the new
    // `band`, and the pane moved to the one of them it stood at.
    void PlaceInBand(const RECT& band);

    // Tab hands the focus to the owner; Ctrl+C is swallowed so the pane copies nothing; Escape
    // cancels the dialog, as everywhere in the page.
    bool PreTranslateMessage(MSG* msg) override;

    win::AccessibleParts* GetAccessibleParts() override { return this; }

    // In the owner's client coordinates.
    RECT m_rcOneLine{};
    RECT m_rcTwoLines{};
    RECT m_rcThreeLines{};  // the band until CalcLineRects

private:
    static int FontHeight(HFONT font);

    bool Name(int item, std::wstring& name) const override;
    bool Role(int item, long& role) const override;
    bool State(int item, long& state) const override;

    win::DpiScale m_scale;
};
