#include "fit/PolynomialFit.h"

#include "fit/IntegerPower.h"

#include <QtGlobal>

#include <cmath>

BasisValues polynomialBasis(std::span<const float> FitPos, int NData, int Order) {
    Q_ASSERT(NData >= 0 && FitPos.size() > std::size_t(NData));
    BasisValues Aa(Order + 1, NData);
    for (int i = 1; i <= NData; ++i) {
        for (int j = 0; j <= Order; ++j)
            Aa(j + 1, i) = float(integerPower(FitPos[i], j));
    }
    return Aa;
}

LsmStatus LSMCALC(std::span<const float> FitPos, std::span<const float> FitDev, std::int16_t NData,
                  std::int16_t Order, std::span<float> Coef, std::span<float> Dv) {
    const int nd = NData;
    const int nv = Order + 1;
    if (nv < 0 || nd < 0 || FitPos.size() <= std::size_t(nd) || FitDev.size() <= std::size_t(nd))
        return LsmStatus::BadSize;
    // LSM checks the rest; this keeps an absurd order from sizing the basis.
    if (nv >= nd)
        return LsmStatus::BadSize;

    const BasisValues Aa = polynomialBasis(FitPos, nd, Order);
    std::vector<float> De(std::size_t(nd) + 1, 0.0f);
    for (int i = 1; i <= nd; ++i)
        De[i] = FitDev[i];
    return LSM(De, Aa, Coef, Dv, std::int16_t(nd), std::int16_t(nv));
}

float addPolynomial(float start, double at, std::span<const float> Coef, int Order) {
    Q_ASSERT(Coef.size() > std::size_t(Order + 1) || Order < 0);
    float sum = start;
    for (int j = 0; j <= Order; ++j)
        sum = float(double(sum) + integerPower(at, j) * double(Coef[j + 1]));
    return sum;
}

FitResiduals fitResiduals(std::span<const float> FitPos, std::span<const float> FitDev, int NData,
                          int Order, std::span<const float> Coef) {
    Q_ASSERT(FitDev.size() > std::size_t(NData) && Coef.size() > std::size_t(Order + 1));
    const BasisValues Aa = polynomialBasis(FitPos, NData, Order);
    FitResiduals result;
    result.residuals.assign(std::size_t(NData) + 1, 0.0f);
    for (int i = 1; i <= NData; ++i) {
        double fitted = 0;
        for (int k = 1; k <= Order + 1; ++k)
            fitted += double(Aa(k, i)) * double(Coef[k]);
        const float residual = float(double(FitDev[i]) - double(float(fitted)));
        result.residuals[i] = residual;
        result.sumOfSquares += double(residual) * double(residual);
    }
    if (NData > 0)
        result.rms = std::sqrt(result.sumOfSquares / NData);
    return result;
}
