#include "imageops/ColumnProfile.h"

#include "canvas/Canvas.h"
#include "canvas/Colour.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

constexpr int Size = 512;
constexpr int First = 1; // columns and rows 0 and 511 never take part
constexpr int Last = 510;

// Where each logical column and row lies in image memory; nullopt where it
// falls off the drawing area, which reads as NoColour.
struct PixelMap {
    std::array<std::optional<int>, Size> column;
    std::array<std::optional<int>, Size> row;
    bool columnsArePixels = true; // column i is pixel column i for every i
};

PixelMap mapOf(const CanvasScale& scale) {
    PixelMap map;
    for (int k = 0; k < Size; ++k) {
        map.column[std::size_t(k)] = scale.column(k);
        map.row[std::size_t(k)] = scale.row(k);
        map.columnsArePixels = map.columnsArePixels && map.column[std::size_t(k)] == k;
    }
    return map;
}

PixelMap imageLayout() {
    PixelMap map;
    for (int k = 0; k < Size; ++k) {
        map.column[std::size_t(k)] = k;
        map.row[std::size_t(k)] = Size - 1 - k;
    }
    return map;
}

// The colours of one logical row at the columns 1..510, read through the
// map; NoColour where the pixel lies off the drawing area.
void readRow(const QImage& layer, const PixelMap& map, int j, std::array<Colour, Size>& out) {
    const auto pixelRow = map.row[std::size_t(j)];
    if (!pixelRow) {
        out.fill(colours::NoColour);
        return;
    }
    const auto* words = reinterpret_cast<const QRgb*>(layer.constScanLine(*pixelRow));
    for (int i = First; i <= Last; ++i) {
        const auto pixelColumn = map.column[std::size_t(i)];
        out[std::size_t(i)] =
            pixelColumn ? colours::fromPixelWord(words[*pixelColumn]) : colours::NoColour;
    }
}

// The term of a colour c is 256 - c / 256 / 256. For every colour on the
// canvas (0 <= c < 2^24) that is (2^24 - c) / 65536, a whole number of 2^-16
// between 2^-16 and 256: exactly a float. Every partial sum is a whole
// number of 2^-16 below 2^18, so (old sum + 256) - c / 65536 formed in double
// precision is exact, and storing it in single precision rounds the exact
// sum once, which is just what one single-precision addition of the exact
// term does. So a row read straight from image memory is added in floats
// alone, which the compiler does several columns at a time.
void addPixelRow(const QRgb* words, ColumnProfile& sums) {
    for (int i = First; i <= Last; ++i) {
        const std::int32_t scaledTerm = 0x1000000 - colours::fromPixelWord(words[i]);
        sums[std::size_t(i)] += float(scaledTerm) * (1.0f / 65536.0f);
    }
}

// Rows read through the scale may hold NoColour (-1), whose term
// 256 + 2^-16 is no float; they take the double-precision form as written.
void addColourRow(const std::array<Colour, Size>& rowColours, ColumnProfile& sums) {
    for (int i = First; i <= Last; ++i) {
        float& sum = sums[std::size_t(i)];
        sum = float((double(sum) + 256.0) - double(rowColours[std::size_t(i)]) / 256.0 / 256.0);
    }
}

// Walks the image row by row so that memory is read in order; each column
// still receives its terms in the order j = 1..510, so every partial sum is
// the one a column-by-column walk would store.
ColumnProfile sumColumns(const QImage& layer, const PixelMap& map) {
    ColumnProfile sums{};
    std::array<Colour, Size> rowColours{};
    for (int j = First; j <= Last; ++j) {
        const auto pixelRow = map.row[std::size_t(j)];
        if (pixelRow && map.columnsArePixels) {
            addPixelRow(reinterpret_cast<const QRgb*>(layer.constScanLine(*pixelRow)), sums);
            continue;
        }
        readRow(layer, map, j, rowColours);
        addColourRow(rowColours, sums);
    }
    return sums;
}

void drawGraph(Canvas& canvas, const ColumnProfile& profile) {
    float max = 0;
    for (int i = First; i <= Last; ++i) {
        if (max < profile[std::size_t(i)])
            max = profile[std::size_t(i)];
    }
    // Every term is positive, so max is too; the test only guards the division.
    if (!(max > 0))
        return;
    for (int i = First; i < Last; ++i) {
        const float y0 = profile[std::size_t(i)] / max * 256.0f;
        const float y1 = profile[std::size_t(i) + 1] / max * 256.0f;
        canvas.line(float(i), y0, float(i + 1), y1, colours::Red);
    }
}

} // namespace

void verticalAverage(Canvas& canvas, ColumnProfile& profile, const ProgressCallback& progress) {
    // After the clear the overlay is empty, so the colour on display is the
    // image layer's, whichever way the switch stands.
    canvas.clear();
    const ColumnProfile sums = sumColumns(canvas.imageLayer(), mapOf(canvas.scale()));
    for (int i = First; i <= Last; ++i) {
        if (progress)
            progress(i);
        profile[std::size_t(i)] = sums[std::size_t(i)];
    }
    canvas.setPersistent(true);
    drawGraph(canvas, profile);
    canvas.setPersistent(false);
}

bool columnProfile(const QImage& image, ColumnProfile& profile) {
    if (image.width() != Size || image.height() != Size)
        return false;
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    const ColumnProfile sums = sumColumns(rgb, imageLayout());
    std::copy(sums.begin() + First, sums.begin() + Last + 1, profile.begin() + First);
    return true;
}
