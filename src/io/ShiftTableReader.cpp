#include "io/ShiftTableReader.h"

#include "io/SmallTextFile.h"

#include <QDir>

#include <algorithm>
#include <optional>

namespace {

constexpr int Rows = 512;
constexpr int MaxShift = 32767;
// "511,32767\r\n" is 11 bytes; the limit leaves room for blank-free oddities
// such as leading zeros (read as their value) and for lines that are
// refused one by one with a better message than "too large".
constexpr qint64 MaxFileBytes = 64 * 1024;

// A run of decimal digits as a number, or nothing if it is empty, holds
// anything else, or exceeds limit.
std::optional<int> digitsValue(QByteArrayView field, int limit) {
    if (field.isEmpty())
        return std::nullopt;
    long long value = 0;
    for (const char ch : field) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        value = value * 10 + (ch - '0');
        if (value > limit)
            return std::nullopt;
    }
    return int(value);
}

QString quoted(QByteArrayView line) {
    constexpr qsizetype Shown = 40;
    QString text = QString::fromUtf8(line.first(std::min(Shown, line.size())));
    if (line.size() > Shown)
        text += QStringLiteral("...");
    return QStringLiteral("\"%1\"").arg(text);
}

QString lineError(int lineNumber, const QString& expected, const QString& found) {
    return QStringLiteral("Line %1: expected %2, found %3.").arg(lineNumber).arg(expected, found);
}

QString expectedLine(int row) {
    return QStringLiteral("\"%1,<shift>\" with a shift from 0 to %2").arg(row).arg(MaxShift);
}

ShiftTableRead failed(const QString& message) {
    ShiftTableRead result;
    result.error = message;
    return result;
}

} // namespace

ShiftTableRead parseShiftTable(QByteArrayView text) {
    ShiftTableRead result;
    qsizetype pos = 0;
    for (int row = 0; row < Rows; ++row) {
        const int lineNumber = row + 1;
        if (pos >= text.size())
            return failed(
                lineError(lineNumber, expectedLine(row), QStringLiteral("the end of the file")));
        qsizetype end = text.indexOf('\n', pos);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        QByteArrayView line = text.sliced(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        pos = next;

        const qsizetype comma = line.indexOf(',');
        const auto rowValue = comma < 0 ? std::nullopt : digitsValue(line.first(comma), Rows - 1);
        const auto shift = comma < 0 ? std::nullopt : digitsValue(line.sliced(comma + 1), MaxShift);
        if (!rowValue || *rowValue != row || !shift)
            return failed(lineError(lineNumber, expectedLine(row), quoted(line)));
        result.shifts[std::size_t(row)] = std::int16_t(*shift);
    }
    if (pos < text.size())
        return failed(lineError(Rows + 1,
                                QStringLiteral("the end of the file after %1 lines").arg(Rows),
                                quoted(text.sliced(pos))));
    return result;
}

ShiftTableRead readShiftTableFile(const QString& fileName) {
    const SmallTextFile file =
        readSmallTextFile(fileName, MaxFileBytes, QStringLiteral("a shift table"));
    if (!file.ok())
        return failed(file.error);
    ShiftTableRead result = parseShiftTable(file.bytes);
    if (!result.ok())
        result.error =
            QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(fileName), result.error);
    return result;
}
