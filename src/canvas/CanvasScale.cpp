#include "canvas/CanvasScale.h"

#include <cmath>
#include <limits>

long long CanvasScale::pixelIndex(double u) {
    if (std::isnan(u))
        return std::numeric_limits<int>::min();
    if (u == Size)
        return Size - 1;          // the far edge belongs to the last pixel
    constexpr double limit = 1e9; // far beyond any canvas; keeps the cast defined
    if (u < -limit)
        return -static_cast<long long>(limit);
    if (u > limit)
        return static_cast<long long>(limit);
    return static_cast<long long>(std::floor(u));
}

static std::optional<int> onCanvas(long long p) {
    if (p < 0 || p >= CanvasScale::Size)
        return std::nullopt;
    return static_cast<int>(p);
}

std::optional<int> CanvasScale::column(double x) const {
    return onCanvas(pixelIndex(toPixelSpaceX(x)));
}

std::optional<int> CanvasScale::row(double y) const {
    return onCanvas(pixelIndex(toPixelSpaceY(y)));
}

double CanvasScale::pixelsPerUnitX() const {
    return std::abs(Size / (x2 - x1));
}
