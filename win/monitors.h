// Which monitor a rectangle or window lies on, and that monitor's work area (the part the taskbar
// and docked bars leave free). The system answers by default; a test installs a layout of its
// own, since a display without a taskbar has no work-area offset to try things with.
#pragma once
#include <windows.h>

namespace win {

struct MonitorArea {
    RECT monitor;  // the whole monitor, in screen coordinates
    RECT work;     // its work area, in screen coordinates
};

class MonitorLayout {
public:
    virtual ~MonitorLayout() = default;
    // The monitor `rc` overlaps most; false when it overlaps none.
    virtual bool Overlapping(const RECT& rc, MonitorArea& area) const;
    // The monitor `rc` overlaps most, or the one nearest to it.
    virtual MonitorArea Nearest(const RECT& rc) const;
};

// The layout in force: the system's unless one was installed.
const MonitorLayout& CurrentMonitorLayout();
// Installs `layout` (not owned; null puts the system's back) and returns the one it replaces.
const MonitorLayout* SetMonitorLayout(const MonitorLayout* layout);

// The monitor of a top-level window; of its normal rectangle while it is minimised.
MonitorArea MonitorOfWindow(HWND hwnd);

// The screen rectangle of a normal rectangle taken from GetWindowPlacement, which gives it in
// workspace coordinates (relative to its monitor's work area). One that lies on no monitor any
// more goes, with its size, into the work area of the nearest monitor.
RECT WorkspaceRectToScreen(const RECT& normal);

// Where a window comes back from a normal rectangle saved by an earlier run (GetWindowPlacement,
// workspace coordinates), with its size taken through `minimum` and `maximum` as the window will
// take it. One that still overlaps a monitor comes back where it was, but with its caption inside
// that monitor's work area (its top edge inside, part of its width over it); one that lies on no
// monitor, and one stored inverted or damaged, goes whole into the nearest monitor's work area.
RECT RestoredWindowRect(const RECT& normal, const SIZE& minimum, const SIZE& maximum);

// `rc` moved, with its size, to lie inside `area` where it fits (else at its left or top edge).
RECT KeepInside(const RECT& rc, const RECT& area);

}  // namespace win
