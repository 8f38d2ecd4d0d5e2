#include "ui/page_layout.h"

namespace page {

namespace {

const int kTopBand = 15;

}  // namespace

RECT PageRect(const RECT& dialogClient)
{
    return RECT{dialogClient.left, dialogClient.top + kTopBand, dialogClient.right, dialogClient.bottom};
}

Layout LayoutOf(const RECT& c)
{
    Layout layout;
    layout.openButton = RECT{c.right - 215, c.top + 68, c.right - 115, c.top + 90};
    layout.helpButton = RECT{c.right - 110, c.top + 68, c.right - 10, c.top + 90};
    layout.descriptionBand = RECT{c.left + 10, c.top + 35, c.right - 225, c.top + 92};
    layout.view = RECT{c.left + 2, c.top + 100, c.right - 2, c.bottom - 2};
    return layout;
}

}  // namespace page
