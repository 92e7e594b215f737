#include "viewer/ScaleGeometry.h"

// std
#include <cmath>

namespace ScaleGeometry {

bool ImageHasScales(const QString& modality, int bitsAllocated, int bitsStored, int highBit)
{
    if (modality.isEmpty() || modality == QLatin1String("XA"))
        return false;
    return bitsAllocated > 16 || bitsStored > 8 || highBit > 8;
}

double PixelsPerCm(double spacingMm, double reducedScale)
{
    const double mmPerPixel = reducedScale * spacingMm;
    if (!std::isfinite(spacingMm) || !std::isfinite(reducedScale) || spacingMm <= 0.0 || reducedScale <= 0.0
        || !std::isfinite(mmPerPixel) || mmPerPixel <= 0.0)
        return 0.0;
    const double value = 1.0 / (mmPerPixel * 0.1);
    return std::isfinite(value) ? value : 0.0;
}

bool StepDrawable(double step)
{
    return std::isfinite(step) && step >= 1.0;
}

int LabelPeriod(double step)
{
    if (step < 3.0)
        return 20;
    if (step < 8.0)
        return 10;
    return 5;
}

namespace {

// The ticks and the base line of one scale along `length` pixels
Scale Build(int length, double step, bool vertical)
{
    Scale scale;
    if (!StepDrawable(step) || length <= 0)
        return scale;
    const int q = length / 4;
    const int period = LabelPeriod(step);
    int count = 0;
    for (double pos = q; pos <= length - q; pos += step, ++count) {
        const int p = int(pos); // positions are truncated on their way to the device
        const bool labelled = count % period == 0;
        const int reach = labelled ? 15 : 8;
        if (vertical)
            scale.lines.push_back({QPoint(26, p), QPoint(26 + reach, p)});
        else
            scale.lines.push_back({QPoint(p, 26), QPoint(p, 26 + reach)});
        if (labelled)
            scale.labels.push_back({vertical ? QPoint(46, p - 8) : QPoint(p - 4, 41), QString::number(count)});
    }
    if (vertical)
        scale.lines.push_back({QPoint(25, q), QPoint(25, length - q)});
    else
        scale.lines.push_back({QPoint(q, 25), QPoint(length - q, 25)});
    return scale;
}

} // namespace

Scale VerticalScale(int height, double step)
{
    return Build(height, step, true);
}

Scale HorizontalScale(int width, double step)
{
    return Build(width, step, false);
}

} // namespace ScaleGeometry
