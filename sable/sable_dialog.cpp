#include "sable/sable_dialog.h"

#include "sable/sable_api.h"
#include "sable/sable_colors.h"

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

BOOL AbstractDialog::OnInitDialog()
{
    m_bSkinned = SableAPI::IsLunaEnabled();
    BOOL result = win::Dialog::OnInitDialog();
    if (m_bSkinned && !m_staticBrush)
        m_staticBrush.reset(::CreateSolidBrush(sable::kBackdrop));
    return result;
}

LRESULT AbstractDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_bSkinned) {
        switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc = GetClientRect();
            m_pPainter->DrawBackdrop(reinterpret_cast<HDC>(wp), rc);
            return 1;
        }
        case WM_NCPAINT: {
            LRESULT result = Default(msg, wp, lp);
            win::WindowDC dc(m_hWnd, true);
            RECT rc = GetWindowRect();
            ::OffsetRect(&rc, -rc.left, -rc.top);
            if (dc.get())
                m_pPainter->DrawNonClient(dc.get(), rc);
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
    if (!m_bSkinned || !m_staticBrush)
        return false;
    if (ctlType != CTLCOLOR_STATIC && ctlType != CTLCOLOR_DLG && ctlType != CTLCOLOR_BTN)
        return false;
    ::SetTextColor(dc, sable::kBand);
    ::SetBkColor(dc, sable::kBackdrop);
    brush = m_staticBrush.get();
    return true;
}

}  // namespace sable
