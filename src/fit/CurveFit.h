#pragma once

#include "canvas/ControlPoints.h"
#include "fit/LeastSquares.h"
#include "fit/RowShiftTable.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// CALCULATE(LSM): from the ten control points to the fitted curve and the
// row-shift table. Everything here is a pure function of its arguments; the
// window shows the messages, draws the curve and keeps the results.

constexpr int FitPointCount = 8;                       // the control points 1..8
constexpr int CoefficientRoom = 101;                   // Coef(1..Order+1), indices 0..100
using FitArray = std::array<float, FitPointCount + 1>; // indices 1..8 used
using Coefficients = std::array<float, CoefficientRoom>;

// The reference line x = g * y + h through A and B, both single precision.
struct ReferenceLine {
    float g = 0;
    float h = 0;
};

// g = (Px(1) - Px(0)) / (Py(1) - Py(0)), h = Px(0) - g * Py(0). Nothing
// when A and B are at the same height, which defines no such line (nor when
// they are so nearly level that the slope is beyond single precision).
std::optional<ReferenceLine> referenceLine(const PointCoordinates& Px, const PointCoordinates& Py);

// The fit data of the points 1..8: FitPos(i) = Py(i + 1) and
// FitDev(i) = Px(i + 1) - (g * FitPos(i) + h), the horizontal deviation from
// the reference line, i = 1..8.
struct FitData {
    FitArray FitPos{};
    FitArray FitDev{};
};
FitData fitData(const PointCoordinates& Px, const PointCoordinates& Py, ReferenceLine line);

// The blue fitted curve as a polyline: a line runs from each point to the
// next. It starts at (h, 0) on the reference line and then visits
// y = 0, 1, ..., 512 (514 points), where x = g * y + h plus the polynomial,
// stored in single precision after each addition. So its first segment runs
// along y = 0 from the reference line to the curve.
struct CurvePoint {
    float x = 0;
    float y = 0;
};
constexpr int CurveSteps = 513;
std::vector<CurvePoint> fittedCurve(ReferenceLine line, const Coefficients& Coef, int Order);

// Why a calculation could not be carried out, with a text that tells the
// user what to change.
enum class FitProblem {
    OrderOutOfRange,   // the order must be 0..NData-2 (0..6 for the eight points)
    ReferenceLineFlat, // A and B at the same height
    ShiftOutOfRange,   // a row shift the 16-bit table cannot hold
};
struct FitWarning {
    FitProblem problem;
    QString title;
    QString text;
};

// What the calculation reads from the window.
struct FitRequest {
    PointCoordinates Px{};
    PointCoordinates Py{};
    std::int16_t NData = FitPointCount;
    std::int16_t Order = 4;
    Coefficients Coef{}; // the previous fit's, used again when the fit is singular
};

// Everything a click on CALCULATE(LSM) produces.
//
// When `warning` is set the calculation stopped: show it and change nothing,
// so that the table, the list and the coefficients stay as they were (the
// fields below are then not meaningful).
//
// When `singular` is set, LSM found the normal matrix singular: show the box
// SingularMatrixText / SingularMatrixTitle first. The calculation then went
// on with the previous coefficients, which `Coef` holds, as after any other
// fit. (Both can be set: the previous coefficients may give a table out of
// range for the present order.)
struct FitResult {
    std::optional<FitWarning> warning;
    bool singular = false;
    ReferenceLine line;
    FitArray FitPos{};
    FitArray FitDev{};
    Coefficients Coef{};
    std::vector<CurvePoint> curve;
    ShiftTable RowShift{};
    QStringList listEntries;
};

// The whole calculation: reference line, fit data, LSMCALC, curve, table and
// list entries, in that order.
FitResult calculateFit(const FitRequest& request);

// The highest order that NData points can be fitted with (6 for eight
// points): LSM needs fewer coefficients than points.
int maxFitOrder(int NData);
