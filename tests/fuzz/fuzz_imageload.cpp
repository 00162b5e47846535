// Any bytes, saved as a .bmp file, through the load paths: the window's
// (loadImage, then the canvas's background picture) and rowshift-cli's (the
// decoded image, as a frame, or corrected at 16 bits). Whatever the bytes
// hold, either the load succeeds with an RGB32 picture that the canvas then
// shows exactly, and the tool's frame is the same, or it fails with a
// message and the canvas keeps every pixel, its scale and its switch.

#include "FuzzCheck.h"

#include "canvas/Canvas.h"
#include "canvas/ControlPoints.h"
#include "canvas/DrawPoints.h"
#include "imageops/FrameCorrection.h"
#include "io/ImageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// tmpfs where there is one: the input is written anew for every run.
QString scratchTemplate() {
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        return QStringLiteral("/dev/shm/rowshift-fuzz-XXXXXX");
    return QDir::temp().filePath(QStringLiteral("rowshift-fuzz-XXXXXX"));
}

struct Fixture {
    QTemporaryDir folder{scratchTemplate()};
    QString fileName;
    Canvas before; // as after start-up and a first load: points in both layers
};
Fixture* fixture = nullptr;

void writeInput(const uint8_t* data, size_t size) {
    QFile file(fixture->fileName);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_REQUIRE(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
}

// Whether the image layer shows exactly picture's top-left 512 x 512 pixels
// over white. Row by row, without a second image: every run counts.
bool showsExactly(const QImage& layer, const QImage& picture) {
    const int width = std::min(picture.width(), Canvas::Size);
    const int height = std::min(picture.height(), Canvas::Size);
    const auto isWhite = [](QRgb word) { return (word & 0xffffff) == 0xffffff; };
    for (int row = 0; row < Canvas::Size; ++row) {
        const auto* shown = reinterpret_cast<const QRgb*>(layer.constScanLine(row));
        int column = 0;
        if (row < height) {
            const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
            for (; column < width; ++column) {
                if ((shown[column] & 0xffffff) != (source[column] & 0xffffff))
                    return false;
            }
        }
        if (!std::all_of(shown + column, shown + Canvas::Size, isWhite))
            return false;
    }
    return true;
}

bool sameCanvas(const Canvas& a, const Canvas& b) {
    return a.imageLayer() == b.imageLayer() && a.overlay() == b.overlay() &&
           a.overlayIsEmpty() == b.overlayIsEmpty() && a.persistent() == b.persistent() &&
           a.scale().x1 == b.scale().x1 && a.scale().y1 == b.scale().y1 &&
           a.scale().x2 == b.scale().x2 && a.scale().y2 == b.scale().y2;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // the image plugins and fonts
    static Fixture f;
    FUZZ_REQUIRE(f.folder.isValid());
    f.fileName = f.folder.filePath(QStringLiteral("input.bmp"));
    f.before.setScale(0, 512, 512, 0);
    DrawPoints(f.before, defaultPx(), defaultPy());
    f.before.setPersistent(false);
    DrawPoints(f.before, defaultPx(), defaultPy());
    fixture = &f;
    return 0;
}

namespace {

// The window: LOAD onto a canvas that already shows something.
void checkWindowLoad(const LoadedImage& loaded) {
    Canvas canvas = fixture->before;
    if (loaded.ok())
        canvas.setBackgroundPicture(loaded.image);

    if (!loaded.ok()) {
        FUZZ_REQUIRE(loaded.image.isNull());
        FUZZ_REQUIRE(loaded.error.contains(QDir::toNativeSeparators(fixture->fileName)));
        FUZZ_REQUIRE(sameCanvas(canvas, fixture->before));
        return;
    }
    const QImage& picture = loaded.image;
    FUZZ_REQUIRE(!picture.isNull());
    FUZZ_REQUIRE(picture.format() == QImage::Format_RGB32);
    FUZZ_REQUIRE(qint64(picture.width()) * picture.height() <= MaxImagePixels);
    FUZZ_REQUIRE(showsExactly(canvas.imageLayer(), picture));
    FUZZ_REQUIRE(canvas.imageLayer().format() == QImage::Format_RGB32);
    FUZZ_REQUIRE(canvas.overlayIsEmpty());
    // The tool's LOAD gives the window's pixels.
    FUZZ_REQUIRE(loadedFrame(picture) == canvas.imageLayer());
}

// The tool with --keep-depth: a 16-bit grey image keeps its samples.
void checkDeepFrame(const QImage& decoded) {
    if (decoded.format() != QImage::Format_Grayscale16)
        return;
    static const std::array<std::int16_t, 512> shifts = [] {
        std::array<std::int16_t, 512> table{};
        for (std::size_t row = 0; row < table.size(); ++row)
            table[row] = std::int16_t(row * 37 % 600); // some beyond the width
        return table;
    }();
    const QImage frame = correctedGrey16Frame(decoded, shifts);
    FUZZ_REQUIRE(frame.size() == QSize(Canvas::Size, Canvas::Size));
    FUZZ_REQUIRE(frame.format() == QImage::Format_Grayscale16);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    // loadImage is loadImageKeepingFormat followed by rgb32Image: taken
    // apart, one decoding serves both paths.
    const LoadedImage decoded = loadImageKeepingFormat(fixture->fileName);
    const LoadedImage loaded =
        decoded.ok() ? rgb32Image(decoded.image, fixture->fileName) : decoded;
    checkWindowLoad(loaded);
    if (decoded.ok())
        checkDeepFrame(decoded.image);
    return 0;
}
