#include "io/SmallTextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

SmallTextFile failed(const QString& message) {
    return SmallTextFile{QByteArray(), message};
}

} // namespace

SmallTextFile readSmallTextFile(const QString& fileName, qint64 maxBytes, const QString& kind) {
    const QString shown = QDir::toNativeSeparators(fileName);
    const QFileInfo info(fileName);
    if (!info.exists())
        return failed(QStringLiteral("\"%1\" does not exist.").arg(shown));
    if (!info.isFile())
        return failed(QStringLiteral("\"%1\" is not a file.").arg(shown));
    if (info.size() > maxBytes)
        return failed(QStringLiteral("\"%1\" is %2 bytes long, too long for %3.")
                          .arg(shown)
                          .arg(info.size())
                          .arg(kind));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("Could not open \"%1\": %2.").arg(shown, file.errorString()));
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(QStringLiteral("Could not read \"%1\": %2.").arg(shown, file.errorString()));
    return SmallTextFile{bytes, QString()};
}
