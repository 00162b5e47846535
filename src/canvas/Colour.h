#pragma once

#include <QRgb>
#include <cstdint>

// A colour as the program passes it around: 24-bit RGB in a signed 32-bit
// integer, red in the low byte, green in the next, blue in the third, top
// byte zero. A pixel read outside the drawing area yields NoColour (-1).
using Colour = std::int32_t;

namespace colours {

constexpr Colour NoColour = -1;

constexpr Colour rgb(int red, int green, int blue) {
    return Colour(red & 0xff) | Colour(green & 0xff) << 8 | Colour(blue & 0xff) << 16;
}

constexpr Colour Red = rgb(255, 0, 0);
constexpr Colour Green = rgb(0, 255, 0);
constexpr Colour Blue = rgb(0, 0, 255);
constexpr Colour Grey = rgb(128, 128, 128);
constexpr Colour White = rgb(255, 255, 255);
constexpr Colour Black = rgb(0, 0, 0);

// Image memory holds opaque 0xAARRGGBB words (QImage::Format_RGB32 and the
// opaque pixels of Format_ARGB32_Premultiplied alike).
constexpr QRgb toPixelWord(Colour c) {
    return 0xff000000u | QRgb(c & 0xff) << 16 | QRgb(c & 0xff00) | QRgb(c >> 16 & 0xff);
}

constexpr Colour fromPixelWord(QRgb word) {
    return rgb(int(word >> 16 & 0xff), int(word >> 8 & 0xff), int(word & 0xff));
}

} // namespace colours
