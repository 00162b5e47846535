#include "fit/CurveFit.h"

#include "fit/PolynomialFit.h"

#include <algorithm>
#include <cmath>

// Values that the window keeps in single precision (g, h, the deviations,
// the curve's x) are formed in double from their float operands and rounded
// once, when they are stored.

std::optional<ReferenceLine> referenceLine(const PointCoordinates& Px, const PointCoordinates& Py) {
    const double dy = double(Py[1]) - double(Py[0]);
    if (dy == 0)
        return std::nullopt;
    ReferenceLine line;
    line.g = float((double(Px[1]) - double(Px[0])) / dy);
    line.h = float(double(Px[0]) - double(line.g) * double(Py[0]));
    // A height difference too small for the slope to be held is no line
    // either.
    if (!std::isfinite(line.g) || !std::isfinite(line.h))
        return std::nullopt;
    return line;
}

FitData fitData(const PointCoordinates& Px, const PointCoordinates& Py, ReferenceLine line) {
    FitData data;
    for (int i = 1; i <= FitPointCount; ++i) {
        data.FitPos[i] = Py[i + 1];
        const double onLine = double(line.g) * double(data.FitPos[i]) + double(line.h);
        data.FitDev[i] = float(double(Px[i + 1]) - onLine);
    }
    return data;
}

std::vector<CurvePoint> fittedCurve(ReferenceLine line, const Coefficients& Coef, int Order) {
    std::vector<CurvePoint> curve;
    curve.reserve(CurveSteps + 1);
    curve.push_back({line.h, 0.0f});
    float y = 0; // a float loop variable: whole numbers up to 512 are exact
    for (int step = 0; step < CurveSteps; ++step, y += 1) {
        const float onLine = float(double(line.g) * double(y) + double(line.h));
        curve.push_back({addPolynomial(onLine, y, Coef, Order), y});
    }
    return curve;
}

int maxFitOrder(int NData) {
    return std::min(NData, FitPointCount) - 2;
}

namespace {

QString warningTitle() {
    return QStringLiteral("Cannot calculate");
}

FitWarning orderWarning(int Order, int NData) {
    const int maxOrder = maxFitOrder(NData);
    return {FitProblem::OrderOutOfRange, warningTitle(),
            QStringLiteral("The order %1 cannot be fitted: with %2 points the order must be "
                           "from 0 to %3.\nPlease enter an order from 0 to %3 in the Order box.")
                .arg(Order)
                .arg(std::min(NData, FitPointCount))
                .arg(maxOrder)};
}

FitWarning flatLineWarning() {
    return {FitProblem::ReferenceLineFlat, warningTitle(),
            QStringLiteral("Points A and B are at the same height, so they do not define a "
                           "reference line.\nPlease move A or B up or down.")};
}

FitWarning shiftWarning(const ShiftOutOfRange& bad) {
    const QString advice = QStringLiteral("\nPlease place the points 1 to 8 along a smoother "
                                          "curve, or choose a lower order.");
    QString what;
    if (!std::isfinite(bad.shift))
        what = QStringLiteral("The fitted curve gives row %1 no usable shift.").arg(bad.row);
    else if (bad.normalised)
        what = QStringLiteral("The row shifts of the fitted curve differ by %1 (at row %2), "
                              "more than the largest shift of 32767.")
                   .arg(bad.shift, 0, 'f', 0)
                   .arg(bad.row);
    else
        what = QStringLiteral("The fitted curve gives row %1 a shift of %2, outside the "
                              "shifts from -32768 to 32767.")
                   .arg(bad.row)
                   .arg(bad.shift, 0, 'g', 15);
    return {FitProblem::ShiftOutOfRange, warningTitle(), what + advice};
}

bool orderFits(int Order, int NData) {
    return Order >= 0 && Order <= maxFitOrder(NData);
}

} // namespace

FitResult calculateFit(const FitRequest& request) {
    FitResult result;
    if (!orderFits(request.Order, request.NData)) {
        result.warning = orderWarning(request.Order, request.NData);
        return result;
    }
    const std::optional<ReferenceLine> line = referenceLine(request.Px, request.Py);
    if (!line) {
        result.warning = flatLineWarning();
        return result;
    }
    result.line = *line;

    const FitData data = fitData(request.Px, request.Py, *line);
    result.FitPos = data.FitPos;
    result.FitDev = data.FitDev;

    // LSM writes the coefficients only when it solves; after a singular
    // matrix the previous ones stay, and the rest runs with them.
    result.Coef = request.Coef;
    Coefficients Dv{};
    const LsmStatus status =
        LSMCALC(data.FitPos, data.FitDev, request.NData, request.Order, result.Coef, Dv);
    if (status == LsmStatus::BadSize) { // cannot happen after the order check; never silent
        result.warning = orderWarning(request.Order, request.NData);
        return result;
    }
    result.singular = status == LsmStatus::Singular;

    result.curve = fittedCurve(*line, result.Coef, request.Order);

    auto table = rowShiftTable(result.Coef, request.Order);
    if (const auto* bad = std::get_if<ShiftOutOfRange>(&table)) {
        result.warning = shiftWarning(*bad);
        return result;
    }
    result.RowShift = std::get<ShiftTable>(table);
    result.listEntries = shiftListEntries(result.RowShift);
    return result;
}
