#include "TestMain.h"

#include "io/PointsFile.h"

#include <QTemporaryDir>

namespace {

const QByteArray TenPoints = "256,10\n256,500\n300,32\n300,96\n300,160\n300,224\n"
                             "300,288\n300,352\n300,416\n300,480\n";

// TenPoints with its point line `index` (0 = A) replaced.
QByteArray withPoint(int index, const QByteArray& line) {
    QList<QByteArray> lines = TenPoints.split('\n');
    lines[index] = line;
    return lines.join('\n');
}

void writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class PointsFileTest : public QObject {
    Q_OBJECT
private slots:
    void readsTheTenPoints() {
        const PointsRead read = parsePointsFile(TenPoints);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.Px, defaultPx());
        QCOMPARE(read.Py, defaultPy());
    }

    // What people write by hand or other programs write: all of it reads
    // as the same ten points.
    void acceptsCommentsBlanksAndLineEnds_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("comments and blank lines") << "# reference line\n\n" + TenPoints.left(15) +
                                                         "\n  # points 1..8\n\t\n" +
                                                         TenPoints.mid(15) + "\n# end\n";
        QTest::newRow("CR LF") << QByteArray(TenPoints).replace("\n", "\r\n");
        QTest::newRow("last line unended") << TenPoints.chopped(1);
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + TenPoints;
        QTest::newRow("blanks around numbers") << withPoint(0, " 256 ,\t10 ");
        QTest::newRow("plus sign and decimals") << withPoint(0, "+256.000,10.");
    }
    void acceptsCommentsBlanksAndLineEnds() {
        QFETCH(QByteArray, text);
        const PointsRead read = parsePointsFile(text);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.Px, defaultPx());
        QCOMPARE(read.Py, defaultPy());
    }

    // Decimal text is rounded once, to the nearest single-precision value:
    // the window's points are single precision too.
    void roundsDecimalsToTheNearestFloat() {
        const PointsRead read = parsePointsFile(withPoint(3, "-.1,305.10204081632653"));
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.Px[3], -0.1f);
        QCOMPARE(read.Py[3], 305.10204081632653f);
    }

    void refusesMalformedFiles_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("where");
        QTest::newRow("empty file") << QByteArray() << "Line 1: expected point \"A\"";
        QTest::newRow("comments only")
            << QByteArray("# A\n# B\n") << "Line 3: expected point \"A\"";
        QTest::newRow("nine points")
            << TenPoints.left(TenPoints.lastIndexOf("300,480")) << "Line 10: expected point \"8\"";
        QTest::newRow("eleven points") << TenPoints + "1,2\n"
                                       << "Line 11: expected only blank";
        QTest::newRow("semicolon") << withPoint(1, "256;500") << "Line 2: expected point \"B\"";
        QTest::newRow("decimal comma")
            << withPoint(4, "300,5,160") << "Line 5: expected point \"3\"";
        QTest::newRow("missing y") << withPoint(9, "300,") << "Line 10: expected point \"8\"";
        QTest::newRow("missing x") << withPoint(2, ",32") << "Line 3:";
        QTest::newRow("letters") << withPoint(0, "x,y") << "Line 1:";
        QTest::newRow("exponent") << withPoint(0, "2.56e2,10") << "Line 1:";
        QTest::newRow("nan") << withPoint(0, "nan,10") << "Line 1:";
        QTest::newRow("beyond single precision")
            << withPoint(0, "1" + QByteArray(40, '0') + ",10") << "Line 1:";
        QTest::newRow("sign only") << withPoint(0, "-,10") << "Line 1:";
        QTest::newRow("two signs") << withPoint(0, "--256,10") << "Line 1:";
        QTest::newRow("point only") << withPoint(0, ".,10") << "Line 1:";
        QTest::newRow("trailing comment") << withPoint(0, "256,10 # A") << "Line 1:";
        QTest::newRow("three numbers") << withPoint(0, "256,10,1") << "Line 1:";
        QTest::newRow("stray carriage return") << withPoint(0, "256,10\r\r") << "Line 1:";
        QTest::newRow("line numbers count comments")
            << "# one\n# two\n" + withPoint(1, "B") << "Line 4: expected point \"B\"";
    }
    void refusesMalformedFiles() {
        QFETCH(QByteArray, text);
        QFETCH(QString, where);
        const PointsRead read = parsePointsFile(text);
        QVERIFY(!read.ok());
        QVERIFY2(read.error.startsWith(where), qPrintable(read.error));
        QVERIFY2(read.error.contains(QStringLiteral("found")), qPrintable(read.error));
    }

    void readsFilesAndNamesThemInErrors() {
        QTemporaryDir folder;
        const QString good = folder.filePath(QStringLiteral("good.points"));
        writeFile(good, TenPoints);
        QVERIFY(readPointsFile(good).ok());

        const QString bad = folder.filePath(QStringLiteral("bad.points"));
        writeFile(bad, withPoint(6, "300;288"));
        const QString error = readPointsFile(bad).error;
        QVERIFY2(error.contains(QStringLiteral("bad.points")) &&
                     error.contains(QStringLiteral("Line 7:")),
                 qPrintable(error));

        QVERIFY(!readPointsFile(folder.filePath(QStringLiteral("missing"))).ok());
        QVERIFY(!readPointsFile(folder.path()).ok());
        const QString big = folder.filePath(QStringLiteral("big"));
        writeFile(big, QByteArray(1 << 20, '#'));
        QVERIFY(readPointsFile(big).error.contains(QStringLiteral("too long")));
    }
};

ROWSHIFT_TEST_MAIN(PointsFileTest)
#include "tst_pointsfile.moc"
