#include "sable/sable_dialog.h"

#include "sable/sable_api.h"
#include "win/high_contrast.h"

namespace {

BOOL CALLBACK ForwardColourChange(HWND child, LPARAM)
{
    ::SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

}  // namespace

namespace sable {

AbstractDialog::AbstractDialog(UINT templateId, HWND parent)
    : win::Dialog(templateId, parent), m_pPainter(&m_ownPainter)
{
}

void AbstractDialog::SetPainter(SableDialogPainter* painter)
{
    m_pPainter = painter ? painter : &m_ownPainter;
    if (m_hWnd)
        Invalidate(true);
}

void AbstractDialog::SetDpi(int dpi)
{
    m_scale = win::DpiScale(dpi);
    if (m_hWnd)
        Invalidate(true);
}

BOOL AbstractDialog::OnInitDialog()
{
    m_bSkinned = SableAPI::IsLunaEnabled();
    m_scale = win::DpiScale(win::DpiOfWindow(m_hWnd));
    return win::Dialog::OnInitDialog();
}

LRESULT AbstractDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (win::ChangesDrawingColours(msg, wp)) {
        LRESULT result = win::Dialog::WindowProc(msg, wp, lp);
        ::EnumChildWindows(m_hWnd, ForwardColourChange, 0);
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return result;
    }
    if (m_bSkinned) {
        switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc = GetClientRect();
            m_pPainter->SetScale(m_scale);
            m_pPainter->DrawBackdrop(reinterpret_cast<HDC>(wp), rc);
            return 1;
        }
        case WM_NCPAINT: {
            LRESULT result = Default(msg, wp, lp);
            win::WindowDC dc(m_hWnd, true);
            RECT rc = GetWindowRect();
            ::OffsetRect(&rc, -rc.left, -rc.top);
            if (dc.get()) {
                m_pPainter->SetScale(m_scale);
                m_pPainter->DrawNonClient(dc.get(), rc);
            }
            return result;
        }
        case WM_SIZE: {
            // The backdrop's edges move with the size: repaint it whole.
            LRESULT result = win::Dialog::WindowProc(msg, wp, lp);
            if (wp != SIZE_MINIMIZED)
                ::InvalidateRect(m_hWnd, nullptr, TRUE);
            return result;
        }
        default:
            break;
        }
    }
    return win::Dialog::WindowProc(msg, wp, lp);
}

bool AbstractDialog::OnCtlColor(HDC dc, HWND, UINT ctlType, HBRUSH& brush)
{
    if (!m_bSkinned)
        return false;
    if (ctlType != CTLCOLOR_STATIC && ctlType != CTLCOLOR_DLG && ctlType != CTLCOLOR_BTN)
        return false;
    const Palette palette = CurrentPalette();
    ::SetTextColor(dc, palette.backdropText);
    ::SetBkColor(dc, palette.backdrop);
    brush = m_staticBrush.Get(palette.backdrop);
    return brush != nullptr;
}

}  // namespace sable
