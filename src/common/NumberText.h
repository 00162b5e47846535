#pragma once

#include <QString>

// The one number-to-text rule of the program: a leading blank for zero and
// positive values, "-" for negative ones, plain decimal digits, no
// separators. 4 -> " 4", -5 -> "-5".
QString numberText(long long value);
