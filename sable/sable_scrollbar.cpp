#include "sable/sable_scrollbar.h"

#include "win/handles.h"
#include "sable/sable_colors.h"

#include <cstring>

namespace sable {

namespace {

bool SameBar(const SCROLLBARINFO& a, const SCROLLBARINFO& b)
{
    return std::memcmp(&a.rcScrollBar, &b.rcScrollBar, sizeof(RECT)) == 0 && a.dxyLineButton == b.dxyLineButton &&
           a.xyThumbTop == b.xyThumbTop && a.xyThumbBottom == b.xyThumbBottom && a.rgstate[0] == b.rgstate[0];
}

// The system's arrow buttons: a bar's width across, shorter only on a bar too short for two.
// (Not the bar information's button size, which some systems fill with the thumb's length.)
int ArrowLength(const RECT& bar, bool vertical)
{
    const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    const int button = ::GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    return button < length / 2 ? button : length / 2;
}

// The system tracks a click held on a bar (an arrow, a dragged thumb) in a loop of its own that
// draws each step in the system's look after the window has scrolled. While bars are hooked, each
// message of that loop has this message posted after it, which the loop dispatches to the window
// once the step is drawn: the hook then draws the bars over again in the skin.
const UINT kRepaintAfterTracking = ::RegisterWindowMessageW(L"Sable.RepaintScrollBars");
// Posted once after other messages, which may have had the system redraw a bar that changed: the
// bars are looked at when the messages of the moment are done, not after each (a look costs
// server round trips under Wine, and a refill of 1,000 rows sends thousands of messages).
const UINT kCheckBars = ::RegisterWindowMessageW(L"Sable.CheckScrollBars");
HHOOK g_trackingFilter = nullptr;
int g_hookedWindows = 0;

LRESULT CALLBACK FollowTracking(int code, WPARAM wp, LPARAM lp)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lp);
    if (code == MSGF_SCROLLBAR && msg && msg->hwnd && msg->message != kRepaintAfterTracking)
        ::PostMessageW(msg->hwnd, kRepaintAfterTracking, 0, 0);
    return ::CallNextHookEx(g_trackingFilter, code, wp, lp);
}

void CountHookedWindow(int change)
{
    g_hookedWindows += change;
    if (g_hookedWindows > 0 && !g_trackingFilter)
        g_trackingFilter = ::SetWindowsHookExW(WH_MSGFILTER, &FollowTracking, nullptr, ::GetCurrentThreadId());
    if (g_hookedWindows == 0 && g_trackingFilter) {
        ::UnhookWindowsHookEx(g_trackingFilter);
        g_trackingFilter = nullptr;
    }
}

}  // namespace

AbstractScrollBarPaintHook::~AbstractScrollBarPaintHook()
{
    UnhookWindow();
}

bool AbstractScrollBarPaintHook::HookWindow(HWND hwnd)
{
    if (m_hWnd || !hwnd || !::IsWindow(hwnd))
        return false;
    // A view is a framework window already; any other window is taken on by a framework object here.
    win::Window* host = win::Window::FromHandle(hwnd);
    if (!host) {
        if (!m_ownHost.SubclassWindow(hwnd))
            return false;
        host = &m_ownHost;
    }
    if (!host->SetMessageTap(this)) {
        if (host == &m_ownHost)
            m_ownHost.UnsubclassWindow();
        return false;
    }
    m_pHost = host;
    m_hWnd = hwnd;
    m_scale = win::DpiScale(win::DpiOfWindow(hwnd));
    CountHookedWindow(+1);
    std::memset(m_last, 0, sizeof(m_last));
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void AbstractScrollBarPaintHook::UnhookWindow()
{
    win::Window* host = m_pHost;
    if (!host)
        return;
    m_pHost = nullptr;
    m_hWnd = nullptr;
    CountHookedWindow(-1);
    host->SetMessageTap(nullptr);
    if (host == &m_ownHost)
        m_ownHost.UnsubclassWindow();  // the framework stays in the chain if another procedure came on top
}

void AbstractScrollBarPaintHook::SetDpi(int dpi)
{
    m_scale = win::DpiScale(dpi);
    if (m_hWnd)
        PaintBars(true);
}

void AbstractScrollBarPaintHook::OnTapReleased()
{
    if (m_pHost)
        CountHookedWindow(-1);
    m_pHost = nullptr;
    m_hWnd = nullptr;
    m_bCheckPosted = false;
}

void AbstractScrollBarPaintHook::AfterMessage(UINT msg)
{
    if (msg == kRepaintAfterTracking) {
        PaintBars(true);
        return;
    }
    if (msg == kCheckBars) {
        m_bCheckPosted = false;
        PaintBars(false);
        return;
    }
    switch (msg) {
    case WM_GETTEXT:
    case WM_GETDLGCODE:
        break;
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
    case WM_CAPTURECHANGED:
    case WM_MOUSEWHEEL:
    case WM_ENABLE:
        // The system has drawn the bars in its own look (a size change, a click, a drag, a
        // scroll), whether or not they changed: drawn over again, whole, they keep the skin's.
        PaintBars(true);
        break;
    default:
        if (!m_bCheckPosted && ::PostMessageW(m_hWnd, kCheckBars, 0, 0))
            m_bCheckPosted = true;
        break;
    }
}

void AbstractScrollBarPaintHook::PaintBars(bool always)
{
    if (!::IsWindowVisible(m_hWnd)) {
        std::memset(m_last, 0, sizeof(m_last));  // painted afresh once shown
        return;
    }
    const LONG objects[2] = {OBJID_VSCROLL, OBJID_HSCROLL};
    SCROLLBARINFO info[2];
    bool changed = always;
    for (int i = 0; i < 2; ++i) {
        std::memset(&info[i], 0, sizeof(info[i]));
        info[i].cbSize = sizeof(SCROLLBARINFO);
        if (!::GetScrollBarInfo(m_hWnd, objects[i], &info[i]))
            info[i].rgstate[0] = STATE_SYSTEM_INVISIBLE;
        if (!SameBar(info[i], m_last[i]))
            changed = true;
    }
    if (!changed)
        return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    win::WindowDC dc(m_hWnd, true);
    if (!dc.get())
        return;
    for (int i = 0; i < 2; ++i) {
        m_last[i] = info[i];
        if (info[i].rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN))
            continue;
        RECT bar = info[i].rcScrollBar;
        ::OffsetRect(&bar, -window.left, -window.top);
        const bool enabled = !(info[i].rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
        DrawScrollBar(dc.get(), bar, i == 0, ArrowLength(bar, i == 0), info[i].xyThumbTop, info[i].xyThumbBottom,
                      enabled);
    }
}

void SableScrollBarPaintHook::DrawScrollBar(HDC dc, const RECT& bar, bool vertical, int arrow, int thumbStart,
                                            int thumbEnd, bool enabled)
{
    const Palette palette = CurrentPalette();
    const win::DpiScale& s = Scale();
    sable::FillSolid(dc, bar, palette.track);
    const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    auto along = [&](int from, int to) {
        return vertical ? RECT{bar.left, bar.top + from, bar.right, bar.top + to}
                        : RECT{bar.left + from, bar.top, bar.left + to, bar.bottom};
    };
    const COLORREF ink = enabled ? palette.trackInk : palette.textDisabled;
    // Arrow buttons: a face with a small solid triangle.
    const int rows = s(4);
    for (int end = 0; end < 2; ++end) {
        RECT button = end == 0 ? along(0, arrow) : along(length - arrow, length);
        ::InflateRect(&button, -s(1), -s(1));
        sable::FillSolid(dc, button, palette.face);
        const int cx = (button.left + button.right) / 2;
        const int cy = (button.top + button.bottom) / 2;
        for (int row = 0; row < rows; ++row) {
            // apex first, then wider rows
            const int offset = end == 0 ? row - rows / 2 : rows / 2 - 1 - row;
            RECT line = vertical ? RECT{cx - row, cy + offset, cx + row + 1, cy + offset + 1}
                                 : RECT{cx + offset, cy - row, cx + offset + 1, cy + row + 1};
            sable::FillSolid(dc, line, ink);
        }
    }
    if (enabled && thumbEnd > thumbStart) {
        RECT thumb = along(thumbStart, thumbEnd);
        ::InflateRect(&thumb, vertical ? -s(2) : -s(1), vertical ? -s(1) : -s(2));
        sable::FillSolid(dc, thumb, palette.thumb);
    }
}

}  // namespace sable
