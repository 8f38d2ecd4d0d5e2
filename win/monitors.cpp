#include "win/monitors.h"

#include <algorithm>
#include <climits>

namespace win {

namespace {

const MonitorLayout kSystemLayout{};
const MonitorLayout* g_layout = nullptr;

MonitorArea AreaOf(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor && ::GetMonitorInfoW(monitor, &info))
        return MonitorArea{info.rcMonitor, info.rcWork};
    // No answer from the system: the primary monitor as the oldest calls describe it.
    MonitorArea area{{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, {}};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area.work, 0))
        area.work = area.monitor;
    return area;
}

// Of a caption that hangs over the work area's left or right edge, at least this much stays over
// it: enough to take hold of beside the caption's buttons.
constexpr long long kCaptionGripPixels = 128;

long long Clamp(long long value, long long low, long long high)
{
    return std::max(low, std::min(value, high));
}

LONG Saturated(long long value)
{
    return static_cast<LONG>(Clamp(value, LONG_MIN, LONG_MAX));
}

RECT MakeRect(long long left, long long top, long long width, long long height)
{
    return RECT{Saturated(left), Saturated(top), Saturated(left + width), Saturated(top + height)};
}

}  // namespace

bool MonitorLayout::Overlapping(const RECT& rc, MonitorArea& area) const
{
    HMONITOR monitor = ::MonitorFromRect(&rc, MONITOR_DEFAULTTONULL);
    if (!monitor)
        return false;
    area = AreaOf(monitor);
    return true;
}

MonitorArea MonitorLayout::Nearest(const RECT& rc) const
{
    return AreaOf(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST));
}

const MonitorLayout& CurrentMonitorLayout()
{
    return g_layout ? *g_layout : kSystemLayout;
}

const MonitorLayout* SetMonitorLayout(const MonitorLayout* layout)
{
    const MonitorLayout* previous = g_layout;
    g_layout = layout;
    return previous;
}

MonitorArea MonitorOfWindow(HWND hwnd)
{
    RECT rc{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (::IsIconic(hwnd) && ::GetWindowPlacement(hwnd, &placement))
        rc = WorkspaceRectToScreen(placement.rcNormalPosition);  // where it comes back to
    else
        ::GetWindowRect(hwnd, &rc);
    return CurrentMonitorLayout().Nearest(rc);
}

RECT WorkspaceRectToScreen(const RECT& normal)
{
    const MonitorLayout& layout = CurrentMonitorLayout();
    MonitorArea area{};
    if (!layout.Overlapping(normal, area))
        return KeepInside(normal, layout.Nearest(normal).work);
    RECT rc = normal;
    ::OffsetRect(&rc, area.work.left - area.monitor.left, area.work.top - area.monitor.top);
    return rc;
}

RECT RestoredWindowRect(const RECT& normal, const SIZE& minimum, const SIZE& maximum)
{
    // Computed wide: stored edges may be anything a damaged value holds.
    const bool inverted = normal.right < normal.left || normal.bottom < normal.top;
    const long long left = std::min(normal.left, normal.right);
    const long long top = std::min(normal.top, normal.bottom);
    long long width = Clamp(static_cast<long long>(std::max(normal.left, normal.right)) - left, minimum.cx, maximum.cx);
    long long height = Clamp(static_cast<long long>(std::max(normal.top, normal.bottom)) - top, minimum.cy, maximum.cy);

    const MonitorLayout& layout = CurrentMonitorLayout();
    const RECT sized = MakeRect(left, top, width, height);
    MonitorArea area{};
    if (inverted || !layout.Overlapping(sized, area)) {
        const RECT work = layout.Nearest(sized).work;
        width = std::max<long long>(std::min<long long>(width, work.right - work.left), minimum.cx);
        height = std::max<long long>(std::min<long long>(height, work.bottom - work.top), minimum.cy);
        return MakeRect(Clamp(left, work.left, std::max<long long>(work.left, work.right - width)),
                        Clamp(top, work.top, std::max<long long>(work.top, work.bottom - height)), width, height);
    }
    const RECT& work = area.work;
    const long long caption = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYSIZEFRAME);
    const long long grip = std::min(width, kCaptionGripPixels);
    const long long screenLeft = left + area.work.left - area.monitor.left;
    const long long screenTop = top + area.work.top - area.monitor.top;
    return MakeRect(Clamp(screenLeft, work.left + grip - width, work.right - grip),
                    Clamp(screenTop, work.top, std::max<long long>(work.top, work.bottom - caption)), width, height);
}

RECT KeepInside(const RECT& rc, const RECT& area)
{
    const LONG width = rc.right - rc.left;
    const LONG height = rc.bottom - rc.top;
    LONG left = rc.left;
    LONG top = rc.top;
    if (left + width > area.right)
        left = area.right - width;
    if (left < area.left)
        left = area.left;
    if (top + height > area.bottom)
        top = area.bottom - height;
    if (top < area.top)
        top = area.top;
    return RECT{left, top, left + width, top + height};
}

}  // namespace win
