#include "imageops/RowShifting.h"

#include "canvas/Canvas.h"
#include "canvas/Colour.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int Width = 512;
constexpr int LastColumn = Width - 1;

// Copying left to right from column j + s into column j reads only pixels
// not yet written, so one memmove does it. The grey starts at 511 - s and so
// also covers the last copied column: s + 1 grey columns in all.
template <typename Pixel> void shiftRow(std::span<Pixel, Width> row, int shift, Pixel grey) {
    if (shift <= 0)
        return;
    const int greyFrom = std::max(LastColumn - shift, 0);
    if (greyFrom > 0)
        std::memmove(row.data(), row.data() + shift, std::size_t(greyFrom) * sizeof(Pixel));
    std::fill(row.begin() + greyFrom, row.end(), grey);
}

template <typename Pixel> std::span<Pixel, Width> pixelRow(QImage& image, int row) {
    return std::span<Pixel, Width>(reinterpret_cast<Pixel*>(image.scanLine(row)), Width);
}

// True when every logical column 0..511 is the pixel column of the same
// number, as under the start-up and image scales; then a row can be moved
// in image memory directly.
bool columnsArePixels(const CanvasScale& scale) {
    for (int j = 0; j < Width; ++j) {
        if (scale.column(j) != j)
            return false;
    }
    return true;
}

// The pixel-by-pixel walk through the canvas, for scales whose columns are
// not the pixel columns. Reads off the canvas give NoColour, writes there
// are clipped: the canvas's own rules.
void shiftRowThroughCanvas(Canvas& canvas, int i, int shift) {
    if (shift <= 0)
        return;
    const float y = float(i);
    for (int j = 0; j <= LastColumn - shift; ++j)
        canvas.setPixel(float(j), y, canvas.pixel(float(j + shift), y));
    for (int j = LastColumn - shift; j <= LastColumn; ++j)
        canvas.setPixel(float(j), y, colours::Grey);
}

} // namespace

void shiftPixelRow(std::span<QRgb, 512> row, int shift) {
    shiftRow(row, shift, ShiftFillWord);
}

void shiftPixelRow(std::span<quint16, 512> row, int shift) {
    shiftRow(row, shift, ShiftFillGrey16);
}

void correctRows(Canvas& canvas, RowShiftTable shifts, const ProgressCallback& progress) {
    static_assert(colours::toPixelWord(colours::Grey) == ShiftFillWord);
    canvas.clear();
    canvas.setPersistent(true);
    const CanvasScale scale = canvas.scale();
    const bool direct = columnsArePixels(scale);
    for (int i = 0; i < int(shifts.size()); ++i) {
        if (progress)
            progress(i);
        const int shift = shifts[std::size_t(i)];
        if (shift == 0)
            continue;
        if (!direct) {
            shiftRowThroughCanvas(canvas, i, shift);
            continue;
        }
        // A row off the canvas has nothing to move: all its writes are clipped.
        if (const auto row = scale.row(i))
            shiftPixelRow(pixelRow<QRgb>(canvas.imageLayer(), *row), shift);
    }
    canvas.setPersistent(false);
}

bool shiftRows(QImage& image, RowShiftTable shifts) {
    if (image.width() != Width || image.height() != int(shifts.size()))
        return false;
    const int lastRow = image.height() - 1;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        for (int i = 0; i <= lastRow; ++i)
            shiftPixelRow(pixelRow<QRgb>(image, lastRow - i), shifts[std::size_t(i)]);
        return true;
    case QImage::Format_Grayscale16:
        for (int i = 0; i <= lastRow; ++i)
            shiftPixelRow(pixelRow<quint16>(image, lastRow - i), shifts[std::size_t(i)]);
        return true;
    default:
        return false;
    }
}
