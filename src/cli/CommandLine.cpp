#include "cli/CommandLine.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"

namespace {

constexpr qsizetype HelpWidth = 79;

// Each line of text broken at blanks into lines of at most HelpWidth
// characters (a longer word keeps a line of its own).
QString wrapped(const QString& text) {
    QStringList out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QString current;
        for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!current.isEmpty() && current.size() + 1 + word.size() > HelpWidth) {
                out << current;
                current.clear();
            }
            current += (current.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        out << current;
    }
    return out.join(QLatin1Char('\n'));
}

// QCommandLineParser's help starts with a usage line built from the program
// name; a command has its own.
QString helpText(const QCommandLineParser& parser, const CommandInfo& command) {
    QString text = parser.helpText();
    const qsizetype firstLineEnd = text.indexOf(QLatin1Char('\n'));
    text.replace(0, firstLineEnd, QStringLiteral("Usage: ") + command.usage + QLatin1Char('\n'));
    if (!command.details.isEmpty())
        text += QLatin1Char('\n') + wrapped(command.details) + QLatin1Char('\n');
    return text;
}

} // namespace

std::optional<int> parseCommandLine(QCommandLineParser& parser, const CommandInfo& command,
                                    const QStringList& arguments, Console& console) {
    parser.setApplicationDescription(wrapped(command.description));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    parser.addOption(help);
    // The first argument is taken as the program name.
    if (!parser.parse(QStringList{QStringLiteral("rowshift-cli")} + arguments))
        return usageError(console, command, parser.errorText());
    if (parser.isSet(help)) {
        if (!console.writeOutput(helpText(parser, command).toUtf8()))
            return InputFailed;
        return Success;
    }
    return std::nullopt;
}

int usageError(Console& console, const CommandInfo& command, const QString& text) {
    console.error(
        QStringLiteral("%1: %2\nTry \"rowshift-cli %1 --help\".").arg(command.name, text));
    return UsageError;
}

std::optional<int> wholeNumber(const QString& text, int min, int max) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar ch : text) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (ch.unicode() - '0');
    }
    if (value < min || value > max)
        return std::nullopt;
    return value;
}
