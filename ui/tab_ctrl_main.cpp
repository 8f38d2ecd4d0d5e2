#include "ui/tab_ctrl_main.h"

#include "ui/page_ids.h"

#include "catalog/catalog_builder.h"
#include "sable/sable_colors.h"
#include "win/data_file_cache.h"

namespace {

const int kTopBand = 15;  // pixels left free above the page

RECT PageRect(const RECT& client)
{
    return RECT{client.left, client.top + kTopBand, client.right, client.bottom};
}

}  // namespace

void CTabCtrlMainPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    sable::FillSolid(dc, rc, RGB(0, 0, 0));
}

CTabCtrlMain::CTabCtrlMain()
{
    SetPainter(&m_tabPainter);
}

int CTabCtrlMain::CreatePage(const RECT& rect, win::Window* parent)
{
    Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_GROUP | WS_TABSTOP, WS_EX_CONTROLPARENT, PageRect(rect),
           parent ? parent->GetSafeHwnd() : nullptr, page::kTabCtrlId);
    if (m_hWnd && parent)
        SetFont(parent->GetFont(), true);
    // Each icon file is opened once while the page is built, however many icons it gives.
    const win::DataFileCache iconFiles;
    BuildCatalog(m_catalog);
    return 1;
}

void CTabCtrlMain::RecalcLayout(const RECT& rect)
{
    if (!m_hWnd)
        return;
    RECT before = GetClientRect();
    RECT page = PageRect(rect);
    MoveWindow(page, false);
    RECT after = GetClientRect();
    int grow = (after.bottom - after.top) - (before.bottom - before.top);
    if (grow < 0)
        grow = 0;
    RECT strip{after.left, after.bottom - grow - 1, after.right, after.bottom};
    ::RedrawWindow(m_hWnd, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTabCtrlMain::SetFocusToCurrentView()
{
    if (m_hWnd)
        SetFocus();
}
