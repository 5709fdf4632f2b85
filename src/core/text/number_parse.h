#pragma once
// Strict reading of typed numbers: optional blanks, an optional sign, digits with at most one
// ".", an optional exponent ("e" or "E", optional sign, digits), optional blanks; nothing else.
// A text that does not read as a whole is refused, never half-read. The decimal separator is
// "." whatever the locale.
//
//   ParseReal(" 2.5 ") -> 2.5      ParseReal("1.2.3") -> nullopt    ParseReal("inf") -> nullopt
//   ParseReal("1e309") -> infinity (a number beyond the range: out of every field's range)
//   ParseInt("-12")    -> -12      ParseInt("2.5")    -> nullopt    ParseInt("3000000000") ->
//   nullopt

#include <optional>
#include <string_view>

namespace wachtrix {

// Beyond the double range: infinite with the numeral's sign, which every range refuses as out of
// range. Below it: 0.
std::optional<double> ParseReal(std::string_view text);
// ParseReal of a token without blanks in one pass, for the many numbers of a file, also giving
// its count of mantissa digits from the first nonzero one.
std::optional<double> ParseRealToken(std::string_view token, int& significantDigits);

// The same for the long double range (beyond it: infinite); below its normal range: 0.
std::optional<long double> ParseExtended(std::string_view text);

// 32-bit signed.
std::optional<int> ParseInt(std::string_view text);

// Leading and trailing blanks (and control characters) removed.
std::string_view Trim(std::string_view text);

}  // namespace wachtrix
