#pragma once
// The display monitors, enumerated once when the list is made.

// std
#include <vector>

// Orvane
#include "controls/CMonitor.h"

/// All monitors in the order the system reports them; the first is the monitor provider's
/// (platform/MonitorProvider.h: Qt's first screen, a rectangle tests inject, or 1280 x 1024
/// when Qt reports no screen). Monitors attached later are not seen. UI thread only.
class CMonitors
{
public:
    CMonitors();

    int GetCount() const { return int(m_monitors.size()); }
    /// A copy of entry `index`; a null monitor for an index outside the list.
    CMonitor GetMonitor(int index) const;

private:
    std::vector<CMonitor> m_monitors;
};
