#include "sable/sable_button.h"

#include "sable/sable_api.h"
#include "sable/sable_colors.h"

#include <oleacc.h>

namespace sable {

void SableButton::OnAttached()
{
    m_bSkinned = SableAPI::IsLunaEnabled();
    m_scale = win::DpiScale(win::DpiOfWindow(m_hWnd));
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

bool SableButton::Name(int item, std::wstring& name) const
{
    if (item != 0)
        return false;
    name = win::TextWithoutMnemonic(GetWindowText());
    return true;
}

bool SableButton::Role(int item, long& role) const
{
    if (item != 0)
        return false;
    role = ROLE_SYSTEM_PUSHBUTTON;
    return true;
}

bool SableButton::State(int item, long& state) const
{
    if (item != 0)
        return false;
    state = STATE_SYSTEM_FOCUSABLE;
    if (!IsWindowEnabled())
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible())
        state |= STATE_SYSTEM_INVISIBLE;
    if (::GetFocus() == m_hWnd)
        state |= STATE_SYSTEM_FOCUSED;
    if (m_bDefault)
        state |= STATE_SYSTEM_DEFAULT;
    if (SendMessage(BM_GETSTATE) & BST_PUSHED)
        state |= STATE_SYSTEM_PRESSED;
    return true;
}

bool SableButton::KeyboardShortcut(int item, std::wstring& shortcut) const
{
    shortcut = item == 0 ? win::MnemonicShortcut(GetWindowText()) : std::wstring();
    return !shortcut.empty();
}

bool SableButton::FocusedItem(int& item) const
{
    item = 0;
    return ::GetFocus() == m_hWnd;
}

bool SableButton::DoDefaultAction(int item)
{
    if (item != 0 || !IsWindowEnabled())
        return false;
    PostMessage(BM_CLICK);  // as a click: after the screen reader's call has returned
    return true;
}

void SableButton::Draw(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;

    const Palette palette = CurrentPalette();
    COLORREF face = palette.face;
    COLORREF text = palette.faceText;
    if (disabled) {
        face = palette.faceDisabled;
        text = palette.textDisabled;
    } else if (pressed) {
        face = palette.active;
        text = palette.activeText;
    } else if (m_bHot) {
        face = palette.faceHot;
        text = palette.faceHotText;
    }
    const int line = m_scale(1);
    sable::FillSolid(dc, rc, face);
    sable::FrameSolid(dc, rc, disabled ? palette.edgeDisabled : palette.edge, line);
    if (m_bDefault && !disabled)
        sable::FrameSolid(dc, rc, palette.outline, 2 * line);

    std::wstring caption = GetWindowText();
    win::SelectedObject font(dc, GetFont());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = ::SetTextColor(dc, text);
    RECT textRect = rc;
    if (pressed)
        ::OffsetRect(&textRect, line, line);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, format);
    ::SetTextColor(dc, oldText);
    ::SetBkMode(dc, oldMode);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = rc;
        ::InflateRect(&focus, -m_scale(4), -m_scale(4));
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, RGB(0, 0, 0));
        ::DrawFocusRect(dc, &focus);
    }
}

}  // namespace sable
