#include "sable/sable_tab.h"

#include "sable/sable_api.h"
#include "sable/sable_colors.h"

#include <oleacc.h>

#include <algorithm>

namespace sable {

// ---- SableTabPainter -------------------------------------------------------

SableTabPainter::~SableTabPainter() = default;

void SableTabPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    sable::FillSolid(dc, rc, CurrentPalette().backdrop);
}

void SableTabPainter::DrawBackGround(HDC dc, const RECT& rc)
{
    sable::FillSolid(dc, rc, CurrentPalette().band);
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
    const Palette palette = CurrentPalette();
    RECT tab = rc;
    tab.top += Scale()(2);
    tab.right -= Scale()(1);
    DrawTab(dc, tab, text, palette.face, palette.faceText);
}

void SableTabPainter::DrawSelectItem(HDC dc, const RECT& rc, const std::wstring& text)
{
    const Palette palette = CurrentPalette();
    RECT tab = rc;
    tab.right -= Scale()(1);
    tab.bottom += Scale()(1);  // joins the page below
    DrawTab(dc, tab, text, palette.active, palette.activeText);
}

void SableTabPainter::DrawFocus(HDC dc, const RECT& rc)
{
    const Palette palette = CurrentPalette();
    RECT focus = rc;
    ::InflateRect(&focus, -Scale()(4), -Scale()(4));
    ::SetTextColor(dc, palette.activeText);
    ::SetBkColor(dc, palette.active);
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

void AbstractTabCtrl::SetDpi(int dpi)
{
    m_scale = win::DpiScale(dpi);
    if (m_hWnd)
        Invalidate(true);
}

void AbstractTabCtrl::OnAttached()
{
    m_bSkinned = SableAPI::IsLunaEnabled();
    m_scale = win::DpiScale(win::DpiOfWindow(m_hWnd));
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

bool AbstractTabCtrl::Name(int item, std::wstring& name) const
{
    if (item < 1)
        return false;
    name = win::TextWithoutMnemonic(GetItemText(item - 1));
    return true;
}

bool AbstractTabCtrl::Role(int item, long& role) const
{
    role = item == 0 ? ROLE_SYSTEM_PAGETABLIST : ROLE_SYSTEM_PAGETAB;
    return true;
}

bool AbstractTabCtrl::State(int item, long& state) const
{
    const bool focused = ::GetFocus() == m_hWnd;
    state = STATE_SYSTEM_FOCUSABLE;
    if (!IsWindowVisible())
        state |= STATE_SYSTEM_INVISIBLE;
    if (item == 0) {
        if (focused)
            state |= STATE_SYSTEM_FOCUSED;
        return true;
    }
    state |= STATE_SYSTEM_SELECTABLE;
    if (item - 1 == GetCurSel())
        state |= STATE_SYSTEM_SELECTED | (focused ? STATE_SYSTEM_FOCUSED : 0);
    return true;
}

bool AbstractTabCtrl::Location(int item, RECT& screen) const
{
    if (item < 1 || !GetItemRect(item - 1, screen))
        return false;
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    return true;
}

bool AbstractTabCtrl::FocusedItem(int& item) const
{
    if (::GetFocus() != m_hWnd)
        return false;
    item = GetCurSel() + 1;  // the current tab carries the focus; 0 (the strip) without one
    return true;
}

bool AbstractTabCtrl::SelectedItem(int& item) const
{
    item = GetCurSel() + 1;
    return item > 0;
}

bool AbstractTabCtrl::DoDefaultAction(int item)
{
    if (item < 1 || item > GetItemCount() || !IsWindowEnabled())
        return false;
    if (item - 1 != GetCurSel())
        SendMessage(TCM_SETCURFOCUS, item - 1);
    return true;
}

void AbstractTabCtrl::Paint(HDC dc)
{
    RECT client = GetClientRect();
    win::SelectedObject font(dc, GetFont());
    m_pPainter->SetScale(m_scale);
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
