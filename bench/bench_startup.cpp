// Start-up to the first painted window: the program's own main, except that
// it ends as soon as the canvas has painted. Timed as a whole process by
// bench/run-benchmarks.sh, beside bench_bare_window.
#include "FirstPaint.h"
#include "app/MainWindow.h"
#include "app/QtDialogs.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rowshift"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.rowshift.rowshift"));
    QtDialogs dialogs;
    MainWindow window(dialogs);
    dialogs.setParent(&window);
    auto* canvas = window.findChild<QWidget*>(QStringLiteral("Picture1"));
    if (!canvas)
        return 1;
    bench::QuitAfterFirstPaint quit(canvas);
    window.show();
    return app.exec();
}
