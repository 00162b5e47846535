#pragma once

// Ends the event loop once a widget has painted for the first time, so that
// a whole process can be timed from its start to the first painted window.
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>

namespace bench {

class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(QObject* watched, QObject* parent = nullptr) : QObject(parent) {
        watched->installEventFilter(this);
    }

protected:
    // The quit is queued, so the paint itself and the flush of the window
    // that follows it still happen.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace bench
