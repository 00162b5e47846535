#pragma once

#include "imageops/Progress.h"

#include <QImage>

#include <array>

class Canvas;

// The column profile, indexed by the logical x of the column; 1..510 used.
using ColumnProfile = std::array<float, 512>;

// Vertical Average: clears the canvas (dropping the overlay), then for each
// column i = 1..510 sums over the rows j = 1..510 the inverted brightness
// 256 - c / 256 / 256 of the pixel at (i, j), c being its colour with red in
// the low byte. The old sum plus 256 is formed first and every partial sum
// is kept in single precision. The sums go into profile[1..510] (0 and 511
// are left alone); progress is told i = 1..510 as each is stored.
//
// Then, with persistence on, the graph is drawn into the image layer as red
// lines from (i, profile[i] / max * 256) to the next column, max being the
// largest sum, and persistence is switched off.
void verticalAverage(Canvas& canvas, ColumnProfile& profile, const ProgressCallback& progress = {});

// The same sums for a plain 512 x 512 image, with column i at pixel column i
// and row j at pixel row 511 - j (the layout under the image scale), for
// tools that work without a canvas. Nothing is drawn. Returns false,
// changing nothing, when the image is not 512 x 512.
bool columnProfile(const QImage& image, ColumnProfile& profile);
