// Where the page and its children stand, computed in one place from a rectangle and the DPI of
// the window. The dialog's width is fixed, so everything but the views hangs from the top edge.
// The figures are those of 96 DPI; at any other DPI each is scaled.
#pragma once
#include "win/dpi.h"

#include <windows.h>

namespace page {

// Every tab item, whatever its text (at 96 DPI).
constexpr int kTabItemWidth = 100;
constexpr int kTabItemHeight = 22;

// The tab control's rectangle in the dialog's client rectangle: a band of 15 pixels stays free above it.
RECT PageRect(const RECT& dialogClient, const win::DpiScale& scale = win::DpiScale());

// The tab item size at the scale.
SIZE TabItemSize(const win::DpiScale& scale);

// The children's rectangles in the tab control's client rectangle.
struct Layout {
    RECT openButton;
    RECT helpButton;
    RECT descriptionBand;  // the pane centres itself in it, left of the buttons
    RECT view;             // where each view stands: 100 pixels free on top, 2 on the other sides
};

Layout LayoutOf(const RECT& pageClient, const win::DpiScale& scale = win::DpiScale());

}  // namespace page
