// The main road in the real window, for its peak memory: start-up to the
// first paint, then Image > LOAD of a picture (the first argument), the
// points placed on its band, CALCULATE(LSM), CORRECT, Image > SAVE and
// PARAMETER STORE into a temporary folder, each through the window's own
// controls. bench/run-benchmarks.sh measures the process's peak resident
// memory beside bench_bare_window's.
#include "BenchData.h"
#include "BenchWindow.h"
#include "FirstPaint.h"
#include "app/MainWindow.h"
#include "canvas/DrawPoints.h"

#include <QApplication>
#include <QFileInfo>
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
    QTemporaryDir folder;
    if (!folder.isValid())
        return fail(QStringLiteral("no temporary folder"));
    const QString savedImage = folder.filePath(QStringLiteral("straightened.bmp"));
    const QString savedTable = folder.filePath(QStringLiteral("straightened.table"));

    bench::ScriptedDialogs dialogs;
    dialogs.fileAnswers = {arguments.at(1), savedImage, savedTable};
    MainWindow window(dialogs);
    auto* canvasView = window.findChild<QWidget*>(QStringLiteral("Picture1"));
    if (!canvasView)
        return fail(QStringLiteral("the window has no canvas"));
    bench::QuitAfterFirstPaint quit(canvasView);
    window.show();
    app.exec();

    if (!bench::trigger(window, "ImageLoad"))
        return fail(QStringLiteral("no Image > LOAD"));
    canvasView->repaint();

    // Where a user would drag the points for this band; the last step of a
    // drag leaves the overlay just so.
    const FitRequest points = bench::parabolaRequest();
    window.state().Px = points.Px;
    window.state().Py = points.Py;
    window.canvas().clear();
    DrawPoints(window.canvas(), window.state().Px, window.state().Py);
    canvasView->repaint();

    if (!bench::click(window, "Command1") || !bench::click(window, "Command4"))
        return fail(QStringLiteral("no CALCULATE(LSM) or CORRECT"));
    canvasView->repaint();
    if (!bench::trigger(window, "ImageSave") || !bench::click(window, "Command2"))
        return fail(QStringLiteral("no Image > SAVE or PARAMETER STORE"));

    const auto& shifts = window.state().RowShift;
    if (dialogs.warnings != 0 || *std::max_element(shifts.begin(), shifts.end()) == 0 ||
        !QFileInfo::exists(savedImage) || !QFileInfo::exists(savedTable))
        return fail(QStringLiteral("the main road did not get through"));
    return 0;
}
