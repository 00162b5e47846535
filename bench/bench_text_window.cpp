// Context for start-up and memory: what Qt itself takes for a window that
// shows any text and a menu bar, the two things the program's window cannot
// do without. A main window of the program's size with a one-entry menu and
// one label, ending after its first paint. It links nothing of rowshift.
#include "FirstPaint.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Image"))->addAction(QStringLiteral("LOAD"));
    auto* label = new QLabel(QStringLiteral("Order="));
    label->setFixedSize(674, 611); // the client area of the program's window
    window.setCentralWidget(label);
    bench::QuitAfterFirstPaint quit(label);
    window.show();
    return app.exec();
}
