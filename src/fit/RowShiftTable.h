#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <span>
#include <variant>

// The row-shift table: the fitted polynomial, evaluated at every row
// y = 0..511 and rounded, normalised so that its smallest entry is 0.

constexpr int RowCount = 512;
using ShiftTable = std::array<std::int16_t, RowCount>;

// The polynomial at row `row`, summed in single precision after each term,
// then rounded with halves up: the largest whole number not above v + 0.5.
// Returned as a double so that a value beyond the 16-bit range, or a
// non-finite one, can be seen for what it is.
double rawShift(int row, std::span<const float> Coef, int Order);

// A row whose shift the 16-bit table cannot hold: either its raw shift, or
// (normalised true) the shift after subtracting the minimum.
struct ShiftOutOfRange {
    int row = 0;
    double shift = 0;
    bool normalised = false;
};

// The table for the coefficients Coef(1..Order+1): the raw shift of every
// row, then each minus the running minimum, which starts at 1000 (so a table
// whose raw shifts all exceed 1000 is lowered by 1000, not by its minimum).
// Instead of wrapping around, returns the first row whose raw shift lies
// outside -32768..32767 (or is not finite), or failing that the first row
// whose normalised shift exceeds 32767.
std::variant<ShiftTable, ShiftOutOfRange> rowShiftTable(std::span<const float> Coef, int Order);

// The list entry of one row: number text of the row, two blanks, number
// text of the shift. Row 0 with shift 3 reads " 0   3".
QString shiftListEntry(int row, int shift);
QStringList shiftListEntries(const ShiftTable& RowShift);
