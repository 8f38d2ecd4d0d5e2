// Monitors laid out by a test, each with a work area of its choosing (the display under test has
// no taskbar to shift one); in force for the window code while the object lives.
#pragma once
#include "win/monitors.h"

#include <algorithm>
#include <vector>

class FakeMonitors : public win::MonitorLayout {
public:
    explicit FakeMonitors(std::vector<win::MonitorArea> areas)
        : m_areas(std::move(areas)), m_previous(win::SetMonitorLayout(this))
    {
    }
    ~FakeMonitors() override { win::SetMonitorLayout(m_previous); }
    FakeMonitors(const FakeMonitors&) = delete;
    FakeMonitors& operator=(const FakeMonitors&) = delete;

    bool Overlapping(const RECT& rc, win::MonitorArea& area) const override
    {
        long best = 0;
        for (const win::MonitorArea& candidate : m_areas) {
            RECT common{};
            if (IntersectRect(&common, &rc, &candidate.monitor) &&
                (common.right - common.left) * (common.bottom - common.top) > best) {
                best = (common.right - common.left) * (common.bottom - common.top);
                area = candidate;
            }
        }
        return best > 0;
    }

    win::MonitorArea Nearest(const RECT& rc) const override
    {
        win::MonitorArea area{};
        if (Overlapping(rc, area))
            return area;
        long long best = -1;
        for (const win::MonitorArea& candidate : m_areas) {
            const RECT& m = candidate.monitor;
            const long long dx = std::max({m.left - rc.right, rc.left - m.right, 0L});
            const long long dy = std::max({m.top - rc.bottom, rc.top - m.bottom, 0L});
            if (best < 0 || dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                area = candidate;
            }
        }
        return area;
    }

private:
    std::vector<win::MonitorArea> m_areas;
    const win::MonitorLayout* m_previous;
};
