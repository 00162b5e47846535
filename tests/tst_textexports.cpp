#include "TestMain.h"
#include "TestFiles.h"

#include "CanvasFixtures.h"

#include "canvas/Canvas.h"
#include "imageops/ColumnProfile.h"
#include "io/ShiftTableReader.h"
#include "io/TextExports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstdint>

using Shifts = std::array<std::int16_t, 512>;

namespace {

QByteArray linesOfZeros(int from, int to) {
    QByteArray text;
    for (int i = from; i <= to; ++i)
        text += QByteArray::number(i) + ",0\r\n";
    return text;
}

Shifts sampleShifts() {
    Shifts shifts;
    for (std::size_t i = 0; i < shifts.size(); ++i)
        shifts[i] = std::int16_t((i * 37) % 300);
    shifts[511] = 32767;
    return shifts;
}

// The shift table as text, with lineEnd after each line.
QByteArray tableText(const Shifts& shifts, const QByteArray& lineEnd) {
    QByteArray text;
    for (std::size_t i = 0; i < shifts.size(); ++i)
        text += QByteArray::number(qulonglong(i)) + ',' + QByteArray::number(shifts[i]) + lineEnd;
    return text;
}

} // namespace

class TextExportsTest : public QObject {
    Q_OBJECT
private slots:
    void zeroTablesGiveZeroLines() {
        QCOMPARE(shiftTableText(Shifts{}), linesOfZeros(0, 511));
        QCOMPARE(profileText(ColumnProfile{}), linesOfZeros(1, 510));
    }

    void shiftTableLines() {
        Shifts shifts{};
        shifts[0] = 3;
        shifts[7] = -5;
        shifts[511] = 32767;
        const QList<QByteArray> lines = shiftTableText(shifts).split('\n');
        QCOMPARE(lines.size(), 513); // 512 lines, each ended, nothing after
        QCOMPARE(lines[0], QByteArray("0,3\r"));
        QCOMPARE(lines[7], QByteArray("7,-5\r"));
        QCOMPARE(lines[511], QByteArray("511,32767\r"));
        QCOMPARE(lines[512], QByteArray());
    }

    void blackColumnGivesWholeNumberLine() {
        QImage picture = filledPicture(0xffffffffu);
        for (int row = 0; row < 512; ++row)
            picture.setPixel(200, row, qRgb(0, 0, 0));
        Canvas canvas;
        setUpAsLoaded(canvas, picture);
        ColumnProfile profile{};
        verticalAverage(canvas, profile);
        const QList<QByteArray> lines = profileText(profile).split('\n');
        QCOMPARE(lines.size(), 511);
        QCOMPARE(lines[199], QByteArray("200,130560\r"));
        QCOMPARE(lines[0], QByteArray("1,0.007781982\r"));
        QCOMPARE(lines[509], QByteArray("510,0.007781982\r"));
    }

    void profileValueText_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("zero") << 0.0f << QByteArray("0");
        QTest::newRow("negative zero") << -0.0f << QByteArray("0");
        QTest::newRow("whole") << 130560.0f << QByteArray("130560");
        QTest::newRow("seven digits whole") << 9999999.0f << QByteArray("9999999");
        QTest::newRow("white column") << 510.0f / 65536.0f << QByteArray("0.007781982");
        QTest::newRow("0.1 not 0.100000001") << 0.1f << QByteArray("0.1");
        QTest::newRow("fraction") << 1234.5f << QByteArray("1234.5");
        QTest::newRow("rounded to seven digits") << 1234.5678f << QByteArray("1234.568");
        QTest::newRow("rounding up a carry") << 0.99999999f << QByteArray("1");
        QTest::newRow("small, no exponent") << 1e-5f << QByteArray("0.00001");
        QTest::newRow("tiny, no exponent") << 1.5e-10f << QByteArray("0.00000000015");
        QTest::newRow("ten million") << 1e7f << QByteArray("10000000");
        QTest::newRow("eight digits rounded") << 12345678.0f << QByteArray("12345680");
        QTest::newRow("large, no exponent") << 3e10f << QByteArray("30000000000");
        QTest::newRow("negative") << -2.5f << QByteArray("-2.5");
        QTest::newRow("negative small") << -0.0078125f << QByteArray("-0.0078125");
    }
    void profileValueText() {
        QFETCH(float, value);
        QFETCH(QByteArray, text);
        QCOMPARE(QByteArray::fromStdString(::profileValueText(value)), text);
    }

    void savesAndReadsBack() {
        QTemporaryDir folder;
        const QString tableName = folder.filePath(QStringLiteral("shifts.csv"));
        writePlainly(tableName, "older, replaced");
        QCOMPARE(saveShiftTable(tableName, sampleShifts()), QString());
        QCOMPARE(contentsOf(tableName), shiftTableText(sampleShifts()));
        const ShiftTableRead read = readShiftTableFile(tableName);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.shifts, sampleShifts());

        const QString profileName = folder.filePath(QStringLiteral("profile"));
        QCOMPARE(saveProfile(profileName, ColumnProfile{}), QString());
        QCOMPARE(contentsOf(profileName), linesOfZeros(1, 510));
    }

    void saveFailuresKeepWhatWasThere() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(saveShiftTable(folder.filePath(QStringLiteral("sub")), Shifts{})
                    .contains(QStringLiteral("is a folder")));
        QVERIFY(!saveProfile(QStringLiteral("/dev/full"), ColumnProfile{}).isEmpty());
        QVERIFY(
            !saveProfile(folder.filePath(QStringLiteral("none/p.txt")), ColumnProfile{}).isEmpty());
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("sub")});
    }

    void readerAcceptsWhatTheExportWrites_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("CR LF") << tableText(sampleShifts(), "\r\n");
        QTest::newRow("LF") << tableText(sampleShifts(), "\n");
        QTest::newRow("last line unended") << tableText(sampleShifts(), "\n").chopped(1);
        QList<QByteArray> lines = tableText(sampleShifts(), "\n").split('\n');
        for (qsizetype k = 0; k < lines.size() - 1; k += 2)
            lines[k] += '\r';
        QTest::newRow("mixed ends") << lines.join('\n');
    }
    void readerAcceptsWhatTheExportWrites() {
        QFETCH(QByteArray, text);
        const ShiftTableRead read = parseShiftTable(text);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.shifts, sampleShifts());
    }

    void readerRefusesMalformedTables_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("where");
        const QByteArray good = tableText(Shifts{}, "\r\n");
        auto withLine = [&](int lineIndex, const QByteArray& line) {
            QList<QByteArray> lines = good.split('\n');
            lines[lineIndex] = line + '\r';
            return lines.join('\n');
        };
        QTest::newRow("empty file") << QByteArray() << "Line 1: expected \"0,<shift>\"";
        QTest::newRow("too few lines")
            << good.left(good.indexOf("300,")) << "Line 301: expected \"300,<shift>\"";
        QTest::newRow("extra line") << good + "512,0\r\n"
                                    << "Line 513: expected the end";
        QTest::newRow("trailing empty line") << good + "\r\n"
                                             << "Line 513";
        QTest::newRow("rows out of order") << withLine(5, "6,0") << "Line 6: expected \"5,";
        QTest::newRow("negative shift") << withLine(9, "9,-1") << "Line 10:";
        QTest::newRow("shift above 32767") << withLine(9, "9,32768") << "Line 10:";
        QTest::newRow("huge shift") << withLine(9, "9,99999999999999999999") << "Line 10:";
        QTest::newRow("blank after comma") << withLine(2, "2, 4") << "Line 3:";
        QTest::newRow("decimal shift") << withLine(2, "2,4.0") << "Line 3:";
        QTest::newRow("no comma") << withLine(2, "2;4") << "Line 3:";
        QTest::newRow("two commas") << withLine(2, "2,4,5") << "Line 3:";
        QTest::newRow("missing shift") << withLine(2, "2,") << "Line 3:";
        QTest::newRow("letters") << withLine(0, "row,shift") << "Line 1:";
        QTest::newRow("stray carriage return") << withLine(4, "4,1\r") << "Line 5:";
        QTest::newRow("carriage returns only") << tableText(Shifts{}, "\r") << "Line 1:";
    }
    void readerRefusesMalformedTables() {
        QFETCH(QByteArray, text);
        QFETCH(QString, where);
        const ShiftTableRead read = parseShiftTable(text);
        QVERIFY(!read.ok());
        QVERIFY2(read.error.startsWith(where), qPrintable(read.error));
        QVERIFY2(read.error.contains(QStringLiteral("found")), qPrintable(read.error));
    }

    void readerRefusesFilesThatAreNoTable() {
        QTemporaryDir folder;
        QVERIFY(!readShiftTableFile(folder.filePath(QStringLiteral("missing"))).ok());
        QVERIFY(!readShiftTableFile(folder.path()).ok());
        const QString big = folder.filePath(QStringLiteral("big"));
        writePlainly(big, QByteArray(1 << 20, '1'));
        const ShiftTableRead read = readShiftTableFile(big);
        QVERIFY2(read.error.contains(QStringLiteral("too long")), qPrintable(read.error));
        const QString bad = folder.filePath(QStringLiteral("bad.csv"));
        writePlainly(bad, "0,0\r\n1,x\r\n");
        QVERIFY(readShiftTableFile(bad).error.contains(QStringLiteral("Line 2:")));
    }
};

ROWSHIFT_TEST_MAIN(TextExportsTest)
#include "tst_textexports.moc"
