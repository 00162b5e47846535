// The main road in the real window, for its peak memory: start-up to the
// first paint, then load a picture (the first argument), place the points
// on its band, CALCULATE(LSM), CORRECT, repaint, and save the image and the
// shift table into a temporary folder. bench/run-benchmarks.sh measures the
// process's peak resident memory beside bench_bare_window's.
#include "BenchData.h"
#include "BenchWindow.h"
#include "FirstPaint.h"
#include "app/MainWindow.h"
#include "imageops/RowShifting.h"
#include "io/ImageFiles.h"
#include "io/TextExports.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

int fail(const QString& message) {
    QTextStream(stderr) << "bench_mainroad: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2)
        return fail(QStringLiteral("usage: bench_mainroad IMAGE"));

    bench::NoDialogs dialogs;
    MainWindow window(dialogs);
    auto* canvasView = window.findChild<QWidget*>(QStringLiteral("Picture1"));
    auto* calculateButton = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    if (!canvasView || !calculateButton)
        return fail(QStringLiteral("the window lacks its canvas or CALCULATE(LSM)"));
    bench::QuitAfterFirstPaint quit(canvasView);
    window.show();
    app.exec();

    // The loaded image lives no longer than the load itself, as in the window.
    if (const LoadedImage loaded = loadImage(arguments.at(1)); loaded.ok())
        bench::showPicture(window, loaded.image);
    else
        return fail(loaded.error);

    // Where a user would drag the points for this band.
    const FitRequest points = bench::parabolaRequest();
    window.state().Px = points.Px;
    window.state().Py = points.Py;
    window.canvas().clear();
    DrawPoints(window.canvas(), window.state().Px, window.state().Py);
    canvasView->repaint();

    calculateButton->click();
    const auto& shifts = window.state().RowShift;
    if (dialogs.warnings != 0 || *std::max_element(shifts.begin(), shifts.end()) == 0)
        return fail(QStringLiteral("CALCULATE(LSM) gave no table"));
    canvasView->repaint();

    correctRows(window.canvas(), shifts);
    canvasView->repaint();

    QTemporaryDir folder;
    if (!folder.isValid())
        return fail(QStringLiteral("no temporary folder"));
    if (const QString error = saveImage(window.canvas().image(), folder.filePath("out.bmp"));
        !error.isEmpty())
        return fail(error);
    if (const QString error = saveShiftTable(folder.filePath("out.table"), shifts);
        !error.isEmpty())
        return fail(error);
    return 0;
}
