#pragma once
// One display monitor, as it was when the monitors were enumerated.

// Qt
#include <QRect>

// Orvane
#include "platform/WinTypes.h"

/// A monitor: its whole rectangle in desktop coordinates (not its work area); a monitor made
/// without one is null. UI thread only.
class CMonitor
{
public:
    CMonitor() = default;
    explicit CMonitor(const QRect& rcMonitor) : m_hMonitor(rcMonitor) {}

    bool IsNull() const { return m_hMonitor.isNull(); }
    /// The monitor's rectangle into `out`; (0, 0, 0, 0) for a null monitor.
    void GetMonitorRect(RECT* out) const;

private:
    QRect m_hMonitor;
};
