#pragma once

#include "canvas/Canvas.h"
#include "canvas/ControlPoints.h"
#include "canvas/DrawPoints.h"

#include <QImage>

// A picture in which every pixel has a colour of its own, so any pixel that
// lands in the wrong place shows.
inline QImage patternedPicture(int width = 512, int height = 512) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column)
            image.setPixel(
                column, row,
                qRgb(column & 0xff, row & 0xff, 3 + 16 * (column >> 8) + 64 * (row >> 8)));
    }
    return image;
}

inline QImage filledPicture(QRgb word, int width = 512, int height = 512) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(word);
    return image;
}

// The canvas as start-up leaves it: start-up scale, persistence on and the
// control points drawn into the image layer.
inline void setUpAsAtStartUp(Canvas& canvas) {
    canvas.clear();
    canvas.setScale(0, 512, 512, 0);
    DrawPoints(canvas, defaultPx(), defaultPy());
}

// The canvas after an image load: the picture, the image scale, persistence
// off and the control points in the overlay.
inline void setUpAsLoaded(Canvas& canvas, const QImage& picture) {
    canvas.setBackgroundPicture(picture);
    canvas.setPersistent(false);
    canvas.setScale(0, 511, 511, 0);
    DrawPoints(canvas, defaultPx(), defaultPy());
}

inline const QRgb* pixelRowOf(const QImage& image, int row) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(row));
}
