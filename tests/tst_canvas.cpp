#include "TestMain.h"

#include "canvas/Canvas.h"

namespace {

struct ScaleCase {
    double x1, y1, x2, y2;
};
constexpr ScaleCase StartUpScale{0, 512, 512, 0};
constexpr ScaleCase ImageScale{0, 511, 511, 0};

CanvasScale scaleOf(const ScaleCase& s) {
    return CanvasScale{s.x1, s.y1, s.x2, s.y2};
}

QRgb layerPixel(const QImage& layer, int column, int row) {
    return layer.pixel(column, row) | 0xff000000u;
}

} // namespace

Q_DECLARE_METATYPE(ScaleCase)

class CanvasTest : public QObject {
    Q_OBJECT
private slots:
    void mapsLogicalPointsToPixels_data() {
        QTest::addColumn<ScaleCase>("scale");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("start-up (256,10)") << StartUpScale << 256.0 << 10.0 << 256 << 502;
        QTest::newRow("start-up top edge") << StartUpScale << 0.0 << 512.0 << 0 << 0;
        QTest::newRow("start-up far corner") << StartUpScale << 512.0 << 0.0 << 511 << 511;
        QTest::newRow("start-up fraction") << StartUpScale << 10.9 << 500.2 << 10 << 11;
        QTest::newRow("image origin") << ImageScale << 0.0 << 0.0 << 0 << 511;
        QTest::newRow("image top right") << ImageScale << 511.0 << 511.0 << 511 << 0;
        QTest::newRow("image middle") << ImageScale << 256.0 << 256.0 << 256 << 255;
        QTest::newRow("image row 1") << ImageScale << 510.0 << 1.0 << 510 << 510;
    }
    void mapsLogicalPointsToPixels() {
        QFETCH(ScaleCase, scale);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, column);
        QFETCH(int, row);
        const CanvasScale s = scaleOf(scale);
        QCOMPARE(s.column(x), std::optional<int>(column));
        QCOMPARE(s.row(y), std::optional<int>(row));
    }

    void pointsOutsideAreOffCanvas_data() {
        QTest::addColumn<ScaleCase>("scale");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("left of start-up") << StartUpScale << -0.01 << 10.0;
        QTest::newRow("above start-up") << StartUpScale << 10.0 << 512.5;
        QTest::newRow("right of image") << ImageScale << 511.5 << 10.0;
        QTest::newRow("below image") << ImageScale << 10.0 << -0.5;
        QTest::newRow("far away") << ImageScale << 1e30 << -1e30;
        QTest::newRow("not a number") << ImageScale << qQNaN() << 3.0;
    }
    void pointsOutsideAreOffCanvas() {
        QFETCH(ScaleCase, scale);
        QFETCH(double, x);
        QFETCH(double, y);
        const CanvasScale s = scaleOf(scale);
        QVERIFY(!s.column(x) || !s.row(y));
        Canvas canvas;
        canvas.setScale(scale.x1, scale.y1, scale.x2, scale.y2);
        QCOMPARE(canvas.pixel(float(x), float(y)), colours::NoColour);
        canvas.setPixel(float(x), float(y), colours::Black); // clipped, no crash
    }

    // Each whole logical row and column of the image scale has a pixel of
    // its own, so that row operations never touch a pixel row twice.
    void imageScaleRowsAndColumnsAreDistinct() {
        const CanvasScale s = scaleOf(ImageScale);
        for (int i = 0; i < 512; ++i) {
            QCOMPARE(s.column(i), std::optional<int>(i));
            QCOMPARE(s.row(i), std::optional<int>(511 - i));
        }
    }

    // A mouse position on a pixel names a logical point that falls on that
    // same pixel again.
    void mouseRuleRoundTrips_data() {
        QTest::addColumn<ScaleCase>("scale");
        QTest::newRow("start-up scale") << StartUpScale;
        QTest::newRow("image scale") << ImageScale;
    }
    void mouseRuleRoundTrips() {
        QFETCH(ScaleCase, scale);
        const CanvasScale s = scaleOf(scale);
        for (int p = 0; p < 512; ++p) {
            const float x = float(s.logicalX(p));
            const float y = float(s.logicalY(p));
            QCOMPARE(s.column(x), std::optional<int>(p));
            QCOMPARE(s.row(y), std::optional<int>(p));
        }
    }

    void clearFollowsTheSwitch() {
        Canvas canvas;
        canvas.setScale(0, 511, 511, 0);
        canvas.setPixel(10, 10, colours::Black); // switch on: image layer
        canvas.setPersistent(false);
        canvas.setPixel(20, 20, colours::Red); // overlay
        QCOMPARE(canvas.pixel(10, 10), colours::Black);
        QCOMPARE(canvas.pixel(20, 20), colours::Red);

        canvas.clear(); // off: only the overlay goes
        QCOMPARE(canvas.pixel(10, 10), colours::Black);
        QCOMPARE(canvas.pixel(20, 20), colours::White);
        QVERIFY(canvas.overlayIsEmpty());

        canvas.setPersistent(true);
        canvas.clear(); // on: the image layer is rebuilt, persistent drawings lost
        QCOMPARE(canvas.pixel(10, 10), colours::White);
    }

    void clearKeepsTheBackgroundPicture() {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(QColor(10, 20, 30));
        Canvas canvas;
        canvas.setScale(0, 511, 511, 0);
        canvas.setBackgroundPicture(picture);
        canvas.setPixel(1, 510, colours::Red);
        canvas.clear();
        QCOMPARE(canvas.pixel(1, 510), colours::rgb(10, 20, 30));
        QCOMPARE(canvas.pixel(4, 511), colours::White);
    }

    void pixelReadSeesLayerOrDisplay() {
        Canvas canvas;
        canvas.setPersistent(false);
        canvas.setPixel(5, 5, colours::Blue);
        QCOMPARE(canvas.pixel(5, 5), colours::Blue); // off: what is on display
        canvas.setPersistent(true);
        QCOMPARE(canvas.pixel(5, 5), colours::White); // on: the image layer only
    }

    void colourValuesHaveRedInTheLowByte() {
        Canvas canvas;
        canvas.setPixel(0, 0, colours::rgb(1, 2, 3));
        QCOMPARE(canvas.pixel(0, 0), 0x030201);
        QCOMPARE(layerPixel(canvas.imageLayer(), 0, 0), qRgb(1, 2, 3));
    }

    void linesIncludeBothEndsAndClip() {
        Canvas canvas;
        canvas.setScale(0, 511, 511, 0);
        canvas.line(10, 20, 10, 30, colours::Red);
        for (int y = 20; y <= 30; ++y)
            QCOMPARE(canvas.pixel(10, y), colours::Red);
        QCOMPARE(canvas.pixel(10, 19), colours::White);
        QCOMPARE(canvas.pixel(10, 31), colours::White);
        QCOMPARE(canvas.currentPoint(), QPointF(10, 30));

        // A line that starts far outside is clipped, not walked pixel by pixel.
        canvas.line(-1e9f, 100, 1e9f, 100, colours::Blue);
        QCOMPARE(canvas.pixel(0, 100), colours::Blue);
        QCOMPARE(canvas.pixel(511, 100), colours::Blue);
        canvas.line(600, 600, 700, 700, colours::Green); // wholly outside
        QCOMPARE(canvas.currentPoint(), QPointF(700, 700));
        canvas.line(qQNaN(), 0, 5, 5, colours::Green); // nonsense ends: nothing drawn
    }

    void lineWithoutColourUsesDrawingColour() {
        Canvas canvas;
        canvas.setDrawingColour(colours::Green);
        canvas.line(3, 3, 6, 3);
        QCOMPARE(canvas.pixel(6, 3), colours::Green);
    }

    void circleIsOutlinedAndFilledBlack() {
        Canvas canvas;
        canvas.setDrawingColour(colours::Red);
        canvas.circle(100, 100, 2);
        QCOMPARE(canvas.currentPoint(), QPointF(100, 100));
        QCOMPARE(canvas.pixel(100, 100), colours::Black);
        QCOMPARE(canvas.pixel(101, 100), colours::Black);
        QCOMPARE(canvas.pixel(102, 100), colours::Red);
        QCOMPARE(canvas.pixel(101, 101), colours::Red);
        QCOMPARE(canvas.pixel(103, 100), colours::White);
        canvas.circle(-1, -1, 2); // partly outside: clipped
        QCOMPARE(canvas.pixel(0, 0), colours::Red);
    }

    void printPutsTextBelowAndRightOfTheCurrentPoint() {
        Canvas canvas;
        canvas.setScale(0, 512, 512, 0);
        canvas.setDrawingColour(colours::Green);
        canvas.circle(100, 400, 0);
        canvas.print(QStringLiteral("8"));
        int inkAbove = 0, inkBelow = 0;
        for (int dx = 0; dx < 12; ++dx) {
            for (int dy = 1; dy < 14; ++dy) {
                inkBelow += canvas.pixel(100 + dx, 400 - dy) == colours::Green;
                inkAbove += canvas.pixel(100 + dx, 400 + dy) == colours::Green;
            }
        }
        QVERIFY(inkBelow > 10);
        QCOMPARE(inkAbove, 0);
        QVERIFY(canvas.currentPoint().y() < 400); // next text line is lower down
        QCOMPARE(canvas.currentPoint().x(), 100.0);
    }

    void backgroundPictureIsCutAndPlacedTopLeft() {
        QImage big(600, 700, QImage::Format_RGB32);
        big.fill(Qt::black);
        Canvas canvas;
        canvas.setPersistent(false);
        canvas.setPixel(1, 1, colours::Red);
        canvas.setBackgroundPicture(big);
        QVERIFY(canvas.overlayIsEmpty());
        QCOMPARE(canvas.image().size(), QSize(512, 512));
        QCOMPARE(layerPixel(canvas.imageLayer(), 511, 511), qRgb(0, 0, 0));
    }

    // A picture that fits is kept without a copy of its own: later changes
    // to the caller's image, and drawing on the canvas, must not reach each
    // other through the shared pixels.
    void fittingPictureIsKeptApartFromItsSource() {
        QImage picture(512, 512, QImage::Format_RGB32);
        picture.fill(qRgb(10, 20, 30));
        Canvas canvas;
        canvas.setScale(0, 511, 511, 0);
        canvas.setBackgroundPicture(picture);
        canvas.setPixel(5, 5, colours::Red); // switch on: into the image layer

        picture.fill(qRgb(200, 200, 200));
        QCOMPARE(layerPixel(canvas.imageLayer(), 0, 0), qRgb(10, 20, 30));
        canvas.clear(); // rebuilt from the picture as it was given
        QCOMPARE(canvas.pixel(5, 5), colours::rgb(10, 20, 30));
        QCOMPARE(picture.pixel(5, 506), qRgb(200, 200, 200));
    }
};

ROWSHIFT_TEST_MAIN(CanvasTest)
#include "tst_canvas.moc"
