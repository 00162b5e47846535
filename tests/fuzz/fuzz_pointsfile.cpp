// Any bytes through the points-file reader. A refused file comes with a
// message naming the line; an accepted one holds ten finite points, and
// writing them out again (shortest plain decimals) reads back the very same
// single-precision values.

#include "FuzzCheck.h"

#include "io/PointsFile.h"

#include <QByteArray>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

QByteArray plainDecimal(float value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    FUZZ_REQUIRE(result.ec == std::errc());
    return QByteArray(buffer.data(), result.ptr - buffer.data());
}

bool sameBits(const PointCoordinates& a, const PointCoordinates& b) {
    return std::memcmp(a.data(), b.data(), sizeof(a)) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PointsRead read = parsePointsFile(QByteArrayView(data, qsizetype(size)));
    if (!read.ok()) {
        FUZZ_REQUIRE(read.error.startsWith(QStringLiteral("Line ")));
        return 0;
    }
    QByteArray written;
    for (std::size_t i = 0; i < read.Px.size(); ++i) {
        FUZZ_REQUIRE(std::isfinite(read.Px[i]) && std::isfinite(read.Py[i]));
        written += plainDecimal(read.Px[i]) + ',' + plainDecimal(read.Py[i]) + '\n';
    }
    const PointsRead again = parsePointsFile(written);
    FUZZ_REQUIRE(again.ok());
    FUZZ_REQUIRE(sameBits(again.Px, read.Px) && sameBits(again.Py, read.Py));
    return 0;
}
