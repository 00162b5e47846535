#include "cli/FitCommand.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/FitReport.h"
#include "cli/SameFile.h"
#include "fit/CurveFit.h"
#include "io/PointsFile.h"
#include "io/TextExports.h"

#include <QDir>

namespace {

CommandInfo fitCommand() {
    return {
        QStringLiteral("fit"),
        QStringLiteral("rowshift-cli fit --points FILE [--order N] [-o TABLE] [--json]"),
        QStringLiteral(
            "Fits the row shifts to ten control points exactly as CALCULATE(LSM) does in the "
            "window, and writes the shift table as PARAMETER STORE does (512 lines \"row,shift\"): "
            "to TABLE with -o, else to standard output. Diagnostics go to standard error: the "
            "coefficients with their standard errors, each point's residual, the RMS residual "
            "in pixels, every order from 0 to 6 side by side with its AICc, the order AICc "
            "recommends, and warnings when the curve leaves the image or is extrapolated far "
            "beyond the points near the top or bottom rows."),
        QStringLiteral(
            "Points file: ten lines \"x,y\" in the order A, B, 1, ..., 8, in the window's "
            "coordinates (x = pixel column, y = 511 - pixel row). Blank lines and lines starting "
            "with # are skipped.\n"
            "\n"
            "--json: the diagnostics and the table (as \"shifts\") go to standard output as one "
            "JSON document; the table file is written only with -o.\n"
            "\n"
            "AICc = n ln(RSS/n) + 2k + 2k(k+1)/(n-k-1), with n = 8 points and k = order + 1 "
            "coefficients; lower is better. An RMS residual below 0.001 px counts as 0.001 px, so "
            "points lying exactly on a polynomial recommend the lowest order that fits them. "
            "Order 6 has no AICc (n - k - 1 = 0) and is never recommended.\n"
            "\n"
            "Extrapolation warning: at a row below the lowest or above the highest point, the "
            "fitted deviation lies outside its range between the points by more than 10 px or a "
            "half that range, whichever is larger.\n"
            "\n"
            "Exit status: 0 done (warnings included), 1 the points file could not be read, the "
            "points allow no fit, or the table could not be written, 2 usage error."),
    };
}

// A fit that went wrong, worded for the command line.
QString fitProblemText(const FitResult& fit, int Order) {
    if (fit.warning)
        return QString(fit.warning->text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("the points allow no fit of order %1: the least-squares normal matrix is "
                          "singular (DET=0). The points 1..8 need at least %2 different heights.")
        .arg(Order)
        .arg(Order + 1);
}

} // namespace

int runFit(const QStringList& arguments, Console& console) {
    const CommandInfo command = fitCommand();
    QCommandLineParser parser;
    const QCommandLineOption pointsOption(QStringLiteral("points"),
                                          QStringLiteral("The points file (required)."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption orderOption(
        QStringLiteral("order"), QStringLiteral("The polynomial order, 0 to 6 (default 4)."),
        QStringLiteral("N"), QStringLiteral("4"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write the shift table to TABLE (replaced only once it is complete)."),
        QStringLiteral("TABLE"));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("Write the diagnostics and the table as JSON to standard output."));
    parser.addOptions({pointsOption, orderOption, outputOption, jsonOption});
    if (const auto done = parseCommandLine(parser, command, arguments, console))
        return *done;

    if (!parser.positionalArguments().isEmpty())
        return usageError(console, command,
                          QStringLiteral("unexpected argument \"%1\".")
                              .arg(parser.positionalArguments().constFirst()));
    const QString pointsFile = parser.value(pointsOption);
    if (pointsFile.isEmpty())
        return usageError(console, command, QStringLiteral("--points FILE is required."));
    const auto order = wholeNumber(parser.value(orderOption), 0, maxFitOrder(FitPointCount));
    if (!order)
        return usageError(console, command,
                          QStringLiteral("--order must be a whole number from 0 to %1, not \"%2\".")
                              .arg(maxFitOrder(FitPointCount))
                              .arg(parser.value(orderOption)));
    const QString tableFile = parser.value(outputOption);
    const bool json = parser.isSet(jsonOption);
    if (parser.isSet(outputOption) && tableFile.isEmpty())
        return usageError(console, command, QStringLiteral("-o needs a file name."));

    if (!tableFile.isEmpty() && isSameFile(tableFile, pointsFile)) {
        console.error(QStringLiteral("\"%1\" is the points file; the table is not written over it.")
                          .arg(QDir::toNativeSeparators(tableFile)));
        return InputFailed;
    }

    const PointsRead points = readPointsFile(pointsFile);
    if (!points.ok()) {
        console.error(points.error);
        return InputFailed;
    }

    FitRequest request;
    request.Px = points.Px;
    request.Py = points.Py;
    request.Order = std::int16_t(*order);
    const FitResult fit = calculateFit(request);
    // A singular matrix leaves the window with the previous fit's table; here
    // there is none, and a table of zeros would pass for a calibration.
    if (fit.warning || fit.singular) {
        console.error(QStringLiteral("\"%1\": %2")
                          .arg(QDir::toNativeSeparators(pointsFile), fitProblemText(fit, *order)));
        return InputFailed;
    }

    const FitReport report = makeFitReport(pointsFile, *order, fit);
    if (!json)
        console.message(reportText(report));

    if (!tableFile.isEmpty()) {
        if (const QString problem = saveShiftTable(tableFile, fit.RowShift); !problem.isEmpty()) {
            console.error(problem);
            return InputFailed;
        }
    }
    const QByteArray output = json                  ? reportJson(report, tableFile)
                              : tableFile.isEmpty() ? shiftTableText(fit.RowShift)
                                                    : QByteArray();
    if (!output.isEmpty() && !console.writeOutput(output)) {
        console.error(QStringLiteral("could not write to standard output."));
        return InputFailed;
    }
    return Success;
}
