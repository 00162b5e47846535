#include "io/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString shown(const QString& fileName) {
    return QDir::toNativeSeparators(fileName);
}

// Why a save cannot even start, worded for the user; empty when the name
// looks writable.
QString problemWithTarget(const QString& fileName) {
    const QFileInfo target(fileName);
    if (target.isDir())
        return QStringLiteral("it is a folder, not a file");
    if (target.exists() && !target.isFile())
        return QStringLiteral("it is not a regular file, so it is not replaced");
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder \"%1\" does not exist").arg(shown(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("\"%1\" is not a folder").arg(shown(folder.filePath()));
    return {};
}

} // namespace

QString writeFileAtomically(const QString& fileName, const QByteArray& bytes) {
    if (fileName.isEmpty())
        return QStringLiteral("Could not save: no file name was given.");
    if (QString problem = problemWithTarget(fileName); !problem.isEmpty())
        return QStringLiteral("Could not save \"%1\": %2.").arg(shown(fileName), problem);

    QSaveFile file(fileName);
    // Unbuffered, so a failing write shows at once and not in a later flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QStringLiteral("Could not create \"%1\": %2.")
            .arg(shown(fileName), file.errorString());
    // A write cut short (file-size limit, disk full) reports no error of its
    // own; writing on from there gives the system's reason.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting(); // the destructor then removes the temporary file
            return QStringLiteral("Could not write \"%1\": %2. The old file, if any, is unchanged.")
                .arg(shown(fileName), reason);
        }
        written += count;
    }
    if (!file.commit())
        return QStringLiteral("Could not write \"%1\": %2. The old file, if any, is unchanged.")
            .arg(shown(fileName), file.errorString());
    return {};
}
