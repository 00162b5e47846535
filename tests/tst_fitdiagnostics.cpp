#include "TestMain.h"

#include "canvas/ControlPoints.h"
#include "fit/CurveFit.h"
#include "fit/FitDiagnostics.h"

#include <cmath>
#include <functional>
#include <limits>

Q_DECLARE_METATYPE(PointCoordinates)

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// The start-up A and B (x = 256) and the points 1..8 at their start-up
// heights on x = curve(y).
PointCoordinates pointsOn(const std::function<double(double)>& curve) {
    PointCoordinates Px = defaultPx();
    const PointCoordinates Py = defaultPy();
    for (int i = 2; i < ControlPointCount; ++i)
        Px[i] = float(curve(Py[i]));
    return Px;
}

// x = 300 + 2t + t^3 / 8 with t = (y - 256) / 32: every value a multiple of
// 1/8, so the points lie exactly on the cubic in single precision too.
PointCoordinates cubicPx() {
    return pointsOn([](double y) {
        const double t = (y - 256) / 32;
        return 300 + 2 * t + t * t * t / 8;
    });
}

FitData fitDataOf(const PointCoordinates& Px, const PointCoordinates& Py = defaultPy()) {
    return fitData(Px, Py, *referenceLine(Px, Py));
}

OrderSummary summary(int order, bool solved, double aiccValue) {
    OrderSummary s;
    s.Order = order;
    s.solved = solved;
    s.aicc = aiccValue;
    return s;
}

} // namespace

class FitDiagnosticsTest : public QObject {
    Q_OBJECT
private slots:
    // Points exactly on a cubic: every order from 3 on fits them (up to the
    // single-precision rounding of the window's solver), the lower ones do
    // not, and the cubic is recommended.
    void pointsOnACubicRecommendOrderThree() {
        const FitData data = fitDataOf(cubicPx());
        const std::vector<OrderSummary> orders = compareOrders(data.FitPos, data.FitDev, 8);
        QCOMPARE(int(orders.size()), 7);
        for (const OrderSummary& order : orders) {
            QVERIFY(order.solved);
            if (order.Order < 3)
                QVERIFY2(order.rms > 1, qPrintable(QString::number(order.rms)));
            else
                QVERIFY2(order.rms < 0.01, qPrintable(QString::number(order.rms)));
        }
        QVERIFY(std::isinf(orders[6].aicc));
        QCOMPARE(recommendedOrder(orders), std::optional<int>(3));
    }

    // The chosen order's fit is the window's: the same coefficients as
    // CALCULATE(LSM), with LSM's standard errors beside them.
    void fitOrderGivesTheWindowsCoefficients() {
        FitRequest request;
        request.Px = cubicPx();
        request.Py = defaultPy();
        request.Order = 3;
        const FitResult window = calculateFit(request);
        const OrderFit fit = fitOrder(window.FitPos, window.FitDev, 8, 3);
        QVERIFY(fit.solved());
        QCOMPARE(fit.Coef, window.Coef);
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(fit.Dv[k], 0.0f);
        QCOMPARE(fit.residuals.rms, 0.0);

        // Noise gives every coefficient a standard error.
        request.Px[5] += 1;
        const FitResult noisy = calculateFit(request);
        const OrderFit noisyFit = fitOrder(noisy.FitPos, noisy.FitDev, 8, 3);
        for (int k = 1; k <= 4; ++k)
            QVERIFY(noisyFit.Dv[k] > 0);
        QVERIFY(noisyFit.residuals.rms > 0.1);
    }

    void aiccFollowsItsFormula() {
        // n ln(RSS/n) + 2k + 2k(k+1)/(n-k-1) with n = 8, RSS = 8: 0 + 2 + 4/6.
        QCOMPARE(aicc(8, 8, 1), 2 + 4.0 / 6);
        QCOMPARE(aicc(80, 8, 3), 8 * std::log(10.0) + 6 + 24.0 / 4);
        // No correction without a degree of freedom to spare.
        QVERIFY(std::isinf(aicc(1, 8, 7)));
        QVERIFY(std::isinf(aicc(1, 8, 8)));
        // Exact fits count as fitting to ExactFitRms, so they compare by
        // their number of coefficients.
        const double floor = 8 * ExactFitRms * ExactFitRms;
        QCOMPARE(aicc(0, 8, 4), aicc(floor, 8, 4));
        QCOMPARE(aicc(floor / 100, 8, 4), aicc(floor, 8, 4));
        QVERIFY(aicc(0, 8, 4) < aicc(0, 8, 5));
        QVERIFY(std::isinf(aicc(std::nan(""), 8, 2)));
        QVERIFY(std::isinf(aicc(Infinity, 8, 2)));
    }

    void recommendationSkipsWhatCannotCompete() {
        const std::vector<OrderSummary> orders{summary(0, true, 10), summary(1, false, -50),
                                               summary(2, true, 3), summary(3, true, 3),
                                               summary(4, true, Infinity)};
        QCOMPARE(recommendedOrder(orders), std::optional<int>(2)); // the tie goes low
        const std::vector<OrderSummary> none{summary(0, false, 1), summary(6, true, Infinity)};
        QCOMPARE(recommendedOrder(none), std::nullopt);
    }

    // Points all at one height cannot be fitted by any curve: every order
    // above 0 is singular and only the constant is left.
    void singularOrdersAreMarked() {
        PointCoordinates Py = defaultPy();
        for (int i = 2; i < ControlPointCount; ++i)
            Py[i] = 100;
        const FitData data = fitDataOf(cubicPx(), Py);
        const std::vector<OrderSummary> orders = compareOrders(data.FitPos, data.FitDev, 8);
        QVERIFY(orders[0].solved);
        for (int order = 1; order <= 6; ++order)
            QVERIFY(!orders[std::size_t(order)].solved);
        QCOMPARE(recommendedOrder(orders), std::optional<int>(0));
    }

    void extrapolation_data() {
        QTest::addColumn<PointCoordinates>("Px");
        QTest::addColumn<PointCoordinates>("Py");
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("beyondRow");  // -1: no warning
        QTest::addColumn<int>("outsideRow"); // -1: no warning

        QTest::newRow("start-up points") << defaultPx() << defaultPy() << 4 << -1 << -1;
        // Goes on curving past the points, as a parabola does: 15 px beyond
        // the 48 px it spans between them, and no warning.
        QTest::newRow("steep parabola")
            << pointsOn([](double y) { return 236 + 48 * std::pow((y - 256) / 224, 2); })
            << defaultPy() << 4 << -1 << -1;
        // Hand-placed points on that parabola: order 6 runs through every
        // one of them and swings out beyond them.
        const PointCoordinates handPlaced{237, 237, 285, 259, 246, 237, 237, 246, 259, 285};
        QTest::newRow("hand-placed, order 2") << handPlaced << defaultPy() << 2 << -1 << -1;
        QTest::newRow("hand-placed, order 6") << handPlaced << defaultPy() << 6 << 0 << -1;
        // Points only between the heights 200 and 305: a bow of 18 px there
        // is 440 px at the top row.
        const PointCoordinates narrowPy{10, 500, 200, 215, 230, 245, 260, 275, 290, 305};
        const PointCoordinates narrowPx{0, 0, 20, 12, 6, 2, 2, 6, 12, 20};
        QTest::newRow("points on a narrow band") << narrowPx << narrowPy << 2 << 511 << -1;
        // A slanted feature near the left edge: inside at every point, left
        // of column 0 below the lowest.
        QTest::newRow("curve leaves the image")
            << pointsOn([](double y) { return 40 + 0.16 * (y - 256); }) << defaultPy() << 1 << -1
            << 0;
    }
    void extrapolation() {
        QFETCH(PointCoordinates, Px);
        QFETCH(PointCoordinates, Py);
        QFETCH(int, order);
        QFETCH(int, beyondRow);
        QFETCH(int, outsideRow);
        FitRequest request;
        request.Px = Px;
        request.Py = Py;
        request.Order = std::int16_t(order);
        const FitResult fit = calculateFit(request);
        QVERIFY(!fit.warning && !fit.singular);

        const ExtrapolationCheck check =
            checkExtrapolation(fit.line, fit.FitPos, 8, fit.Coef, order);
        QCOMPARE(check.beyondPoints ? check.beyondPoints->row : -1, beyondRow);
        QCOMPARE(check.leavesImage ? check.leavesImage->row : -1, outsideRow);
        if (check.beyondPoints) {
            const BeyondPoints& beyond = *check.beyondPoints;
            const double range = beyond.insideMax - beyond.insideMin;
            const double limit = std::max(ExtrapolationLimit, range / 2);
            QVERIFY(beyond.deviation > beyond.insideMax + limit ||
                    beyond.deviation < beyond.insideMin - limit);
        }
        if (check.leavesImage)
            QVERIFY(check.leavesImage->x < 0 || check.leavesImage->x > 511);
    }
};

ROWSHIFT_TEST_MAIN(FitDiagnosticsTest)
#include "tst_fitdiagnostics.moc"
