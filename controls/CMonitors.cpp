#include "controls/CMonitors.h"

// Qt
#include <QGuiApplication>
#include <QScreen>

// Orvane
#include "platform/MonitorProvider.h"

CMonitors::CMonitors()
{
    m_monitors.emplace_back(FirstMonitorRect());
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype i = 1; i < screens.size(); ++i)
        if (screens[i])
            m_monitors.emplace_back(screens[i]->geometry());
}

CMonitor CMonitors::GetMonitor(int index) const
{
    if (index < 0 || index >= GetCount())
        return CMonitor();
    return m_monitors[std::size_t(index)];
}
