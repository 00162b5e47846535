#pragma once

#include <QByteArray>
#include <QtEndian>

// The 54-byte header of an uncompressed BMP claiming width x height pixels
// of the given depth, followed by only a few bytes of pixels.
inline QByteArray bmpHeaderClaiming(qint32 width, qint32 height, quint16 bitsPerPixel = 24) {
    QByteArray bytes(54 + 12, '\0');
    char* p = bytes.data();
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(quint32(bytes.size()), p + 2);
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(bitsPerPixel, p + 28);
    return bytes;
}
