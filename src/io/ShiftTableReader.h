#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>

// What reading a shift-table file gives: on success all 512 shifts and an
// empty error; on failure a message naming the line and what it should hold.
struct ShiftTableRead {
    std::array<std::int16_t, 512> shifts{};
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads a shift table as the shift-table export writes it, strictly:
// exactly 512 lines "row,shift" for the rows 0..511 in order, digits only
// (no blanks, no signs), shifts 0..32767, each line ended by LF or CR LF
// (the last one may also end the file without). Anything else is refused:
// a table that is almost right is still not the calibration that was saved.
ShiftTableRead parseShiftTable(QByteArrayView text);

// The same for a file; files too large to be a shift table are refused
// before they are read.
ShiftTableRead readShiftTableFile(const QString& fileName);
