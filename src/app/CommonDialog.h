#pragma once

#include <QString>

class Dialogs;

// The one file dialog that every file operation shares. It remembers the
// name chosen last and the filter set last, so each dialog opens where the
// previous one left off, whichever operation it was.
class CommonDialog {
public:
    explicit CommonDialog(Dialogs& dialogs) : m_dialogs(dialogs) {}

    void setFilter(const QString& filter) { m_filter = filter; }
    const QString& filter() const { return m_filter; }
    const QString& fileName() const { return m_fileName; }

    // The chosen name, or empty when cancelled (the remembered name stays).
    QString showOpen();
    QString showSave();

private:
    QString remember(const QString& chosen);

    Dialogs& m_dialogs;
    QString m_fileName;
    QString m_filter;
};
