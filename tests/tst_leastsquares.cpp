#include "TestMain.h"

#include "fit/LeastSquares.h"

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

Q_DECLARE_METATYPE(LsmStatus)

namespace {

constexpr int Nd = 8;

// Observation heights x = 1..8 and a noise that is orthogonal to both 1 and
// x, so that a straight-line fit recovers the line exactly and leaves the
// noise as its residuals: S = 8 * 0.25 = 2.
constexpr float Noise[Nd + 1] = {0, 0.5f, -0.5f, -0.5f, 0.5f, 0.5f, -0.5f, -0.5f, 0.5f};

// The values of basis function k (1-based) at observation x.
using Basis = std::function<float(int k, float x)>;

BasisValues basisValues(int nv, const Basis& basis) {
    BasisValues Aa(nv, Nd);
    for (int k = 1; k <= nv; ++k) {
        for (int i = 1; i <= Nd; ++i)
            Aa(k, i) = basis(k, float(i));
    }
    return Aa;
}

std::vector<float> observations(const std::function<float(float x)>& f) {
    std::vector<float> De(Nd + 1, 0.0f);
    for (int i = 1; i <= Nd; ++i)
        De[i] = f(float(i));
    return De;
}

// A recognisable value that a call must leave alone.
constexpr float Untouched = -123.25f;

bool isUntouched(const std::vector<float>& values) {
    for (float v : values) {
        if (v != Untouched)
            return false;
    }
    return true;
}

void compareRelative(double actual, double expected, double tolerance) {
    QVERIFY2(
        std::fabs(actual - expected) <= tolerance * std::fabs(expected),
        qPrintable(
            QStringLiteral("%1 differs from %2").arg(actual, 0, 'g', 9).arg(expected, 0, 'g', 9)));
}

} // namespace

class LeastSquaresTest : public QObject {
    Q_OBJECT
private slots:
    void straightLine_data() {
        QTest::addColumn<float>("intercept");
        QTest::addColumn<float>("slope");
        QTest::newRow("whole numbers") << 3.0f << 2.0f;
        QTest::newRow("fractions") << -1.5f << 0.25f;
        QTest::newRow("falling") << 300.0f << -7.75f;
        QTest::newRow("flat") << 44.0f << 0.0f;
    }
    void straightLine() {
        QFETCH(float, intercept);
        QFETCH(float, slope);
        const std::vector<float> De = observations([&](float x) { return intercept + slope * x; });
        const BasisValues Aa = basisValues(2, [](int k, float x) { return k == 1 ? 1.0f : x; });
        std::vector<float> Tx(3, Untouched), Dv(3, Untouched);

        QCOMPARE(LSM(De, Aa, Tx, Dv, Nd, 2), LsmStatus::Solved);
        QVERIFY(std::fabs(Tx[1] - intercept) < 1e-4f);
        QVERIFY(std::fabs(Tx[2] - slope) < 1e-5f);
        QVERIFY(Dv[1] < 1e-4f);
        QVERIFY(Dv[2] < 1e-5f);
        QCOMPARE(Tx[0], Untouched); // index 0 is not used
        QCOMPARE(Dv[0], Untouched);
    }

    void constantBasisGivesTheMean() {
        const std::vector<float> De = {0, 1, 2, 3, 4, 5, 6, 7, 9.5f};
        const BasisValues Aa = basisValues(1, [](int, float) { return 1.0f; });
        std::vector<float> Tx(2, Untouched), Dv(2, Untouched);

        QCOMPARE(LSM(De, Aa, Tx, Dv, Nd, 1), LsmStatus::Solved);
        const double mean = 37.5 / 8;
        QCOMPARE(Tx[1], float(mean));
        // The standard error of a mean: sqrt(S / (n (n - 1))).
        double S = 0;
        for (int i = 1; i <= Nd; ++i)
            S += (De[i] - mean) * (De[i] - mean);
        compareRelative(Dv[1], std::sqrt(S / (8 * 7)), 1e-6);
    }

    // The same noisy straight line through bases in different orders and
    // scales: the coefficients and their standard errors only come out right
    // when the pivot rows are chosen and the interchanges undone correctly.
    // Closed form for y = 2 + 3x plus the noise at x = 1..8: S = 2, so
    // SE(slope) = sqrt(S / 6 / 42) and SE(intercept) = sqrt(S / 6 * 204 / 336).
    void pivotingAndStandardErrors_data() {
        QTest::addColumn<bool>("interceptFirst");
        QTest::addColumn<float>("scale"); // the slope basis is scale * x
        QTest::newRow("intercept first, rows interchanged") << true << 10.0f;
        QTest::newRow("intercept first, no interchange") << true << 0.05f;
        QTest::newRow("slope first, no interchange") << false << 1.0f;
        QTest::newRow("slope first, rows interchanged") << false << 0.01f;
    }
    void pivotingAndStandardErrors() {
        QFETCH(bool, interceptFirst);
        QFETCH(float, scale);
        const int interceptIndex = interceptFirst ? 1 : 2;
        const int slopeIndex = 3 - interceptIndex;
        const std::vector<float> De = observations([](float x) { return 2 + 3 * x; });
        std::vector<float> noisy = De;
        for (int i = 1; i <= Nd; ++i)
            noisy[i] += Noise[i];
        const BasisValues Aa =
            basisValues(2, [&](int k, float x) { return k == interceptIndex ? 1.0f : scale * x; });
        std::vector<float> Tx(3, Untouched), Dv(3, Untouched);

        QCOMPARE(LSM(noisy, Aa, Tx, Dv, Nd, 2), LsmStatus::Solved);
        compareRelative(Tx[interceptIndex], 2.0, 1e-5);
        compareRelative(Tx[slopeIndex], 3.0 / scale, 1e-5);
        compareRelative(Dv[interceptIndex], std::sqrt(2.0 / 6 * 204 / 336), 1e-5);
        compareRelative(Dv[slopeIndex], std::sqrt(2.0 / 6 / 42) / scale, 1e-5);
    }

    // A basis function that is zero at every observation makes a pivot
    // column exactly zero: the solver says so and writes nothing.
    void zeroBasisIsSingular_data() {
        QTest::addColumn<int>("zeroIndex");
        QTest::addColumn<int>("nv");
        QTest::newRow("first of three") << 1 << 3;
        QTest::newRow("middle of three") << 2 << 3;
        QTest::newRow("last of three") << 3 << 3;
        QTest::newRow("the only one") << 1 << 1;
    }
    void zeroBasisIsSingular() {
        QFETCH(int, zeroIndex);
        QFETCH(int, nv);
        const std::vector<float> De = observations([](float x) { return 1 + x; });
        const BasisValues Aa = basisValues(nv, [&](int k, float x) {
            return k == zeroIndex ? 0.0f : (k == 1 ? 1.0f : float(std::pow(x, k - 1)));
        });
        std::vector<float> Tx(nv + 1, Untouched), Dv(nv + 1, Untouched);

        QCOMPARE(LSM(De, Aa, Tx, Dv, Nd, std::int16_t(nv)), LsmStatus::Singular);
        QVERIFY(isUntouched(Tx));
        QVERIFY(isUntouched(Dv));
    }

    // Only an exactly zero column is singular: a basis of values around
    // 1e-20 gives a pivot near 1e-40, which is used.
    void tinyBasisIsSolved() {
        const std::vector<float> De = observations([](float x) { return 2 + 3 * x; });
        const BasisValues Aa =
            basisValues(2, [](int k, float x) { return k == 1 ? 1.0f : 1e-20f * x; });
        std::vector<float> Tx(3, Untouched), Dv(3, Untouched);

        QCOMPARE(LSM(De, Aa, Tx, Dv, Nd, 2), LsmStatus::Solved);
        compareRelative(Tx[1], 2.0, 1e-4);
        compareRelative(Tx[2], 3e20, 1e-4);
    }

    // Sizes the solver cannot work with are refused before anything is
    // read or written.
    void badSizes_data() {
        QTest::addColumn<int>("nd");
        QTest::addColumn<int>("nv");
        QTest::addColumn<int>("deRoom");
        QTest::addColumn<int>("txRoom");
        QTest::addColumn<int>("dvRoom");
        QTest::addColumn<int>("basisFunctions");
        QTest::addColumn<int>("basisObservations");
        QTest::addColumn<LsmStatus>("status");
        QTest::newRow("as many coefficients as points")
            << 8 << 8 << 9 << 9 << 9 << 8 << 8 << LsmStatus::BadSize;
        QTest::newRow("more coefficients than points")
            << 8 << 9 << 9 << 10 << 10 << 9 << 8 << LsmStatus::BadSize;
        QTest::newRow("negative count") << 8 << -1 << 9 << 9 << 9 << 8 << 8 << LsmStatus::BadSize;
        QTest::newRow("no observations") << 0 << 0 << 1 << 1 << 1 << 0 << 0 << LsmStatus::BadSize;
        QTest::newRow("observations without room")
            << 8 << 2 << 8 << 3 << 3 << 2 << 8 << LsmStatus::BadSize;
        QTest::newRow("coefficients without room")
            << 8 << 2 << 9 << 2 << 3 << 2 << 8 << LsmStatus::BadSize;
        QTest::newRow("errors without room")
            << 8 << 2 << 9 << 3 << 2 << 2 << 8 << LsmStatus::BadSize;
        QTest::newRow("basis too narrow") << 8 << 2 << 9 << 3 << 3 << 1 << 8 << LsmStatus::BadSize;
        QTest::newRow("basis too short") << 8 << 2 << 9 << 3 << 3 << 2 << 7 << LsmStatus::BadSize;
        QTest::newRow("nothing to fit") << 8 << 0 << 9 << 1 << 1 << 0 << 8 << LsmStatus::Solved;
    }
    void badSizes() {
        QFETCH(int, nd);
        QFETCH(int, nv);
        QFETCH(int, deRoom);
        QFETCH(int, txRoom);
        QFETCH(int, dvRoom);
        QFETCH(int, basisFunctions);
        QFETCH(int, basisObservations);
        QFETCH(LsmStatus, status);
        const std::vector<float> De(deRoom, 1.0f);
        BasisValues Aa(basisFunctions, basisObservations);
        for (int k = 1; k <= basisFunctions; ++k) {
            for (int i = 1; i <= basisObservations; ++i)
                Aa(k, i) = float(std::pow(i, k - 1));
        }
        std::vector<float> Tx(txRoom, Untouched), Dv(dvRoom, Untouched);

        QCOMPARE(LSM(De, Aa, Tx, Dv, std::int16_t(nd), std::int16_t(nv)), status);
        QVERIFY(isUntouched(Tx));
        QVERIFY(isUntouched(Dv));
    }

    // Nothing in the solver may turn a NaN into a pivot or read past an
    // array: a NaN observation yields NaN coefficients, a NaN basis column
    // is no pivot.
    void notANumber() {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        std::vector<float> De = observations([](float x) { return 1 + x; });
        De[3] = nan;
        const BasisValues Aa = basisValues(2, [](int k, float x) { return k == 1 ? 1.0f : x; });
        std::vector<float> Tx(3, Untouched), Dv(3, Untouched);
        QCOMPARE(LSM(De, Aa, Tx, Dv, Nd, 2), LsmStatus::Solved);
        QVERIFY(std::isnan(Tx[1]));

        const BasisValues nanBasis =
            basisValues(2, [&](int k, float) { return k == 1 ? 1.0f : nan; });
        std::vector<float> Tx2(3, Untouched), Dv2(3, Untouched);
        QCOMPARE(LSM(De, nanBasis, Tx2, Dv2, Nd, 2), LsmStatus::Singular);
        QVERIFY(isUntouched(Tx2));
    }
};

ROWSHIFT_TEST_MAIN(LeastSquaresTest)
#include "tst_leastsquares.moc"
