// One drag step as the user feels it: a pointer move on the canvas runs the
// handler (clear, DrawPoints) and the widget paints the canvas, on the real
// window, on the offscreen platform. The step is split into its two halves
// too, to show where the time goes.
#include "BenchData.h"
#include "BenchWindow.h"
#include "app/CanvasInteraction.h"
#include "app/CanvasView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The window, shown and exposed, optionally with a picture loaded through
// Image > LOAD, and with the point 3 (index 4, near the middle of the band)
// picked up by a press in the mode "Image correction".
struct DraggingWindow {
    bench::ScriptedDialogs dialogs;
    MainWindow window{dialogs};
    CanvasView* view = window.findChild<CanvasView*>(QStringLiteral("Picture1"));
    QTemporaryDir folder;
    bool ok = false;

    explicit DraggingWindow(bool withPicture) {
        window.show();
        if (!view || !QTest::qWaitForWindowExposed(&window))
            return;
        if (withPicture && !load())
            return;
        send(QEvent::MouseButtonPress, 0);
        ok = window.state().Dragging == 1 && window.state().DragIndex == 4 && dialogs.warnings == 0;
    }

    bool load() {
        const QString file = folder.filePath(QStringLiteral("noise.bmp"));
        if (!folder.isValid() || !bench::noisyPicture().save(file, "BMP"))
            return false;
        dialogs.fileAnswers = {file};
        return bench::trigger(window, "ImageLoad") && !window.canvas().persistent();
    }

    // A mouse event at the point 3 of the example, nudged right by dx pixels.
    void send(QEvent::Type type, int dx) {
        const QPointF logical(245 + dx, 160);
        const QPointF local = pixelOf(logical);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, view->mapToGlobal(local), button, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }

    // Widget position of the centre of the canvas pixel that shows a logical
    // point, under whichever scale the canvas has.
    QPointF pixelOf(QPointF logical) {
        const CanvasScale& scale = window.canvas().scale();
        const int column = *scale.column(float(logical.x()));
        const int row = *scale.row(float(logical.y()));
        return QPointF(column + CanvasView::Border + 0.5, row + CanvasView::Border + 0.5);
    }
};

void dragSteps(benchmark::State& state, bool withPicture, bool handler, bool paint) {
    DraggingWindow fixture(withPicture);
    if (!fixture.ok) {
        state.SkipWithError("the window did not start a drag");
        return;
    }
    int dx = 0;
    for (auto _ : state) {
        dx = dx == 0 ? 6 : 0; // back and forth, so every step changes the overlay
        if (handler)
            fixture.send(QEvent::MouseMove, dx);
        if (paint)
            fixture.view->repaint();
    }
    if (fixture.dialogs.warnings != 0)
        state.SkipWithError("a warning was shown");
}

// The whole step after an image load: the overlay is cleared and redrawn,
// then the widget composes the image layer and the overlay.
void BM_DragStep(benchmark::State& state) {
    dragSteps(state, true, true, true);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

void BM_DragStep_HandlerOnly(benchmark::State& state) {
    dragSteps(state, true, true, false);
}
BENCHMARK(BM_DragStep_HandlerOnly)->Unit(benchmark::kMicrosecond);

void BM_DragStep_RepaintOnly(benchmark::State& state) {
    dragSteps(state, true, false, true);
}
BENCHMARK(BM_DragStep_RepaintOnly)->Unit(benchmark::kMicrosecond);

// Before any image is loaded the points are drawn persistently, so each
// step rebuilds the image layer instead of clearing the overlay.
void BM_DragStep_BeforeLoad(benchmark::State& state) {
    dragSteps(state, false, true, true);
}
BENCHMARK(BM_DragStep_BeforeLoad)->Unit(benchmark::kMicrosecond);

// The whole click on CORRECT and on Vertical Average after a load and a
// calculation, as the window runs them: busy pointer, progress bar, the
// pixel work and the repaint that follows. Every click starts again from
// the picture, so each costs the same.
void buttonClicks(benchmark::State& state, const char* button) {
    DraggingWindow fixture(true);
    if (!fixture.ok || !bench::click(fixture.window, "Command1")) {
        state.SkipWithError("the window did not load and calculate");
        return;
    }
    for (auto _ : state) {
        bench::click(fixture.window, button);
        fixture.view->repaint();
    }
    if (fixture.dialogs.warnings != 0)
        state.SkipWithError("a warning was shown");
}

void BM_Click_Correct(benchmark::State& state) {
    buttonClicks(state, "Command4");
}
BENCHMARK(BM_Click_Correct)->Unit(benchmark::kMicrosecond);

void BM_Click_VerticalAverage(benchmark::State& state) {
    buttonClicks(state, "Command3");
}
BENCHMARK(BM_Click_VerticalAverage)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "1");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
