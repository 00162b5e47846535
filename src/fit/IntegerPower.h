#pragma once

// base raised to a whole exponent >= 0, in double precision, by repeated
// multiplication starting from 1, so that 0 to the power 0 is 1.
//
// Why not std::pow: the polynomial is evaluated at whole numbers (rows
// 0..511, curve heights 0..512) and at float heights, and the shift table
// must come out the same on every machine. For a whole number up to 512
// every power up to the fifth is exact in double, and a sixth power takes a
// single rounding from the exact fifth, so the result is the exact power
// correctly rounded, whatever the maths library (whose pow may differ in the
// last bit between versions and processors). For a float base the few
// double roundings lie far below the single precision the result is stored
// in.
constexpr double integerPower(double base, int exponent) {
    double result = 1;
    for (int j = 0; j < exponent; ++j)
        result *= base;
    return result;
}
