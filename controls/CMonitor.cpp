#include "controls/CMonitor.h"

// Orvane
#include "platform/Gdi.h"

void CMonitor::GetMonitorRect(RECT* out) const
{
    if (!out)
        return;
    *out = m_hMonitor.isNull() ? RECT{} : Gdi::FromQRect(m_hMonitor);
}
