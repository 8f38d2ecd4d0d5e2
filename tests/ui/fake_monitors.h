// Monitors laid out by a test, each with a work area of its choosing (the display under test has
// no taskbar to shift one); in force for the window code while the object lives.
#pragma once
#include "win/monitors.h"

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

    // The tests put nothing off every monitor they lay out: the first stands in for the nearest.
    win::MonitorArea Nearest(const RECT& rc) const override
    {
        win::MonitorArea area = m_areas.front();
        Overlapping(rc, area);
        return area;
    }

private:
    std::vector<win::MonitorArea> m_areas;
    const win::MonitorLayout* m_previous;
};
