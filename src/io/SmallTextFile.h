#pragma once

#include <QByteArray>
#include <QString>

// The whole of a small text file, or a message for the user saying why it
// could not be had: missing, not a plain file, larger than maxBytes (refused
// before reading, so a huge file named by mistake costs nothing), or
// unreadable. `kind` names the file in the message ("a points file").
struct SmallTextFile {
    QByteArray bytes;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

SmallTextFile readSmallTextFile(const QString& fileName, qint64 maxBytes, const QString& kind);
