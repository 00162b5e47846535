#pragma once

// Inputs shared by the benchmarks: a full 512 x 512 picture and the control
// points and row-shift table of a real correction, so that every figure is
// measured on the work a user actually asks for.
#include "canvas/ControlPoints.h"
#include "fit/CurveFit.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>

namespace bench {

// Pseudo-random colours in every pixel: no row or column is cheaper than
// another, and nothing can be skipped because it is uniform.
inline QImage noisyPicture() {
    QImage image(512, 512, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int row = 0; row < 512; ++row) {
        auto* words = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < 512; ++column) {
            state = state * 1664525u + 1013904223u;
            words[column] = 0xff000000u | (state >> 8);
        }
    }
    return image;
}

// The points of examples/parabola-24bit.points: A and B on a vertical line
// through the leftmost part of a band that bows 48 pixels to the right
// towards top and bottom, and 1..8 along the band.
inline FitRequest parabolaRequest(std::int16_t order = 4) {
    FitRequest request;
    request.Px = {237, 237, 284, 260, 245, 237, 237, 245, 260, 284};
    request.Py = {10, 500, 32, 96, 160, 224, 288, 352, 416, 480};
    request.Order = order;
    return request;
}

// The table CALCULATE(LSM) gives for those points: 0 in the middle, up to
// about 60 at the top and bottom rows.
inline ShiftTable parabolaShifts() {
    const FitResult fit = calculateFit(parabolaRequest());
    if (fit.warning || fit.singular)
        std::abort(); // the benchmark would measure nothing real
    return fit.RowShift;
}

} // namespace bench
