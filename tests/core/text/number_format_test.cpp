#include "core/text/number_format.h"

#include <gtest/gtest.h>

namespace wachtrix {
namespace {

TEST(FormatProb, UsesFixedThenExponentThenZero) {
    EXPECT_EQ(FormatProb(0.25), " 0.2500000");
    EXPECT_EQ(FormatProb(1.0), " 1.0000000");
    EXPECT_EQ(FormatProb(-3.2e-8), "3.200E-008");
    EXPECT_EQ(FormatProb(0.0), "         0");
    EXPECT_EQ(FormatProb(5e-13), "5.000E-013");
    EXPECT_EQ(FormatProb(9.99e-31), "         0");
}

TEST(FormatProb, ComparesAgainstTheExtendedThresholds) {
    // The double nearest 1e-6 lies just below the extended constant.
    EXPECT_EQ(FormatProb(1e-6), "1.000E-006");
    EXPECT_EQ(FormatProb(1e-6L), " 0.0000010");
    // The double nearest 1e-30 lies just above it.
    EXPECT_EQ(FormatProb(1e-30), "1.000E-030");
    EXPECT_EQ(FormatProb(1e-30L), "1.000E-030");
    EXPECT_EQ(FormatProb(0.99999e-30L), "         0");
}

TEST(FormatProbTrimmed, DropsTheLeadingBlanks) {
    EXPECT_EQ(FormatProbTrimmed(0.25), "0.2500000");
    EXPECT_EQ(FormatProbTrimmed(0.0), "0");
}

TEST(FormatSig, KeepsSignificantDigitsAboveOneAndDecimalsBelow) {
    EXPECT_EQ(FormatSig6(0.5), "  0.500000");
    EXPECT_EQ(FormatSig6(12.5), "   12.5000");
    EXPECT_EQ(FormatSig6(100.0), "   100.000");
    EXPECT_EQ(FormatSig6(999999.4), "    999999");
    EXPECT_EQ(FormatSig6(0.0), "  0.000000");
    EXPECT_EQ(FormatSig6(0.0000004), "  0.000000");
    EXPECT_EQ(FormatSig(4, 1.0), "     1.000");
}

TEST(FormatSig, WritesLargeValuesInExponentNotation) {
    EXPECT_EQ(FormatSig6(1234567.0), "1.23457E+006");
    EXPECT_EQ(FormatSig(3, 12345.0), " 1.23E+004");
}

TEST(FormatSig, KeepsItsRulesInAGivenWidth) {
    EXPECT_EQ(FormatSig(6, 4, 0.5), "0.5000");
    EXPECT_EQ(FormatSig(6, 4, 12.5), " 12.50");
    EXPECT_EQ(FormatSig(8, 5, 0.0), " 0.00000");
    EXPECT_EQ(FormatSig(8, 5, 98.5), "  98.500");
    EXPECT_EQ(FormatSig(6, 4, 9999.0), "  9999");
    // 10^n and more: the exponent form widens the field rather than losing digits.
    EXPECT_EQ(FormatSig(6, 4, 1e6), "1.000E+006");
    EXPECT_EQ(FormatSig(10, 6, 1234567.0), FormatSig6(1234567.0));
}

TEST(FormatShortGAndFixed, FollowTheirDirectives) {
    EXPECT_EQ(FormatShortG(1.234e-15), "1.23E-015");
    EXPECT_EQ(FormatShortG(0.0), "      0");
    EXPECT_EQ(FormatFixed(8, 3, 2.5), "   2.500");
    EXPECT_EQ(FormatFixed(3, 3, -2.5), "-2.500");
}

}  // namespace
}  // namespace wachtrix
