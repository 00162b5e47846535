#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file fileName (used exactly as given) with bytes, all or
// nothing: the bytes go to a temporary file beside it, which is renamed over
// the old file only once everything has been written. On any failure the old
// file keeps its old bytes and no temporary file is left behind.
//
// Only regular files are replaced: a folder, a device such as /dev/full, a
// pipe or a socket of that name is refused rather than swapped for a file.
//
// Returns an empty string on success, else a message for the user.
[[nodiscard]] QString writeFileAtomically(const QString& fileName, const QByteArray& bytes);
