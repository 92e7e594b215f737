#pragma once
// The rectangle of the first display monitor, from Qt's screens; tests inject their own.

// Qt
#include <QRect>

// std
#include <functional>

/// The first monitor's geometry, or 1280 x 1024 at the origin when Qt reports no screen.
/// UI thread only.
QRect FirstMonitorRect();

/// Replaces the provider (an empty function restores Qt's). Returns the old one.
using MonitorRectProvider = std::function<QRect()>;
MonitorRectProvider SetMonitorRectProvider(MonitorRectProvider provider);
