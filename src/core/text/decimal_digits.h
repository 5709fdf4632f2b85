#pragma once
// Correctly rounded decimal digits of a real, rounding halves away from zero (as the report
// formats have always done: 0.125 to two decimals is 0.13).

#include <array>
#include <string>

namespace wachtrix {

struct DecimalDigits {
    std::string digits;  // significant digits, no leading zero unless the value rounds to 0
    int exponent = 0;    // value = d0.d1d2... x 10^exponent
    bool negative = false;
    bool isZero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

// One value's exact digits, expanded once for several roundings; a double of ordinary size
// is expanded with integer arithmetic, anything else through the long double conversion.
class DecimalExpansion {
public:
    explicit DecimalExpansion(long double value);

    DecimalDigits Significant(int significant) const;                           // RoundSignificant
    DecimalDigits Decimals(int decimals) const;                                 // RoundDecimals
    DecimalDigits SignificantAndDecimals(int significant, int decimals) const;  // the both

    // For a finite value other than 0: the power of ten of its leading digit.
    int exponent() const { return digits_.exponent; }

    // The expansion itself: count digits, the first `reliable` of which may be kept.
    struct Digits {
        std::array<char, 48> digit{};
        int count = 0;  // 0 for 0 and non-finite values
        int exponent = 0;
        int reliable = 0;
    };

    const Digits& digits() const { return digits_; }
    bool negative() const { return value_ < 0; }

private:
    DecimalDigits Round(int keep) const;

    long double value_;
    Digits digits_;
};

// Rounded to `significant` digits (at least 1).
DecimalDigits RoundSignificant(long double value, int significant);

// Rounded at 10^-decimals; digits then runs up to that place (it may be "0").
DecimalDigits RoundDecimals(long double value, int decimals);

// Rounded to at most `significant` digits and at most `decimals` places after the point,
// whichever cuts earlier.
DecimalDigits RoundSignificantAndDecimals(long double value, int significant, int decimals);

// Fixed notation with exactly `decimals` places: a "-" for negative values, at least one digit
// before the point, zeros where the digits run out.
std::string RenderFixed(const DecimalDigits& d, int decimals);

}  // namespace wachtrix
