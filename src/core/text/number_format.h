#pragma once
// The number formatters of the queue reports.
//
//   FormatProb(0.25)     -> " 0.2500000"      FormatProb(-3.2e-8) -> "3.200E-008"
//   FormatProb(0)        -> "         0"      FormatSig6(12.5)    -> "   12.5000"
//   FormatShortG(1e-12)  -> " 1E-012"

#include <string>

namespace wachtrix {

// "%7.3g".
std::string FormatShortG(long double x);

// A probability in 10 columns, sign dropped: "%10.7f" from 1e-6 on, "%10.3e" from 1e-30 on,
// otherwise a lone 0. The thresholds are the extended constants, so the double nearest 1e-6
// (just below it) is written in exponent form.
std::string FormatProb(long double x);

// FormatProb without its leading blanks.
std::string FormatProbTrimmed(long double x);

// x in 10 columns with n significant digits from 1 on and n decimals below 1; values of 10^n
// and more in exponent notation with n significant digits.
std::string FormatSig(int n, long double x);
std::string FormatSig6(long double x);

// FormatSig in `width` columns; a longer text (an exponent form) widens the field.
//   FormatSig(6, 4, 0.5) -> "0.5000"    FormatSig(6, 4, 12.5) -> " 12.50"
//   FormatSig(6, 4, 1e6) -> "1.000E+006"
std::string FormatSig(int width, int n, long double x);

// x right-aligned in `width` columns with `decimals` decimals.
std::string FormatFixed(int width, int decimals, long double x);

}  // namespace wachtrix
