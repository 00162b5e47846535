#include "TestFiles.h"
#include "TestMain.h"

#include "CanvasFixtures.h"
#include "CliRunner.h"
#include "ScriptedDialogs.h"
#include "app/MainWindow.h"
#include "io/PointsFile.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cmath>

Q_DECLARE_METATYPE(PointCoordinates)

// rowshift-cli against the window itself: the same points, image and clicks
// must give the same bytes.

namespace {

// The window, its scripted dialogs and a scratch folder.
struct Session {
    ScriptedDialogs dialogs;
    MainWindow window{dialogs};

    void trigger(const char* action, const QString& answer) {
        dialogs.fileAnswers = {answer};
        window.findChild<QAction*>(action)->trigger();
    }
    void click(const char* button, const QString& answer = QString()) {
        dialogs.fileAnswers = {answer};
        window.findChild<QPushButton*>(button)->click();
    }
    // Places the ten points and types the order, then CALCULATE(LSM).
    void calculate(const PointCoordinates& Px, const PointCoordinates& Py, int order) {
        window.state().Px = Px;
        window.state().Py = Py;
        window.findChild<QLineEdit*>("Text1")->setText(QString::number(order));
        click("Command1");
    }
};

PointCoordinates parabolaPx() {
    PointCoordinates Px = defaultPx();
    const PointCoordinates Py = defaultPy();
    for (int i = 2; i < ControlPointCount; ++i) {
        const double t = (Py[i] - 256.0) / 224.0;
        Px[i] = float(300 + 10 * t * t);
    }
    return Px;
}

PointsRead examplePoints(const char* name) {
    return readPointsFile(QFINDTESTDATA(QStringLiteral("../examples/%1.points").arg(name)));
}

} // namespace

class CliMatchesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void fitGivesTheWindowsTable_data() {
        QTest::addColumn<PointCoordinates>("Px");
        QTest::addColumn<PointCoordinates>("Py");
        QTest::addColumn<int>("order");
        QTest::newRow("start-up points, order 4") << defaultPx() << defaultPy() << 4;
        for (int order = 0; order <= 6; ++order)
            QTest::addRow("parabola, order %d", order) << parabolaPx() << defaultPy() << order;
        for (const char* name : {"cubic", "parabola-24bit", "parabola-8bit"}) {
            const PointsRead points = examplePoints(name);
            QTest::addRow("%s, order 4", name) << points.Px << points.Py << 4;
        }
    }
    void fitGivesTheWindowsTable() {
        QFETCH(PointCoordinates, Px);
        QFETCH(PointCoordinates, Py);
        QFETCH(int, order);
        QTemporaryDir dir;
        const QString points = dir.filePath("p.points");
        writePlainly(points, pointsText(Px, Py));

        Session s;
        s.calculate(Px, Py, order);
        const QString windowTable = dir.filePath("window.table");
        s.click("Command2", windowTable); // PARAMETER STORE
        QVERIFY(s.dialogs.warnings.isEmpty());

        const CliRun toStdout =
            runRowshiftCli({"fit", "--points", points, "--order", QString::number(order)});
        QCOMPARE(toStdout.exitCode, 0);
        QCOMPARE(toStdout.out, contentsOf(windowTable));
        const QString cliTable = dir.filePath("cli.table");
        const CliRun toFile = runRowshiftCli(
            {"fit", "--points", points, "--order", QString::number(order), "-o", cliTable});
        QCOMPARE(toFile.exitCode, 0);
        QVERIFY(toFile.out.isEmpty());
        QCOMPARE(contentsOf(cliTable), contentsOf(windowTable));
    }

    // The parabola's table, as CALCULATE(LSM) lists it.
    void fitOfTheParabola() {
        QTemporaryDir dir;
        const QString points = dir.filePath("p.points");
        writePlainly(points, pointsText(parabolaPx(), defaultPy()));
        const CliRun run = runRowshiftCli({"fit", "--points", points});
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines[0], QByteArray("0,13\r"));
        QCOMPARE(lines[128], QByteArray("128,3\r"));
        QCOMPARE(lines[256], QByteArray("256,0\r"));
        QCOMPARE(lines[384], QByteArray("384,3\r"));
        QCOMPARE(lines[511], QByteArray("511,13\r"));
    }

    // LOAD, the points placed, CALCULATE(LSM), CORRECT, SAVE in the window;
    // fit and apply from the command line on the same files: the same bytes.
    void applyGivesTheWindowsBytes_data() {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("pointsFile");
        QTest::addColumn<int>("order");
        QTest::newRow("24-bit BMP") << QFINDTESTDATA("../examples/parabola-24bit.bmp")
                                    << QFINDTESTDATA("../examples/parabola-24bit.points") << 4;
        QTest::newRow("8-bit BMP, order 2")
            << QFINDTESTDATA("../examples/parabola-8bit.bmp")
            << QFINDTESTDATA("../examples/parabola-8bit.points") << 2;
        // Cut at the right and bottom, white beyond, rows shifted by up to 57.
        QTest::newRow("wide and short BMP") << QString() << QString() << 6;
    }
    void applyGivesTheWindowsBytes() {
        QFETCH(QString, image);
        QFETCH(QString, pointsFile);
        QFETCH(int, order);
        QTemporaryDir dir;
        if (image.isEmpty()) {
            image = dir.filePath("wide.bmp");
            QVERIFY(patternedPicture(700, 300).save(image, "BMP"));
            pointsFile = dir.filePath("steep.points");
            PointCoordinates Px = defaultPx();
            for (int i = 2; i < ControlPointCount; ++i)
                Px[i] = float(300 + 50 * std::pow((defaultPy()[i] - 256) / 224.0, 2));
            writePlainly(pointsFile, pointsText(Px, defaultPy()));
        }
        const PointsRead points = readPointsFile(pointsFile);
        QVERIFY2(points.ok(), qPrintable(points.error));

        Session s;
        s.trigger("ImageLoad", image);
        s.calculate(points.Px, points.Py, order);
        s.click("Command4"); // CORRECT
        const QString windowImage = dir.filePath("window.bmp");
        s.trigger("ImageSave", windowImage);
        QVERIFY(s.dialogs.warnings.isEmpty());

        const QString table = dir.filePath("cli.table");
        QCOMPARE(runRowshiftCli({"fit", "--points", pointsFile, "--order", QString::number(order),
                                 "-o", table})
                     .exitCode,
                 0);
        const QString out = dir.filePath("out");
        const CliRun run = runRowshiftCli({"apply", "--table", table, "-o", out, image});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QByteArray cliBytes = contentsOf(QDir(out).filePath(QFileInfo(image).fileName()));
        QVERIFY(!cliBytes.isEmpty());
        QVERIFY(cliBytes == contentsOf(windowImage)); // not QCOMPARE: 786 kB of bytes
        QVERIFY(std::any_of(s.window.state().RowShift.begin(), s.window.state().RowShift.end(),
                            [](std::int16_t shift) { return shift > 0; }));
    }

    // A PNG stays PNG, with the pixels of the window's saved BMP.
    void pngKeepsItsFormatWithTheWindowsPixels() {
        const QString image = QFINDTESTDATA("../examples/cubic.png");
        const QString pointsFile = QFINDTESTDATA("../examples/cubic.points");
        const PointsRead points = readPointsFile(pointsFile);
        QTemporaryDir dir;
        Session s;
        s.trigger("ImageLoad", image);
        s.calculate(points.Px, points.Py, 4);
        s.click("Command4");
        const QString windowImage = dir.filePath("window.bmp");
        s.trigger("ImageSave", windowImage);

        const QString table = dir.filePath("cli.table");
        QCOMPARE(runRowshiftCli({"fit", "--points", pointsFile, "-o", table}).exitCode, 0);
        const QString out = dir.filePath("out");
        QCOMPARE(runRowshiftCli({"apply", "--table", table, "-o", out, image}).exitCode, 0);
        QImage cliImage;
        QVERIFY(cliImage.load(QDir(out).filePath("cubic.png"), "PNG"));
        QCOMPARE(cliImage.convertToFormat(QImage::Format_RGB32),
                 QImage(windowImage).convertToFormat(QImage::Format_RGB32));
    }

    // profile gives what Vertical Average and Save give after LOAD.
    void profileGivesTheWindowsFile() {
        const QString image = QFINDTESTDATA("../examples/parabola-8bit.bmp");
        QTemporaryDir dir;
        Session s;
        s.trigger("ImageLoad", image);
        s.click("Command3"); // Vertical Average
        const QString windowProfile = dir.filePath("window.profile");
        s.click("Command5", windowProfile); // Save
        QVERIFY(s.dialogs.warnings.isEmpty());

        const CliRun run = runRowshiftCli({"profile", image});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, contentsOf(windowProfile));
        const QString cliProfile = dir.filePath("cli.profile");
        QCOMPARE(runRowshiftCli({"profile", image, "-o", cliProfile}).exitCode, 0);
        QCOMPARE(contentsOf(cliProfile), contentsOf(windowProfile));
    }
};

ROWSHIFT_TEST_MAIN(CliMatchesWindowTest)
#include "tst_cli_matches_window.moc"
