#include "io/PointsFile.h"

#include "io/SmallTextFile.h"

#include <QDir>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

// Ten short lines and a few comments; anything near this size is not a
// points file.
constexpr qint64 MaxFileBytes = 64 * 1024;

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

QByteArrayView trimmed(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// A plain decimal number: [+-] digits [. digits], at least one digit in all.
bool isPlainDecimal(QByteArrayView field) {
    qsizetype pos = 0;
    if (pos < field.size() && (field[pos] == '+' || field[pos] == '-'))
        ++pos;
    qsizetype digits = 0;
    while (pos < field.size() && isDigit(field[pos]))
        ++pos, ++digits;
    if (pos < field.size() && field[pos] == '.') {
        ++pos;
        while (pos < field.size() && isDigit(field[pos]))
            ++pos, ++digits;
    }
    return digits > 0 && pos == field.size();
}

// The number in field, rounded once to the nearest single-precision real,
// or nothing if it is not a plain decimal or too large for one.
std::optional<float> coordinate(QByteArrayView field) {
    field = trimmed(field);
    if (!isPlainDecimal(field))
        return std::nullopt;
    if (field.front() == '+') // from_chars takes no plus sign
        field = field.sliced(1);
    float value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isSkipped(QByteArrayView line) {
    const QByteArrayView content = trimmed(line);
    return content.isEmpty() || content.front() == '#';
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

QString expectedPoint(int index) {
    return QStringLiteral("point \"%1\" as \"x,y\" (two decimal numbers)")
        .arg(controlPointLabel(index).trimmed());
}

PointsRead failed(const QString& message) {
    PointsRead result;
    result.error = message;
    return result;
}

// The file split into lines, each without its LF or CR LF.
class Lines {
public:
    explicit Lines(QByteArrayView text) : m_text(text) {
        if (m_text.startsWith("\xEF\xBB\xBF"))
            m_text = m_text.sliced(3);
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    int number() const { return m_number; } // of the line last taken

    QByteArrayView next() {
        qsizetype end = m_text.indexOf('\n', m_pos);
        const qsizetype after = end < 0 ? m_text.size() : end + 1;
        if (end < 0)
            end = m_text.size();
        QByteArrayView line = m_text.sliced(m_pos, end - m_pos);
        if (line.endsWith('\r'))
            line.chop(1);
        m_pos = after;
        ++m_number;
        return line;
    }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
    int m_number = 0;
};

} // namespace

PointsRead parsePointsFile(QByteArrayView text) {
    PointsRead result;
    Lines lines(text);
    int index = 0;
    while (!lines.atEnd()) {
        const QByteArrayView line = lines.next();
        if (isSkipped(line))
            continue;
        if (index == ControlPointCount)
            return failed(lineError(lines.number(),
                                    QStringLiteral("only blank or '#' comment lines after the "
                                                   "ten points A, B, 1..8"),
                                    quoted(line)));
        const qsizetype comma = line.indexOf(',');
        const auto x = comma < 0 ? std::nullopt : coordinate(line.first(comma));
        const auto y = comma < 0 ? std::nullopt : coordinate(line.sliced(comma + 1));
        if (!x || !y)
            return failed(lineError(lines.number(), expectedPoint(index), quoted(line)));
        result.Px[std::size_t(index)] = *x;
        result.Py[std::size_t(index)] = *y;
        ++index;
    }
    if (index < ControlPointCount)
        return failed(lineError(lines.number() + 1, expectedPoint(index),
                                QStringLiteral("the end of the file")));
    return result;
}

PointsRead readPointsFile(const QString& fileName) {
    const SmallTextFile file =
        readSmallTextFile(fileName, MaxFileBytes, QStringLiteral("a points file"));
    if (!file.ok())
        return failed(file.error);
    PointsRead result = parsePointsFile(file.bytes);
    if (!result.ok())
        result.error =
            QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(fileName), result.error);
    return result;
}
