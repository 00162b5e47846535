#include "TestMain.h"

#include "canvas/Canvas.h"
#include "canvas/DrawPoints.h"

namespace {

// Pixels of the given colour in the label box that starts at a point's centre.
int labelInk(const Canvas& canvas, float x, float y, Colour colour) {
    int ink = 0;
    for (int dx = 1; dx < 14; ++dx)
        for (int dy = 3; dy < 12; ++dy)
            ink += canvas.pixel(x + dx, y - dy) == colour;
    return ink;
}

} // namespace

class DrawPointsTest : public QObject {
    Q_OBJECT
private slots:
    void startUpOverlay() {
        Canvas canvas;
        canvas.setScale(0, 512, 512, 0);
        DrawPoints(canvas, defaultPx(), defaultPy());

        for (float y : {20.f, 250.f, 470.f})
            QCOMPARE(canvas.pixel(256, y), colours::Red);
        for (float y : {60.f, 200.f, 330.f, 450.f})
            QCOMPARE(canvas.pixel(300, y), colours::Green);
        QCOMPARE(canvas.pixel(256, 505), colours::White); // the red line ends at B
        QCOMPARE(canvas.pixel(300, 490), colours::White); // the chain ends at point 8

        QCOMPARE(canvas.pixel(255, 10),
                 colours::Black); // filled circles (the lines cross their centres)
        QCOMPARE(canvas.pixel(299, 32), colours::Black);
        QCOMPARE(canvas.pixel(258, 10), colours::Red); // outlines in the line colour
        QCOMPARE(canvas.pixel(302, 480), colours::Green);

        QVERIFY(labelInk(canvas, 256, 10, colours::Red) > 5);    // "A"
        QVERIFY(labelInk(canvas, 256, 500, colours::Red) > 5);   // "B"
        QVERIFY(labelInk(canvas, 300, 32, colours::Green) > 3);  // "1"
        QVERIFY(labelInk(canvas, 300, 480, colours::Green) > 5); // " 8"
        QCOMPARE(canvas.drawingColour(), colours::Green);
    }

    void labelsOfLaterPointsCarryTheLeadingBlank() {
        QCOMPARE(controlPointLabel(0), QStringLiteral("A"));
        QCOMPARE(controlPointLabel(1), QStringLiteral("B"));
        QCOMPARE(controlPointLabel(2), QStringLiteral("1"));
        QCOMPARE(controlPointLabel(3), QStringLiteral(" 2"));
        QCOMPARE(controlPointLabel(9), QStringLiteral(" 8"));
    }

    void drawsIntoTheSelectedLayer() {
        Canvas canvas;
        canvas.setScale(0, 511, 511, 0);
        canvas.setPersistent(false);
        DrawPoints(canvas, defaultPx(), defaultPy());
        QVERIFY(!canvas.overlayIsEmpty());
        QCOMPARE(canvas.pixel(300, 200), colours::Green);
        canvas.clear();
        QCOMPARE(canvas.pixel(300, 200), colours::White);
    }

    void pointsOutsideAreClippedNotMoved() {
        Canvas canvas;
        canvas.setScale(0, 511, 511, 0);
        PointCoordinates px = defaultPx(), py = defaultPy();
        px[9] = 900; // point 8 far to the right
        DrawPoints(canvas, px, py);
        QCOMPARE(px[9], 900.f);
        // The chain still runs towards it and leaves the canvas at the right edge.
        int greenOnEdge = 0;
        for (int y = 400; y <= 480; ++y)
            greenOnEdge += canvas.pixel(511, float(y)) == colours::Green;
        QVERIFY(greenOnEdge > 0);
    }
};

ROWSHIFT_TEST_MAIN(DrawPointsTest)
#include "tst_drawpoints.moc"
