#include "cli/FrameFile.h"

#include "imageops/FrameCorrection.h"
#include "io/AtomicFile.h"
#include "io/ImageFiles.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>

namespace {

QString shown(const QString& fileName) {
    return QDir::toNativeSeparators(fileName);
}

// More than 8 bits in some colour channel: 10-bit and 16-bit colour, and
// floating point.
bool isDeepColour(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_BGR30:
    case QImage::Format_A2BGR30_Premultiplied:
    case QImage::Format_RGB30:
    case QImage::Format_A2RGB30_Premultiplied:
        return true;
    default:
        return image.depth() > 32;
    }
}

// The lossless encoding of frame; null when the encoder fails.
QByteArray encoded(QImage frame, OutputFormat format) {
    // The same resolution as the window's BMP, whatever machine this runs on.
    frame.setDotsPerMeterX(SavedDotsPerMeter);
    frame.setDotsPerMeterY(SavedDotsPerMeter);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format == OutputFormat::Tiff ? "tiff" : "png");
    if (!writer.write(frame))
        return {};
    return bytes;
}

QString written(const FramePlan& plan, const QImage& frame) {
    // The window's SAVE, byte for byte.
    if (plan.format == OutputFormat::Bmp)
        return saveImage(frame, plan.output);
    const QByteArray bytes = encoded(frame, plan.format);
    if (bytes.isEmpty())
        return QStringLiteral("Could not save \"%1\": the image could not be encoded.")
            .arg(shown(plan.output));
    return writeFileAtomically(plan.output, bytes);
}

} // namespace

QString correctFrameFile(const FramePlan& plan, RowShiftTable shifts, bool keepDepth) {
    if (!plan.refusal.isEmpty())
        return plan.refusal;
    if (!keepDepth) {
        const LoadedImage loaded = loadImage(plan.input);
        if (!loaded.ok())
            return loaded.error;
        return written(plan, correctedFrame(loaded.image, shifts));
    }

    const LoadedImage loaded = loadImageKeepingFormat(plan.input);
    if (!loaded.ok())
        return loaded.error;
    if (loaded.image.format() == QImage::Format_Grayscale16 && plan.format != OutputFormat::Bmp) {
        const QImage frame = correctedGrey16Frame(loaded.image, shifts);
        if (frame.isNull())
            return QStringLiteral("\"%1\" could not be corrected (out of memory?).")
                .arg(shown(plan.input));
        return written(plan, frame);
    }
    // Cutting such an image to 8 bits is what --keep-depth is there to prevent.
    if (isDeepColour(loaded.image))
        return QStringLiteral("\"%1\" is not corrected: it has more than 8 bits per colour "
                              "channel, and only 16-bit grey images keep their depth. Without "
                              "--keep-depth it is written with 8 bits per channel.")
            .arg(shown(plan.input));
    const LoadedImage rgb = rgb32Image(loaded.image, plan.input);
    if (!rgb.ok())
        return rgb.error;
    return written(plan, correctedFrame(rgb.image, shifts));
}
