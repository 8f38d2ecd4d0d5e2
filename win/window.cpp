#include "win/window.h"

#include "win/monitors.h"

#include <vector>

namespace win {

namespace {

// Marks a window whose GWLP_USERDATA holds its framework object, and keeps the procedure that
// was replaced, so a window whose object went away still reaches its own procedure.
const wchar_t kPrevProcProp[] = L"Brindle.PrevWndProc";

WNDPROC StoredPrevProc(HWND hwnd)
{
    return reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kPrevProcProp));
}

}  // namespace

// ---- WindowRef -------------------------------------------------------------

RECT WindowRef::GetClientRect() const
{
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

RECT WindowRef::GetWindowRect() const
{
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

std::wstring WindowRef::GetWindowText() const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

bool WindowRef::MoveWindow(const RECT& rc, bool repaint) const
{
    return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint) != FALSE;
}

bool WindowRef::SetDlgItemText(int id, const std::wstring& text) const
{
    return ::SetDlgItemTextW(m_hWnd, id, text.c_str()) != FALSE;
}

std::wstring WindowRef::GetDlgItemText(int id) const
{
    return WindowRef(::GetDlgItem(m_hWnd, id)).GetWindowText();
}

void WindowRef::CenterWindow() const
{
    // On the owner's monitor (the window's own when it has none), not necessarily the primary one.
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    const RECT work = MonitorOfWindow(owner ? owner : m_hWnd).work;
    RECT center = work;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &center);

    RECT rc = GetWindowRect();
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    rc.left = (center.left + center.right) / 2 - width / 2;
    rc.top = (center.top + center.bottom) / 2 - height / 2;
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
    rc = KeepInside(rc, work);  // the whole window reachable where it fits
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Window ----------------------------------------------------------------

Window::~Window()
{
    if (m_hWnd) {
        // Detach first: the window's last messages must not reach a half-destroyed object.
        HWND hwnd = UnsubclassWindow();
        ::DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd)
{
    if (!hwnd || !StoredPrevProc(hwnd))
        return nullptr;
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Window::Create(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                    const RECT& rc, HWND parent, UINT id)
{
    if (m_hWnd)
        return false;
    HWND hwnd = ::CreateWindowExW(exStyle, className, text.c_str(), style, rc.left, rc.top, rc.right - rc.left,
                                  rc.bottom - rc.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        return false;
    if (!SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

bool Window::SubclassWindow(HWND hwnd)
{
    if (m_hWnd || !hwnd || StoredPrevProc(hwnd))
        return false;  // this object is in use, or the window has an object already
    WNDPROC previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (!previous || !::SetPropW(hwnd, kPrevProcProp, reinterpret_cast<HANDLE>(previous)))
        return false;
    m_hWnd = hwnd;
    m_prevProc = previous;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StaticWndProc));
    OnAttached();
    return true;
}

bool Window::SubclassDlgItem(int id, HWND parent)
{
    return SubclassWindow(::GetDlgItem(parent, id));
}

HWND Window::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (!hwnd)
        return nullptr;
    // Put the old procedure back only when nobody subclassed on top of us; otherwise our
    // procedure stays in the chain and forwards through the property.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &Window::StaticWndProc) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
        ::RemovePropW(hwnd, kPrevProcProp);
    }
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    m_prevProc = nullptr;
    if (MessageTap* tap = m_pTap) {
        m_pTap = nullptr;
        tap->OnTapReleased();
    }
    return hwnd;
}

bool Window::SetMessageTap(MessageTap* tap)
{
    if (tap && (m_pTap || !m_hWnd))
        return false;
    m_pTap = tap;
    return true;
}

void Window::Detach()
{
    UnsubclassWindow();
}

void Window::DestroyWindow()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);  // WM_NCDESTROY detaches
}

bool Window::PreTranslateMessage(MSG*)
{
    return false;
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* self = FromHandle(hwnd);
    if (!self) {
        WNDPROC previous = StoredPrevProc(hwnd);
        LRESULT result = previous ? ::CallWindowProcW(previous, hwnd, msg, wp, lp) : ::DefWindowProcW(hwnd, msg, wp, lp);
        if (msg == WM_NCDESTROY)
            ::RemovePropW(hwnd, kPrevProcProp);
        return result;
    }
    if (msg == WM_NCDESTROY) {
        WNDPROC previous = self->m_prevProc;
        self->OnFinalMessage();
        self->Detach();
        ::RemovePropW(hwnd, kPrevProcProp);
        return ::CallWindowProcW(previous, hwnd, msg, wp, lp);
    }
    return self->WindowProc(msg, wp, lp);
}

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    const LRESULT result = m_prevProc ? ::CallWindowProcW(m_prevProc, m_hWnd, msg, wp, lp)
                                      : ::DefWindowProcW(m_hWnd, msg, wp, lp);
    if (m_pTap)
        m_pTap->AfterMessage(msg);
    return result;
}

LRESULT Window::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND: {
        const UINT id = LOWORD(wp);
        const UINT code = HIWORD(wp);
        HWND source = reinterpret_cast<HWND>(lp);
        if (source) {
            if (Window* child = FromHandle(source); child && child != this) {
                LRESULT result = 0;
                if (child->OnReflectedCommand(id, code, result))
                    return result;
            }
        }
        if (OnCommand(id, code, source))
            return 0;
        break;
    }
    case WM_NOTIFY: {
        NMHDR* hdr = reinterpret_cast<NMHDR*>(lp);
        LRESULT result = 0;
        if (hdr) {
            Window* child = FromHandle(hdr->hwndFrom);
            if (child && child->OnReflectedNotify(hdr, result))
                return result;
            if (OnNotify(hdr, result))
                return result;
        }
        break;
    }
    case WM_DRAWITEM: {
        DRAWITEMSTRUCT* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (item && item->CtlType != ODT_MENU) {
            Window* child = FromHandle(item->hwndItem);
            if (child && child->OnReflectedDrawItem(item))
                return TRUE;
        }
        break;
    }
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (item && item->CtlType != ODT_MENU) {
            Window* child = FromHandle(::GetDlgItem(m_hWnd, static_cast<int>(item->CtlID)));
            if (child && child->OnReflectedMeasureItem(item))
                return TRUE;
        }
        break;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (lp) {  // from a scroll-bar control, not the window's own bars
            Window* child = FromHandle(reinterpret_cast<HWND>(lp));
            if (child && child != this &&
                child->OnReflectedScroll(msg == WM_VSCROLL, LOWORD(wp), static_cast<short>(HIWORD(wp))))
                return 0;
        }
        break;
    case WM_SIZE: {
        LRESULT result = Default(msg, wp, lp);
        OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
        return result;
    }
    case WM_DESTROY: {
        LRESULT result = Default(msg, wp, lp);
        OnDestroy();
        return result;
    }
    case WM_PAINT:
        if (OnPaint())
            return 0;
        break;
    case WM_ERASEBKGND:
        if (OnEraseBkgnd(reinterpret_cast<HDC>(wp)))
            return 1;
        break;
    case WM_CLOSE:
        if (OnClose())
            return 0;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        OnMouseEvent(msg, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        break;
    case WM_SYSCOMMAND:
        if (OnSysCommand(static_cast<UINT>(wp & 0xFFF0)))
            return 0;
        break;
    case WM_GETMINMAXINFO: {
        LRESULT result = Default(msg, wp, lp);
        if (lp)
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
        return result;
    }
    case WM_NCHITTEST: {
        LRESULT hit = Default(msg, wp, lp);
        OnNcHitTest(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, hit);
        return hit;
    }
    case WM_QUERYDRAGICON:
        if (HICON icon = OnQueryDragIcon())
            return reinterpret_cast<LRESULT>(icon);
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        HWND childWnd = reinterpret_cast<HWND>(lp);
        const UINT ctlType = msg - WM_CTLCOLORMSGBOX;  // CTLCOLOR_MSGBOX .. CTLCOLOR_STATIC
        HBRUSH brush = nullptr;
        Window* child = childWnd != m_hWnd ? FromHandle(childWnd) : nullptr;
        if (child && child->OnReflectedCtlColor(dc, ctlType, brush))
            return reinterpret_cast<LRESULT>(brush);
        if (OnCtlColor(dc, childWnd, ctlType, brush))
            return reinterpret_cast<LRESULT>(brush);
        break;
    }
    default:
        break;
    }
    return Default(msg, wp, lp);
}

bool Window::OnCommand(UINT, UINT, HWND)
{
    return false;
}

void Window::OnSize(UINT, int, int) {}

bool Window::OnNotify(NMHDR*, LRESULT&)
{
    return false;
}

bool Window::OnCtlColor(HDC, HWND, UINT, HBRUSH&)
{
    return false;
}

bool Window::OnReflectedCommand(UINT, UINT, LRESULT&)
{
    return false;
}

bool Window::OnReflectedMeasureItem(MEASUREITEMSTRUCT*)
{
    return false;
}

bool Window::OnReflectedScroll(bool, UINT, int)
{
    return false;
}

bool Window::OnReflectedNotify(NMHDR*, LRESULT&)
{
    return false;
}

bool Window::OnReflectedCtlColor(HDC, UINT, HBRUSH&)
{
    return false;
}

bool Window::OnReflectedDrawItem(DRAWITEMSTRUCT*)
{
    return false;
}

}  // namespace win
