#include "app/MainWindow.h"
#include "app/QtDialogs.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rowshift"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.rowshift.rowshift"));
    QtDialogs dialogs;
    MainWindow window(dialogs);
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
