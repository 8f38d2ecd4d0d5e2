// The page laid out again: at another size of the dialog, or at another DPI with fonts and
// images made for it.
#include "ui/tab_ctrl_main.h"

#include "ui/page_layout.h"

void CTabCtrlMain::RecalcLayout(const RECT& rect)
{
    if (!m_hWnd)
        return;
    const RECT page = page::PageRect(rect, m_scale);
    const RECT before = GetClientRect();
    int grow = (page.bottom - page.top) - (before.bottom - before.top);
    MoveWindow(page, false);

    const RECT client = GetClientRect();
    const RECT placement = page::LayoutOf(client, m_scale).view;
    for (IPageView* view : m_views)
        view->MoveView(placement, grow);
    m_noMatch.MoveWindow(placement, true);

    if (grow < 0)
        grow = 0;
    RECT strip{client.left, client.bottom - grow - 1, client.right, client.bottom};
    ::RedrawWindow(m_hWnd, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTabCtrlMain::ChangeDpi(int dpi, const RECT& rect)
{
    if (!m_hWnd)
        return;
    m_scale = win::DpiScale(dpi);
    SetDpi(dpi);
    m_btnOpen.SetDpi(dpi);
    m_btnHelp.SetDpi(dpi);
    m_editDescription.SetScale(m_scale);
    // The controls keep the old fonts until they have the new ones.
    const win::UniqueFont oldPageFont(m_pageFont.release());
    const win::UniqueFont oldViewFont(m_viewFont.release());
    MakeFonts();
    const HFONT pageFont = PageFont();
    const HFONT viewFont = ViewFont();
    SetFont(pageFont, false);
    m_btnOpen.SetFont(pageFont, false);
    m_btnHelp.SetFont(pageFont, false);
    m_editDescription.SetFont(pageFont, false);
    const SIZE item = page::TabItemSize(m_scale);
    SetItemSize(item.cx, item.cy);

    MoveWindow(page::PageRect(rect, m_scale), false);
    const page::Layout layout = page::LayoutOf(GetClientRect(), m_scale);
    m_btnOpen.MoveWindow(layout.openButton, false);
    m_btnHelp.MoveWindow(layout.helpButton, false);
    m_editDescription.PlaceInBand(layout.descriptionBand);
    for (IPageView* view : m_views) {
        view->MoveView(layout.view, 0);
        view->ChangeDpi(m_scale, viewFont);
    }
    m_searchBox.ChangeDpi(m_scale, pageFont, SearchBoxRect());
    m_noMatch.ChangeDpi(m_scale, viewFont, layout.view);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CTabCtrlMain::MakeFonts()
{
    const int dpi = m_scale.Dpi();
    m_pageFont.reset(dpi == m_nDialogFontDpi ? nullptr : win::CreateFontForDpi(m_hDialogFont, m_nDialogFontDpi, dpi));
    m_viewFont.reset(dpi == m_nViewFontDpi || !m_hViewFont ? nullptr
                                                          : win::CreateFontForDpi(m_hViewFont, m_nViewFontDpi, dpi));
}
