#include "TestMain.h"

#include "ScriptedDialogs.h"
#include "app/CanvasInteraction.h"
#include "app/CanvasView.h"
#include "app/MainWindow.h"
#include "canvas/Canvas.h"

#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>

namespace {

// Sends a mouse event straight to the canvas widget at a canvas pixel
// (column, row); the pixel may lie outside the canvas during a drag.
void sendMouse(QWidget* view, QEvent::Type type, int column, int row,
               Qt::MouseButton button = Qt::LeftButton) {
    const QPointF local(column + CanvasView::Border, row + CanvasView::Border);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                  : type == QEvent::MouseMove && button == Qt::NoButton
                                      ? Qt::NoButton
                                      : Qt::MouseButtons(button);
    QMouseEvent event(type, local, view->mapToGlobal(local),
                      button == Qt::NoButton ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

WindowState startUpState() {
    WindowState state;
    state.Px = defaultPx();
    state.Py = defaultPy();
    return state;
}

Canvas startUpCanvas() {
    Canvas canvas;
    canvas.setScale(0, 512, 512, 0);
    return canvas;
}

} // namespace

class InteractionTest : public QObject {
    Q_OBJECT
private slots:
    void nearestPoint_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<int>("index");
        QTest::newRow("on A") << 256.f << 10.f << 0;
        QTest::newRow("near B") << 250.f << 490.f << 1;
        QTest::newRow("near point 1") << 310.f << 40.f << 2;
        QTest::newRow("far away picks the nearest") << 5000.f << 480.f << 9;
        QTest::newRow("tie goes to the lower index") << 300.f << 192.f << 4;
    }
    void nearestPoint() {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(int, index);
        QCOMPARE(nearestControlPoint(defaultPx(), defaultPy(), x, y), index);
    }

    void pressMovesTheNearestPointAndStartsADrag() {
        WindowState state = startUpState();
        Canvas canvas = startUpCanvas();
        pickControlPoint(state, canvas, 320, 100);
        QCOMPARE(state.DragIndex, std::int16_t(3));
        QCOMPARE(state.Dragging, std::int16_t(1));
        QCOMPARE(state.Px[3], 320.f);
        QCOMPARE(state.Py[3], 100.f);
        QCOMPARE(canvas.pixel(319, 100), colours::Black); // redrawn at its new place

        dragControlPoint(state, canvas, 330, 110);
        QCOMPARE(state.Px[3], 330.f);
        endDrag(state);
        dragControlPoint(state, canvas, 400, 400); // released: nothing moves
        QCOMPARE(state.Px[3], 330.f);
        QCOMPARE(state.Dragging, std::int16_t(0));
    }

    void dragThroughTheWidget_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }
    void dragThroughTheWidget() {
        QFETCH(int, button);
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        QWidget* view = window.findChild<QWidget*>("Picture1");
        const auto b = Qt::MouseButton(button);

        // Column 300, row 512 - 96 = 416 is point 2 under the start-up scale.
        sendMouse(view, QEvent::MouseButtonPress, 300, 416, b);
        QCOMPARE(window.state().DragIndex, std::int16_t(3));
        QCOMPARE(window.state().Px[3], 300.5f); // the centre of the pressed pixel
        QCOMPARE(window.canvas().scale().column(window.state().Px[3]), std::optional<int>(300));
        QCOMPARE(window.canvas().scale().row(window.state().Py[3]), std::optional<int>(416));

        // The drag goes on past the edge and keeps the outside coordinates.
        sendMouse(view, QEvent::MouseMove, -40, 600, b);
        QCOMPARE(window.state().Px[3], -39.5f);
        QCOMPARE(window.state().Py[3], -88.5f);
        sendMouse(view, QEvent::MouseButtonRelease, -40, 600, b);
        QCOMPARE(window.state().Dragging, std::int16_t(0));

        // Moves without a press change nothing.
        const WindowState before = window.state();
        const QImage image = window.canvas().image();
        sendMouse(view, QEvent::MouseMove, 100, 100, Qt::NoButton);
        QCOMPARE(window.state().Px, before.Px);
        QCOMPARE(window.state().Py, before.Py);
        QCOMPARE(window.canvas().image(), image);
    }

    void pressWithoutMovingPlacesThePointOnThePressedPixel() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.canvas().setScale(0, 511, 511, 0); // as after an image load
        QWidget* view = window.findChild<QWidget*>("Picture1");
        for (int pixel : {0, 1, 255, 256, 257, 510, 511}) {
            sendMouse(view, QEvent::MouseButtonPress, pixel, 511 - pixel);
            sendMouse(view, QEvent::MouseButtonRelease, pixel, 511 - pixel);
            const int i = window.state().DragIndex;
            QCOMPARE(window.canvas().scale().column(window.state().Px[i]),
                     std::optional<int>(pixel));
            QCOMPARE(window.canvas().scale().row(window.state().Py[i]),
                     std::optional<int>(511 - pixel));
        }
    }

    void widthMeasure() {
        WindowState state;
        Canvas canvas = startUpCanvas();
        QCOMPARE(placeMeasuringLine(state, canvas, CanvasMode::Line1, 100),
                 QStringLiteral("Line2-Line1=-100"));
        QCOMPARE(canvas.pixel(100, 300), colours::Red);
        QCOMPARE(canvas.pixel(0, 300), colours::Green); // line 2 not placed yet: at 0
        QCOMPARE(canvas.pixel(100, 511), colours::Red);
        QCOMPARE(canvas.pixel(100, 511.5), colours::White); // one unit short of the top

        QCOMPARE(placeMeasuringLine(state, canvas, CanvasMode::Line2, 137.4f),
                 QStringLiteral("Line2-Line1= 37"));
        QCOMPARE(state.Line2X, std::int16_t(137));
        QCOMPARE(canvas.pixel(137, 300), colours::Green);
        QCOMPARE(canvas.pixel(0, 300), colours::White); // redrawn from a clear canvas
    }

    void measuringLinesRoundHalvesToEven_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<int>("line");
        QTest::newRow("100.5") << 100.5f << 100;
        QTest::newRow("101.5") << 101.5f << 102;
        QTest::newRow("-0.5") << -0.5f << 0;
        QTest::newRow("far outside saturates") << 1e9f << 32767;
    }
    void measuringLinesRoundHalvesToEven() {
        QFETCH(float, x);
        QFETCH(int, line);
        WindowState state;
        Canvas canvas = startUpCanvas();
        placeMeasuringLine(state, canvas, CanvasMode::Line1, x);
        QCOMPARE(int(state.Line1X), line);
    }

    // After an image load, a press on any pixel column puts the measuring
    // line on that very column.
    void measuringLineLandsOnThePressedColumn() {
        WindowState state;
        Canvas canvas;
        canvas.setScale(0, 511, 511, 0);
        for (int column = 0; column < 512; ++column) {
            const float x = float(canvas.scale().logicalX(column));
            placeMeasuringLine(state, canvas, CanvasMode::Line1, x);
            QCOMPARE(canvas.scale().column(state.Line1X), std::optional<int>(column));
        }
    }

    void lineModesThroughTheWindow() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        window.canvas().setScale(0, 511, 511, 0); // as after an image load
        QWidget* view = window.findChild<QWidget*>("Picture1");
        auto* label = window.findChild<QLabel*>("Label2");
        window.findChild<QRadioButton*>("Option1")->click();
        sendMouse(view, QEvent::MouseButtonPress, 100, 200, Qt::RightButton);
        QCOMPARE(label->text(), QStringLiteral("Line2-Line1=-100"));
        QCOMPARE(window.state().Dragging, std::int16_t(0)); // no drag in this mode
        const PointCoordinates px = window.state().Px;
        sendMouse(view, QEvent::MouseMove, 150, 200);
        QCOMPARE(window.state().Px, px);
        window.findChild<QRadioButton*>("Option2")->click();
        sendMouse(view, QEvent::MouseButtonPress, 137, 200);
        QCOMPARE(label->text(), QStringLiteral("Line2-Line1= 37"));
        // The clear of a line placement wipes the start-up points: the canvas
        // is still persistent before any image load.
        QCOMPARE(window.canvas().pixel(300, 200), colours::White);
    }
};

ROWSHIFT_TEST_MAIN(InteractionTest)
#include "tst_interaction.moc"
