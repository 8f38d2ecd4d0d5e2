#include "sable/sable_tab.h"

#include "sable/sable_api.h"
#include "sable/sable_colors.h"

#include <algorithm>

namespace sable {

// ---- SableTabPainter -------------------------------------------------------

SableTabPainter::~SableTabPainter() = default;

void SableTabPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    sable::FillSolid(dc, rc, sable::kBackdrop);
}

void SableTabPainter::DrawBackGround(HDC dc, const RECT& rc)
{
    sable::FillSolid(dc, rc, sable::kBand);
}

namespace {

void DrawTab(HDC dc, const RECT& rc, const std::wstring& text, COLORREF face, COLORREF ink)
{
    sable::FillSolid(dc, rc, face);
    RECT textRect = rc;
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = ::SetTextColor(dc, ink);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    ::SetTextColor(dc, oldText);
    ::SetBkMode(dc, oldMode);
}

}  // namespace

void SableTabPainter::DrawItem(HDC dc, const RECT& rc, const std::wstring& text)
{
    RECT tab = rc;
    tab.top += 2;
    tab.right -= 1;
    DrawTab(dc, tab, text, sable::kFace, sable::kBand);
}

void SableTabPainter::DrawSelectItem(HDC dc, const RECT& rc, const std::wstring& text)
{
    RECT tab = rc;
    tab.right -= 1;
    tab.bottom += 1;  // joins the page below
    DrawTab(dc, tab, text, sable::kBand, sable::kBlack);
}

void SableTabPainter::DrawFocus(HDC dc, const RECT& rc)
{
    RECT focus = rc;
    ::InflateRect(&focus, -4, -4);
    ::SetTextColor(dc, sable::kBlack);
    ::SetBkColor(dc, sable::kBand);
    ::DrawFocusRect(dc, &focus);
}

// ---- AbstractTabCtrl -------------------------------------------------------

AbstractTabCtrl::AbstractTabCtrl() : m_pPainter(&m_ownPainter) {}

void AbstractTabCtrl::SetPainter(SableTabPainter* painter)
{
    m_pPainter = painter ? painter : &m_ownPainter;
    if (m_hWnd)
        Invalidate(true);
}

void AbstractTabCtrl::OnAttached()
{
    m_bSkinned = SableAPI::IsLunaEnabled();
}

LRESULT AbstractTabCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_bSkinned) {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers the whole client area
        case WM_PAINT: {
            win::PaintDC dc(m_hWnd);
            Paint(dc.get());
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            LRESULT result = win::TabCtrl::WindowProc(msg, wp, lp);
            ::InvalidateRect(m_hWnd, nullptr, FALSE);  // the focus mark comes or goes
            return result;
        }
        default:
            break;
        }
    }
    return win::TabCtrl::WindowProc(msg, wp, lp);
}

void AbstractTabCtrl::Paint(HDC dc)
{
    RECT client = GetClientRect();
    win::SelectedObject font(dc, GetFont());
    m_pPainter->DrawBackdrop(dc, client);

    const int count = GetItemCount();
    const int current = GetCurSel();
    RECT page = client;
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (GetItemRect(i, item))
            page.top = std::max(page.top, item.bottom);
    }
    m_pPainter->DrawBackGround(dc, page);

    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!GetItemRect(i, item))
            continue;
        if (i == current)
            m_pPainter->DrawSelectItem(dc, item, GetItemText(i));
        else
            m_pPainter->DrawItem(dc, item, GetItemText(i));
    }
    RECT currentRect{};
    if (::GetFocus() == m_hWnd && current >= 0 && GetItemRect(current, currentRect))
        m_pPainter->DrawFocus(dc, currentRect);
}

}  // namespace sable
