#include "sable/sable_button.h"

#include "sable/sable_api.h"
#include "sable/sable_colors.h"

namespace sable {

void SableButton::OnAttached()
{
    m_bSkinned = SableAPI::IsLunaEnabled();
    m_bHot = false;
    const LONG_PTR style = GetStyle();
    m_bDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    if (m_bSkinned) {
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
        Invalidate(true);
    }
}

void SableButton::OnFinalMessage()
{
    m_bHot = false;
}

LRESULT SableButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (!m_bSkinned)
        return win::Button::WindowProc(msg, wp, lp);
    switch (msg) {
    case WM_GETDLGCODE:
        // An owner-drawn button would not take part in the dialog's default-button logic.
        return DLGC_BUTTON | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE: {
        const UINT type = static_cast<UINT>(wp) & BS_TYPEMASK;
        if (type == BS_DEFPUSHBUTTON || type == BS_PUSHBUTTON) {
            m_bDefault = type == BS_DEFPUSHBUTTON;
            LRESULT result = Default(msg, (wp & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lp);
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
            return result;
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (!m_bHot) {
            m_bHot = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        m_bHot = false;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        break;
    case WM_ERASEBKGND:
        return 1;  // the drawing covers every pixel
    default:
        break;
    }
    return win::Button::WindowProc(msg, wp, lp);
}

bool SableButton::OnReflectedDrawItem(DRAWITEMSTRUCT* item)
{
    if (!m_bSkinned || item->CtlType != ODT_BUTTON)
        return false;
    Draw(*item);
    return true;
}

void SableButton::Draw(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;

    COLORREF face = sable::kFace;
    COLORREF text = sable::kBand;
    if (disabled) {
        face = sable::kFaceDisabled;
        text = sable::kTextDisabled;
    } else if (pressed) {
        face = sable::kBand;
        text = sable::kBlack;
    } else if (m_bHot) {
        face = sable::kFaceHot;
    }
    sable::FillSolid(dc, rc, face);
    sable::FrameSolid(dc, rc, disabled ? sable::kFace : sable::kEdge);
    if (m_bDefault && !disabled) {
        RECT inner = rc;
        ::InflateRect(&inner, -1, -1);
        sable::FrameSolid(dc, rc, sable::kBand);
        sable::FrameSolid(dc, inner, sable::kBand);
    }

    std::wstring caption = GetWindowText();
    win::SelectedObject font(dc, GetFont());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = ::SetTextColor(dc, text);
    RECT textRect = rc;
    if (pressed)
        ::OffsetRect(&textRect, 1, 1);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, format);
    ::SetTextColor(dc, oldText);
    ::SetBkMode(dc, oldMode);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = rc;
        ::InflateRect(&focus, -4, -4);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, RGB(0, 0, 0));
        ::DrawFocusRect(dc, &focus);
    }
}

}  // namespace sable
