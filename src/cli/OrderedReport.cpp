#include "cli/OrderedReport.h"

#include "cli/Console.h"

OrderedReport::OrderedReport(Console& console, std::size_t count)
    : m_console(console), m_outcomes(count) {}

void OrderedReport::finish(std::size_t index, const QString& problem) {
    const QMutexLocker lock(&m_mutex);
    m_outcomes[index] = problem;
    ++m_done;
    while (m_nextToReport < m_outcomes.size() && m_outcomes[m_nextToReport]) {
        if (const QString& reported = *m_outcomes[m_nextToReport]; !reported.isEmpty()) {
            m_console.error(reported);
            ++m_failed;
        }
        m_outcomes[m_nextToReport] = QString(); // keep only whether it is done
        ++m_nextToReport;
    }
    m_console.progress(
        QStringLiteral("apply: %1 of %2 images done").arg(m_done).arg(m_outcomes.size()));
}

std::size_t OrderedReport::close() {
    const QMutexLocker lock(&m_mutex);
    m_console.endProgress();
    return m_failed;
}
