#pragma once

#include "imageops/Progress.h"

class QProgressBar;

// Brackets a long pixel operation: the busy pointer for the whole window,
// the progress bar set to 0..maximum, and a callback that moves the bar.
//
// The bar takes every value the operation reports, but does not repaint
// while the work runs: QProgressBar::setValue would otherwise repaint
// synchronously at each visible step and cost more than the pixel work
// itself. The bar is drawn once, at its final value, when the work ends.
class BusyWork {
public:
    BusyWork(QProgressBar* bar, int maximum);
    ~BusyWork();
    BusyWork(const BusyWork&) = delete;
    BusyWork& operator=(const BusyWork&) = delete;

    ProgressCallback progress() const;

private:
    QProgressBar* m_bar;
};
