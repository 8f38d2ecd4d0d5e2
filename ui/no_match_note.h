// What the page shows in place of a view that a search left empty: one line of text on the
// views' background, so that the user reads why nothing is listed.
#pragma once
#include "win/dpi.h"
#include "win/window.h"

#include <windows.h>

#include <string>

class CNoMatchNote : public win::Window {
public:
    // Creates the note hidden as a child of `parent` at `rc`, with `font` and its margin at `scale`.
    bool Create(HWND parent, const RECT& rc, HFONT font, const win::DpiScale& scale);
    // The page moved to another DPI: `font`, the margin at `scale`, the note at `rc`.
    void ChangeDpi(const win::DpiScale& scale, HFONT font, const RECT& rc);
    // Shows `text` (a screen reader reads it as the window's text), or hides the note for none.
    void ShowText(const std::wstring& text);

protected:
    bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) override;

private:
    win::DpiScale m_scale;
};
