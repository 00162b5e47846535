#pragma once

#include <QMutex>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

class Console;

// Collects the outcome of each image from the worker threads and reports
// the failures in the order the images were given, each as soon as every
// image before it is done; a progress line counts the images done.
class OrderedReport {
public:
    OrderedReport(Console& console, std::size_t count);

    // problem is empty when the image was corrected.
    void finish(std::size_t index, const QString& problem);

    // Ends the progress line; returns the number of images that failed.
    std::size_t close();

private:
    Console& m_console;
    QMutex m_mutex;
    std::vector<std::optional<QString>> m_outcomes;
    std::size_t m_nextToReport = 0;
    std::size_t m_done = 0;
    std::size_t m_failed = 0;
};
