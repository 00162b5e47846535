#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>
#include <string>

// The two text exports. Every line is "index,value" with no blanks and ends
// in CR LF, the last one included; nothing follows the last line. Numbers
// never depend on the user's locale: digits, "-" for negatives, "." as the
// decimal point.

// 512 lines "i,shift" for the rows i = 0..511.
QByteArray shiftTableText(std::span<const std::int16_t, 512> shifts);

// 510 lines "i,value" for the columns i = 1..510 (profile[0] and
// profile[511] are not written).
QByteArray profileText(std::span<const float, 512> profile);

// A profile value as written: rounded to 7 significant digits, trailing
// zeros dropped, no decimal point when whole. Always plain positional
// notation, never an exponent, however small or large the value, so any
// spreadsheet or script reads it: 510/65536 is "0.007781982", 1e-5 is
// "0.00001", 12345678 is "12345680", 130560 is "130560". Zero (either sign)
// is "0"; the impossible NaN and infinities read "nan", "inf" and "-inf".
std::string profileValueText(float value);

// The exports written atomically to fileName (used exactly as given): an
// empty string on success, else a message for the user, with any existing
// file left as it was.
[[nodiscard]] QString saveShiftTable(const QString& fileName,
                                     std::span<const std::int16_t, 512> shifts);
[[nodiscard]] QString saveProfile(const QString& fileName, std::span<const float, 512> profile);
