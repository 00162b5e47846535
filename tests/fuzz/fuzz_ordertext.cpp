// Any text through the order box's number reading, checked against the C
// library: with the blanks taken out, the longest prefix that strtod reads
// from the characters a decimal number can hold is the number, and the
// order is that number rounded half to even and held to the 16-bit range.
// The bytes are tried both as UTF-8 and as UTF-16, since the box holds any
// Unicode text.

#include "FuzzCheck.h"

#include "common/OrderText.h"

#include <QString>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

// The characters strtod may read, blanks left out: no letters that would
// let it read "inf", "nan" or hexadecimal.
std::string numberCharacters(QStringView text) {
    std::string out;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        const char16_t u = c.unicode();
        const bool allowed =
            (u >= '0' && u <= '9') || u == '+' || u == '-' || u == '.' || u == 'e' || u == 'E';
        if (!allowed)
            break;
        out += char(u);
    }
    return out;
}

void check(QStringView text) {
    const std::string number = numberCharacters(text);
    errno = 0;
    const double expected = std::strtod(number.c_str(), nullptr);
    const bool outOfRange = errno == ERANGE;

    const double read = readLeadingNumber(text);
    if (outOfRange)
        FUZZ_REQUIRE(std::isinf(expected) ? read == expected : std::abs(read) <= 1e-300);
    else
        FUZZ_REQUIRE(read == expected);

    const double rounded = std::nearbyint(expected);
    const std::int16_t order = orderFromText(text);
    if (rounded <= std::numeric_limits<std::int16_t>::min())
        FUZZ_REQUIRE(order == std::numeric_limits<std::int16_t>::min());
    else if (rounded >= std::numeric_limits<std::int16_t>::max())
        FUZZ_REQUIRE(order == std::numeric_limits<std::int16_t>::max());
    else
        FUZZ_REQUIRE(order == rounded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    check(QString::fromUtf8(bytes, qsizetype(size)));
    check(QStringView(reinterpret_cast<const char16_t*>(bytes), qsizetype(size / 2)));
    return 0;
}
