#include "io/BmpHeader.h"

#include <QtEndian>
#include <QtNumeric>

#include <cstdlib>
#include <limits>

namespace {

template <typename T> T field(QByteArrayView bytes, qsizetype offset) {
    return qFromLittleEndian<T>(bytes.data() + offset);
}

constexpr quint32 CoreHeaderSize = 12; // the old OS/2 header: 16-bit sizes
constexpr quint32 InfoHeaderSize = 40; // and every later one

} // namespace

std::optional<BmpLayout> readBmpLayout(QByteArrayView start) {
    if (start.size() < 26 || !start.startsWith("BM"))
        return std::nullopt;
    const auto pixelOffset = field<quint32>(start, 10);
    const auto infoSize = field<quint32>(start, 14);
    BmpLayout layout;
    if (infoSize == CoreHeaderSize) {
        layout.size = QSize(field<quint16>(start, 18), field<quint16>(start, 20));
        layout.bitsPerPixel = field<quint16>(start, 24);
    } else if (infoSize >= InfoHeaderSize && start.size() >= BmpHeaderBytes) {
        const qint64 height = std::abs(qint64(field<qint32>(start, 22))); // negative: top-down
        if (height > std::numeric_limits<qint32>::max())
            return std::nullopt;
        layout.size = QSize(field<qint32>(start, 18), int(height));
        layout.bitsPerPixel = field<quint16>(start, 28);
        layout.compression = field<quint32>(start, 30);
    } else {
        return std::nullopt;
    }
    const bool unpacked =
        layout.compression == 0 || layout.compression == 3 || layout.compression == 6;
    // An offset inside the headers is broken; readers then find the pixels
    // themselves, so nothing is promised.
    if (unpacked && pixelOffset >= 14 + infoSize && layout.size.width() > 0 &&
        layout.size.height() > 0 && layout.bitsPerPixel > 0) {
        // At most 2^31 pixels of 2^16 bits: no overflow up to here.
        const qint64 rowBits = qint64(layout.size.width()) * layout.bitsPerPixel;
        const qint64 stride = (rowBits + 31) / 32 * 4;
        // A header may promise more than 64 bits can count; no file holds
        // that much, so the largest count stands for it.
        qint64 end = 0;
        if (qMulOverflow(stride, qint64(layout.size.height() - 1), &end) ||
            qAddOverflow(end, qint64(pixelOffset) + (rowBits + 7) / 8, &end))
            end = std::numeric_limits<qint64>::max();
        layout.pixelDataEnd = end;
    }
    return layout;
}
