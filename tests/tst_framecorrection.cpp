#include "TestMain.h"

#include "CanvasFixtures.h"
#include "imageops/FrameCorrection.h"

#include <array>

namespace {

using Table = std::array<std::int16_t, 512>;

// Logical row i is pixel row 511 - i under the image scale.
Table shiftsAtPixelRows(std::initializer_list<std::pair<int, int>> pixelRowShifts) {
    Table table{};
    for (const auto& [pixelRow, shift] : pixelRowShifts)
        table[std::size_t(511 - pixelRow)] = std::int16_t(shift);
    return table;
}

quint16 sample(const QImage& image, int column, int row) {
    return reinterpret_cast<const quint16*>(image.constScanLine(row))[column];
}

} // namespace

class FrameCorrectionTest : public QObject {
    Q_OBJECT
private slots:
    // The frame is the window's canvas after LOAD and CORRECT, also for a
    // picture that is narrower and taller than the canvas.
    void frameIsTheCanvasAfterLoadAndCorrect() {
        const QImage picture = patternedPicture(300, 600);
        const Table table = shiftsAtPixelRows({{0, 3}, {5, 511}, {100, 1}, {400, 250}});
        Canvas canvas;
        setUpAsLoaded(canvas, picture);
        correctRows(canvas, table);
        QCOMPARE(correctedFrame(picture, table), canvas.image());
        QCOMPARE(loadedFrame(picture), [&] {
            Canvas loaded;
            loaded.setBackgroundPicture(picture);
            return loaded.image();
        }());
    }

    // 16-bit grey keeps its samples: placed on 16-bit white, the same rows
    // moved by the same shifts, the ends in 16-bit mid-grey.
    void grey16KeepsItsSamples() {
        QImage picture(300, 200, QImage::Format_Grayscale16);
        for (int row = 0; row < picture.height(); ++row) {
            auto* line = reinterpret_cast<quint16*>(picture.scanLine(row));
            for (int column = 0; column < picture.width(); ++column)
                line[column] = quint16(1 + row * 300 + column); // every sample its own
        }
        const Table table = shiftsAtPixelRows({{0, 3}, {511, 600}});
        const QImage frame = correctedGrey16Frame(picture, table);
        QCOMPARE(frame.format(), QImage::Format_Grayscale16);
        QCOMPARE(frame.size(), QSize(512, 512));

        // Pixel row 0, shift 3: the picture moved left, white where it ends,
        // then 4 grey columns.
        QCOMPARE(sample(frame, 0, 0), sample(picture, 3, 0));
        QCOMPARE(sample(frame, 296, 0), sample(picture, 299, 0));
        QCOMPARE(sample(frame, 297, 0), quint16(65535));
        QCOMPARE(sample(frame, 507, 0), quint16(65535));
        for (int column = 508; column < 512; ++column)
            QCOMPARE(sample(frame, column, 0), ShiftFillGrey16);
        // Pixel row 1 is not shifted.
        QCOMPARE(sample(frame, 299, 1), sample(picture, 299, 1));
        QCOMPARE(sample(frame, 300, 1), quint16(65535));
        // Below the picture: white, or all grey under a shift beyond the row.
        QCOMPARE(sample(frame, 0, 200), quint16(65535));
        for (int column = 0; column < 512; ++column)
            QCOMPARE(sample(frame, column, 511), ShiftFillGrey16);

        QVERIFY(correctedGrey16Frame(patternedPicture(), table).isNull());
    }
};

ROWSHIFT_TEST_MAIN(FrameCorrectionTest)
#include "tst_framecorrection.moc"
