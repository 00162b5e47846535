#include "io/ImageFiles.h"

#include "io/AtomicFile.h"
#include "io/BmpHeader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

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
    // The image reader would call a file it may not open "not found".
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("\"%1\" cannot be read: %2.")
            .arg(shown(fileName), file.errorString());
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

QByteArray bmp24Bytes(const QImage& image) {
    if (image.isNull())
        return {};
    // Qt's BMP writer stores 32-bit images as 24-bit BMP; 8-bit or 1-bit
    // images would keep their palette, so everything goes through RGB32.
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    rgb.setDotsPerMeterX(SavedDotsPerMeter);
    rgb.setDotsPerMeterY(SavedDotsPerMeter);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(rgb))
        return {};
    buffer.close();
    const auto written = readBmpLayout(bytes);
    if (!written || written->size != rgb.size() || written->bitsPerPixel != 24 ||
        written->compression != 0 || !written->pixelDataEnd ||
        bytes.size() < *written->pixelDataEnd)
        return {};
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
