#pragma once

// What the window benchmarks share: dialogs that never open, and loading a
// picture into the window's canvas the way Image > LOAD leaves it.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "canvas/DrawPoints.h"

#include <QImage>

namespace bench {

// A benchmark must never wait for a user: every dialog is cancelled at once,
// and a warning would mean the measured run went wrong.
class NoDialogs : public Dialogs {
public:
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&) override { return {}; }
    void warning(const QString&, const QString&) override { ++warnings; }
    int warnings = 0;
};

// The picture as the canvas background, the image scale 0..511, persistence
// off for good and the control points drawn over it in the overlay.
inline void showPicture(MainWindow& window, const QImage& picture) {
    Canvas& canvas = window.canvas();
    canvas.setBackgroundPicture(picture);
    canvas.setPersistent(false);
    canvas.setScale(0, 511, 511, 0);
    canvas.clear();
    DrawPoints(canvas, window.state().Px, window.state().Py);
}

} // namespace bench
