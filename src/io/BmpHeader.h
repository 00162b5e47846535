#pragma once

#include <QByteArrayView>
#include <QSize>

#include <optional>

// What the header of a Windows bitmap promises, read straight from its
// first bytes (the 14-byte file header and the info header after it).
struct BmpLayout {
    QSize size; // width x |height|
    int bitsPerPixel = 0;
    quint32 compression = 0; // 0: none, 3 and 6: bit fields, others packed
    // Where the pixel rows end, for the unpacked kinds; the last row may
    // lack its padding. Nothing for packed (run-length) pixels.
    std::optional<qint64> pixelDataEnd;
};

// The layout, or nothing when the bytes do not start a BMP with a known
// info header. Needs at most the first BmpHeaderBytes bytes.
constexpr qsizetype BmpHeaderBytes = 54;
std::optional<BmpLayout> readBmpLayout(QByteArrayView start);
