#include "TestMain.h"

#include "canvas/ControlPoints.h"
#include "common/NumberText.h"
#include "fit/CurveFit.h"
#include "fit/IntegerPower.h"
#include "fit/PolynomialFit.h"
#include "fit/RowShiftTable.h"

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(Coefficients)
Q_DECLARE_METATYPE(FitProblem)
Q_DECLARE_METATYPE(FitRequest)

namespace {

FitRequest startUpRequest(int order) {
    FitRequest request;
    request.Px = defaultPx();
    request.Py = defaultPy();
    request.Order = std::int16_t(order);
    return request;
}

// The points 1..8 moved, at their start-up heights, onto the parabola
// x = 300 + 10 ((y - 256) / 224)^2, so x = 310 at y = 32 and y = 480.
FitRequest parabolaRequest(int order) {
    FitRequest request = startUpRequest(order);
    for (int i = 2; i < ControlPointCount; ++i) {
        const double t = (request.Py[i] - 256.0) / 224.0;
        request.Px[i] = float(300 + 10 * t * t);
    }
    return request;
}

Coefficients coefficients(std::initializer_list<float> fromIndexOne) {
    Coefficients Coef{};
    int k = 1;
    for (float c : fromIndexOne)
        Coef[k++] = c;
    return Coef;
}

} // namespace

class CurveFitTest : public QObject {
    Q_OBJECT
private slots:
    void orders_data() {
        QTest::addColumn<int>("order");
        for (int order = 0; order <= 6; ++order)
            QTest::addRow("order %d", order) << order;
    }

    // The start-up points: reference line x = 256, every deviation 44, every
    // raw shift 44 and so every table entry 0, and the blue curve the
    // vertical x = 300 after a first segment from (256, 0).
    void startUpPoints_data() { orders_data(); }
    void startUpPoints() {
        QFETCH(int, order);
        const FitResult fit = calculateFit(startUpRequest(order));

        QVERIFY(!fit.warning);
        QVERIFY(!fit.singular);
        QCOMPARE(fit.line.g, 0.0f);
        QCOMPARE(fit.line.h, 256.0f);
        for (int i = 1; i <= FitPointCount; ++i) {
            QCOMPARE(fit.FitPos[i], float((i - 1) * 64 + 32));
            QCOMPARE(fit.FitDev[i], 44.0f);
        }
        for (int row = 0; row < RowCount; ++row) {
            QCOMPARE(rawShift(row, fit.Coef, order), 44.0);
            QCOMPARE(fit.RowShift[row], std::int16_t(0));
        }
        QCOMPARE(int(fit.listEntries.size()), RowCount);
        QCOMPARE(fit.listEntries.front(), QStringLiteral(" 0   0"));
        QCOMPARE(fit.listEntries.back(), QStringLiteral(" 511   0"));

        QCOMPARE(fit.curve.size(), std::size_t(CurveSteps + 1));
        QCOMPARE(fit.curve[0].x, 256.0f);
        QCOMPARE(fit.curve[0].y, 0.0f);
        for (int step = 0; step < CurveSteps; ++step) {
            const CurvePoint p = fit.curve[step + 1];
            QCOMPARE(p.y, float(step));
            QVERIFY2(std::fabs(p.x - 300) < 0.1f, qPrintable(QString::number(p.x)));
        }
    }

    // For a parabola any order from 2 up fits the same table.
    void parabola_data() {
        QTest::addColumn<int>("order");
        for (int order = 2; order <= 6; ++order)
            QTest::addRow("order %d", order) << order;
    }
    void parabola() {
        QFETCH(int, order);
        const FitResult fit = calculateFit(parabolaRequest(order));

        QVERIFY(!fit.warning);
        QCOMPARE(rawShift(0, fit.Coef, order), 57.0);
        QCOMPARE(rawShift(256, fit.Coef, order), 44.0);
        QCOMPARE(rawShift(511, fit.Coef, order), 57.0);
        QCOMPARE(fit.RowShift[0], std::int16_t(13));
        QCOMPARE(fit.RowShift[128], std::int16_t(3));
        QCOMPARE(fit.RowShift[256], std::int16_t(0));
        QCOMPARE(fit.RowShift[384], std::int16_t(3));
        QCOMPARE(fit.RowShift[511], std::int16_t(13));
        QCOMPARE(fit.listEntries[0], QStringLiteral(" 0   13"));
        QCOMPARE(fit.listEntries[256], QStringLiteral(" 256   0"));
    }

    // A clicked-twice fit: the second click starts from the first one's
    // coefficients and must give the same table and list.
    void twoCallsGiveTheSameTable_data() { orders_data(); }
    void twoCallsGiveTheSameTable() {
        QFETCH(int, order);
        FitRequest request = parabolaRequest(order);
        const FitResult first = calculateFit(request);
        request.Coef = first.Coef;
        const FitResult second = calculateFit(request);
        QCOMPARE(second.Coef, first.Coef);
        QCOMPARE(second.RowShift, first.RowShift);
        QCOMPARE(second.listEntries, first.listEntries);
    }

    // The shifts come from the polynomial alone: points on a line parallel
    // to a sloping A-B all get the same shift, and the curve follows A-B.
    void slopingReferenceLine() {
        FitRequest request = startUpRequest(1);
        request.Px[0] = 250;
        request.Px[1] = 260; // g = 10 / 490
        for (int i = 2; i < ControlPointCount; ++i)
            request.Px[i] = 250 + (request.Py[i] - 10) * 10 / 490 + 30;
        const FitResult fit = calculateFit(request);

        QVERIFY(!fit.warning);
        QCOMPARE(fit.line.g, float(10.0 / 490));
        QCOMPARE(fit.line.h, float(250 - double(float(10.0 / 490)) * 10));
        for (int row = 0; row < RowCount; row += 73)
            QCOMPARE(rawShift(row, fit.Coef, 1), 30.0);
        QCOMPARE(fit.RowShift, ShiftTable{});
        QCOMPARE(fit.curve[0].x, fit.line.h);
        QVERIFY(std::fabs(fit.curve.back().x - (fit.line.g * 512 + fit.line.h + 30)) < 1e-3f);
    }

    // After "DET=0" the rest runs with the previous coefficients. The points
    // 1..8 all at height 0 make every basis but the constant zero.
    void singularFitKeepsThePreviousCoefficients() {
        FitRequest request = startUpRequest(2);
        for (int i = 2; i < ControlPointCount; ++i)
            request.Py[i] = 0;
        request.Coef = coefficients({5, 0.25f, 0});
        const FitResult fit = calculateFit(request);

        QVERIFY(fit.singular);
        QVERIFY(!fit.warning);
        QCOMPARE(fit.Coef, request.Coef);
        QCOMPARE(fit.FitDev[1], 44.0f);
        QCOMPARE(fit.RowShift[0], std::int16_t(0));     // raw 5
        QCOMPARE(fit.RowShift[2], std::int16_t(1));     // raw 6 (5.5 + 0.5 rounds up)
        QCOMPARE(fit.RowShift[511], std::int16_t(128)); // raw 133
        QCOMPARE(int(fit.listEntries.size()), RowCount);

        // Order 0 needs only the constant: not singular, the mean.
        request.Order = 0;
        const FitResult constant = calculateFit(request);
        QVERIFY(!constant.singular);
        QCOMPARE(constant.Coef[1], 44.0f);
    }

    void rawShiftRounding_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<double>("shift");
        QTest::newRow("half rounds up") << 2.5f << 3.0;
        QTest::newRow("negative half rounds up") << -2.5f << -2.0;
        QTest::newRow("just below a half") << 2.4999998f << 2.0;
        // In single precision 0.49999997 + 0.5 would round to 1.
        QTest::newRow("largest float below a half") << 0.49999997f << 0.0;
        QTest::newRow("whole") << 44.0f << 44.0;
    }
    void rawShiftRounding() {
        QFETCH(float, value);
        QFETCH(double, shift);
        QCOMPARE(rawShift(7, coefficients({value}), 0), shift);
    }

    void normalisation_data() {
        QTest::addColumn<Coefficients>("Coef");
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("row0");
        QTest::addColumn<int>("row511");
        QTest::newRow("rising line") << coefficients({10.5f, 0.25f}) << 1 << 0 << 127;
        QTest::newRow("falling line") << coefficients({-10, -0.5f}) << 1 << 255 << 0;
        // The running minimum starts at 1000, so shifts all above 1000 are
        // lowered by 1000, not by their minimum.
        QTest::newRow("all above 1000") << coefficients({1500}) << 0 << 500 << 500;
        QTest::newRow("exactly 1000") << coefficients({1000}) << 0 << 0 << 0;
    }
    void normalisation() {
        QFETCH(Coefficients, Coef);
        QFETCH(int, order);
        QFETCH(int, row0);
        QFETCH(int, row511);
        const auto table = rowShiftTable(Coef, order);
        QVERIFY(std::holds_alternative<ShiftTable>(table));
        QCOMPARE(int(std::get<ShiftTable>(table)[0]), row0);
        QCOMPARE(int(std::get<ShiftTable>(table)[511]), row511);
    }

    void shiftRange_data() {
        QTest::addColumn<Coefficients>("Coef");
        QTest::addColumn<int>("order");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("normalised");
        const float inf = std::numeric_limits<float>::infinity();
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("largest") << coefficients({32767.4f}) << 0 << true << 0 << false;
        QTest::newRow("above the largest") << coefficients({32767.5f}) << 0 << false << 0 << false;
        QTest::newRow("smallest") << coefficients({-32768.5f}) << 0 << true << 0 << false;
        QTest::newRow("below the smallest")
            << coefficients({-32768.6f}) << 0 << false << 0 << false;
        QTest::newRow("grows out of range") << coefficients({0, 100}) << 1 << false << 328 << false;
        QTest::newRow("infinite") << coefficients({inf}) << 0 << false << 0 << false;
        QTest::newRow("not a number") << coefficients({nan}) << 0 << false << 0 << false;
        // Each raw shift fits, their difference does not.
        QTest::newRow("span too wide") << coefficients({-20000, 80}) << 1 << false << 410 << true;
        QTest::newRow("widest span, -32768 to -1")
            << coefficients({-32768, 64.123f}) << 1 << true << 0 << false;
        QTest::newRow("span one too wide, -32768 to 0")
            << coefficients({-32768, 64.125f}) << 1 << false << 511 << true;
    }
    void shiftRange() {
        QFETCH(Coefficients, Coef);
        QFETCH(int, order);
        QFETCH(bool, fits);
        QFETCH(int, row);
        QFETCH(bool, normalised);
        const auto table = rowShiftTable(Coef, order);
        QCOMPARE(std::holds_alternative<ShiftTable>(table), fits);
        if (fits)
            return;
        const ShiftOutOfRange bad = std::get<ShiftOutOfRange>(table);
        QCOMPARE(bad.row, row);
        QCOMPARE(bad.normalised, normalised);
    }

    // Input the fit cannot carry out gets a warning that says what to
    // change, and no results: the window keeps what it had.
    void faults_data() {
        QTest::addColumn<FitRequest>("request");
        QTest::addColumn<FitProblem>("problem");
        QTest::addColumn<QString>("advice");
        for (int order : {-1, 7, 100, -32768, 32767})
            QTest::addRow("order %d", order)
                << startUpRequest(order) << FitProblem::OrderOutOfRange << "order from 0 to 6";

        FitRequest flat = startUpRequest(4);
        flat.Py[1] = flat.Py[0];
        flat.Px[1] = 400;
        QTest::newRow("A and B at the same height")
            << flat << FitProblem::ReferenceLineFlat << "move A or B";

        FitRequest farAway = startUpRequest(4);
        for (int i = 2; i < ControlPointCount; ++i)
            farAway.Px[i] = 40000;
        QTest::newRow("shift too large") << farAway << FitProblem::ShiftOutOfRange << "32767";

        FitRequest wide = startUpRequest(1);
        for (int i = 2; i < ControlPointCount; ++i)
            wide.Px[i] = 256 - 20000 + (wide.Py[i] - 32) * 40000 / 448;
        QTest::newRow("shifts too far apart") << wide << FitProblem::ShiftOutOfRange << "32767";

        FitRequest nan = startUpRequest(4);
        nan.Px[5] = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("point not a number")
            << nan << FitProblem::ShiftOutOfRange << "no usable shift";
    }
    void faults() {
        QFETCH(FitRequest, request);
        QFETCH(FitProblem, problem);
        QFETCH(QString, advice);
        const FitResult fit = calculateFit(request);
        QVERIFY(fit.warning);
        QCOMPARE(fit.warning->problem, problem);
        QVERIFY(!fit.warning->title.isEmpty());
        QVERIFY2(fit.warning->text.contains(advice), qPrintable(fit.warning->text));
        QVERIFY(fit.warning->text.contains(QStringLiteral("Please")));
    }

    void listEntry_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("shift");
        QTest::addColumn<QString>("entry");
        QTest::newRow("row 0, shift 3") << 0 << 3 << " 0   3";
        QTest::newRow("last row") << 511 << 13 << " 511   13";
        QTest::newRow("negative shift") << 7 << -2 << " 7  -2";
    }
    void listEntry() {
        QFETCH(int, row);
        QFETCH(int, shift);
        QFETCH(QString, entry);
        QCOMPARE(shiftListEntry(row, shift), entry);
    }

    // Powers of whole numbers must be the exactly rounded values, as the
    // table is compared digit for digit.
    void integerPowers() {
        QCOMPARE(integerPower(0, 0), 1.0);
        QCOMPARE(integerPower(0, 3), 0.0);
        QCOMPARE(integerPower(1.5, 3), 3.375);
        for (long long base : {2LL, 455LL, 509LL, 511LL, 512LL}) {
            unsigned long long exact = 1; // 512^6 = 2^54 still fits
            for (int j = 1; j <= 6; ++j) {
                exact *= base;
                QCOMPARE(integerPower(double(base), j), double(exact));
            }
        }
    }

    // The diagnostics of a fit: a straight line plus a noise orthogonal to
    // 1 and y is fitted exactly and leaves the noise as its residuals.
    void residuals() {
        FitArray FitPos{}, FitDev{};
        const float noise[] = {0.5f, -0.5f, -0.5f, 0.5f, 0.5f, -0.5f, -0.5f, 0.5f};
        for (int i = 1; i <= FitPointCount; ++i) {
            FitPos[i] = float(i);
            FitDev[i] = 2 + 3 * float(i) + noise[i - 1];
        }
        Coefficients Coef{}, Dv{};
        QCOMPARE(LSMCALC(FitPos, FitDev, 8, 1, Coef, Dv), LsmStatus::Solved);
        const FitResiduals fit = fitResiduals(FitPos, FitDev, 8, 1, Coef);
        for (int i = 1; i <= FitPointCount; ++i)
            QVERIFY(std::fabs(fit.residuals[i] - noise[i - 1]) < 1e-5f);
        QVERIFY(std::fabs(fit.sumOfSquares - 2) < 1e-4);
        QVERIFY(std::fabs(fit.rms - 0.5) < 1e-5);
        QVERIFY(std::fabs(Dv[2] - std::sqrt(2.0 / 6 / 42)) < 1e-6);
    }
};

ROWSHIFT_TEST_MAIN(CurveFitTest)
#include "tst_curvefit.moc"
