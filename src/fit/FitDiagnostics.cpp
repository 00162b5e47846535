#include "fit/FitDiagnostics.h"

#include "fit/RowShiftTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr int LastRow = RowCount - 1;
constexpr double LastColumn = 511;

// The polynomial alone at height y, summed as the shift table sums it.
double deviationAt(double y, const Coefficients& Coef, int Order) {
    return addPolynomial(0.0f, y, Coef, Order);
}

// How far value lies outside [low, high]; 0 inside, infinite when not finite.
double distanceOutside(double value, double low, double high) {
    if (!std::isfinite(value))
        return Infinity;
    return std::max({low - value, value - high, 0.0});
}

} // namespace

OrderFit fitOrder(std::span<const float> FitPos, std::span<const float> FitDev, int NData,
                  int Order) {
    OrderFit fit;
    fit.Order = Order;
    fit.status =
        LSMCALC(FitPos, FitDev, std::int16_t(NData), std::int16_t(Order), fit.Coef, fit.Dv);
    if (fit.solved())
        fit.residuals = fitResiduals(FitPos, FitDev, NData, Order, fit.Coef);
    return fit;
}

double aicc(double rss, int n, int k) {
    const int dof = n - k - 1;
    // A fit whose residuals overflowed is no candidate either.
    if (n <= 0 || dof <= 0 || !std::isfinite(rss))
        return Infinity;
    const double floor = n * ExactFitRms * ExactFitRms;
    const double counted = std::max(rss, floor);
    return n * std::log(counted / n) + 2.0 * k + 2.0 * k * (k + 1) / dof;
}

std::vector<OrderSummary> compareOrders(std::span<const float> FitPos,
                                        std::span<const float> FitDev, int NData) {
    std::vector<OrderSummary> orders;
    for (int Order = 0; Order <= maxFitOrder(NData); ++Order) {
        const OrderFit fit = fitOrder(FitPos, FitDev, NData, Order);
        OrderSummary summary;
        summary.Order = Order;
        summary.solved = fit.solved();
        if (summary.solved) {
            summary.rms = fit.residuals.rms;
            summary.aicc = aicc(fit.residuals.sumOfSquares, NData, Order + 1);
        } else {
            summary.aicc = Infinity;
        }
        orders.push_back(summary);
    }
    return orders;
}

std::optional<int> recommendedOrder(std::span<const OrderSummary> orders) {
    std::optional<int> best;
    double bestValue = Infinity;
    for (const OrderSummary& summary : orders) {
        // Strictly lower: on a tie the lower order, met first, stays.
        if (summary.solved && std::isfinite(summary.aicc) && summary.aicc < bestValue) {
            best = summary.Order;
            bestValue = summary.aicc;
        }
    }
    return best;
}

ExtrapolationCheck checkExtrapolation(ReferenceLine line, std::span<const float> FitPos, int NData,
                                      const Coefficients& Coef, int Order) {
    ExtrapolationCheck check;

    // The curve as drawn: element 1 + r lies at height r.
    const std::vector<CurvePoint> curve = fittedCurve(line, Coef, Order);
    double farthest = 0;
    for (int row = 0; row <= LastRow; ++row) {
        const double x = curve[std::size_t(row) + 1].x;
        const double outside = distanceOutside(x, 0, LastColumn);
        if (outside > farthest) {
            farthest = outside;
            check.leavesImage = CurveOutside{row, x};
        }
    }

    if (NData <= 0)
        return check;
    const auto heights = FitPos.subspan(1, std::size_t(NData));
    const auto [lowest, highest] = std::minmax_element(heights.begin(), heights.end());
    BeyondPoints range;
    range.lowestPoint = *lowest;
    range.highestPoint = *highest;
    range.insideMin = Infinity;
    range.insideMax = -Infinity;
    auto widen = [&](double y) {
        const double d = deviationAt(y, Coef, Order);
        range.insideMin = std::min(range.insideMin, d);
        range.insideMax = std::max(range.insideMax, d);
    };
    for (const float y : heights)
        widen(y);
    const int firstInside = std::max(0, int(std::ceil(range.lowestPoint)));
    const int lastInside = std::min(LastRow, int(std::floor(range.highestPoint)));
    for (int row = firstInside; row <= lastInside; ++row)
        widen(row);
    if (!std::isfinite(range.insideMin) || !std::isfinite(range.insideMax))
        return check;

    const double limit = std::max(ExtrapolationLimit, (range.insideMax - range.insideMin) / 2);
    double worst = limit;
    for (int row = 0; row <= LastRow; ++row) {
        if (row >= range.lowestPoint && row <= range.highestPoint)
            continue;
        const double d = deviationAt(row, Coef, Order);
        const double beyond = distanceOutside(d, range.insideMin, range.insideMax);
        if (beyond > worst) {
            worst = beyond;
            range.row = row;
            range.deviation = d;
            check.beyondPoints = range;
        }
    }
    return check;
}
