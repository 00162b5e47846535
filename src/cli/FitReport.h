#pragma once

#include "fit/CurveFit.h"
#include "fit/FitDiagnostics.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Everything fit reports about one calculation: the window's result for the
// chosen order, that order's coefficients with their standard errors and
// residuals, every order side by side, and the extrapolation check.
struct FitReport {
    QString pointsFile;
    int Order = 4;
    FitResult fit;
    OrderFit chosen;
    std::vector<OrderSummary> orders;
    std::optional<int> recommended;
    ExtrapolationCheck extrapolation;
};

// Runs the diagnostics on a successful calculation.
FitReport makeFitReport(const QString& pointsFile, int Order, const FitResult& fit);

// The warnings, one sentence each, without a prefix.
QStringList warningTexts(const FitReport& report);

// The report as lines for standard error.
QString reportText(const FitReport& report);

// The report as a JSON document. tableFile is the file the table went to,
// empty when it went nowhere.
QByteArray reportJson(const FitReport& report, const QString& tableFile);
