#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>

// Standard output and standard error for all commands and all worker
// threads. Every message is written whole, so lines from different threads
// never interleave; a progress line is shown only when standard error is a
// terminal, and is cleared before a message and at the end.
class Console {
public:
    Console();

    // Writes bytes to standard output exactly as they are; false when they
    // could not all be written (a full disk, a closed pipe).
    [[nodiscard]] bool writeOutput(const QByteArray& bytes);

    // text, and a line end, on standard error.
    void message(const QString& text);

    // "rowshift-cli: " and text on standard error.
    void error(const QString& text);

    // Replaces the progress line; does nothing unless standard error is a
    // terminal.
    void progress(const QString& text);
    void endProgress();

    bool showsProgress() const { return m_terminal; }

private:
    void clearProgressLocked();
    void writeErrorLocked(const QByteArray& bytes);

    QMutex m_mutex;
    bool m_terminal = false;
    bool m_progressShown = false;
};
