#include "TestMain.h"
#include "TestFiles.h"

#include "ScriptedDialogs.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

QString writeImage(const QTemporaryDir& dir, const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    image.save(path, "BMP");
    return path;
}

// The fixture: a window, its scripted dialogs, a scratch folder.
struct Session {
    ScriptedDialogs dialogs;
    MainWindow window{dialogs};
    QTemporaryDir dir;

    void trigger(const char* action, const QString& answer) {
        dialogs.fileAnswers = {answer};
        window.findChild<QAction*>(action)->trigger();
    }
    void click(const char* button, const QString& answer = QString()) {
        dialogs.fileAnswers = {answer};
        window.findChild<QPushButton*>(button)->click();
    }
    int progress() { return window.findChild<QProgressBar*>("ProgressBar2")->value(); }
};

} // namespace

class WindowFilesTest : public QObject {
    Q_OBJECT
private slots:
    void correctBeforeAnyFitOnlyRemovesTheOverlay() {
        Session s;
        s.trigger("ImageLoad", writeImage(s.dir, "grey.bmp", {512, 512}, QColor(90, 90, 90)));
        const QImage loaded = s.window.canvas().image();
        QVERIFY(!s.window.canvas().overlayIsEmpty()); // the control points
        s.click("Command4");
        QCOMPARE(s.window.canvas().image(), loaded);
        QVERIFY(s.window.canvas().overlayIsEmpty());
        QVERIFY(!s.window.canvas().persistent());
        QCOMPARE(s.progress(), 511);
    }

    void smallImageFillsTheTopLeftQuarter() {
        Session s;
        s.trigger("ImageLoad", writeImage(s.dir, "small.bmp", {256, 256}, Qt::black));
        const QString saved = s.dir.filePath("saved.bmp");
        s.trigger("ImageSave", saved);
        const QImage image(saved);
        QCOMPARE(image.size(), QSize(512, 512));
        QCOMPARE(image.pixel(255, 255), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(256, 255), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(255, 256), qRgb(255, 255, 255));
    }

    void savedImageHoldsTheProfileGraph() {
        Session s;
        s.trigger("ImageLoad", writeImage(s.dir, "white.bmp", {512, 512}, Qt::white));
        s.click("Command3"); // Vertical Average
        QCOMPARE(s.progress(), 510);
        const QString saved = s.dir.filePath("profile.bmp");
        s.trigger("ImageSave", saved);
        // A flat profile: the graph runs along y = 256, pixel row 255.
        QCOMPARE(QImage(saved).pixel(100, 255), qRgb(255, 0, 0));
        QCOMPARE(s.window.state().Profile[100], s.window.state().Profile[400]);
    }

    void cancelledDialogsChangeNothing() {
        Session s;
        const QString existing = writeImage(s.dir, "keep.bmp", {512, 512}, Qt::blue);
        const QByteArray before = contentsOf(existing);
        const QImage image = s.window.canvas().image();

        s.trigger("ImageLoad", QString());
        QCOMPARE(s.window.canvas().image(), image); // DrawPoints again, persistently: same picture
        QCOMPARE(s.window.canvas().scale().y1, 512.0);
        s.trigger("ImageSave", QString());
        s.click("Command2");
        s.click("Command5");
        QCOMPARE(contentsOf(existing), before);
        QCOMPARE(QDir(s.dir.path()).entryList(QDir::Files), QStringList{"keep.bmp"});
        QVERIFY(s.window.state().FilePath.isEmpty());
        QVERIFY(s.dialogs.warnings.isEmpty());
    }

    // One dialog serves every file operation: it proposes the name chosen
    // last and keeps the filter set last.
    void dialogRemembersNameAndFilter() {
        Session s;
        const QString image = writeImage(s.dir, "a.bmp", {8, 8}, Qt::white);
        const QString saved = s.dir.filePath("b.bmp");
        const QString table = s.dir.filePath("t.txt");
        const QString profile = s.dir.filePath("p.txt");

        s.trigger("ImageSave", s.dir.filePath("first.bmp")); // no filter before any LOAD
        s.trigger("ImageLoad", image);
        s.trigger("ImageSave", saved);
        s.click("Command2", table);
        s.click("Command5", profile);
        s.trigger("ImageSave", QString());

        const auto& r = s.dialogs.fileRequests;
        QCOMPARE(r.size(), 6);
        QCOMPARE(r[0].filter, QString());
        QCOMPARE(r[1].filter, QStringLiteral("bmp|*.bmp|"));
        QVERIFY(!r[1].save);
        QCOMPARE(r[1].proposedName, s.dir.filePath("first.bmp"));
        QCOMPARE(r[2].filter, QStringLiteral("bmp|*.bmp|"));
        QCOMPARE(r[2].proposedName, image);
        QCOMPARE(r[3].filter, QString());
        QCOMPARE(r[3].proposedName, saved);
        QCOMPARE(r[4].proposedName, table);
        QCOMPARE(r[5].filter, QString()); // none after a text export
        QCOMPARE(r[5].proposedName, profile);

        // Save (the profile) leaves FilePath alone; PARAMETER STORE set it.
        QCOMPARE(s.window.state().FilePath, QString()); // the cancelled SAVE
        s.click("Command2", table);
        s.click("Command5", profile);
        QCOMPARE(s.window.state().FilePath, table);
    }

    void unreadableImageLeavesTheCanvasAlone_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text named .bmp") << QByteArray("not an image\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("truncated BMP") << QByteArray("BM\x36\x00\x0c\x00", 6);
    }
    void unreadableImageLeavesTheCanvasAlone() {
        QFETCH(QByteArray, bytes);
        Session s;
        s.trigger("ImageLoad", writeImage(s.dir, "good.bmp", {512, 512}, Qt::darkGreen));
        const QImage image = s.window.canvas().image();
        const QString bad = s.dir.filePath("bad.bmp");
        writePlainly(bad, bytes);
        s.trigger("ImageLoad", bad);
        QCOMPARE(s.dialogs.warnings.size(), 1);
        QCOMPARE(s.window.canvas().image(), image);
        QCOMPARE(s.window.canvas().scale().y1, 511.0);
    }

    void failedWritesAreReported_data() {
        QTest::addColumn<QString>("target"); // relative to the scratch folder; "/dev/full" as is
        QTest::newRow("a folder's name") << "folder";
        QTest::newRow("missing parent folder") << "missing/out.bmp";
        QTest::newRow("full disk") << "/dev/full";
    }
    void failedWritesAreReported() {
        QFETCH(QString, target);
        Session s;
        QDir(s.dir.path()).mkdir("folder");
        const QString path = target.startsWith('/') ? target : s.dir.filePath(target);
        for (const char* button : {"ImageSave", "Command2", "Command5"}) {
            s.dialogs.warnings.clear();
            if (QByteArray(button) == "ImageSave")
                s.trigger(button, path);
            else
                s.click(button, path);
            QCOMPARE(s.dialogs.warnings.size(), 1);
            QVERIFY(!s.dialogs.warnings[0].text.isEmpty());
        }
        QVERIFY(QFileInfo(s.dir.filePath("folder")).isDir());
        QVERIFY(!QFileInfo::exists(s.dir.filePath("missing")));
        QVERIFY(!QFileInfo("/dev/full").isFile()); // still the device
    }
};

ROWSHIFT_TEST_MAIN(WindowFilesTest)
#include "tst_windowfiles.moc"
