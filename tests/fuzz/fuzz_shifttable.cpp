// Any bytes through the shift-table reader. A refused table comes with a
// message naming the line; an accepted one holds 512 shifts in 0..32767,
// ends after its 512th line, and survives being written by the export and
// read again.

#include "FuzzCheck.h"

#include "io/ShiftTableReader.h"
#include "io/TextExports.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView text(data, qsizetype(size));
    const ShiftTableRead read = parseShiftTable(text);
    if (!read.ok()) {
        FUZZ_REQUIRE(read.error.startsWith(QStringLiteral("Line ")));
        return 0;
    }
    FUZZ_REQUIRE(std::all_of(read.shifts.begin(), read.shifts.end(),
                             [](std::int16_t shift) { return shift >= 0; }));
    const auto lineEnds = std::count(text.begin(), text.end(), '\n');
    FUZZ_REQUIRE(lineEnds == 511 || lineEnds == 512);

    const ShiftTableRead again = parseShiftTable(shiftTableText(read.shifts));
    FUZZ_REQUIRE(again.ok());
    FUZZ_REQUIRE(again.shifts == read.shifts);
    return 0;
}
