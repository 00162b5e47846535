#include "io/ImageFiles.h"

#include "io/AtomicFile.h"
#include "io/BmpHeader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <limits>

namespace {

// Enough for the largest image that passes MaxImagePixels in 16-bit RGBA,
// the widest format a plugin decodes into.
constexpr int AllocationLimitMB = int(MaxImagePixels * 8 / (1024 * 1024));

QString shown(const QString& fileName) {
    return QDir::toNativeSeparators(fileName);
}

QString problemWithSource(const QString& fileName) {
    if (fileName.isEmpty())
        return QStringLiteral("No file name was given.");
    const QFileInfo source(fileName);
    if (!source.exists())
        return QStringLiteral("\"%1\" does not exist.").arg(shown(fileName));
    if (source.isDir())
        return QStringLiteral("\"%1\" is a folder, not an image file.").arg(shown(fileName));
    if (source.size() == 0)
        return QStringLiteral("\"%1\" is empty.").arg(shown(fileName));
    return {};
}

LoadedImage failure(const QString& message) {
    return LoadedImage{QImage(), message};
}

// The first bytes of a file, for a look at its header.
QByteArray headOf(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.read(BmpHeaderBytes) : QByteArray();
}

QString tooLarge(const QString& fileName, QSize size) {
    return QStringLiteral("\"%1\" claims to be %2 x %3 pixels; images of more than %4 "
                          "megapixels are not loaded.")
        .arg(shown(fileName))
        .arg(size.width())
        .arg(size.height())
        .arg(MaxImagePixels / (1024 * 1024));
}

bool isLarger(QSize size) {
    return qint64(size.width()) * size.height() > MaxImagePixels;
}

} // namespace

LoadedImage loadImageKeepingFormat(const QString& fileName) {
    if (QString problem = problemWithSource(fileName); !problem.isEmpty())
        return failure(problem);

    QImageReader reader(fileName);
    reader.setAllocationLimit(AllocationLimitMB);
    if (!reader.canRead())
        return failure(QStringLiteral("\"%1\" is not an image that can be read (%2).")
                           .arg(shown(fileName), reader.errorString()));
    // The header's word is checked before any pixel memory is asked for. A
    // BMP header that the reader finds too odd to give a size is read here.
    const std::optional<BmpLayout> bmp = readBmpLayout(headOf(fileName));
    QSize claimed = reader.size();
    if (!claimed.isValid() && bmp)
        claimed = bmp->size;
    if (claimed.isValid() && isLarger(claimed))
        return failure(tooLarge(fileName, claimed));
    // Qt reads a BMP that is cut short without complaint, with the missing
    // rows black: a frame with lost rows must not pass for a whole one.
    const qint64 fileSize = QFileInfo(fileName).size();
    if (bmp && bmp->pixelDataEnd && fileSize < *bmp->pixelDataEnd)
        return failure(QStringLiteral("\"%1\" is cut short: it has %2 bytes, its header "
                                      "promises %3.")
                           .arg(shown(fileName))
                           .arg(fileSize)
                           .arg(*bmp->pixelDataEnd));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return failure(QStringLiteral("\"%1\" could not be read as an image (%2).")
                           .arg(shown(fileName), reader.errorString()));
    if (isLarger(image.size()))
        return failure(tooLarge(fileName, image.size()));
    return LoadedImage{std::move(image), QString()};
}

LoadedImage loadImage(const QString& fileName) {
    const LoadedImage loaded = loadImageKeepingFormat(fileName);
    if (!loaded.ok())
        return loaded;
    return rgb32Image(loaded.image, fileName);
}

LoadedImage rgb32Image(const QImage& image, const QString& fileName) {
    // One pixel format for everything that is loaded: opaque 0xffRRGGBB.
    // Converting RGB32 from ARGB32 masks the alpha byte and keeps the colour.
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return failure(QStringLiteral("\"%1\" could not be converted to RGB (out of memory?).")
                           .arg(shown(fileName)));
    return LoadedImage{std::move(rgb), QString()};
}

// The file is written here rather than by Qt's BMP writer: that one goes
// through a stream into a growing buffer and takes about twice the file's
// size on top of it, and it needs the image's resolution set, which copies
// the pixels whenever the image is shared. These are the very bytes Qt
// writes for an RGB32 image: the 14-byte file header, the 40-byte info
// header, then the rows bottom-up as blue, green, red, each padded with
// zeros to a multiple of four bytes.
QByteArray bmp24Bytes(const QImage& image) {
    if (image.isNull())
        return {};
    // Palettes are looked up and alpha is dropped on the way to RGB32.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return {};
    const qint64 width = rgb.width();
    const qint64 height = rgb.height();
    const qint64 stride = (width * 3 + 3) / 4 * 4;
    const qint64 pixelBytes = stride * height;
    const qint64 fileBytes = BmpHeaderBytes + pixelBytes;
    if (fileBytes > std::numeric_limits<qint32>::max()) // the header's sizes are 32-bit
        return {};

    QByteArray bytes(fileBytes, '\0'); // the padding stays zero
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    const auto put32 = [out](int offset, qint64 value) {
        qToLittleEndian<quint32>(quint32(value), out + offset);
    };
    const auto put16 = [out](int offset, int value) {
        qToLittleEndian<quint16>(quint16(value), out + offset);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, fileBytes);
    put32(10, BmpHeaderBytes); // where the pixels start
    put32(14, 40);             // the size of the info header
    put32(18, width);
    put32(22, height); // positive: bottom-up
    put16(26, 1);      // planes
    put16(28, 24);     // bits per pixel
    put32(30, 0);      // no compression
    put32(34, pixelBytes);
    put32(38, SavedDotsPerMeter);
    put32(42, SavedDotsPerMeter);
    // Colours used and important: 0, as the zeros already say.

    for (qint64 y = 0; y < height; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constScanLine(int(height - 1 - y)));
        uchar* row = out + BmpHeaderBytes + y * stride;
        for (qint64 x = 0; x < width; ++x) {
            row[3 * x] = uchar(qBlue(pixels[x]));
            row[3 * x + 1] = uchar(qGreen(pixels[x]));
            row[3 * x + 2] = uchar(qRed(pixels[x]));
        }
    }
    return bytes;
}

QString saveImage(const QImage& image, const QString& fileName) {
    if (image.isNull())
        return QStringLiteral("There is no image to save.");
    const QByteArray bytes = bmp24Bytes(image);
    if (bytes.isEmpty())
        return QStringLiteral("Could not save \"%1\": the image could not be encoded as a "
                              "24-bit BMP.")
            .arg(shown(fileName));
    return writeFileAtomically(fileName, bytes);
}
