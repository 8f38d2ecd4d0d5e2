// The working area of the main dialog: a skinned tab control that will hold the page.
// For now it creates the tab window and lays it out; tabs and views arrive later.
#pragma once
#include "sable/sable_tab.h"
#include "ui/app_list.h"

#include <windows.h>

// Fills the tab control's background black; the rest of the strip is the skin's.
class CTabCtrlMainPainter : public sable::SableTabPainter {
public:
    void DrawBackdrop(HDC dc, const RECT& rc) override;
};

class CTabCtrlMain : public sable::SableTabCtrl {
public:
    CTabCtrlMain();

    // Creates the control (id 10000) in `parent` at `rect` less a 15-pixel band on top and reads
    // the catalogue; returns 1.
    int CreatePage(const RECT& rect, win::Window* parent);
    // Follows a new client rectangle of the dialog; nothing before CreatePage.
    void RecalcLayout(const RECT& rect);
    // Gives the keyboard focus to the view of the current tab (the strip itself while there is none).
    void SetFocusToCurrentView();

private:
    CTabCtrlMainPainter m_tabPainter;
    CAppList m_catalog;  // registered applications, then the built-in items
};
