#include "app/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

QString QtDialogs::toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList lines;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!parts[i].isEmpty() || !patterns.isEmpty())
            lines << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return lines.join(QStringLiteral(";;"));
}

QString QtDialogs::openFileName(const QString& proposedName, const QString& filter) {
    return QFileDialog::getOpenFileName(m_parent, QString(), proposedName, toQtFilter(filter));
}

QString QtDialogs::saveFileName(const QString& proposedName, const QString& filter) {
    return QFileDialog::getSaveFileName(m_parent, QString(), proposedName, toQtFilter(filter));
}

void QtDialogs::warning(const QString& title, const QString& text) {
    QMessageBox::warning(m_parent, title, text, QMessageBox::Ok);
}
