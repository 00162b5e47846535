#pragma once

#include "canvas/ControlPoints.h"

#include <QString>

#include <array>
#include <cstdint>

// Everything the window remembers for the whole run. Arrays have fixed
// capacity and are indexed from 0; the fit data, the coefficients and the
// profile are used from index 1.
struct WindowState {
    PointCoordinates Px{};                    // x of the control points A, B, 1..8
    PointCoordinates Py{};                    // y of the control points
    std::array<float, 9> FitPos{};            // 1..8: heights of the points 1..8
    std::array<float, 9> FitDev{};            // 1..8: their deviation from the line A-B
    std::int16_t NData = 8;                   // number of fit data points
    std::int16_t Order = 4;                   // polynomial order
    std::array<float, 101> Coef{};            // 1..Order+1: Coef[k] multiplies y^(k-1)
    std::array<std::int16_t, 512> RowShift{}; // shift of each logical row
    std::array<float, 512> Profile{};         // 1..510: column profile
    std::int16_t Dragging = 0;                // 1 while a control point is dragged
    std::int16_t DragIndex = 0;               // the point being dragged
    std::int16_t Line1X = 0;                  // x of measuring line 1
    std::int16_t Line2X = 0;                  // x of measuring line 2
    QString FilePath;                         // name last returned by a file dialog
};
