#include "io/TextExports.h"

#include "io/AtomicFile.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr char LineEnd[] = "\r\n";
constexpr int SignificantDigits = 7;

void appendInteger(QByteArray& out, long long value) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    out.append(digits, end - digits);
}

void appendLine(QByteArray& out, long long index, const std::string& value) {
    appendInteger(out, index);
    out.append(',');
    out.append(value.data(), qsizetype(value.size()));
    out.append(LineEnd);
}

// Appends the value 0.d1d2...dn x 10^pointPosition, given its significant
// digits d1 d2 ... dn, with the decimal point in place and zeros padding
// either side.
void appendPositional(std::string& out, const std::string& digits, int pointPosition) {
    const int n = int(digits.size());
    if (pointPosition <= 0) {
        out.append("0.");
        out.append(std::size_t(-pointPosition), '0');
        out.append(digits);
    } else if (pointPosition >= n) {
        out.append(digits);
        out.append(std::size_t(pointPosition - n), '0');
    } else {
        out.append(digits, 0, std::size_t(pointPosition));
        out.push_back('.');
        out.append(digits, std::size_t(pointPosition));
    }
}

} // namespace

std::string profileValueText(float value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    if (value == 0)
        return "0";
    // Scientific form rounds the exact binary value correctly to 7 digits:
    // "-d.dddddde+XX". Its digits and exponent are then laid out plainly.
    char text[32];
    const auto end = std::to_chars(std::begin(text), std::end(text), value,
                                   std::chars_format::scientific, SignificantDigits - 1)
                         .ptr;
    const std::string scientific(text, end);
    const bool negative = scientific.front() == '-';
    const std::size_t mantissaStart = negative ? 1 : 0;
    const std::size_t exponentMark = scientific.find('e');
    std::string digits;
    for (std::size_t k = mantissaStart; k < exponentMark; ++k) {
        if (scientific[k] != '.')
            digits += scientific[k];
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exponent = std::atoi(scientific.c_str() + exponentMark + 1);
    std::string out;
    if (negative)
        out.push_back('-');
    appendPositional(out, digits, exponent + 1);
    return out;
}

QByteArray shiftTableText(std::span<const std::int16_t, 512> shifts) {
    QByteArray out;
    out.reserve(512 * 12);
    for (std::size_t i = 0; i < shifts.size(); ++i) {
        appendInteger(out, qint64(i));
        out.append(',');
        appendInteger(out, shifts[i]);
        out.append(LineEnd);
    }
    return out;
}

QByteArray profileText(std::span<const float, 512> profile) {
    QByteArray out;
    out.reserve(510 * 20);
    for (std::size_t i = 1; i <= 510; ++i)
        appendLine(out, qint64(i), profileValueText(profile[i]));
    return out;
}

QString saveShiftTable(const QString& fileName, std::span<const std::int16_t, 512> shifts) {
    return writeFileAtomically(fileName, shiftTableText(shifts));
}

QString saveProfile(const QString& fileName, std::span<const float, 512> profile) {
    return writeFileAtomically(fileName, profileText(profile));
}
