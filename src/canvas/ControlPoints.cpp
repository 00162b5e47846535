#include "canvas/ControlPoints.h"

#include "common/NumberText.h"

PointCoordinates defaultPx() {
    PointCoordinates px{};
    px[0] = 256;
    px[1] = 256;
    for (int i = 2; i < ControlPointCount; ++i)
        px[i] = 300;
    return px;
}

PointCoordinates defaultPy() {
    PointCoordinates py{};
    py[0] = 10;
    py[1] = 500;
    for (int i = 2; i < ControlPointCount; ++i)
        py[i] = float((i - 2) * 64 + 32);
    return py;
}

QString controlPointLabel(int index) {
    switch (index) {
    case 0:
        return QStringLiteral("A");
    case 1:
        return QStringLiteral("B");
    case 2:
        return QStringLiteral("1");
    default:
        return numberText(index - 1);
    }
}
