#include "TestMain.h"

#include "ScriptedDialogs.h"
#include "app/CanvasView.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include <cmath>

namespace {

// The centre of the curved band at logical height y.
double bandCentre(double y) {
    const double t = (y - 256) / 224;
    return 300 + 10 * t * t;
}

// A white 512 x 512 image with a black band, 7 pixels wide, along the curve.
QImage curvedBand() {
    QImage image(512, 512, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int row = 0; row < 512; ++row) {
        const int centre = int(std::lround(bandCentre(511 - row)));
        for (int column = centre - 3; column <= centre + 3; ++column)
            image.setPixel(column, row, qRgb(0, 0, 0));
    }
    return image;
}

// Mean column of the dark pixels of one pixel row.
double darkCentre(const QImage& image, int row) {
    double sum = 0;
    int count = 0;
    for (int column = 0; column < image.width(); ++column) {
        if (qGray(image.pixel(column, row)) < 64) {
            sum += column;
            ++count;
        }
    }
    return count ? sum / count : -1;
}

// Presses on the pixel under a control point and drags it to (x, y), both
// in logical coordinates of the image scale.
void dragPoint(QWidget* view, const CanvasScale& scale, QPointF from, QPointF to) {
    auto send = [view, &scale](QEvent::Type type, QPointF logical) {
        const QPointF local(*scale.column(logical.x()) + CanvasView::Border,
                            *scale.row(logical.y()) + CanvasView::Border);
        QMouseEvent event(type, local, view->mapToGlobal(local), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, from);
    send(QEvent::MouseMove, (from + to) / 2);
    send(QEvent::MouseMove, to);
    send(QEvent::MouseButtonRelease, to);
}

} // namespace

class MainRoadTest : public QObject {
    Q_OBJECT
private slots:
    void straightensACurvedBand() {
        QTemporaryDir dir;
        const QString input = dir.filePath("band.bmp");
        const QString output = dir.filePath("straight.bmp");
        const QString table = dir.filePath("table.txt");
        QVERIFY(curvedBand().save(input, "BMP"));

        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        dialogs.fileAnswers = {input};
        window.findChild<QAction*>("ImageLoad")->trigger();
        QCOMPARE(window.canvas().scale().y1, 511.0);

        QWidget* view = window.findChild<QWidget*>("Picture1");
        const WindowState& state = window.state();
        for (int i = 2; i < 10; ++i) {
            const QPointF from(state.Px[i], state.Py[i]);
            dragPoint(view, window.canvas().scale(), from,
                      QPointF(std::round(bandCentre(from.y())), from.y()));
        }
        QCOMPARE(window.canvas().scale().column(state.Px[2]), std::optional<int>(310));

        window.findChild<QPushButton*>("Command1")->click(); // CALCULATE(LSM)
        window.findChild<QPushButton*>("Command4")->click(); // CORRECT
        dialogs.fileAnswers = {output};
        window.findChild<QAction*>("ImageSave")->trigger();
        dialogs.fileAnswers = {table};
        window.findChild<QPushButton*>("Command2")->click(); // PARAMETER STORE
        QVERIFY(dialogs.warnings.isEmpty());

        // The band is straight in the saved file: every row within a pixel.
        QImage saved(output);
        QCOMPARE(saved.size(), QSize(512, 512));
        QFile savedFile(output);
        QVERIFY(savedFile.open(QIODevice::ReadOnly));
        QCOMPARE(savedFile.read(30).at(28), char(24)); // bits per pixel
        const double top = darkCentre(saved, 0);
        for (int row = 0; row < 512; ++row)
            QVERIFY2(std::abs(darkCentre(saved, row) - top) <= 1.0,
                     qPrintable(QString::number(row)));
        QCOMPARE(saved.pixel(511, 0), qRgb(128, 128, 128)); // row 511 moved: grey end
        for (int row = 0; row < 512; ++row) { // only greys: no points, lines or curve saved
            for (int column = 0; column < 512; ++column) {
                const QRgb p = saved.pixel(column, row);
                QVERIFY(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
            }
        }

        // The table file holds the listed table.
        QFile file(table);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 513); // 512 lines, each ending in CR LF
        auto* list = window.findChild<QListWidget*>("List1");
        for (int i = 0; i < 512; ++i) {
            const QStringList entry = list->item(i)->text().split(' ', Qt::SkipEmptyParts);
            QCOMPARE(QString::fromLatin1(lines[i]), entry.join(',') + '\r');
        }
        QCOMPARE(list->item(0)->text(), QStringLiteral(" 0   13"));
    }
};

ROWSHIFT_TEST_MAIN(MainRoadTest)
#include "tst_mainroad.moc"
