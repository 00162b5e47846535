#include "TestFiles.h"
#include "TestMain.h"

#include "CanvasFixtures.h"
#include "CliRunner.h"
#include "FileSizeLimit.h"
#include "canvas/ControlPoints.h"
#include "imageops/FrameCorrection.h"
#include "io/ImageFiles.h"
#include "io/TextExports.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <unistd.h>

// rowshift-cli's own behaviour: its command line, its diagnostics, and what
// it does with bad input, unusable folders and the inputs themselves.

namespace {

using Table = std::array<std::int16_t, 512>;

// Every row shifted, by 0 to 39 columns.
Table sampleTable() {
    Table table{};
    for (int i = 0; i < 512; ++i)
        table[std::size_t(i)] = std::int16_t(i * 7 % 40);
    return table;
}

// The points 1..8 at their start-up heights on x = curve(y), A and B on x = 256.
template <typename Curve> QByteArray pointsOn(Curve curve) {
    PointCoordinates Px = defaultPx();
    for (int i = 2; i < ControlPointCount; ++i)
        Px[i] = float(curve(double(defaultPy()[i])));
    return pointsText(Px, defaultPy());
}

// Exactly on x = 300 + 2t + t^3 / 8, t = (y - 256) / 32, in single precision.
QByteArray cubicPoints() {
    return pointsOn([](double y) {
        const double t = (y - 256) / 32;
        return 300 + 2 * t + t * t * t / 8;
    });
}

// Points placed by hand on a steep parabola: order 6 runs through each and
// swings out beyond the lowest.
const QByteArray HandPlacedPoints = "237,10\n237,500\n285,32\n259,96\n246,160\n237,224\n"
                                    "237,288\n246,352\n259,416\n285,480\n";

QStringList entriesOf(const QString& folder) {
    QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    entries.sort();
    return entries;
}

QImage grey16Picture(int width, int height) {
    QImage image(width, height, QImage::Format_Grayscale16);
    for (int row = 0; row < height; ++row) {
        auto* line = reinterpret_cast<quint16*>(image.scanLine(row));
        for (int column = 0; column < width; ++column)
            line[column] = quint16(row * 97 + column * 131); // 16 bits in use
    }
    return image;
}

QJsonObject jsonOf(const QByteArray& bytes) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << error.errorString();
    return document.object();
}

// A scratch folder holding a points file, a table and a few images.
struct Scratch {
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qWarning() << "could not write" << name;
        return path(name);
    }
    QString image(const QString& name, const QImage& image, const char* format) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        if (!image.save(path(name), format))
            qWarning() << "could not save" << name;
        return path(name);
    }
    QString table() const { return write("shifts.table", shiftTableText(sampleTable())); }
};

} // namespace

class CliTest : public QObject {
    Q_OBJECT
private slots:
    void helpAndUsageErrors_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown"); // in the output or, on errors, standard error
        const QStringList fit{"fit", "--points", "p.points"};
        const QStringList apply{"apply", "--table", "shifts.table", "-o", "out"};
        QTest::newRow("overview") << QStringList{"--help"} << 0 << "apply";
        QTest::newRow("fit help") << QStringList{"fit", "--help"} << 0 << "--order <N>";
        QTest::newRow("apply help") << QStringList{"apply", "-h"} << 0 << "--keep-depth";
        QTest::newRow("profile help") << QStringList{"profile", "--help"} << 0 << "IMAGE";
        QTest::newRow("no command") << QStringList{} << 2 << "Usage: rowshift-cli COMMAND";
        QTest::newRow("unknown command") << QStringList{"straighten"} << 2 << "unknown command";
        QTest::newRow("unknown option") << fit + QStringList{"--colour"} << 2 << "colour";
        QTest::newRow("order 7") << fit + QStringList{"--order", "7"} << 2 << "0 to 6";
        QTest::newRow("order -1") << fit + QStringList{"--order", "-1"} << 2 << "0 to 6";
        QTest::newRow("order 3.5") << fit + QStringList{"--order", "3.5"} << 2 << "0 to 6";
        QTest::newRow("order in words") << fit + QStringList{"--order", "four"} << 2 << "0 to 6";
        QTest::newRow("no points file") << QStringList{"fit", "-o", "t"} << 2 << "--points";
        QTest::newRow("extra argument") << fit + QStringList{"p.points"} << 2 << "unexpected";
        QTest::newRow("no table") << QStringList{"apply", "-o", "out", "a.bmp"} << 2 << "--table";
        QTest::newRow("no output folder")
            << QStringList{"apply", "--table", "shifts.table", "a.bmp"} << 2 << "-o OUTDIR";
        QTest::newRow("no images") << apply << 2 << "no IMAGE";
        QTest::newRow("jobs 0") << apply + QStringList{"--jobs", "0", "a.bmp"} << 2 << "--jobs";
        QTest::newRow("profile of nothing") << QStringList{"profile"} << 2 << "no IMAGE";
        QTest::newRow("profile of two")
            << QStringList{"profile", "a.bmp", "a.bmp"} << 2 << "only one";
    }
    // Help goes to standard output with status 0; a wrong command line is
    // named on standard error with status 2, and nothing is read or written.
    void helpAndUsageErrors() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        Scratch s;
        s.write("p.points", cubicPoints());
        s.table();
        s.image("a.bmp", patternedPicture(), "BMP");
        const QStringList before = entriesOf(s.dir.path());

        const CliRun run = runRowshiftCli(arguments, s.dir.path());
        QCOMPARE(run.exitCode, exitCode);
        const QString text = QString::fromUtf8(exitCode == 0 ? run.out : run.err);
        QVERIFY2(text.contains(shown), qPrintable(text));
        if (exitCode == 0)
            QVERIFY(run.err.isEmpty());
        else
            QVERIFY(run.out.isEmpty());
        QCOMPARE(entriesOf(s.dir.path()), before);
    }

    // Points exactly on a cubic: no residual from order 3 on, the lower
    // orders far off, and order 3 recommended; the table is the fitted one.
    void diagnosticsOfPointsOnACubic() {
        Scratch s;
        const QString points = s.write("cubic.points", cubicPoints());
        const QString table = s.path("cubic.table");
        const CliRun run =
            runRowshiftCli({"fit", "--points", points, "--order", "3", "-o", table, "--json"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        const QJsonObject report = jsonOf(run.out);

        QCOMPARE(report["order"].toInt(), 3);
        QCOMPARE(report["criterion"].toString(), QStringLiteral("AICc"));
        QCOMPARE(report["recommendedOrder"].toInt(), 3);
        const QJsonArray orders = report["orders"].toArray();
        QCOMPARE(orders.size(), 7);
        for (int order = 0; order <= 6; ++order) {
            const QJsonObject o = orders[order].toObject();
            QCOMPARE(o["order"].toInt(), order);
            QVERIFY(o["solved"].toBool());
            const double rms = o["rms"].toDouble();
            QVERIFY2(order < 3 ? rms > 1 : rms < 0.01, qPrintable(QString::number(rms)));
        }
        QVERIFY(orders[6].toObject()["aicc"].isNull()); // undefined for 7 coefficients
        QVERIFY(orders[3].toObject()["aicc"].toDouble() < orders[4].toObject()["aicc"].toDouble());

        const QJsonArray coefficients = report["coefficients"].toArray();
        QCOMPARE(coefficients.size(), 4);
        QCOMPARE(coefficients[1].toObject()["power"].toInt(), 1);
        QCOMPARE(coefficients[1].toObject()["value"].toDouble(), 0.8125); // 2/32 + 3 * 256^2/8/32^3
        QCOMPARE(coefficients[1].toObject()["standardError"].toDouble(), 0.0);
        const QJsonArray residuals = report["points"].toArray();
        QCOMPARE(residuals.size(), 8);
        QCOMPARE(residuals[7].toObject()["point"].toString(), QStringLiteral("8"));
        QCOMPARE(residuals[7].toObject()["deviation"].toDouble(), 100.875);
        QCOMPARE(residuals[7].toObject()["residual"].toDouble(), 0.0);
        QCOMPARE(report["rms"].toDouble(), 0.0);
        QVERIFY(report["warnings"].toArray().isEmpty());

        // The table went to the file, the same as in the document.
        QCOMPARE(report["table"].toString(), table);
        const QJsonArray shifts = report["shifts"].toArray();
        Table fromJson{};
        for (int i = 0; i < 512; ++i)
            fromJson[std::size_t(i)] = std::int16_t(shifts[i].toInt());
        QCOMPARE(contentsOf(table), shiftTableText(fromJson));

        // In plain text the same goes to standard error, the table to output.
        const CliRun text = runRowshiftCli({"fit", "--points", points, "--order", "3"});
        QCOMPARE(text.out, contentsOf(table));
        QVERIFY2(text.errText().contains(QStringLiteral("AICc recommends order 3")),
                 text.err.constData());
        QVERIFY(text.errText().contains(QStringLiteral("standard error")));
    }

    void warnsWhenTheCurveIsExtrapolated() {
        Scratch s;
        const QString points = s.write("hand.points", HandPlacedPoints);
        const CliRun text = runRowshiftCli({"fit", "--points", points, "--order", "6"});
        QCOMPARE(text.exitCode, 0); // a warning, not a failure
        QVERIFY2(text.errText().contains(QStringLiteral("warning: the shifts near the bottom rows "
                                                        "are extrapolated")),
                 text.err.constData());
        const CliRun json = runRowshiftCli({"fit", "--points", points, "--order", "6", "--json"});
        const QJsonArray warnings = jsonOf(json.out)["warnings"].toArray();
        QCOMPARE(warnings.size(), 1);
        QCOMPARE(warnings[0].toObject()["kind"].toString(), QStringLiteral("beyondPoints"));
        QCOMPARE(warnings[0].toObject()["row"].toInt(), 0);
        QCOMPARE(jsonOf(json.out)["recommendedOrder"].toInt(), 2);

        const CliRun calm = runRowshiftCli({"fit", "--points", points, "--order", "2"});
        QVERIFY(!calm.errText().contains(QStringLiteral("warning")));
    }

    // Points that cannot be read or fitted: status 1, the reason with its
    // line, and the table file left as it was.
    void refusesPointsItCannotFit_data() {
        QTest::addColumn<QByteArray>("points");
        QTest::addColumn<QString>("reason");
        QList<QByteArray> lines = cubicPoints().split('\n');
        lines[5] = "300;160";
        QTest::newRow("semicolon") << lines.join('\n') << "Line 6: expected point \"3\"";
        QTest::newRow("nine points") << cubicPoints().left(cubicPoints().lastIndexOf("356"))
                                     << "Line 11: expected point \"8\"";
        QTest::newRow("A and B level")
            << QByteArray("256,10\n300,10\n300,32\n300,96\n300,160\n300,224\n300,288\n300,352\n"
                          "300,416\n300,480\n")
            << "same height";
        QTest::newRow("points at one height")
            << QByteArray("256,10\n256,500\n300,32\n301,32\n302,32\n303,32\n304,32\n305,32\n"
                          "306,32\n307,32\n")
            << "DET=0";
        QTest::newRow("no such file") << QByteArray() << "does not exist";
    }
    void refusesPointsItCannotFit() {
        QFETCH(QByteArray, points);
        QFETCH(QString, reason);
        Scratch s;
        const QString pointsFile =
            points.isNull() ? s.path("missing.points") : s.write("p.points", points);
        const QString table = s.write("old.table", "kept\n");
        const CliRun run = runRowshiftCli({"fit", "--points", pointsFile, "-o", table});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errText().contains(reason), run.err.constData());
        QVERIFY(run.out.isEmpty());
        QCOMPARE(contentsOf(table), QByteArray("kept\n"));
    }

    void neverWritesOverItsInputFile_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("fit") << "fit";
        QTest::newRow("profile") << "profile";
    }
    void neverWritesOverItsInputFile() {
        QFETCH(QString, command);
        Scratch s;
        const QString input = command == QLatin1String("fit")
                                  ? s.write("p.points", cubicPoints())
                                  : s.image("a.bmp", patternedPicture(), "BMP");
        const QByteArray before = contentsOf(input);
        // The same file by another name.
        const QString sameFile = s.path("./sub/../") + QFileInfo(input).fileName();
        QVERIFY(QDir(s.dir.path()).mkdir("sub"));
        const QStringList arguments = command == QLatin1String("fit")
                                          ? QStringList{"fit", "--points", input, "-o", sameFile}
                                          : QStringList{"profile", input, "-o", sameFile};
        const CliRun run = runRowshiftCli(arguments);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errText().contains(QStringLiteral("not written over")), run.err.constData());
        QCOMPARE(contentsOf(input), before);
    }

    // Writing a table or profile to a full disk or a missing folder fails
    // loudly, never as a success.
    void writeFailuresAreReported() {
        Scratch s;
        const QString points = s.write("p.points", cubicPoints());
        const QString image = s.image("a.bmp", patternedPicture(), "BMP");
        const QString nowhere = s.path("missing/out.txt");
        QCOMPARE(runRowshiftCli({"fit", "--points", points, "-o", nowhere}).exitCode, 1);
        QCOMPARE(runRowshiftCli({"profile", image, "-o", nowhere}).exitCode, 1);
        QCOMPARE(runRowshiftCli({"profile", s.path("missing.bmp")}).exitCode, 1);

        for (const QStringList& arguments :
             {QStringList{"fit", "--points", points}, QStringList{"profile", image}}) {
            QProcess process;
            process.setStandardOutputFile(QStringLiteral("/dev/full"));
            process.start(QStringLiteral(ROWSHIFT_CLI_PATH), arguments);
            QVERIFY(process.waitForFinished(300'000));
            QCOMPARE(process.exitCode(), 1);
            QVERIFY(process.readAllStandardError().contains("standard output"));
        }
    }

    void applyRefusesMalformedTables_data() {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("reason");
        const QByteArray good = shiftTableText(sampleTable());
        QTest::newRow("cut short")
            << good.left(good.indexOf("\n300,") + 1) << "Line 301: expected \"300,<shift>\"";
        QTest::newRow("negative shift") << QByteArray(good).replace("\n9,", "\n9,-") << "Line 10:";
        QTest::newRow("a points file") << cubicPoints() << "Line 1:";
        QTest::newRow("no such file") << QByteArray() << "does not exist";
    }
    void applyRefusesMalformedTables() {
        QFETCH(QByteArray, table);
        QFETCH(QString, reason);
        Scratch s;
        const QString tableFile =
            table.isNull() ? s.path("missing.table") : s.write("bad.table", table);
        const QString image = s.image("a.bmp", patternedPicture(), "BMP");
        const CliRun run =
            runRowshiftCli({"apply", "--table", tableFile, "-o", s.path("out"), image});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errText().contains(reason), run.err.constData());
        QVERIFY(!QFileInfo::exists(s.path("out")));
    }

    // One bad image among good ones: the good ones are written, the bad
    // ones named with their reasons in the order given, and the status is
    // 1. However many run at once, the results are the same.
    void goesOnPastBadImages() {
        Scratch s;
        const QString table = s.table();
        const QStringList images{
            s.image("one.bmp", patternedPicture(), "BMP"),
            s.write("broken.bmp", "BM this is no bitmap"),
            s.image("two.png", patternedPicture(400, 600), "PNG"),
            s.path("missing.bmp"),
            s.image("three.bmp", patternedPicture(100, 100), "BMP"),
        };
        const CliRun parallel = runRowshiftCli(
            QStringList{"apply", "--table", table, "-o", s.path("par"), "--jobs", "3"} + images);
        QCOMPARE(parallel.exitCode, 1);
        const QString err = parallel.errText();
        QVERIFY2(err.indexOf("broken.bmp") >= 0 &&
                     err.indexOf("broken.bmp") < err.indexOf("missing.bmp"),
                 qPrintable(err));
        QVERIFY(err.contains(QStringLiteral("2 of 5 images failed")));
        QVERIFY(!err.contains(QLatin1Char('\r'))); // no progress line when not a terminal
        QCOMPARE(entriesOf(s.path("par")), (QStringList{"one.bmp", "three.bmp", "two.png"}));

        const CliRun serial = runRowshiftCli(
            QStringList{"apply", "--table", table, "-o", s.path("ser"), "--jobs", "1"} + images);
        QCOMPARE(serial.err, parallel.err); // the same messages in the same order
        for (const QString& name : entriesOf(s.path("par")))
            QVERIFY(contentsOf(s.path("par/" + name)) == contentsOf(s.path("ser/" + name)));
        QCOMPARE(contentsOf(s.path("ser/one.bmp")),
                 bmp24Bytes(correctedFrame(patternedPicture(), sampleTable())));
    }

    void reportsAnUnusableOutputFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a file") << "file"
                                << "is not a folder";
        QTest::newRow("below a file") << "file/out"
                                      << "could not create";
    }
    void reportsAnUnusableOutputFolder() {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        Scratch s;
        s.write("file", "data");
        const QString image = s.image("a.bmp", patternedPicture(), "BMP");
        const CliRun run =
            runRowshiftCli({"apply", "--table", s.table(), "-o", s.path(folder), image});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errText().contains(reason), run.err.constData());
        QCOMPARE(contentsOf(s.path("file")), QByteArray("data"));
    }

    // Root writes anywhere, so this one speaks only for other users.
    void reportsAReadOnlyOutputFolder() {
        if (geteuid() == 0)
            QSKIP("root may write into a read-only folder");
        Scratch s;
        const QString image = s.image("a.bmp", patternedPicture(), "BMP");
        QVERIFY(QDir(s.dir.path()).mkdir("locked"));
        QVERIFY(QFile::setPermissions(s.path("locked"), QFile::ReadOwner | QFile::ExeOwner));
        const CliRun run =
            runRowshiftCli({"apply", "--table", s.table(), "-o", s.path("locked"), image});
        QFile::setPermissions(s.path("locked"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errText().contains(QStringLiteral("cannot write into the output folder")),
                 run.err.constData());
        QVERIFY(entriesOf(s.path("locked")).isEmpty());
    }

    void createsAMissingOutputFolder() {
        Scratch s;
        const QString image = s.image("a.bmp", patternedPicture(), "BMP");
        const CliRun run =
            runRowshiftCli({"apply", "--table", s.table(), "-o", s.path("new/deeper"), image});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(entriesOf(s.path("new/deeper")), QStringList{"a.bmp"});
    }

    // When the disk fills up, an earlier output keeps its old bytes and no
    // half-written or temporary file is left.
    void fullDiskLeavesOldOutputsWhole() {
        Scratch s;
        const QString table = s.table();
        const QString image = s.image("a.bmp", patternedPicture(), "BMP");
        const QString old = s.write("out/a.bmp", "an earlier result");
        CliRun run;
        {
            const FileSizeLimit limit(64 * 1024); // inherited by the tool
            QVERIFY(limit.active());
            run = runRowshiftCli({"apply", "--table", table, "-o", s.path("out"), image});
        }
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errText().contains(QStringLiteral("a.bmp")), run.err.constData());
        QCOMPARE(contentsOf(old), QByteArray("an earlier result"));
        QCOMPARE(entriesOf(s.path("out")), QStringList{"a.bmp"});
    }

    // An image whose output would replace an input, its own or another's,
    // or the output of an earlier image, is refused; every input keeps its
    // bytes.
    void neverWritesOverAnInput_data() {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("refused");
        QTest::newRow("output folder is the input folder") << QStringList{"in/a.bmp"} << "in" << 1;
        QTest::newRow("same folder by another name")
            << QStringList{"in/a.bmp"} << "in/../in/." << 1;
        // a.jpg becomes out/a.png, which is the second input.
        QTest::newRow("output is another input")
            << QStringList{"in/a.jpg", "out/a.png"} << "out" << 2;
        QTest::newRow("two inputs of one name")
            << QStringList{"in/a.bmp", "in2/a.bmp"} << "out" << 1;
        QTest::newRow("one input twice") << QStringList{"in/a.bmp", "in/./a.bmp"} << "out" << 1;
        QTest::newRow("output is a link to the input") << QStringList{"in/a.bmp"} << "links" << 1;
    }
    void neverWritesOverAnInput() {
        QFETCH(QStringList, images);
        QFETCH(QString, folder);
        QFETCH(int, refused);
        Scratch s;
        s.image("in/a.bmp", patternedPicture(), "BMP");
        s.image("in2/a.bmp", patternedPicture(300, 300), "BMP");
        s.image("in/a.jpg", patternedPicture(), "JPEG");
        s.image("out/a.png", patternedPicture(), "PNG");
        QVERIFY(QDir(s.dir.path()).mkdir("links"));
        QVERIFY(QFile::link(s.path("in/a.bmp"), s.path("links/a.bmp")));
        QStringList paths;
        QList<QByteArray> before;
        for (const QString& image : images) {
            paths << s.path(image);
            before << contentsOf(s.path(image));
        }

        const CliRun run = runRowshiftCli(
            QStringList{"apply", "--table", s.table(), "-o", s.path(folder)} + paths);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errText().count(QStringLiteral("is not corrected")), refused);
        for (qsizetype i = 0; i < paths.size(); ++i)
            QVERIFY2(contentsOf(paths[i]) == before[i], qPrintable(paths[i]));
        QCOMPARE(contentsOf(s.path("in/a.bmp")), contentsOf(s.path("links/a.bmp")));
    }

    // A BMP, PNG or TIFF stays one; anything else becomes PNG, never lossy;
    // the name tells the format written. Pixels are the window's.
    void keepsLosslessFormats_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("PNG") << "x.png" << QByteArray("PNG") << "x.png" << QByteArray("png");
        QTest::newRow("TIFF") << "x.tif" << QByteArray("TIFF") << "x.tif" << QByteArray("tiff");
        QTest::newRow("JPEG") << "x.jpg" << QByteArray("JPEG") << "x.png" << QByteArray("png");
        QTest::newRow("JPEG named .bmp")
            << "y.bmp" << QByteArray("JPEG") << "y.png" << QByteArray("png");
        QTest::newRow("upper-case BMP")
            << "Z.BMP" << QByteArray("BMP") << "Z.BMP" << QByteArray("bmp");
        QTest::newRow("BMP without extension")
            << "frame" << QByteArray("BMP") << "frame.bmp" << QByteArray("bmp");
    }
    void keepsLosslessFormats() {
        QFETCH(QString, input);
        QFETCH(QByteArray, format);
        QFETCH(QString, output);
        QFETCH(QByteArray, written);
        Scratch s;
        const QString image = s.image(input, patternedPicture(600, 400), format.constData());
        const CliRun run =
            runRowshiftCli({"apply", "--table", s.table(), "-o", s.path("out"), image});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(entriesOf(s.path("out")), QStringList{output});
        const QString result = s.path("out/" + output);
        QCOMPARE(QImageReader::imageFormat(result), written);
        const QImage expected = correctedFrame(loadImage(image).image, sampleTable());
        if (written == "bmp")
            QCOMPARE(contentsOf(result), bmp24Bytes(expected));
        else
            QCOMPARE(loadImage(result).image, expected);
    }

    // --keep-depth: 16-bit grey keeps its 16-bit samples; without it, the
    // window's 8 bits. 16-bit colour is refused rather than cut.
    void keepDepth_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("PNG") << "deep.png" << QByteArray("PNG");
        QTest::newRow("TIFF") << "deep.tif" << QByteArray("TIFF");
    }
    void keepDepth() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        Scratch s;
        const QImage picture = grey16Picture(520, 300);
        const QString image = s.image(name, picture, format.constData());
        const QString table = s.table();

        const CliRun deep = runRowshiftCli(
            {"apply", "--keep-depth", "--table", table, "-o", s.path("deep"), image});
        QCOMPARE(deep.exitCode, 0);
        const QImage kept(s.path("deep/" + name));
        QCOMPARE(kept.format(), QImage::Format_Grayscale16);
        QCOMPARE(kept, correctedGrey16Frame(picture, sampleTable()));

        const CliRun shallow =
            runRowshiftCli({"apply", "--table", table, "-o", s.path("shallow"), image});
        QCOMPARE(shallow.exitCode, 0);
        const QImage cut(s.path("shallow/" + name));
        QVERIFY(cut.format() != QImage::Format_Grayscale16);
        QCOMPARE(cut.convertToFormat(QImage::Format_RGB32),
                 correctedFrame(loadImage(image).image, sampleTable()));

        QImage colour(64, 64, QImage::Format_RGBX64);
        colour.fill(QColor(10, 20, 30));
        const QString colourImage = s.image("colour-" + name, colour, format.constData());
        const CliRun refused = runRowshiftCli(
            {"apply", "--keep-depth", "--table", table, "-o", s.path("colour"), colourImage});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.errText().contains(QStringLiteral("8 bits per colour channel")),
                 refused.err.constData());
        QVERIFY(entriesOf(s.path("colour")).isEmpty());
    }
};

ROWSHIFT_TEST_MAIN(CliTest)
#include "tst_cli.moc"
