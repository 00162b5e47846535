#include "TestMain.h"

#include "CanvasFixtures.h"

#include "canvas/Canvas.h"
#include "canvas/Colour.h"
#include "imageops/ColumnProfile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

namespace {

constexpr QRgb WhiteWord = 0xffffffffu;
constexpr float Untouched = -7.0f;

// White's term is 256 - 16777215 / 65536 = 2^-16; 510 of them add up exactly.
constexpr float WhiteSum = 510.0f / 65536.0f;

// QCOMPARE forgives floats a relative 1e-5; these sums must match exactly.
quint32 bitsOf(float value) {
    return std::bit_cast<quint32>(value);
}

ColumnProfile freshProfile() {
    ColumnProfile profile;
    profile.fill(Untouched);
    return profile;
}

QImage whiteWithColumn(int column, QRgb word) {
    QImage picture = filledPicture(WhiteWord);
    for (int row = 0; row < 512; ++row)
        picture.setPixel(column, row, word);
    return picture;
}

bool hasColour(const QImage& layer, Colour colour) {
    const QRgb word = colours::toPixelWord(colour);
    for (int row = 0; row < layer.height(); ++row) {
        const QRgb* words = pixelRowOf(layer, row);
        if (std::find(words, words + 512, word) != words + 512)
            return true;
    }
    return false;
}

// Colours from every corner of the cube, darker on the left so that some
// columns climb past 65536, where single precision drops the low bits of
// every term.
QImage noisyPicture() {
    QImage image(512, 512, QImage::Format_RGB32);
    quint32 state = 2463534242u;
    for (int row = 0; row < 512; ++row) {
        for (int column = 0; column < 512; ++column) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int blueCeiling = 1 + column / 2;
            image.setPixel(
                column, row,
                qRgb(int(state & 0xff), int(state >> 8 & 0xff), int(state >> 16) % blueCeiling));
        }
    }
    return image;
}

// The sums exactly as described: column by column, each term formed in
// double precision and each partial sum stored in single precision.
ColumnProfile literalSums(const Canvas& canvas) {
    ColumnProfile sums{};
    for (int i = 1; i <= 510; ++i) {
        float sum = 0;
        for (int j = 1; j <= 510; ++j) {
            const Colour c = canvas.pixel(float(i), float(j));
            sum = float((double(sum) + 256.0) - double(c) / 256.0 / 256.0);
        }
        sums[std::size_t(i)] = sum;
    }
    return sums;
}

} // namespace

class ColumnProfileTest : public QObject {
    Q_OBJECT
private slots:
    void oneColumnOnWhite_data() {
        QTest::addColumn<QRgb>("word");
        QTest::addColumn<float>("sum");
        QTest::newRow("black") << qRgb(0, 0, 0) << 510.0f * 256;
        QTest::newRow("blue 255 counts 1") << qRgb(0, 0, 255) << 510.0f;
        QTest::newRow("blue 128 counts 128") << qRgb(0, 0, 128) << 510.0f * 128;
        // Red's term falls short of black's by 255/65536, which once the sum
        // passes 65536 is less than half a step of single precision: the
        // partial sums kept in single precision end at 130559, where exact
        // sums would give 130558.016.
        QTest::newRow("red reads almost black") << qRgb(255, 0, 0) << 130559.0f;
        QTest::newRow("white") << qRgb(255, 255, 255) << WhiteSum;
    }
    void oneColumnOnWhite() {
        QFETCH(QRgb, word);
        QFETCH(float, sum);
        Canvas canvas;
        const QImage picture = whiteWithColumn(200, word);
        setUpAsLoaded(canvas, picture);
        ColumnProfile profile = freshProfile();
        verticalAverage(canvas, profile);

        QCOMPARE(bitsOf(profile[200]), bitsOf(sum));
        for (int i = 1; i <= 510; ++i) {
            if (i != 200)
                QCOMPARE(bitsOf(profile[std::size_t(i)]), bitsOf(WhiteSum));
        }
        QCOMPARE(bitsOf(profile[0]), bitsOf(Untouched));
        QCOMPARE(bitsOf(profile[511]), bitsOf(Untouched));

        // The graph's highest point is y = 256 (pixel row 255 under the
        // image scale); where the column is darker, only it reaches there.
        const QImage& layer = canvas.imageLayer();
        QCOMPARE(canvas.pixel(200, 256), colours::Red);
        QCOMPARE(layer.copy(0, 0, 512, 255), picture.copy(0, 0, 512, 255));
        const bool flat = profile[200] == WhiteSum;
        QCOMPARE(canvas.pixel(100, 256) == colours::Red, flat);
        QCOMPARE(canvas.pixel(100, 0) == colours::Red, !flat);
        QCOMPARE(canvas.pixel(0, flat ? 256 : 0), colours::White); // no line left of column 1
    }

    void allWhiteIsFlatJustUnderOneHundredTwentyFifth() {
        Canvas canvas;
        setUpAsLoaded(canvas, filledPicture(WhiteWord));
        ColumnProfile profile = freshProfile();
        std::vector<int> reported;
        verticalAverage(canvas, profile, [&](int i) { reported.push_back(i); });
        QVERIFY(WhiteSum < 0.008f && WhiteSum > 0.0077f);
        QVERIFY(std::all_of(profile.begin() + 1, profile.begin() + 511,
                            [](float p) { return p == WhiteSum; }));
        for (int i = 1; i <= 510; ++i)
            QCOMPARE(canvas.pixel(float(i), 256), colours::Red);
        std::vector<int> expected(510);
        std::iota(expected.begin(), expected.end(), 1);
        QCOMPARE(reported, expected);
        QVERIFY(canvas.overlayIsEmpty()); // the control points are gone
        QVERIFY(!canvas.persistent());
    }

    void outerRowsAndColumnsAreNeverRead() {
        QImage picture = filledPicture(WhiteWord);
        for (int k = 0; k < 512; ++k) {
            for (const int edge : {0, 511}) {
                picture.setPixel(k, edge, qRgb(0, 0, 0));
                picture.setPixel(edge, k, qRgb(0, 0, 0));
            }
        }
        Canvas canvas;
        setUpAsLoaded(canvas, picture);
        ColumnProfile profile = freshProfile();
        verticalAverage(canvas, profile);
        QVERIFY(std::all_of(profile.begin() + 1, profile.begin() + 511,
                            [](float p) { return p == WhiteSum; }));
    }

    // Before any load the clear rebuilds the image layer, wiping the start-up
    // control points, and the start-up scale puts y = 256 on pixel row 256.
    void beforeImageLoadReadsWhite() {
        Canvas canvas;
        setUpAsAtStartUp(canvas);
        QVERIFY(hasColour(canvas.imageLayer(), colours::Green));
        ColumnProfile profile = freshProfile();
        verticalAverage(canvas, profile);
        QVERIFY(std::all_of(profile.begin() + 1, profile.begin() + 511,
                            [](float p) { return p == WhiteSum; }));
        QVERIFY(!hasColour(canvas.imageLayer(), colours::Green));
        QCOMPARE(pixelRowOf(canvas.imageLayer(), 256)[300], colours::toPixelWord(colours::Red));
        QVERIFY(!canvas.persistent());
    }

    // Every column bit for bit as the column-by-column walk gives it, under
    // the image scale and under a scale that reaches past the drawing area,
    // where off-canvas reads count as NoColour.
    void sumsMatchTheLiteralWalk_data() {
        QTest::addColumn<QRectF>("scale"); // (x1, y1) top left, (x2, y2) bottom right
        QTest::newRow("image scale") << QRectF(QPointF(0, 511), QPointF(511, 0));
        QTest::newRow("rows past the top") << QRectF(QPointF(0, 400), QPointF(511, 0));
        QTest::newRow("reaching past the canvas") << QRectF(QPointF(-40, 530), QPointF(560, -20));
    }
    void sumsMatchTheLiteralWalk() {
        QFETCH(QRectF, scale);
        const QImage picture = noisyPicture();
        Canvas canvas;
        canvas.setBackgroundPicture(picture);
        canvas.setPersistent(false);
        canvas.setScale(scale.left(), scale.top(), scale.right(), scale.bottom());
        const ColumnProfile expected = literalSums(canvas);
        QVERIFY(*std::max_element(expected.begin(), expected.end()) > 65536.0f);

        ColumnProfile fromCanvas = freshProfile();
        verticalAverage(canvas, fromCanvas);
        for (int i = 1; i <= 510; ++i)
            QCOMPARE(bitsOf(fromCanvas[std::size_t(i)]), bitsOf(expected[std::size_t(i)]));
    }

    void plainImageMatchesCanvas() {
        const QImage picture = patternedPicture();
        Canvas canvas;
        setUpAsLoaded(canvas, picture);
        ColumnProfile fromCanvas = freshProfile();
        verticalAverage(canvas, fromCanvas);
        ColumnProfile fromImage = freshProfile();
        QVERIFY(columnProfile(picture, fromImage));
        QCOMPARE(std::memcmp(fromCanvas.data(), fromImage.data(), sizeof(ColumnProfile)), 0);
        QCOMPARE(picture, patternedPicture()); // nothing drawn into the plain image

        ColumnProfile refused = freshProfile();
        QVERIFY(!columnProfile(patternedPicture(256, 256), refused));
        QCOMPARE(refused, freshProfile());
    }

    // A scale whose columns run right to left reads each logical column
    // from the mirrored pixel column.
    void mirroredScaleReadsThroughTheScale() {
        const QImage picture = patternedPicture();
        Canvas canvas;
        canvas.setBackgroundPicture(picture.mirrored(true, false));
        canvas.setPersistent(false);
        canvas.setScale(511, 511, 0, 0);
        ColumnProfile fromCanvas = freshProfile();
        verticalAverage(canvas, fromCanvas);
        ColumnProfile fromImage = freshProfile();
        QVERIFY(columnProfile(picture, fromImage));
        QCOMPARE(std::memcmp(fromCanvas.data(), fromImage.data(), sizeof(ColumnProfile)), 0);
    }
};

ROWSHIFT_TEST_MAIN(ColumnProfileTest)
#include "tst_columnprofile.moc"
