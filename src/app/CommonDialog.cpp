#include "app/CommonDialog.h"

#include "app/Dialogs.h"

QString CommonDialog::remember(const QString& chosen) {
    if (!chosen.isEmpty())
        m_fileName = chosen;
    return chosen;
}

QString CommonDialog::showOpen() {
    return remember(m_dialogs.openFileName(m_fileName, m_filter));
}

QString CommonDialog::showSave() {
    return remember(m_dialogs.saveFileName(m_fileName, m_filter));
}
