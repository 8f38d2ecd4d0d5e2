#include "win/monitors.h"

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
