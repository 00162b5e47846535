#include "cli/SameFile.h"

#include <QFileInfo>

QString canonicalPath(const QString& fileName) {
    return QFileInfo(fileName).canonicalFilePath();
}

bool isSameFile(const QString& output, const QString& input) {
    const QString target = canonicalPath(output);
    return !target.isEmpty() && target == canonicalPath(input);
}
