#include "viewer/ZoomGeometry.h"

// std
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace ZoomGeometry {

QPoint LogicalToDevice(QPoint logical, QPoint panOffset, QPoint scrollPosition)
{
    return logical + panOffset - scrollPosition;
}

QPoint DeviceToLogical(QPoint device, QPoint panOffset, QPoint scrollPosition)
{
    return device - panOffset + scrollPosition;
}

void FitAspectRatio(const QSize& orig, QSize& dest, QPoint& remainder)
{
    remainder = QPoint(0, 0);
    if (orig.width() <= 0 || orig.height() <= 0 || dest.width() <= 0 || dest.height() <= 0)
        return;
    const double r1 = double(orig.width()) / orig.height();
    const double r2 = double(dest.width()) / dest.height();
    if (r1 > r2) {
        const int height = int(dest.width() / r1);
        remainder = QPoint(0, dest.height() - height);
        dest.setHeight(height);
    } else if (r1 < r2) {
        const int width = int(dest.height() * r1);
        remainder = QPoint(dest.width() - width, 0);
        dest.setWidth(width);
    }
}

RECT NormalizeZoomRect(const RECT& rc)
{
    RECT r = rc;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

namespace {

int Truncated(double v)
{
    if (!std::isfinite(v) || v <= 0)
        return 0;
    return v >= double(INT_MAX) ? INT_MAX : int(v);
}

} // namespace

QSize ScaleSize(const QSize& base, double scale)
{
    if (!std::isfinite(scale) || scale <= 0)
        return QSize(0, 0);
    return QSize(Truncated(base.width() * scale), Truncated(base.height() * scale));
}

QPoint ClientCenter(const QSize& client)
{
    return QPoint(client.width() / 2, client.height() / 2);
}

void PageAndLineSizes(const QSize& total, QSize page, QSize line, QSize& pageOut, QSize& lineOut)
{
    page.setHeight(std::abs(page.height()));
    line.setHeight(std::abs(line.height()));
    if (page.width() == 0)
        page.setWidth(total.width() / 10);
    if (page.height() == 0)
        page.setHeight(total.height() / 10);
    if (line.width() == 0)
        line.setWidth(page.width() / 10);
    if (line.height() == 0)
        line.setHeight(page.height() / 10);
    pageOut = page;
    lineOut = line;
}

ZoomRectPlan PlanZoomToRect(const RECT& logicalRect, QPoint panOffset, QPoint scrollPosition, const RECT& client)
{
    const RECT r = NormalizeZoomRect(logicalRect);
    ZoomRectPlan plan;
    plan.ptCenter = QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const QPoint topLeft = LogicalToDevice(QPoint(r.left, r.top), panOffset, scrollPosition);
    const QPoint bottomRight = LogicalToDevice(QPoint(r.right, r.bottom), panOffset, scrollPosition);
    const int deviceWidth = bottomRight.x() - topLeft.x();
    const int deviceHeight = bottomRight.y() - topLeft.y();
    if (std::max(deviceWidth, deviceHeight) < 10) {
        plan.bZoomInInstead = true;
        return plan;
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    double scale = 0;
    if (width > 0)
        scale = double(client.right + 1) / width;
    if (height > 0) {
        const double vertical = double(client.bottom + 1) / height;
        scale = width > 0 ? std::min(scale, vertical) : vertical;
    }
    plan.fScale = scale;
    return plan;
}

} // namespace ZoomGeometry
