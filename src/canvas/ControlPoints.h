#pragma once

#include <QString>

#include <array>

// The ten control points: index 0 is "A", 1 is "B", 2..9 are "1".."8".
constexpr int ControlPointCount = 10;
using PointCoordinates = std::array<float, ControlPointCount>;

// Where start-up puts them: A and B on the vertical x = 256 at heights 10 and
// 500; the points 1..8 on x = 300 at heights 32, 96, ..., 480.
PointCoordinates defaultPx();
PointCoordinates defaultPy();

// The label drawn beside point i: "A", "B", "1", then " 2" .. " 8" (the later
// ones carry the leading blank of the number text).
QString controlPointLabel(int index);
