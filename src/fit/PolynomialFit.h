#pragma once

#include "fit/LeastSquares.h"

#include <cstdint>
#include <span>
#include <vector>

// The polynomial fit of the deviations against height, on top of LSM.
// Coefficient k (index 1..Order+1) multiplies y to the power k - 1; the
// arrays are used from index 1, as LSM's.

// The polynomial basis at the fit heights: Aa(j + 1, i) = FitPos(i)^j for
// j = 0..Order, i = 1..NData, stored in single precision (0^0 is 1).
// Needs room for index NData in FitPos.
BasisValues polynomialBasis(std::span<const float> FitPos, int NData, int Order);

// Fits a polynomial of order Order to the points (FitPos(i), FitDev(i)),
// i = 1..NData, by LSM: the coefficients land in Coef(1..Order+1) and their
// standard errors in Dv(1..Order+1). On Singular or BadSize, Coef and Dv are
// untouched, and the caller keeps its previous coefficients. BadSize also
// covers an order below -1 and arrays without room for the indices used;
// order -1 fits nothing and leaves both untouched, as LSM does for Nv = 0.
LsmStatus LSMCALC(std::span<const float> FitPos, std::span<const float> FitDev, std::int16_t NData,
                  std::int16_t Order, std::span<float> Coef, std::span<float> Dv);

// start + sum over j = 0..Order of at^j * Coef(j + 1), the sum stored in
// single precision after each addition, as the shift table and the drawn
// curve do it. Needs room for index Order + 1 in Coef.
float addPolynomial(float start, double at, std::span<const float> Coef, int Order);

// How well a fit matches its data, for reports: the residual of each point
// (index 1..NData: FitDev(i) minus the fitted value, the fitted value summed
// in double and stored in single precision, as LSM forms it), their sum of
// squares and the root mean square residual sqrt(sum of squares / NData).
struct FitResiduals {
    std::vector<float> residuals;
    double sumOfSquares = 0;
    double rms = 0;
};
FitResiduals fitResiduals(std::span<const float> FitPos, std::span<const float> FitDev, int NData,
                          int Order, std::span<const float> Coef);
