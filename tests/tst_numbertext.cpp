#include "TestMain.h"

#include "common/NumberText.h"
#include "common/OrderText.h"

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void numberText_data() {
        QTest::addColumn<qlonglong>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0LL << " 0";
        QTest::newRow("positive") << 4LL << " 4";
        QTest::newRow("negative") << -5LL << "-5";
        QTest::newRow("no separators") << 1234567LL << " 1234567";
    }
    void numberText() {
        QFETCH(qlonglong, value);
        QFETCH(QString, text);
        QCOMPARE(::numberText(value), text);
    }

    void orderFromText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("order");
        QTest::newRow("start-up text") << " 4" << 4;
        QTest::newRow("letters only") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("half up to even") << "3.5" << 4;
        QTest::newRow("half down to even") << "2.5" << 2;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("trailing letters") << "12abc" << 12;
        QTest::newRow("plus sign") << "+6" << 6;
        QTest::newRow("leading point") << ".6" << 1;
        QTest::newRow("exponent") << "4e1" << 40;
        QTest::newRow("exponent without digits") << "5e" << 5;
        QTest::newRow("blanks inside") << " 1 2" << 12;
        QTest::newRow("sign alone") << "-" << 0;
        QTest::newRow("just above range saturates") << "40000" << 32767;
        QTest::newRow("just below range saturates") << "-40000" << -32768;
        QTest::newRow("65540 does not wrap to 4") << "65540" << 32767;
        QTest::newRow("huge exponent") << "1e999" << 32767;
        QTest::newRow("huge negative") << "-1e999" << -32768;
        QTest::newRow("tiny") << "1e-999" << 0;
        QTest::newRow("exponent at the 64-bit limit") << "1e9223372036854775807" << 32767;
        QTest::newRow("tiny at the 64-bit limit") << "0.0001e-9223372036854775807" << 0;
        QTest::newRow("very long digit string") << QString(400, QLatin1Char('9')) << 32767;
        QTest::newRow("long fraction underflow")
            << "0." + QString(400, QLatin1Char('0')) + "1" << 0;
    }
    void orderFromText() {
        QFETCH(QString, text);
        QFETCH(int, order);
        QCOMPARE(int(::orderFromText(text)), order);
    }
};

ROWSHIFT_TEST_MAIN(NumberTextTest)
#include "tst_numbertext.moc"
