#include "fit/RowShiftTable.h"

#include "common/NumberText.h"
#include "fit/PolynomialFit.h"

#include <cmath>
#include <limits>

namespace {

constexpr double ShiftMin = std::numeric_limits<std::int16_t>::min();
constexpr double ShiftMax = std::numeric_limits<std::int16_t>::max();

// The running minimum starts here, not at the first row's shift.
constexpr std::int16_t MinimumStart = 1000;

bool fitsShift(double value) {
    return value >= ShiftMin && value <= ShiftMax; // false for NaN too
}

} // namespace

double rawShift(int row, std::span<const float> Coef, int Order) {
    const float v = addPolynomial(0.0f, row, Coef, Order);
    // v + 0.5 is exact in double for any float v below 2^52, so the halves
    // really round up.
    return std::floor(double(v) + 0.5);
}

std::variant<ShiftTable, ShiftOutOfRange> rowShiftTable(std::span<const float> Coef, int Order) {
    ShiftTable RowShift{};
    std::int16_t minShift = MinimumStart;
    for (int i = 0; i < RowCount; ++i) {
        const double shift = rawShift(i, Coef, Order);
        if (!fitsShift(shift))
            return ShiftOutOfRange{i, shift, false};
        RowShift[i] = std::int16_t(shift);
        if (RowShift[i] < minShift)
            minShift = RowShift[i];
    }
    for (int i = 0; i < RowCount; ++i) {
        const int normalised = RowShift[i] - minShift; // int: cannot overflow
        if (!fitsShift(normalised))
            return ShiftOutOfRange{i, double(normalised), true};
        RowShift[i] = std::int16_t(normalised);
    }
    return RowShift;
}

QString shiftListEntry(int row, int shift) {
    return numberText(row) + QStringLiteral("  ") + numberText(shift);
}

QStringList shiftListEntries(const ShiftTable& RowShift) {
    QStringList entries;
    entries.reserve(RowCount);
    for (int i = 0; i < RowCount; ++i)
        entries.append(shiftListEntry(i, RowShift[i]));
    return entries;
}
