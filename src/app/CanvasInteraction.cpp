#include "app/CanvasInteraction.h"

#include "canvas/Canvas.h"
#include "canvas/DrawPoints.h"
#include "common/NumberText.h"

#include <cmath>
#include <limits>

namespace {

float squaredDistance(float px, float py, float x, float y) {
    const double dy = double(py) - y;
    const double dx = double(px) - x;
    return float(dy * dy + dx * dx);
}

void redrawPoints(const WindowState& state, Canvas& canvas) {
    canvas.clear();
    DrawPoints(canvas, state.Px, state.Py);
}

} // namespace

int nearestControlPoint(const PointCoordinates& Px, const PointCoordinates& Py, float x, float y) {
    int nearest = 0;
    float best = squaredDistance(Px[0], Py[0], x, y);
    for (int i = 1; i < ControlPointCount; ++i) {
        const float d = squaredDistance(Px[i], Py[i], x, y);
        if (d < best) { // strictly: a tie keeps the lower index
            nearest = i;
            best = d;
        }
    }
    return nearest;
}

void pickControlPoint(WindowState& state, Canvas& canvas, float x, float y) {
    state.DragIndex = std::int16_t(nearestControlPoint(state.Px, state.Py, x, y));
    state.Py[state.DragIndex] = y;
    state.Px[state.DragIndex] = x;
    redrawPoints(state, canvas);
    state.Dragging = 1;
}

void dragControlPoint(WindowState& state, Canvas& canvas, float x, float y) {
    if (state.Dragging != 1)
        return;
    state.Py[state.DragIndex] = y;
    state.Px[state.DragIndex] = x;
    redrawPoints(state, canvas);
}

void endDrag(WindowState& state) {
    state.Dragging = 0;
}

std::int16_t roundToInt16(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value); // default mode: halves to even
    if (rounded <= std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (rounded >= std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return std::int16_t(rounded);
}

void DrawLines(Canvas& canvas, std::int16_t line1X, std::int16_t line2X) {
    canvas.clear();
    canvas.line(line1X, 0, line1X, 511, colours::Red);
    canvas.line(line2X, 0, line2X, 511, colours::Green);
}

QString widthCaption(std::int16_t line1X, std::int16_t line2X) {
    // The difference of two 16-bit positions can leave the 16-bit range;
    // it is shown exactly rather than wrapped.
    return QStringLiteral("Line2-Line1=") + numberText(int(line2X) - int(line1X));
}

QString placeMeasuringLine(WindowState& state, Canvas& canvas, CanvasMode mode, float x) {
    std::int16_t& line = mode == CanvasMode::Line1 ? state.Line1X : state.Line2X;
    line = roundToInt16(x);
    DrawLines(canvas, state.Line1X, state.Line2X);
    return widthCaption(state.Line1X, state.Line2X);
}
