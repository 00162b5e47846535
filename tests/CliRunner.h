#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

#include <array>
#include <charconv>

// Runs rowshift-cli as a user would, as a separate process: exit status,
// standard output and standard error as they come out.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QString errText() const { return QString::fromUtf8(err); }
};

inline CliRun runRowshiftCli(const QStringList& arguments, const QString& workingFolder = {}) {
    QProcess process;
    process.setProgram(QStringLiteral(ROWSHIFT_CLI_PATH));
    process.setArguments(arguments);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start();
    CliRun run;
    // Generous: the sanitizer build is slow.
    if (!process.waitForFinished(300'000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A points file holding exactly the given single-precision points: each
// number in its shortest text that reads back as the same value.
template <typename Points> QByteArray pointsText(const Points& Px, const Points& Py) {
    QByteArray text = "# A, B, 1..8\n";
    auto number = [](float value) {
        std::array<char, 32> buffer{};
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
        return QByteArray(buffer.data(), end - buffer.data());
    };
    for (std::size_t i = 0; i < Px.size(); ++i)
        text += number(Px[i]) + ',' + number(Py[i]) + '\n';
    return text;
}
