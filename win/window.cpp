#include "win/window.h"

#include "win/dpi.h"
#include "win/monitors.h"

#include <unordered_map>
#include <vector>

namespace win {

namespace {

// Framework objects by window, for FromHandle. Windows may live on several threads.
class ObjectTable {
public:
    ObjectTable() { ::InitializeCriticalSection(&m_lock); }

    Window* Find(HWND hwnd)
    {
        ::EnterCriticalSection(&m_lock);
        auto found = m_objects.find(hwnd);
        Window* object = found == m_objects.end() ? nullptr : found->second;
        ::LeaveCriticalSection(&m_lock);
        return object;
    }

    // False when the window has an object already.
    bool Add(HWND hwnd, Window* object)
    {
        ::EnterCriticalSection(&m_lock);
        const bool added = m_objects.emplace(hwnd, object).second;
        ::LeaveCriticalSection(&m_lock);
        return added;
    }

    void Remove(HWND hwnd)
    {
        ::EnterCriticalSection(&m_lock);
        m_objects.erase(hwnd);
        ::LeaveCriticalSection(&m_lock);
    }

private:
    CRITICAL_SECTION m_lock;
    std::unordered_map<HWND, Window*> m_objects;
};

ObjectTable& Objects()
{
    static ObjectTable table;
    return table;
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
    return hwnd ? Objects().Find(hwnd) : nullptr;
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
    if (m_hWnd || !hwnd || !Objects().Add(hwnd, this))
        return false;  // this object is in use, or the window has an object already
    if (!m_link.AttachTo(hwnd)) {
        Objects().Remove(hwnd);
        return false;
    }
    m_hWnd = hwnd;
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
    Objects().Remove(hwnd);
    m_hWnd = nullptr;
    m_link.DetachFrom();
    ReleaseTap();
    return hwnd;
}

void Window::ForgetWindow()
{
    if (m_hWnd)
        Objects().Remove(m_hWnd);
    m_hWnd = nullptr;
    ReleaseTap();
}

bool Window::SetMessageTap(MessageTap* tap)
{
    if (tap && (m_pTap || !m_hWnd))
        return false;
    m_pTap = tap;
    return true;
}

void Window::ReleaseTap()
{
    if (MessageTap* tap = m_pTap) {
        m_pTap = nullptr;
        tap->OnTapReleased();
    }
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

void Window::SetAccessibleLabel(const std::wstring& name, long role)
{
    m_accessibleLabel = AccessibleLabel(name, role);
    m_bLabelled = true;
}

LRESULT Window::Link::OnSubclassMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return m_window.WindowProc(msg, wp, lp);
}

void Window::Link::OnFinalMessage()
{
    m_window.OnFinalMessage();
    m_window.ForgetWindow();
}

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    const LRESULT result = m_link.CallPrevious(msg, wp, lp);
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
    case WM_GETOBJECT:
        // The object id is a signed 32-bit number in the low half of lParam.
        if (static_cast<LONG>(static_cast<DWORD>(lp)) == OBJID_CLIENT && GetAccessibleParts())
            return AnswerClientObjectRequest(m_hWnd, wp);
        break;
    case kDpiChangedMessage:
        if (lp && OnDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp)))
            return 0;
        break;
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
