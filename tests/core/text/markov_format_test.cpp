#include "core/text/markov_format.h"
#include "core/text/decimal_digits.h"
#include "core/text/padding.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>

#include "support/reference_table.h"

namespace wachtrix {
namespace {

using testing::Numbers;
using testing::Texts;

// The rows of tests/data/text/markov_format.txt.
TEST(MarkovFormats, ReferenceRows) {
    const auto text = [](std::string t) { return Texts{std::move(t)}; };
    testing::CheckReferenceTable(
        "text/markov_format.txt",
        {{"FormatFixedPrecision",
          [&](const Numbers& a) { return text(FormatFixedPrecision(a[0], int(a[1]), int(a[2]))); }},
         {"FormatSignificant",
          [&](const Numbers& a) { return text(FormatSignificant(a[0], int(a[1]))); }},
         {"FormatGeneral15", [&](const Numbers& a) { return text(FormatGeneral15(a[0])); }}});
}

TEST(PadRight, FillsWithBlanksButNeverCuts) {
    EXPECT_EQ(PadRight("ab", 5), "ab   ");
    EXPECT_EQ(PadRight("abcdef", 3), "abcdef");
    EXPECT_EQ(PadRight("", 2), "  ");
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
