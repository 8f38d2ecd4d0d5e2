// The search box in the tab strip's band: a one-line edit, not a Tab stop, that shows a cue text
// while it is empty and is drawn in the skin's colours (the system's under high contrast). It
// hands what is typed, and the keys that leave it, to its owner.
#pragma once
#include "win/controls.h"
#include "win/dpi.h"
#include "win/handles.h"

#include <windows.h>

#include <string>

class ISearchBoxOwner {
public:
    // The text changed: typed, pasted, deleted or cleared.
    virtual void OnSearchTextChanged(const std::wstring& text) = 0;
    // Down or Enter: the user goes on to what the search found.
    virtual void OnSearchGoToResults() = 0;
    // Escape in the empty box or Tab: back to the current view as it is.
    virtual void OnSearchLeave() = 0;

protected:
    ~ISearchBoxOwner() = default;
};

class CSearchBox : public win::Edit {
public:
    // Creates the box as control `id` of `parent` at `rc`, with `font`, the cue text `cue` and
    // margins at `scale`.
    bool Create(HWND parent, UINT id, const RECT& rc, HFONT font, const std::wstring& cue, const win::DpiScale& scale,
                ISearchBoxOwner& owner);
    // The page moved to another DPI: `font`, margins at `scale`, and the box at `rc`.
    void ChangeDpi(const win::DpiScale& scale, HFONT font, const RECT& rc);
    // Takes the keyboard focus with the whole text selected.
    void Activate();
    // Empties the box; the owner hears of it as of any change.
    void Clear() { SetWindowText(std::wstring()); }
    std::wstring Text() const { return GetWindowText(); }

    // Down and Enter go on to the results, Escape clears (or leaves an empty box), Tab leaves,
    // Ctrl+A selects the whole text.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflectedCommand(UINT id, UINT code, LRESULT& result) override;
    bool OnReflectedCtlColor(HDC dc, UINT ctlType, HBRUSH& brush) override;

private:
    struct Colours {
        COLORREF face;
        COLORREF text;
        COLORREF cue;
        COLORREF frame;
    };
    Colours CurrentColours() const;
    // The text's height in the box's font: the client area is that high, centred in the window.
    int TextHeight() const;
    void ApplyFont(HFONT font, const win::DpiScale& scale);
    void PaintFrame();
    void PaintCue();

    ISearchBoxOwner* m_pOwner = nullptr;
    std::wstring m_strCue;
    win::UniqueBrush m_faceBrush;
    COLORREF m_faceColour = CLR_INVALID;
};
