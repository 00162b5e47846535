#pragma once

#include "fit/CurveFit.h"
#include "fit/LeastSquares.h"
#include "fit/PolynomialFit.h"

#include <optional>
#include <span>
#include <vector>

// How good a fit is, and which order the points support: reports for people
// who calibrate once and then correct many frames, so that a poor choice of
// order or points shows before the frames are written. Every fit here is
// the window's own (LSMCALC on the fit data), so what is reported is what
// CALCULATE(LSM) would give.

// One order fitted to the fit data, with everything LSM returns.
struct OrderFit {
    int Order = 0;
    LsmStatus status = LsmStatus::BadSize;
    Coefficients Coef{}; // 1..Order+1, zero unless solved
    Coefficients Dv{};   // their standard errors, from LSM
    FitResiduals residuals;

    bool solved() const { return status == LsmStatus::Solved; }
};
OrderFit fitOrder(std::span<const float> FitPos, std::span<const float> FitDev, int NData,
                  int Order);

// Residuals smaller than this (root mean square, in pixels) count as this
// much when orders are compared. A table of whole-pixel shifts cannot tell
// them apart, and below it the differences are single-precision rounding,
// which says nothing about the shape of the curve: so points that lie
// exactly on a polynomial compare by their number of coefficients alone,
// and the lowest order that fits them exactly wins.
constexpr double ExactFitRms = 1e-3;

// The small-sample corrected Akaike information criterion of a least-squares
// fit with k coefficients to n points whose residual sum of squares is rss:
//   AICc = n ln(rss / n) + 2k + 2k(k + 1) / (n - k - 1),
// rss floored at n * ExactFitRms^2. Lower is better. Infinite when rss is
// not finite, and when n - k - 1 <= 0 (order 6 for eight points), where the
// correction is undefined: seven coefficients through eight points leave no
// evidence that the seventh describes the curve rather than the noise.
//
// Why AICc rather than BIC: with eight points BIC's penalty per coefficient,
// ln 8 = 2.08, is hardly more than plain AIC's 2, and both reward the high
// orders for fitting the noise of hand-placed points; AICc's correction grows
// steeply as the coefficients approach the number of points, which is
// exactly the trap here.
double aicc(double rss, int n, int k);

// The fit of one order as the comparison reports it.
struct OrderSummary {
    int Order = 0;
    bool solved = false; // false when LSM found the normal matrix singular
    double rms = 0;      // root mean square residual, pixels
    double aicc = 0;     // infinite where undefined
};

// Every order from 0 to maxFitOrder(NData), side by side.
std::vector<OrderSummary> compareOrders(std::span<const float> FitPos,
                                        std::span<const float> FitDev, int NData);

// The solved order with the lowest finite AICc (the lower order on a tie);
// nothing when no order has one.
std::optional<int> recommendedOrder(std::span<const OrderSummary> orders);

// Where the fitted curve says more than the points do.
//
// leavesImage: the fitted curve (reference line plus polynomial, as drawn)
// lies left of column 0 or right of column 511 at some row 0..511; the row
// where it lies farthest out.
//
// beyondPoints: at a row below the lowest or above the highest of the points
// 1..8, the polynomial (the deviation from the reference line that the row
// shifts come from) lies outside the range it spans from the lowest to the
// highest point by more than ExtrapolationLimit pixels or half that range,
// whichever is larger; the row where it goes farthest. Polynomials of high
// order swing wildly beyond their last point, and the rows there would be
// shifted by a guess. The half range leaves room for a strongly curved
// feature that simply goes on curving: a parabola through the points at the
// heights 32..480 reaches about a third of its range further at rows 0 and
// 511.
constexpr double ExtrapolationLimit = 10;

struct CurveOutside {
    int row = 0;
    double x = 0;
};
struct BeyondPoints {
    int row = 0;
    double deviation = 0; // the polynomial at that row
    double insideMin = 0; // its range over the heights of the points
    double insideMax = 0;
    double lowestPoint = 0; // the heights the points cover
    double highestPoint = 0;
};
struct ExtrapolationCheck {
    std::optional<CurveOutside> leavesImage;
    std::optional<BeyondPoints> beyondPoints;
};
ExtrapolationCheck checkExtrapolation(ReferenceLine line, std::span<const float> FitPos, int NData,
                                      const Coefficients& Coef, int Order);
