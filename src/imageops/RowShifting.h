#pragma once

#include "imageops/Progress.h"

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <span>

class Canvas;

// One shift per logical row 0..511 (row i is the logical y = i).
using RowShiftTable = std::span<const std::int16_t, 512>;

// The colour of the vacated right-hand ends.
constexpr QRgb ShiftFillWord = 0xff808080u; // grey (128, 128, 128)
constexpr quint16 ShiftFillGrey16 = 32896;  // the same grey on a 16-bit scale

// CORRECT: clears the canvas (dropping the overlay), switches persistence on,
// moves every logical row i with shift s > 0 left by s columns and paints
// its last s + 1 columns grey (columns 511 - s .. 511; the whole row when
// s >= 511), then switches persistence off. The work lands in the image
// layer. progress is told i = 0..511, each before its row is done.
//
// Rows reach their pixels through the canvas scale, so under the start-up
// scale, where the logical rows 0 and 1 share the bottom pixel row, that
// pixel row is shifted twice, exactly as a pixel-by-pixel walk would.
// A negative shift leaves its row as it is: the table never holds one, and
// moving pixels in from the left of column 0 has no meaning.
void correctRows(Canvas& canvas, RowShiftTable shifts, const ProgressCallback& progress = {});

// The same shifting on a plain 512 x 512 image, with row i at pixel row
// 511 - i (the layout under the image scale), for tools that correct many
// frames without a canvas. Format_RGB32 (and the other 32-bit RGB formats)
// use grey (128, 128, 128); Format_Grayscale16 uses 32896. Returns false,
// changing nothing, for any other size or format. Under the image scale the
// result is byte for byte that of correctRows.
bool shiftRows(QImage& image, RowShiftTable shifts);

// One row of 512 pixels, moved left by shift with the grey end painted.
// Shifts of 0 or below leave the row alone.
void shiftPixelRow(std::span<QRgb, 512> row, int shift);
void shiftPixelRow(std::span<quint16, 512> row, int shift);
