#pragma once

#include <optional>

// The mapping between logical coordinates and the pixels of the 512 x 512
// drawing area. The scale names the logical coordinates of the top-left
// corner (x1, y1) and of the bottom-right corner (x2, y2).
//
// Rounding rule: a logical point falls on the pixel that contains it, that
// is column = floor(u) with u = (x - x1) * 512 / (x2 - x1), and likewise for
// rows. The far edge (u exactly 512) belongs to the last pixel, so that
// under the image scale (0, 511)-(511, 0) the 512 whole logical columns and
// rows 0..511 land on 512 distinct pixels: x = j is column j, y = i is row
// 511 - i. Anything else outside [0, 512] is off the canvas.
//
// The inverse, used for mouse positions, returns the logical point at the
// centre of a pixel, so a press on a pixel maps back onto that same pixel
// under any scale.
struct CanvasScale {
    static constexpr int Size = 512;

    double x1 = 0;
    double y1 = 0;
    double x2 = Size;
    double y2 = Size;

    // Continuous position in pixel units (0..512 spans the drawing area).
    double toPixelSpaceX(double x) const { return (x - x1) * Size / (x2 - x1); }
    double toPixelSpaceY(double y) const { return (y - y1) * Size / (y2 - y1); }

    // Whole pixel for a continuous pixel-space position; may lie outside 0..511.
    static long long pixelIndex(double u);

    // The pixel column / row holding a logical coordinate, or nothing when
    // it lies outside the drawing area.
    std::optional<int> column(double x) const;
    std::optional<int> row(double y) const;

    // Logical coordinates of the centre of pixel column / row p (p may lie
    // outside the drawing area, as mouse positions during a drag do).
    double logicalX(int column) const { return x1 + (column + 0.5) * (x2 - x1) / Size; }
    double logicalY(int row) const { return y1 + (row + 0.5) * (y2 - y1) / Size; }

    // Logical units per pixel along x (used for circle radii and text).
    double pixelsPerUnitX() const;
};
