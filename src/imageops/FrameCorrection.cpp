#include "imageops/FrameCorrection.h"

#include "canvas/Canvas.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int Size = Canvas::Size;
constexpr quint16 White16 = std::numeric_limits<quint16>::max();

} // namespace

QImage loadedFrame(const QImage& picture) {
    Canvas canvas;
    canvas.setBackgroundPicture(picture);
    return canvas.image();
}

QImage correctedFrame(const QImage& picture, RowShiftTable shifts) {
    Canvas canvas;
    // LOAD: picture, persistence off, image scale.
    canvas.setBackgroundPicture(picture);
    canvas.setPersistent(false);
    canvas.setScale(0, 511, 511, 0);
    // CORRECT.
    correctRows(canvas, shifts);
    return canvas.image();
}

QImage correctedGrey16Frame(const QImage& picture, RowShiftTable shifts) {
    if (picture.format() != QImage::Format_Grayscale16)
        return {};
    QImage frame(Size, Size, QImage::Format_Grayscale16);
    if (frame.isNull())
        return {};
    const int width = std::min(picture.width(), Size);
    const int height = std::min(picture.height(), Size);
    for (int row = 0; row < Size; ++row) {
        auto* dst = reinterpret_cast<quint16*>(frame.scanLine(row));
        int copied = 0;
        if (row < height) {
            const auto* src = reinterpret_cast<const quint16*>(picture.constScanLine(row));
            std::copy(src, src + width, dst);
            copied = width;
        }
        std::fill(dst + copied, dst + Size, White16);
    }
    if (!shiftRows(frame, shifts))
        return {};
    return frame;
}
