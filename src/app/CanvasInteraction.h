#pragma once

#include "app/WindowState.h"

#include <QString>

#include <cstdint>

class Canvas;

// What a press on the canvas does depends on the selected option button.
enum class CanvasMode { ImageCorrection, Line1, Line2 };

// The control point nearest to (x, y); among equally near points the one
// with the lowest index. Squared distances are formed in double precision
// and compared in single precision.
int nearestControlPoint(const PointCoordinates& Px, const PointCoordinates& Py, float x, float y);

// Image correction mode: the nearest point jumps to (x, y), the overlay is
// redrawn and a drag starts.
void pickControlPoint(WindowState& state, Canvas& canvas, float x, float y);

// While a drag is under way the dragged point follows (x, y), whatever the
// mode; otherwise nothing happens.
void dragControlPoint(WindowState& state, Canvas& canvas, float x, float y);

// Any release ends a drag.
void endDrag(WindowState& state);

// Rounds to the nearest integer, halves to the even neighbour, saturating at
// the 16-bit limits.
std::int16_t roundToInt16(double value);

// Clears the canvas and draws measuring line 1 in red and line 2 in green,
// from y = 0 to y = 511.
void DrawLines(Canvas& canvas, std::int16_t line1X, std::int16_t line2X);

// Line 1 or Line 2 mode: places that measuring line at x, redraws both and
// returns the new caption of the width-measure label.
QString placeMeasuringLine(WindowState& state, Canvas& canvas, CanvasMode mode, float x);

// Caption of the width-measure label for the current lines.
QString widthCaption(std::int16_t line1X, std::int16_t line2X);
