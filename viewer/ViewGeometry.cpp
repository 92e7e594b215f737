#include "viewer/ViewGeometry.h"

// std
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace ViewGeometry {

namespace {

int TruncToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int(std::clamp(std::trunc(value), double(INT_MIN), double(INT_MAX)));
}

int RoundUpToFour(int side)
{
    return side % 4 ? side + 4 - side % 4 : side;
}

} // namespace

float FitZoom(QSize image, QSize target)
{
    const double zx = image.width() != 0 ? double(target.width()) / image.width() : 0.0;
    const double zy = image.height() != 0 ? double(target.height()) / image.height() : 0.0;
    return float(std::min(zx, zy));
}

double ZoomStep(QSize image)
{
    const double sum = double(image.width()) + image.height();
    if (sum <= 0.0)
        return 0.03;
    return 0.03 / (sum * 0.001);
}

float WindowLevelFactor(unsigned rows, unsigned columns)
{
    const unsigned sum = rows + columns;
    if (sum < 300)
        return 1.0f;
    if (sum < 1200)
        return 3.0f;
    return 10.0f;
}

QSize ZoomedSize(QSize image, double zoom)
{
    if (!std::isfinite(zoom) || zoom <= 0.0)
        return QSize(0, 0);
    return QSize(TruncToInt(image.width() * zoom), TruncToInt(image.height() * zoom));
}

QPoint CenterOffset(QSize client, QSize extent)
{
    return QPoint(std::abs(client.width() - extent.width()) / 2, std::abs(client.height() - extent.height()) / 2);
}

float ExtentZoom(QSize extent, QSize image)
{
    if (image.width() <= 0 || image.height() <= 0)
        return 0.0f;
    return float(std::min(double(extent.width()) / image.width(), double(extent.height()) / image.height()));
}

ReducedPlan PlanReducedImage(unsigned columns, unsigned rows)
{
    ReducedPlan plan;
    if (!(columns > 800.0 && rows > 800.0))
        return plan;
    plan.bReduce = true;
    plan.dScale = std::min(columns * 0.0016666666666666668, rows * 0.0016666666666666668);
    plan.nWidth = RoundUpToFour(TruncToInt(columns / plan.dScale));
    plan.nHeight = RoundUpToFour(TruncToInt(rows / plan.dScale));
    return plan;
}

} // namespace ViewGeometry
