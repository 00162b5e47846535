#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

class Console;

// What every command shares: its name, the usage line of its help, the
// parsing of its options and the wording of usage errors.
struct CommandInfo {
    QString name;        // "fit"
    QString usage;       // "rowshift-cli fit --points FILE [options]"
    QString description; // one paragraph
    QString details;     // printed after the options; may be empty
};

// Parses the arguments that follow the command name. Returns an exit code
// when the command is done already: Success after printing the help,
// UsageError after reporting a bad command line. Returns nothing when the
// command should run.
std::optional<int> parseCommandLine(QCommandLineParser& parser, const CommandInfo& command,
                                    const QStringList& arguments, Console& console);

// Reports a usage error of the command and returns UsageError.
int usageError(Console& console, const CommandInfo& command, const QString& text);

// A whole decimal number from min to max, as typed for an option; nothing
// for anything else (signs, blanks, fractions, other digits).
std::optional<int> wholeNumber(const QString& text, int min, int max);
