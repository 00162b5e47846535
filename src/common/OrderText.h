#pragma once

#include <QStringView>
#include <cstdint>

// Reads the polynomial order from the text of the order box: blanks are
// skipped; an optional sign, digits, an optional decimal point with more
// digits and an optional exponent are taken; reading stops at the first
// character that cannot continue the number, and text without a number
// reads as 0. The value is rounded to the nearest integer, halves to the
// even neighbour.
//
// Values outside the 16-bit range saturate to -32768 or 32767 instead of
// wrapping around to a plausible order; the fit then reports them as out of
// range.
double readLeadingNumber(QStringView text);
std::int16_t orderFromText(QStringView text);
