#include "cli/FitReport.h"

#include "canvas/ControlPoints.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// The shortest decimal text that reads back as the same single-precision
// value, never in the user's locale.
QString floatText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// The same value for JSON, whose numbers are doubles: the double nearest to
// the shortest text, so a reader sees 44.000004 and not 44.00000381469727.
QJsonValue jsonFloat(float value) {
    if (!std::isfinite(value))
        return QJsonValue::Null;
    return std::strtod(floatText(value).toLatin1().constData(), nullptr);
}

QJsonValue jsonDouble(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QString fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return QStringLiteral("n/a");
    return QString::number(value, 'f', decimals);
}

QString pointLabel(int fitIndex) { // fit index 1..8 is control point "1".."8"
    return controlPointLabel(fitIndex + 1).trimmed();
}

QString leavesImageText(const CurveOutside& outside) {
    return QStringLiteral("the fitted curve leaves the image at row %1 (x = %2): the feature is "
                          "followed there beyond the columns 0 to 511.")
        .arg(outside.row)
        .arg(fixed(outside.x, 1));
}

QString beyondPointsText(const BeyondPoints& beyond) {
    const bool below = beyond.row < beyond.lowestPoint;
    return QStringLiteral("the shifts near the %1 rows are extrapolated far beyond the points: "
                          "they cover the heights %2 to %3, between which the fitted deviation "
                          "stays from %4 to %5 px, but at row %6 it reaches %7 px. A lower "
                          "order, or points closer to the %1 edge, may follow the feature "
                          "better there.")
        .arg(below ? QStringLiteral("bottom") : QStringLiteral("top"))
        .arg(beyond.lowestPoint)
        .arg(beyond.highestPoint)
        .arg(fixed(beyond.insideMin, 1), fixed(beyond.insideMax, 1))
        .arg(beyond.row)
        .arg(fixed(beyond.deviation, 1));
}

QString coefficientTable(const FitReport& report) {
    QString text = QStringLiteral("  power  coefficient     standard error\n");
    for (int k = 1; k <= report.Order + 1; ++k)
        text += QStringLiteral("  %1  %2  %3\n")
                    .arg(k - 1, -5)
                    .arg(floatText(report.fit.Coef[k]), -14)
                    .arg(floatText(report.chosen.Dv[k]));
    return text;
}

QString residualTable(const FitReport& report) {
    QString text = QStringLiteral("  point  y         deviation   residual\n");
    for (int i = 1; i <= FitPointCount; ++i)
        text += QStringLiteral("  %1  %2  %3  %4\n")
                    .arg(pointLabel(i), -5)
                    .arg(floatText(report.fit.FitPos[i]), -8)
                    .arg(floatText(report.fit.FitDev[i]), -10)
                    .arg(floatText(report.chosen.residuals.residuals[std::size_t(i)]));
    return text;
}

QString orderTable(const FitReport& report) {
    QString text = QStringLiteral("  order  RMS px      AICc\n");
    for (const OrderSummary& summary : report.orders) {
        const QString rms = summary.solved ? fixed(summary.rms, 4) : QStringLiteral("singular");
        text += QStringLiteral("  %1  %2  %3%4\n")
                    .arg(summary.Order, -5)
                    .arg(rms, -10)
                    .arg(summary.solved ? fixed(summary.aicc, 2) : QStringLiteral("n/a"))
                    .arg(summary.Order == report.Order ? QStringLiteral("   <- this table")
                                                       : QString());
    }
    return text;
}

QString recommendationText(const FitReport& report) {
    if (!report.recommended)
        return QStringLiteral("No order has an AICc value, so none is recommended.\n");
    return QStringLiteral("AICc recommends order %1 (the lowest value; orders whose RMS is below "
                          "%2 px count as fitting exactly).\n")
        .arg(*report.recommended)
        .arg(ExactFitRms);
}

} // namespace

FitReport makeFitReport(const QString& pointsFile, int Order, const FitResult& fit) {
    FitReport report;
    report.pointsFile = pointsFile;
    report.Order = Order;
    report.fit = fit;
    report.chosen = fitOrder(fit.FitPos, fit.FitDev, FitPointCount, Order);
    report.orders = compareOrders(fit.FitPos, fit.FitDev, FitPointCount);
    report.recommended = recommendedOrder(report.orders);
    report.extrapolation = checkExtrapolation(fit.line, fit.FitPos, FitPointCount, fit.Coef, Order);
    return report;
}

QStringList warningTexts(const FitReport& report) {
    QStringList warnings;
    if (report.extrapolation.leavesImage)
        warnings << leavesImageText(*report.extrapolation.leavesImage);
    if (report.extrapolation.beyondPoints)
        warnings << beyondPointsText(*report.extrapolation.beyondPoints);
    return warnings;
}

QString reportText(const FitReport& report) {
    QString text = QStringLiteral("Order %1 fit of the points 1..8 of %2, as deviations from the "
                                  "line x = %3 * y + %4 through A and B:\n")
                       .arg(report.Order)
                       .arg(report.pointsFile)
                       .arg(floatText(report.fit.line.g), floatText(report.fit.line.h));
    text += coefficientTable(report);
    text += residualTable(report);
    text += QStringLiteral("  RMS residual: %1 px\n\n").arg(fixed(report.chosen.residuals.rms, 4));
    text += orderTable(report);
    text += recommendationText(report);
    for (const QString& warning : warningTexts(report))
        text += QStringLiteral("warning: ") + warning + QLatin1Char('\n');
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

QByteArray reportJson(const FitReport& report, const QString& tableFile) {
    QJsonArray coefficients;
    for (int k = 1; k <= report.Order + 1; ++k)
        coefficients.append(
            QJsonObject{{QStringLiteral("power"), k - 1},
                        {QStringLiteral("value"), jsonFloat(report.fit.Coef[k])},
                        {QStringLiteral("standardError"), jsonFloat(report.chosen.Dv[k])}});
    QJsonArray points;
    for (int i = 1; i <= FitPointCount; ++i)
        points.append(QJsonObject{{QStringLiteral("point"), pointLabel(i)},
                                  {QStringLiteral("y"), jsonFloat(report.fit.FitPos[i])},
                                  {QStringLiteral("deviation"), jsonFloat(report.fit.FitDev[i])},
                                  {QStringLiteral("residual"),
                                   jsonFloat(report.chosen.residuals.residuals[std::size_t(i)])}});
    QJsonArray orders;
    for (const OrderSummary& summary : report.orders)
        orders.append(QJsonObject{
            {QStringLiteral("order"), summary.Order},
            {QStringLiteral("solved"), summary.solved},
            {QStringLiteral("rms"), summary.solved ? jsonDouble(summary.rms) : QJsonValue()},
            {QStringLiteral("aicc"), summary.solved ? jsonDouble(summary.aicc) : QJsonValue()}});
    QJsonArray warnings;
    if (const auto& outside = report.extrapolation.leavesImage)
        warnings.append(QJsonObject{{QStringLiteral("kind"), QStringLiteral("leavesImage")},
                                    {QStringLiteral("row"), outside->row},
                                    {QStringLiteral("x"), jsonDouble(outside->x)},
                                    {QStringLiteral("message"), leavesImageText(*outside)}});
    if (const auto& beyond = report.extrapolation.beyondPoints)
        warnings.append(QJsonObject{{QStringLiteral("kind"), QStringLiteral("beyondPoints")},
                                    {QStringLiteral("row"), beyond->row},
                                    {QStringLiteral("deviation"), jsonDouble(beyond->deviation)},
                                    {QStringLiteral("message"), beyondPointsText(*beyond)}});
    QJsonArray shifts;
    for (const std::int16_t shift : report.fit.RowShift)
        shifts.append(int(shift));

    const QJsonObject root{
        {QStringLiteral("pointsFile"), report.pointsFile},
        {QStringLiteral("order"), report.Order},
        {QStringLiteral("referenceLine"),
         QJsonObject{{QStringLiteral("slope"), jsonFloat(report.fit.line.g)},
                     {QStringLiteral("intercept"), jsonFloat(report.fit.line.h)}}},
        {QStringLiteral("coefficients"), coefficients},
        {QStringLiteral("points"), points},
        {QStringLiteral("rms"), jsonDouble(report.chosen.residuals.rms)},
        {QStringLiteral("criterion"), QStringLiteral("AICc")},
        {QStringLiteral("exactFitRms"), ExactFitRms},
        {QStringLiteral("orders"), orders},
        {QStringLiteral("recommendedOrder"),
         report.recommended ? QJsonValue(*report.recommended) : QJsonValue()},
        {QStringLiteral("warnings"), warnings},
        {QStringLiteral("table"), tableFile.isEmpty() ? QJsonValue() : QJsonValue(tableFile)},
        {QStringLiteral("shifts"), shifts},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
