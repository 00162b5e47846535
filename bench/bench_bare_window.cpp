// The reference for start-up and memory: a bare Qt program that shows one
// empty widget the size of the program's window and ends after its first
// paint. It links nothing of rowshift.
#include "FirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(674, 611); // the client area of the program's window
    bench::QuitAfterFirstPaint quit(&window);
    window.show();
    return app.exec();
}
