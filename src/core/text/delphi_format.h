#pragma once
// Format in the manner the reports are written: "%d", "%4d", "%s", "%10s", "%.6g", "%10.5g",
// "%8g", "%10.3e", "%10.7f" (flag "-" left-aligns). The decimal separator is always ".".
//
// General format ("g"): as many significant digits as the precision (15 when absent), trailing
// zeros and an unneeded point removed; fixed notation when the value is at least 0.00001 and has
// no more integer digits than the precision, otherwise exponent notation. Every exponent is "E",
// a sign and at least three digits. Halves round away from zero.
//
//   Format("%.6g", {0.8})        -> "0.8"
//   Format("%.6g", {1234567.0})  -> "1.23457E+006"
//   Format("%10.3e", {3.2e-8})   -> "3.200E-008"
//   Format("%4d  %s", {7, "x"})  -> "   7  x"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace wachtrix {

class FormatArg {
public:
    enum class Kind { Integer, Real, Text };

    FormatArg(int v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(long v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(long long v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(double v) : kind_(Kind::Real), real_(v) {}
    FormatArg(long double v) : kind_(Kind::Real), real_(v) {}
    FormatArg(const char* v) : kind_(Kind::Text), text_(v) {}
    FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}
    FormatArg(const std::string& v) : kind_(Kind::Text), text_(v) {}

    Kind kind() const { return kind_; }
    long long integer() const { return integer_; }
    long double real() const { return real_; }
    std::string_view text() const { return text_; }

private:
    Kind kind_;
    long long integer_ = 0;
    long double real_ = 0;
    std::string_view text_;
};

// Throws std::invalid_argument for an unknown directive, a missing argument or an argument of
// the wrong kind: those are programming faults, caught by the tests.
std::string Format(std::string_view format, std::initializer_list<FormatArg> args);

// The conversions behind the directives, without width.
std::string FormatGeneral(long double value, int precision);    // "%.<precision>g"
std::string FormatExponent(long double value, int decimals);    // "%.<decimals>e"
std::string FormatFixedPoint(long double value, int decimals);  // "%.<decimals>f"
std::string ExponentSuffix(int exponent);                       // "E+006", "E-010"

}  // namespace wachtrix
