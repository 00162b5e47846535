#include "TestMain.h"

#include "CanvasFixtures.h"

#include "canvas/Canvas.h"
#include "canvas/Colour.h"
#include "imageops/RowShifting.h"

#include <array>
#include <cstdint>
#include <numeric>

using Shifts = std::array<std::int16_t, 512>;
Q_DECLARE_METATYPE(Shifts)

namespace {

constexpr QRgb GreyWord = 0xff808080u;

Shifts filledShifts(int shift) {
    Shifts shifts;
    shifts.fill(std::int16_t(shift));
    return shifts;
}

// Every interesting shift, cycled over the rows.
Shifts edgeShifts() {
    const int values[] = {0, 1, 2, 3, 255, 509, 510, 511, 512, 1000, 32767};
    Shifts shifts;
    for (std::size_t i = 0; i < shifts.size(); ++i)
        shifts[i] = std::int16_t(values[i % std::size(values)]);
    return shifts;
}

Shifts oneRow(int row, int shift) {
    Shifts shifts{};
    shifts[std::size_t(row)] = std::int16_t(shift);
    return shifts;
}

// CORRECT as the plain walk through the canvas's own pixel operations.
void correctPixelByPixel(Canvas& canvas, const Shifts& shifts) {
    canvas.clear();
    canvas.setPersistent(true);
    for (int i = 0; i < 512; ++i) {
        const int s = shifts[std::size_t(i)];
        if (s == 0)
            continue;
        for (int j = 0; j <= 511 - s; ++j)
            canvas.setPixel(float(j), float(i), canvas.pixel(float(j + s), float(i)));
        for (int j = 511 - s; j <= 511; ++j)
            canvas.setPixel(float(j), float(i), colours::Grey);
    }
    canvas.setPersistent(false);
}

Canvas canvasIn(const QString& state) {
    Canvas canvas;
    if (state == QLatin1String("start-up"))
        setUpAsAtStartUp(canvas);
    else
        setUpAsLoaded(canvas, patternedPicture());
    return canvas;
}

QImage mirrored(const QImage& image) {
    return image.mirrored(true, false);
}

} // namespace

class RowShiftingTest : public QObject {
    Q_OBJECT
private slots:
    void matchesPixelWalk_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<Shifts>("shifts");
        for (const char* state : {"loaded", "start-up"}) {
            const QByteArray name(state);
            QTest::newRow(name + ", all zero") << QString(state) << Shifts{};
            QTest::newRow(name + ", all one") << QString(state) << filledShifts(1);
            QTest::newRow(name + ", edge shifts") << QString(state) << edgeShifts();
        }
    }
    void matchesPixelWalk() {
        QFETCH(QString, state);
        QFETCH(Shifts, shifts);
        Canvas fast = canvasIn(state);
        Canvas walked = fast;
        correctRows(fast, shifts);
        correctPixelByPixel(walked, shifts);
        QCOMPARE(fast.imageLayer(), walked.imageLayer());
    }

    void zeroTableOnlyRemovesOverlay() {
        Canvas canvas;
        const QImage picture = patternedPicture();
        setUpAsLoaded(canvas, picture);
        QVERIFY(!canvas.overlayIsEmpty());
        std::vector<int> reported;
        correctRows(canvas, Shifts{}, [&](int i) { reported.push_back(i); });
        QCOMPARE(canvas.imageLayer(), picture);
        QVERIFY(canvas.overlayIsEmpty());
        QVERIFY(!canvas.persistent());
        std::vector<int> expected(512);
        std::iota(expected.begin(), expected.end(), 0);
        QCOMPARE(reported, expected);
    }

    void shiftOfOneMovesRowAndGreysTwoColumns() {
        Canvas canvas;
        const QImage picture = patternedPicture();
        setUpAsLoaded(canvas, picture);
        correctRows(canvas, oneRow(100, 1));
        const QImage& layer = canvas.imageLayer();
        const int pixelRow = 511 - 100;
        for (int j = 0; j <= 509; ++j)
            QCOMPARE(pixelRowOf(layer, pixelRow)[j], pixelRowOf(picture, pixelRow)[j + 1]);
        QCOMPARE(pixelRowOf(layer, pixelRow)[510], GreyWord);
        QCOMPARE(pixelRowOf(layer, pixelRow)[511], GreyWord);
        QCOMPARE(canvas.pixel(510, 100), colours::Grey);
        for (int row = 0; row < 512; ++row) {
            if (row == pixelRow)
                continue;
            QVERIFY2(std::equal(pixelRowOf(layer, row), pixelRowOf(layer, row) + 512,
                                pixelRowOf(picture, row)),
                     qPrintable(QStringLiteral("pixel row %1 changed").arg(row)));
        }
    }

    void largeShiftGreysWholeRow_data() {
        QTest::addColumn<int>("shift");
        QTest::newRow("511") << 511;
        QTest::newRow("512") << 512;
        QTest::newRow("32767") << 32767;
    }
    void largeShiftGreysWholeRow() {
        QFETCH(int, shift);
        Canvas canvas;
        setUpAsLoaded(canvas, patternedPicture());
        correctRows(canvas, oneRow(7, shift));
        const QRgb* row = pixelRowOf(canvas.imageLayer(), 511 - 7);
        QVERIFY(std::all_of(row, row + 512, [](QRgb word) { return word == GreyWord; }));
    }

    void correctingTwiceShiftsTwice() {
        Canvas twice;
        setUpAsLoaded(twice, patternedPicture());
        Canvas once = twice;
        Shifts shifts = edgeShifts();
        Shifts doubled;
        for (std::size_t i = 0; i < shifts.size(); ++i) {
            shifts[i] = std::int16_t(std::min<int>(shifts[i], 1000));
            doubled[i] = std::int16_t(2 * shifts[i]);
        }
        correctRows(twice, shifts);
        correctRows(twice, shifts);
        correctRows(once, doubled);
        QCOMPARE(twice.imageLayer(), once.imageLayer());
    }

    // Before any load the clear wipes the start-up drawing; the start-up
    // scale maps the logical rows 1..511 to the pixel rows 511..1, and row 0
    // onto the same bottom pixel row as row 1, which is so shifted twice.
    void beforeImageLoadGivesWhiteRowsWithGreyEnds() {
        Canvas canvas;
        setUpAsAtStartUp(canvas);
        correctRows(canvas, filledShifts(5));
        QVERIFY(!canvas.persistent());
        const QImage& layer = canvas.imageLayer();
        const QRgb White = 0xffffffffu;
        auto greyFrom = [&](int pixelRow) {
            const QRgb* row = pixelRowOf(layer, pixelRow);
            const int firstGrey = int(std::find(row, row + 512, GreyWord) - row);
            const bool restWhite =
                std::all_of(row, row + firstGrey, [&](QRgb w) { return w == White; });
            const bool endGrey =
                std::all_of(row + firstGrey, row + 512, [](QRgb w) { return w == GreyWord; });
            return restWhite && endGrey ? firstGrey : -1;
        };
        QCOMPARE(greyFrom(0), 512); // logical y = 512 is no row of the table
        for (int pixelRow = 1; pixelRow <= 510; ++pixelRow)
            QCOMPARE(greyFrom(pixelRow), 511 - 5);
        QCOMPARE(greyFrom(511), 511 - 2 * 5);
    }

    void negativeShiftLeavesRowAlone() {
        Canvas canvas;
        const QImage picture = patternedPicture();
        setUpAsLoaded(canvas, picture);
        Shifts shifts{};
        shifts[0] = -1;
        shifts[300] = -511;
        shifts[511] = -32768;
        correctRows(canvas, shifts);
        QCOMPARE(canvas.imageLayer(), picture);

        QImage image = picture;
        QVERIFY(shiftRows(image, shifts));
        QCOMPARE(image, picture);
    }

    void plainImageMatchesCanvas() {
        Canvas canvas;
        const QImage picture = patternedPicture();
        setUpAsLoaded(canvas, picture);
        correctRows(canvas, edgeShifts());
        QImage image = picture;
        QVERIFY(shiftRows(image, edgeShifts()));
        QCOMPARE(image, canvas.imageLayer());
    }

    // A scale whose columns run right to left takes the pixel-by-pixel
    // road: logical left is then pixel right.
    void mirroredScaleShiftsTheOtherWay() {
        const QImage picture = patternedPicture();
        Canvas canvas;
        canvas.setBackgroundPicture(mirrored(picture));
        canvas.setPersistent(false);
        canvas.setScale(511, 511, 0, 0);
        correctRows(canvas, edgeShifts());
        QImage expected = picture;
        QVERIFY(shiftRows(expected, edgeShifts()));
        QCOMPARE(mirrored(canvas.imageLayer()), expected);
    }

    void sixteenBitGreyKeepsDepth() {
        QImage image(512, 512, QImage::Format_Grayscale16);
        for (int row = 0; row < 512; ++row) {
            auto* words = reinterpret_cast<quint16*>(image.scanLine(row));
            for (int column = 0; column < 512; ++column)
                words[column] = quint16(column * 128 + row);
        }
        const QImage original = image;
        QVERIFY(shiftRows(image, oneRow(20, 1)));
        const auto* shifted = reinterpret_cast<const quint16*>(image.constScanLine(511 - 20));
        const auto* before = reinterpret_cast<const quint16*>(original.constScanLine(511 - 20));
        QVERIFY(std::equal(shifted, shifted + 510, before + 1));
        QCOMPARE(shifted[510], quint16(32896));
        QCOMPARE(shifted[511], quint16(32896));
        QCOMPARE(image.format(), QImage::Format_Grayscale16);
    }

    void refusesOtherImages_data() {
        QTest::addColumn<QImage>("image");
        QTest::newRow("256 x 256") << patternedPicture(256, 256);
        QTest::newRow("512 x 513") << patternedPicture(512, 513);
        QTest::newRow("24-bit RGB") << patternedPicture().convertToFormat(QImage::Format_RGB888);
        QTest::newRow("8-bit palette")
            << patternedPicture().convertToFormat(QImage::Format_Indexed8);
        QTest::newRow("null") << QImage();
    }
    void refusesOtherImages() {
        QFETCH(QImage, image);
        const QImage before = image;
        QVERIFY(!shiftRows(image, filledShifts(3)));
        QCOMPARE(image, before);
    }
};

ROWSHIFT_TEST_MAIN(RowShiftingTest)
#include "tst_rowshifting.moc"
