#include "core/text/number_parse.h"

#include <gtest/gtest.h>

namespace wachtrix {
namespace {

TEST(ParseReal, ReadsPlainDecimalAndExponentForms) {
    const std::pair<const char*, double> cases[] = {{"1", 1},
                                                    {" 2.5 ", 2.5},
                                                    {"-3", -3},
                                                    {"+4", 4},
                                                    {".5", 0.5},
                                                    {"5.", 5},
                                                    {"1e5", 1e5},
                                                    {"1E-5", 1e-5},
                                                    {"1.5e+3", 1500},
                                                    {"\t7\t", 7},
                                                    {"0.999999", 0.999999},
                                                    {"1e-400", 0.0}};
    for (const auto& [text, value] : cases) {
        const auto parsed = ParseReal(text);
        ASSERT_TRUE(parsed.has_value()) << '"' << text << '"';
        EXPECT_DOUBLE_EQ(*parsed, value) << '"' << text << '"';
    }
}

TEST(ParseReal, RefusesAnythingElseWhole) {
    for (const char* text : {"", " ", "1.2.3", "inf", "nan", ",", "1,5", "0x10", "$10", "e5", "1e",
                             "1e+", "--1", "1 2", "1e400", ".", "+", "2a", "1.5e3.2"})
        EXPECT_FALSE(ParseReal(text).has_value()) << '"' << text << '"';
}

TEST(ParseInt, ReadsThirtyTwoBitIntegers) {
    EXPECT_EQ(ParseInt("12"), 12);
    EXPECT_EQ(ParseInt(" -7 "), -7);
    EXPECT_EQ(ParseInt("+3"), 3);
    EXPECT_EQ(ParseInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt("-2147483648"), -2147483647 - 1);
}

TEST(ParseInt, RefusesFractionsOverflowAndNoise) {
    for (const char* text : {"2.5", "2147483648", "-2147483649", "1e3", "", "-", "$1F",
                             "99999999999999999999", "1 000", "3."})
        EXPECT_FALSE(ParseInt(text).has_value()) << '"' << text << '"';
}

}  // namespace
}  // namespace wachtrix
