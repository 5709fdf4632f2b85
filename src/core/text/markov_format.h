#pragma once
// The number formats of the Markov reports and grids.
//
//   FormatFixedPrecision(12.3456789012, 10, 10) -> "12.3456789000"
//   FormatFixedPrecision(0.9999999999, 10, 9)   -> "1.000000000"
//   FormatSignificant(0.25, 10)                 -> "0.2500000000"
//   FormatSignificant(123.456, 8)               -> "123.45600"

#include <string>

namespace wachtrix {

class DecimalExpansion;

// The value rounded to p significant digits (and to d decimals) and written with exactly d
// decimals, zeros filled in; exponent form when the integer part has more than p digits.
std::string FormatFixedPrecision(long double value, int p, int d);

// Up to 15 significant digits, the form the chain grids are filled with.
std::string FormatGeneral15(long double value);

// Up to `digits` (1 to 15) significant digits, trailing zeros removed.
//   FormatGeneralDigits(1.0 / 3.0, 12) -> "0.333333333333"
std::string FormatGeneralDigits(long double value, int digits);

// For x >= 0: values from 1 on keep n significant digits, values below 1 get n decimals.
std::string FormatSignificant(long double x, int n);

// The same from the value's expansion (DecimalExpansion(value)), made once for a value that a
// report writes in two formats.
std::string FormatFixedPrecision(const DecimalExpansion& expansion, long double value, int p,
                                 int d);
std::string FormatGeneralDigits(const DecimalExpansion& expansion, long double value, int digits);
std::string FormatSignificant(const DecimalExpansion& expansion, long double x, int n);

}  // namespace wachtrix
