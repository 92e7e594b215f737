#include "platform/MonitorProvider.h"

// Qt
#include <QGuiApplication>
#include <QScreen>

namespace {

MonitorRectProvider& Current()
{
    static MonitorRectProvider provider;
    return provider;
}

} // namespace

QRect FirstMonitorRect()
{
    if (Current())
        return Current()();
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (!screens.isEmpty() && screens.first() && screens.first()->geometry().isValid())
        return screens.first()->geometry();
    return QRect(0, 0, 1280, 1024);
}

MonitorRectProvider SetMonitorRectProvider(MonitorRectProvider provider)
{
    MonitorRectProvider old = std::move(Current());
    Current() = std::move(provider);
    return old;
}
