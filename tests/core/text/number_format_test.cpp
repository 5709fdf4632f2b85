#include "core/text/number_format.h"

#include <gtest/gtest.h>

#include "support/reference_table.h"

namespace wachtrix {
namespace {

using testing::Numbers;
using testing::Texts;

// The rows of tests/data/text/number_format.txt.
TEST(NumberFormats, ReferenceRows) {
    const auto text = [](std::string t) { return Texts{std::move(t)}; };
    testing::CheckReferenceTable(
        "text/number_format.txt",
        {{"FormatProb", [&](const Numbers& a) { return text(FormatProb(a[0])); }},
         {"FormatProbTrimmed", [&](const Numbers& a) { return text(FormatProbTrimmed(a[0])); }},
         {"FormatSig6", [&](const Numbers& a) { return text(FormatSig6(a[0])); }},
         {"FormatSig", [&](const Numbers& a) { return text(FormatSig(int(a[0]), a[1])); }},
         {"FormatSigWidth",
          [&](const Numbers& a) { return text(FormatSig(int(a[0]), int(a[1]), a[2])); }},
         {"FormatShortG", [&](const Numbers& a) { return text(FormatShortG(a[0])); }},
         {"FormatFixed",
          [&](const Numbers& a) { return text(FormatFixed(int(a[0]), int(a[1]), a[2])); }}});
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

}  // namespace
}  // namespace wachtrix
