#include "core/text/number_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

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
                                                    // a long double reading rounds this one
                                                    // again, to the double above
                                                    {"0.258785752028346", 0.258785752028346},
                                                    {"1e-400", 0.0}};
    for (const auto& [text, value] : cases) {
        const auto parsed = ParseReal(text);
        ASSERT_TRUE(parsed.has_value()) << '"' << text << '"';
        EXPECT_EQ(*parsed, value) << '"' << text << '"';
    }
}

TEST(ParseReal, RefusesAnythingElseWhole) {
    for (const char* text : {"", " ", "1.2.3", "inf", "nan", ",", "1,5", "0x10", "$10", "e5", "1e",
                             "1e+", "--1", "1 2", ".", "+", "2a", "1.5e3.2"})
        EXPECT_FALSE(ParseReal(text).has_value()) << '"' << text << '"';
}

TEST(ParseExtended, ReadsTheLongDoubleRangeExactly) {
    const std::pair<const char*, long double> cases[] = {{"0.1", 0.1L},
                                                         {"-2.5e-1", -0.25L},
                                                         {"1e4000", 1e4000L},
                                                         {"1e-4000", 1e-4000L},
                                                         {"1e-5000", 0.0L},
                                                         {"0.0001e-4930", 0.0L},
                                                         {"1e-99999999999999999999", 0.0L},
                                                         {"0e99999", 0.0L}};
    for (const auto& [text, value] : cases) {
        const auto parsed = ParseExtended(text);
        ASSERT_TRUE(parsed.has_value()) << '"' << text << '"';
        EXPECT_EQ(*parsed, value) << '"' << text << '"';
    }
    EXPECT_TRUE(std::signbit(*ParseExtended("-1e-5000")));
}

// A numeral beyond the range is a number too large, which every field refuses as out of range,
// not a text that is no number.
TEST(ParseExtended, TakesNumeralsBeyondTheRangeAsInfinite) {
    for (const char* text :
         {"1e5000", "-1e5000", "100000e4930", "0.00001e4940", "1e99999999999999999999"}) {
        ASSERT_TRUE(ParseExtended(text).has_value()) << '"' << text << '"';
        EXPECT_TRUE(std::isinf(*ParseExtended(text))) << '"' << text << '"';
        EXPECT_EQ(*ParseExtended(text) < 0, text[0] == '-');
    }
    EXPECT_EQ(ParseReal("1e309"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseReal("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_FALSE(ParseExtended("1.5e3.2").has_value());
}

// Plain numbers of up to 19 digits and powers of ten up to 27 are read as one exact product or
// quotient; against std::from_chars, bit for bit, on random texts of every shape.
TEST(ParseExtended, ReadsShortNumbersAsFromCharsDoes) {
    std::mt19937_64 rng(3);
    const auto digits = [&](int count) {
        std::string d;
        for (int k = 0; k < count; ++k)
            d += static_cast<char>('0' + rng() % 10);
        return d;
    };
    for (int i = 0; i < 50000; ++i) {
        std::string text = digits(1 + static_cast<int>(rng() % 12));
        if (rng() % 4) text += "." + digits(static_cast<int>(rng() % 14));
        if (rng() % 3 == 0) text += "e" + std::to_string(static_cast<int>(rng() % 60) - 30);
        long double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const auto read = ParseExtended(text);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_EQ(std::memcmp(&*read, &expected, 10), 0) << text;
        const auto negative = ParseExtended("-" + text);
        EXPECT_TRUE(negative && *negative == -expected) << text;
        // The doubles, typed and in a file's tokens: the nearest double, in one rounding.
        double nearest = 0;
        std::from_chars(text.data(), text.data() + text.size(), nearest);
        std::string mantissa = text.substr(0, text.find('e'));
        std::erase(mantissa, '.');
        const auto significant =
            mantissa.size() - std::min(mantissa.find_first_not_of('0'), mantissa.size());
        for (const std::string& token : {text, "-" + text, "+" + text + "x", "." + text}) {
            int digits = -1;
            const auto fast = ParseRealToken(token, digits);
            const auto plain = ParseReal(token);
            ASSERT_EQ(fast.has_value(), plain.has_value()) << token;
            if (fast) {
                EXPECT_EQ(std::memcmp(&*fast, &*plain, sizeof(double)), 0) << token;
                EXPECT_EQ(digits, static_cast<int>(significant)) << token;
            }
        }
        ASSERT_TRUE(ParseReal(text).has_value()) << text;
        EXPECT_EQ(*ParseReal(text), nearest) << text;
    }
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
