#include "core/text/delphi_format.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace wachtrix {
namespace {

struct RealCase {
    const char* format;
    long double value;
    const char* expected;
};

class RealDirectives : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealDirectives, WriteTheExpectedText) {
    const RealCase& c = GetParam();
    EXPECT_EQ(Format(c.format, {c.value}), c.expected) << c.format << " of " << (double)c.value;
}

INSTANTIATE_TEST_SUITE_P(
    GeneralFormat, RealDirectives,
    ::testing::Values(
        RealCase{"%.6g", 0.0L, "0"}, RealCase{"%.6g", 0.8L, "0.8"}, RealCase{"%.6g", -0.8L, "-0.8"},
        RealCase{"%.6g", 2.0L, "2"}, RealCase{"%.6g", 1e-5L, "0.00001"},
        // Just below the threshold: exponent form.
        RealCase{"%.6g", 9.99999e-6L, "9.99999E-006"},
        // Rounds up onto the threshold: fixed again.
        RealCase{"%.6g", 9.9999999e-6L, "0.00001"}, RealCase{"%.6g", 123456.7L, "123457"},
        RealCase{"%.6g", 1234567.0L, "1.23457E+006"},
        RealCase{"%.6g", -1234567.0L, "-1.23457E+006"},
        // A rounding carry that adds an integer digit changes the notation.
        RealCase{"%.6g", 999999.5L, "1E+006"}, RealCase{"%.6g", 9.999995L, "10"},
        RealCase{"%.6g", 1e-8L, "1E-008"}, RealCase{"%.6g", 1.5e10L, "1.5E+010"},
        RealCase{"%.6g", 0.000123456789L, "0.000123457"}, RealCase{"%.5g", 1.0L / 3, "0.33333"},
        RealCase{"%.4g", 1.7320508075688772L, "1.732"}, RealCase{"%.4g", 1e100L, "1E+100"},
        RealCase{"%10.5g", 0.5L, "       0.5"}, RealCase{"%10.5g", 2500.0L, "      2500"},
        RealCase{"%7.3g", 1e-12L, " 1E-012"}, RealCase{"%7.3g", 0.000123456L, "0.000123"},
        RealCase{"%8g", 0.5L, "     0.5"}, RealCase{"%g", 1.0L / 3, "0.333333333333333"},
        RealCase{"%g", 0.1L, "0.1"}));

INSTANTIATE_TEST_SUITE_P(ExponentAndFixed, RealDirectives,
                         ::testing::Values(RealCase{"%10.3e", 3.2e-8L, "3.200E-008"},
                                           RealCase{"%10.3e", -1.23456e10L, "-1.235E+010"},
                                           RealCase{"%10.3e", 0.0L, "0.000E+000"},
                                           RealCase{"%12.3e", 9.9996e-7L, "  1.000E-006"},
                                           RealCase{"%10.7f", 0.25L, " 0.2500000"},
                                           RealCase{"%10.7f", 1.0L, " 1.0000000"},
                                           RealCase{"%10.7f", 0.99999996L, " 1.0000000"},
                                           // Halves round away from zero.
                                           RealCase{"%.2f", 0.125L, "0.13"},
                                           RealCase{"%.0f", 2.5L, "3"},
                                           RealCase{"%.2f", -0.125L, "-0.13"},
                                           // A result that rounds to zero carries no sign.
                                           RealCase{"%.2f", -0.001L, "0.00"},
                                           RealCase{"%.3f", 0.0006L, "0.001"},
                                           RealCase{"%.1f", 12345.67L, "12345.7"}));

TEST(FormatIntegersAndTexts, AlignAsDirected) {
    EXPECT_EQ(Format("%d", {5}), "5");
    EXPECT_EQ(Format("%4d", {7}), "   7");
    EXPECT_EQ(Format("%4d", {-12}), " -12");
    EXPECT_EQ(Format("%4d", {123456}), "123456");
    EXPECT_EQ(Format("%10s", {"t"}), "         t");
    EXPECT_EQ(Format("%-5s|", {"ab"}), "ab   |");
    EXPECT_EQ(Format("100%%", {}), "100%");
}

TEST(FormatMisuse, IsRefusedLoudly) {
    EXPECT_THROW(Format("%d", {1.5}), std::invalid_argument);
    EXPECT_THROW(Format("%g", {3}), std::invalid_argument);
    EXPECT_THROW(Format("%s", {3}), std::invalid_argument);
    EXPECT_THROW(Format("%d %d", {3}), std::invalid_argument);
    EXPECT_THROW(Format("%d", {3, 4}), std::invalid_argument);
    EXPECT_THROW(Format("%q", {3}), std::invalid_argument);
}

}  // namespace
}  // namespace wachtrix
