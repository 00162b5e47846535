// Makes the pictures of the README from the examples: the window with an
// example loaded and its fitted curve drawn, and the example before and
// after CORRECT. Run it through scripts/make-screenshots.sh, which starts it
// under Xvfb so that the window is a real one.

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "io/PointsFile.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

// Answers every file dialog from a list; warnings end the run.
class ListedAnswers : public Dialogs {
public:
    QStringList answers;

    QString openFileName(const QString&, const QString&) override { return next(); }
    QString saveFileName(const QString&, const QString&) override { return next(); }
    void warning(const QString& title, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        std::exit(1);
    }

private:
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};

QImage beforeAndAfter(const QImage& before, const QImage& after) {
    constexpr int gap = 16, caption = 28;
    QImage sheet(before.width() * 2 + gap, before.height() + caption, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.drawImage(0, caption, before);
    painter.drawImage(before.width() + gap, caption, after);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, before.width(), caption), Qt::AlignCenter,
                     QStringLiteral("before"));
    painter.drawText(QRect(before.width() + gap, 0, after.width(), caption), Qt::AlignCenter,
                     QStringLiteral("after CORRECT"));
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: %s IMAGE POINTS OUTDIR\n", argv[0]);
        return 2;
    }
    const QString image = args[1], pointsFile = args[2], outDir = args[3];

    const PointsRead points = readPointsFile(pointsFile);
    if (!points.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(points.error));
        return 1;
    }

    ListedAnswers dialogs;
    MainWindow window(dialogs);
    window.show();

    dialogs.answers = {image};
    window.findChild<QAction*>(QStringLiteral("ImageLoad"))->trigger();
    const QImage before = window.canvas().image();
    window.state().Px = points.Px;
    window.state().Py = points.Py;
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click(); // CALCULATE(LSM)
    QApplication::processEvents();
    if (!window.grab().save(outDir + QStringLiteral("/window.png")))
        return 1;

    window.findChild<QPushButton*>(QStringLiteral("Command4"))->click(); // CORRECT
    const QImage after = window.canvas().image();
    return beforeAndAfter(before, after).save(outDir + QStringLiteral("/before-after.png")) ? 0 : 1;
}
