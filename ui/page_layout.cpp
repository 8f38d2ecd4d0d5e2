#include "ui/page_layout.h"

namespace page {

namespace {

const int kTopBand = 15;

}  // namespace

RECT PageRect(const RECT& dialogClient, const win::DpiScale& scale)
{
    return RECT{dialogClient.left, dialogClient.top + scale(kTopBand), dialogClient.right, dialogClient.bottom};
}

SIZE TabItemSize(const win::DpiScale& scale)
{
    return SIZE{scale(kTabItemWidth), scale(kTabItemHeight)};
}

Layout LayoutOf(const RECT& c, const win::DpiScale& s)
{
    Layout layout;
    layout.openButton = RECT{c.right - s(215), c.top + s(68), c.right - s(115), c.top + s(90)};
    layout.helpButton = RECT{c.right - s(110), c.top + s(68), c.right - s(10), c.top + s(90)};
    layout.descriptionBand = RECT{c.left + s(10), c.top + s(35), c.right - s(225), c.top + s(92)};
    layout.view = RECT{c.left + s(2), c.top + s(100), c.right - s(2), c.bottom - s(2)};
    return layout;
}

}  // namespace page
