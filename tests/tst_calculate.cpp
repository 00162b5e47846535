#include "TestMain.h"

#include "ScriptedDialogs.h"
#include "app/MainWindow.h"

#include <QListWidget>
#include <QPushButton>

namespace {

QStringList listEntries(MainWindow& window) {
    QStringList entries;
    auto* list = window.findChild<QListWidget*>("List1");
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

void clickCalculate(MainWindow& window) {
    window.findChild<QPushButton*>("Command1")->click();
}

// The points 1..8 on the parabola x = 300 + 10 ((y - 256) / 224)^2.
void placeOnParabola(WindowState& state) {
    for (int i = 2; i < 10; ++i) {
        const double t = (state.Py[i] - 256.0) / 224.0;
        state.Px[i] = float(300 + 10 * t * t);
    }
}

} // namespace

class CalculateTest : public QObject {
    Q_OBJECT
private slots:
    void startUpPointsGiveAFlatTable() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        clickCalculate(window);
        QVERIFY(dialogs.warnings.isEmpty());
        const QStringList entries = listEntries(window);
        QCOMPARE(entries.size(), 512);
        QCOMPARE(entries.first(), QStringLiteral(" 0   0"));
        QCOMPARE(entries.last(), QStringLiteral(" 511   0"));
        for (std::int16_t shift : window.state().RowShift)
            QCOMPARE(shift, std::int16_t(0));
        QCOMPARE(window.state().FitDev[1], 44.f);

        // The blue curve covers the green chain at x = 300 and starts with a
        // segment along y = 0 from the reference line.
        const Canvas& canvas = window.canvas();
        QCOMPARE(canvas.pixel(300, 200), colours::Blue);
        QCOMPARE(canvas.pixel(280, 0), colours::Blue);
        QCOMPARE(canvas.pixel(256, 250), colours::Red); // the points are redrawn
    }

    void parabolaGivesTheListedTable() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        placeOnParabola(window.state());
        clickCalculate(window);
        const QStringList entries = listEntries(window);
        QCOMPARE(entries[0], QStringLiteral(" 0   13"));
        QCOMPARE(entries[128], QStringLiteral(" 128   3"));
        QCOMPARE(entries[256], QStringLiteral(" 256   0"));
        QCOMPARE(entries[511], QStringLiteral(" 511   13"));

        clickCalculate(window); // a second click gives the same
        QCOMPARE(listEntries(window), entries);
    }

    // Each fault ends in a warning and leaves table, list and coefficients
    // exactly as the previous good calculation left them.
    void faultsLeaveEverythingAsItWas_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("order 7") << 0;
        QTest::newRow("order -1") << 1;
        QTest::newRow("A and B level") << 2;
        QTest::newRow("shift beyond 16 bits") << 3;
    }
    void faultsLeaveEverythingAsItWas() {
        QFETCH(int, fault);
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        placeOnParabola(window.state());
        clickCalculate(window);
        const QStringList entries = listEntries(window);
        const WindowState before = window.state();

        WindowState& state = window.state();
        switch (fault) {
        case 0:
            state.Order = 7;
            break;
        case 1:
            state.Order = -1;
            break;
        case 2:
            state.Py[1] = state.Py[0];
            break;
        case 3:
            state.Order = 0;
            for (int i = 2; i < 10; ++i)
                state.Px[i] = 40300;
            break;
        }
        clickCalculate(window);

        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY(!dialogs.warnings[0].text.isEmpty());
        QCOMPARE(listEntries(window), entries);
        QCOMPARE(window.state().RowShift, before.RowShift);
        QCOMPARE(window.state().Coef, before.Coef);
    }

    // All points 1..8 at y = 0 make the basis column of y zero everywhere:
    // the box "DET=0", then the table is built from the previous coefficients.
    void singularFitReusesThePreviousCoefficients() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs);
        placeOnParabola(window.state());
        clickCalculate(window);
        const WindowState before = window.state();

        for (int i = 2; i < 10; ++i)
            window.state().Py[i] = 0;
        clickCalculate(window);

        QCOMPARE(dialogs.warnings.size(), 1);
        QCOMPARE(dialogs.warnings[0].title, QStringLiteral("ERROR"));
        QCOMPARE(dialogs.warnings[0].text, QStringLiteral("DET=0"));
        QCOMPARE(window.state().Coef, before.Coef);
        QCOMPARE(window.state().RowShift, before.RowShift);
        QCOMPARE(listEntries(window).size(), 512);
    }
};

ROWSHIFT_TEST_MAIN(CalculateTest)
#include "tst_calculate.moc"
