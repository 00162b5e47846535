#pragma once

#include "canvas/ControlPoints.h"

class Canvas;

// Draws the ten control points: red circles for A and B with the red
// reference line between them, green circles for 1..8 joined by a green
// chain, each label printed with its top-left corner at its point's centre.
// Does not clear first; draws into whichever layer the canvas switch
// selects; leaves the drawing colour green.
void DrawPoints(Canvas& canvas, const PointCoordinates& Px, const PointCoordinates& Py);
