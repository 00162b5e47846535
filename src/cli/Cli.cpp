#include "cli/Cli.h"

#include "cli/ApplyCommand.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/FitCommand.h"
#include "cli/ProfileCommand.h"

#include <QCoreApplication>

namespace {

QString overview() {
    return QStringLiteral(
        "Usage: rowshift-cli COMMAND [options]\n"
        "\n"
        "Straightens a curved feature in 512 x 512 images by shifting every row left, with the\n"
        "same calculations as the rowshift window, so the results are the window's, byte for\n"
        "byte.\n"
        "\n"
        "Commands:\n"
        "  fit      fit the row shifts to ten control points and write the shift table,\n"
        "           with diagnostics (coefficients, residuals, every order compared)\n"
        "  apply    correct images with a shift table, as LOAD, CORRECT and SAVE do\n"
        "  profile  write the column profile of an image, as Vertical Average and Save do\n"
        "\n"
        "Options:\n"
        "  -h, --help     Show this help and exit.\n"
        "  -v, --version  Show the version and exit.\n"
        "\n"
        "Run \"rowshift-cli COMMAND --help\" for the options of a command.\n"
        "Exit status: 0 success, 1 some input failed, 2 usage error.\n");
}

bool isOneOf(const QString& argument, const char* shortName, const char* longName) {
    return argument == QLatin1String(shortName) || argument == QLatin1String(longName);
}

} // namespace

int runCli(const QStringList& arguments, Console& console) {
    if (arguments.size() < 2) {
        console.message(overview().trimmed());
        return UsageError;
    }
    const QString name = arguments.at(1);
    const QStringList rest = arguments.mid(2);
    if (name == QLatin1String("fit"))
        return runFit(rest, console);
    if (name == QLatin1String("apply"))
        return runApply(rest, console);
    if (name == QLatin1String("profile"))
        return runProfile(rest, console);
    if (isOneOf(name, "-h", "--help") || name == QLatin1String("help"))
        return console.writeOutput(overview().toUtf8()) ? Success : InputFailed;
    if (isOneOf(name, "-v", "--version"))
        return console.writeOutput(QStringLiteral("rowshift-cli %1\n")
                                       .arg(QCoreApplication::applicationVersion())
                                       .toUtf8())
                   ? Success
                   : InputFailed;
    console.error(
        QStringLiteral("unknown command \"%1\".\nTry \"rowshift-cli --help\".").arg(name));
    return UsageError;
}
