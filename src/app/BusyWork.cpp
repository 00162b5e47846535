#include "app/BusyWork.h"

#include <QGuiApplication>
#include <QProgressBar>

BusyWork::BusyWork(QProgressBar* bar, int maximum) : m_bar(bar) {
    m_bar->setRange(0, maximum);
    m_bar->setUpdatesEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyWork::~BusyWork() {
    QGuiApplication::restoreOverrideCursor();
    m_bar->setUpdatesEnabled(true); // schedules one repaint
}

ProgressCallback BusyWork::progress() const {
    QProgressBar* bar = m_bar;
    return [bar](int value) { bar->setValue(value); };
}
