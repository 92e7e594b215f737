#include "viewer/RenderWindow.h"

// std
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int RoundClamped(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double rounded = std::round(value);
    return int(std::clamp(rounded, double(INT_MIN), double(INT_MAX)));
}

} // namespace

RenderWindow ToRenderWindow(double width, double centre)
{
    RenderWindow window;
    window.nWidth = std::max(1, RoundClamped(width));
    window.nCentre = RoundClamped(centre);
    return window;
}
