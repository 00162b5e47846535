#include "canvas/DrawPoints.h"

#include "canvas/Canvas.h"

namespace {
constexpr float PointRadius = 2;
}

void DrawPoints(Canvas& canvas, const PointCoordinates& Px, const PointCoordinates& Py) {
    canvas.setDrawingColour(colours::Red);
    canvas.circle(Px[0], Py[0], PointRadius);
    canvas.print(controlPointLabel(0));
    canvas.circle(Px[1], Py[1], PointRadius);
    canvas.print(controlPointLabel(1));
    canvas.line(Px[0], Py[0], Px[1], Py[1]);

    canvas.setDrawingColour(colours::Green);
    canvas.circle(Px[2], Py[2], PointRadius);
    canvas.print(controlPointLabel(2));
    for (int i = 2; i <= 8; ++i) {
        canvas.line(Px[i], Py[i], Px[i + 1], Py[i + 1]);
        canvas.circle(Px[i + 1], Py[i + 1], PointRadius);
        canvas.print(controlPointLabel(i + 1));
    }
}
