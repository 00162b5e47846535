#pragma once

#include <QString>

// Whether writing to output would replace the file input: both names lead
// to the same existing file once folders, "." and ".." and symbolic links
// are resolved. An output that does not exist yet is no input.
bool isSameFile(const QString& output, const QString& input);

// The file's canonical path, or an empty string when it does not exist.
QString canonicalPath(const QString& fileName);
