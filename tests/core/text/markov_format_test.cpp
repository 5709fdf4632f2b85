#include "core/text/markov_format.h"
#include "core/text/padding.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace wachtrix
