#pragma once

#include "app/Dialogs.h"

class QWidget;

// The real dialogs: QFileDialog and QMessageBox.
class QtDialogs : public Dialogs {
public:
    void setParent(QWidget* parent) { m_parent = parent; }

    QString openFileName(const QString& proposedName, const QString& filter) override;
    QString saveFileName(const QString& proposedName, const QString& filter) override;
    void warning(const QString& title, const QString& text) override;

    // "bmp|*.bmp|" -> "bmp (*.bmp)"; pairs become one line each.
    static QString toQtFilter(const QString& filter);

private:
    QWidget* m_parent = nullptr;
};
