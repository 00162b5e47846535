#pragma once

#include "imageops/RowShifting.h"

#include <QImage>

// One frame of a series corrected as the window corrects it, for tools that
// work through many frames without a window.

// LOAD: the picture as the background picture of a fresh canvas, placed at
// the top left of the white 512 x 512 drawing area and cut beyond. Returns
// the canvas image, Format_RGB32.
QImage loadedFrame(const QImage& picture);

// LOAD then CORRECT: the picture becomes the background picture of a fresh
// canvas (placed at the top left of the white 512 x 512 drawing area, cut
// beyond), the canvas takes the image scale with persistence off, and
// correctRows shifts its rows. Returns the canvas image, Format_RGB32: what
// SAVE writes. The very canvas calls the window makes, so the result is the
// window's, pixel for pixel.
QImage correctedFrame(const QImage& picture, RowShiftTable shifts);

// The same for a Format_Grayscale16 picture, keeping its 16-bit samples: it
// is placed at the top left of a 512 x 512 area of 16-bit white (65535),
// cut beyond, and shiftRows moves the same rows by the same shifts, filling
// the vacated ends with 16-bit mid-grey (32896). A null image for any other
// format.
QImage correctedGrey16Frame(const QImage& picture, RowShiftTable shifts);
