#include "core/text/delphi_format.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "support/reference_table.h"

namespace wachtrix {
namespace {

// The rows of tests/data/text/delphi_format.txt, a section per directive.
TEST(FormatDirectives, ReferenceRows) {
    std::map<std::string, testing::TableFunction> directives;
    for (const std::string d : {"%.6g", "%.5g", "%.4g", "%10.5g", "%7.3g", "%8g", "%g", "%10.3e",
                                "%12.3e", "%10.7f", "%.2f", "%.0f", "%.3f", "%.1f"})
        directives["Format " + d] = [d](const testing::Numbers& a) {
            return testing::Texts{Format(d, {static_cast<long double>(a[0])})};
        };
    for (const std::string d : {"%d", "%4d"})
        directives["Format " + d] = [d](const testing::Numbers& a) {
            return testing::Texts{Format(d, {static_cast<int>(a[0])})};
        };
    testing::CheckReferenceTable("text/delphi_format.txt", directives);
}

TEST(FormatIntegersAndTexts, AlignAsDirected) {
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
