#include "common/OrderText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Collects the characters of the number, blanks removed, into plain ASCII.
class NumberScanner {
public:
    explicit NumberScanner(QStringView text) : m_text(text) {}

    std::string scan() {
        std::string out;
        if (peek() == QLatin1Char('+') || peek() == QLatin1Char('-'))
            out += char(take().unicode());
        // Both parts are taken whatever the first gave: "5." and ".5" are numbers.
        const bool hasDigits = takeDigits(out);
        const bool hasFraction = takeFraction(out);
        if (!hasDigits && !hasFraction)
            return {};
        takeExponent(out);
        return out;
    }

private:
    QChar peek() {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos] : QChar();
    }
    QChar take() { return m_text[m_pos++]; }

    bool takeDigits(std::string& out) {
        bool any = false;
        while (isDigit(peek())) {
            out += char(take().unicode());
            any = true;
        }
        return any;
    }

    bool takeFraction(std::string& out) {
        if (peek() != QLatin1Char('.'))
            return false;
        take();
        out += '.';
        return takeDigits(out);
    }

    // An exponent counts only when digits follow its letter (and sign).
    void takeExponent(std::string& out) {
        const QChar e = peek();
        if (e != QLatin1Char('e') && e != QLatin1Char('E'))
            return;
        const qsizetype mark = m_pos;
        take();
        std::string exponent = "e";
        if (peek() == QLatin1Char('+') || peek() == QLatin1Char('-'))
            exponent += char(take().unicode());
        if (takeDigits(exponent))
            out += exponent;
        else
            m_pos = mark;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

// std::from_chars leaves the value alone on overflow and underflow; tell the
// two apart by the decimal magnitude the text spells out.
double outOfRangeValue(const std::string& number) {
    const bool negative = number[0] == '-';
    const auto ePos = number.find('e');
    const std::string mantissa = number.substr(0, ePos);

    long long exponent = 0;
    if (ePos != std::string::npos) {
        const char* first = number.data() + ePos + 1;
        const bool negativeExponent = *first == '-';
        if (*first == '+' || *first == '-')
            ++first;
        // Held far from the limits, so that adding the magnitude below
        // cannot overflow: beyond them only the sign matters anyway.
        constexpr long long farEnough = std::numeric_limits<long long>::max() / 4;
        auto [p, ec] = std::from_chars(first, number.data() + number.size(), exponent);
        if (ec == std::errc::result_out_of_range || exponent > farEnough)
            exponent = farEnough;
        if (negativeExponent)
            exponent = -exponent;
    }

    // The value is 0.d... times ten to the power (magnitude + exponent).
    const auto firstSignificant = mantissa.find_first_of("123456789");
    if (firstSignificant == std::string::npos)
        return negative ? -0.0 : 0.0;
    const auto point = mantissa.find('.');
    const auto end = point == std::string::npos ? mantissa.size() : point;
    const long long magnitude = firstSignificant < end
                                    ? static_cast<long long>(end - firstSignificant)
                                    : -static_cast<long long>(firstSignificant - end - 1);

    if (magnitude + exponent <= 0)
        return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
}

} // namespace

double readLeadingNumber(QStringView text) {
    const std::string number = NumberScanner(text).scan();
    if (number.empty())
        return 0;
    const char* first = number.data();
    if (*first == '+')
        ++first;
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range)
        return outOfRangeValue(number);
    return value;
}

std::int16_t orderFromText(QStringView text) {
    const double rounded = std::nearbyint(readLeadingNumber(text)); // halves to even
    constexpr double lowest = std::numeric_limits<std::int16_t>::min();
    constexpr double highest = std::numeric_limits<std::int16_t>::max();
    if (rounded <= lowest)
        return std::numeric_limits<std::int16_t>::min();
    if (rounded >= highest)
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(rounded);
}
