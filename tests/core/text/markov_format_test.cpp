#include "core/text/markov_format.h"
#include "core/text/decimal_digits.h"
#include "core/text/padding.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>

namespace wachtrix {
namespace {

TEST(FormatFixedPrecision, RoundsToSignificantDigitsAndFillsDecimals) {
    EXPECT_EQ(FormatFixedPrecision(12.3456789012, 10, 10), "12.3456789000");
    EXPECT_EQ(FormatFixedPrecision(3.14159265, 3, 5), "3.14000");
    EXPECT_EQ(FormatFixedPrecision(2.0 / 3.0, 10, 9), "0.666666667");
    EXPECT_EQ(FormatFixedPrecision(-0.5, 10, 3), "-0.500");
    EXPECT_EQ(FormatFixedPrecision(0.0, 11, 10), "0.0000000000");
    EXPECT_EQ(FormatFixedPrecision(7.0, 14, 0), "7");
}

TEST(FormatFixedPrecision, CarriesARoundingIntoTheIntegerPart) {
    EXPECT_EQ(FormatFixedPrecision(0.9999999999, 10, 9), "1.000000000");
    EXPECT_EQ(FormatFixedPrecision(9.99999999996, 10, 10), "10.0000000000");
}

TEST(FormatFixedPrecision, UsesExponentFormBeyondThePrecision) {
    EXPECT_EQ(FormatFixedPrecision(123456789012.0, 10, 2), "1.23456789E+011");
    EXPECT_EQ(FormatFixedPrecision(1234567890.0, 10, 2), "1234567890.00");
}

TEST(FormatSignificant, TradesDecimalsForIntegerDigits) {
    EXPECT_EQ(FormatSignificant(1, 10), "1.000000000");
    EXPECT_EQ(FormatSignificant(0.25, 10), "0.2500000000");
    EXPECT_EQ(FormatSignificant(0, 10), "0.0000000000");
    EXPECT_EQ(FormatSignificant(123.456, 8), "123.45600");
    EXPECT_EQ(FormatSignificant(1e-20, 5), "0.00000");
    EXPECT_EQ(FormatSignificant(10, 7), "10.00000");
}

TEST(PadRight, FillsWithBlanksButNeverCuts) {
    EXPECT_EQ(PadRight("ab", 5), "ab   ");
    EXPECT_EQ(PadRight("abcdef", 3), "abcdef");
    EXPECT_EQ(PadRight("", 2), "  ");
}

TEST(FormatGeneral15, WritesUpToFifteenDigits) {
    EXPECT_EQ(FormatGeneral15(0.1), "0.1");
    EXPECT_EQ(FormatGeneral15(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatGeneral15(-2), "-2");
}

// Doubles of ordinary size are rounded from their short exact expansion; against the digits of
// a 100-digit expansion rounded half away from zero, on random doubles of all sizes and on
// exact ties, for every count of digits the reports use.
TEST(DecimalExpansion, RoundsDoublesAsTheirExactDigitsSay) {
    std::mt19937_64 rng(7);
    std::vector<double> values{0.125, 2.5, 1e-11, 9.999999999999999e16, 0.1, 5e-10};
    for (int i = 0; i < 20000; ++i) {
        values.push_back(
            std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 100) - 90));
        values.push_back(static_cast<double>(rng() % 100000) /
                         std::pow(10.0, static_cast<int>(rng() % 8)));
    }
    for (const double x : values) {
        char buffer[160];
        const char* end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long double>(x),
                                        std::chars_format::scientific, 100)
                              .ptr;
        const std::string text(static_cast<const char*>(buffer), end);
        std::string exact;
        for (const char c : text.substr(0, text.find('e')))
            if (c != '.') exact += c;
        const int exponent = std::stoi(text.substr(text.find('e') + 1));
        for (const int keep : {1, 8, 9, 10, 14, 15, 17}) {
            std::string digits = exact.substr(0, keep);
            int e = exponent;
            if (exact[keep] >= '5') {
                int k = keep - 1;
                while (k >= 0 && digits[k] == '9')
                    digits[k--] = '0';
                if (k >= 0) {
                    ++digits[k];
                } else {
                    digits = "1" + digits.substr(0, keep - 1);
                    ++e;
                }
            }
            const DecimalDigits rounded = RoundSignificant(x, keep);
            EXPECT_EQ(rounded.digits, digits) << text << " " << keep;
            EXPECT_EQ(rounded.exponent, e) << text << " " << keep;
        }
    }
}

}  // namespace
}  // namespace wachtrix
