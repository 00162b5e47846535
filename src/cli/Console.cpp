#include "cli/Console.h"

#include <cstdio>
#include <unistd.h>

Console::Console() : m_terminal(isatty(STDERR_FILENO) == 1) {}

bool Console::writeOutput(const QByteArray& bytes) {
    const QMutexLocker lock(&m_mutex);
    const std::size_t size = std::size_t(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, stdout) == size;
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

void Console::message(const QString& text) {
    const QMutexLocker lock(&m_mutex);
    clearProgressLocked();
    writeErrorLocked(text.toUtf8() + '\n');
}

void Console::error(const QString& text) {
    message(QStringLiteral("rowshift-cli: ") + text);
}

void Console::progress(const QString& text) {
    if (!m_terminal)
        return;
    const QMutexLocker lock(&m_mutex);
    // Carriage return and "erase to the end of the line": the new text
    // replaces the old one in place.
    writeErrorLocked("\r\x1b[K" + text.toUtf8());
    m_progressShown = true;
}

void Console::endProgress() {
    const QMutexLocker lock(&m_mutex);
    clearProgressLocked();
}

void Console::clearProgressLocked() {
    if (!m_progressShown)
        return;
    writeErrorLocked("\r\x1b[K");
    m_progressShown = false;
}

void Console::writeErrorLocked(const QByteArray& bytes) {
    // Standard error is unbuffered: one write per message keeps it whole.
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
}
