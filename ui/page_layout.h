// Where the page and its children stand, computed in one place from a rectangle. The dialog's
// width is fixed, so everything but the views hangs from the top edge.
#pragma once
#include <windows.h>

namespace page {

// Every tab item, whatever its text.
constexpr int kTabItemWidth = 100;
constexpr int kTabItemHeight = 22;

// The tab control's rectangle in the dialog's client rectangle: a band of 15 pixels stays free above it.
RECT PageRect(const RECT& dialogClient);

// The children's rectangles in the tab control's client rectangle.
struct Layout {
    RECT openButton;
    RECT helpButton;
    RECT descriptionBand;  // the pane centres itself in it, left of the buttons
    RECT view;             // where each view stands: 100 pixels free on top, 2 on the other sides
};

Layout LayoutOf(const RECT& pageClient);

}  // namespace page
