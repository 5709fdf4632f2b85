#include "core/markov/mean_passage_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/markov/chain_builders.h"

namespace wachtrix {
namespace {

using testing::MakeChain;
using testing::Rows;
using Lines = std::vector<std::string>;

// Whole reports, and the mean times beyond the range of numbers, are golden data
// (tests/data/reports/markov_*.txt).

// The comma-separated copies give the 12 digits the results carry, not 15 of which the last
// is noise of the chain's binary numbers. References as exact fractions of the decimal inputs:
// p(1,2) = a, p(2,1) = b gives m(1,2) = 1/a, m(2,1) = 1/b, m(1,1) = (a + b)/b, m(2,2) = (a + b)/a.
TEST(MeanPassageReport, CommaSeparatedCopiesGiveTheCarriedDigits) {
    const struct {
        double a, b;
        const char* row1;
        const char* row2;
    } cases[] = {
        {0.3, 0.7, "1,1.42857142857,3.33333333333", "2,1.42857142857,3.33333333333"},
        {0.1, 0.03, "1,4.33333333333,10", "2,33.3333333333,1.3"},
        {1e-7, 0.9, "1,1.00000011111,10000000", "2,1.11111111111,9000001"},
    };
    for (const auto& c : cases) {
        const ChainData chain =
            MakeChain({{1 - c.a, c.a}, {c.b, 1 - c.b}}, ChainKind::Discrete, {{1, 2}});
        const Lines lines = MeanPassageReport(chain);
        const auto header = std::find(lines.begin(), lines.end(), "From,To 1,To 2");
        ASSERT_NE(header, lines.end());
        EXPECT_EQ(*(header + 1), c.row1) << c.a << " " << c.b;
        EXPECT_EQ(*(header + 2), c.row2) << c.a << " " << c.b;
    }
}

TEST(MeanPassageReport, ContinuousChainWithoutCostsAndWithNegativeCosts) {
    // q(1,2) = 4 to the absorbing state 2; r(1) = -3 and F(2) = 0.5: cost -3/4 + 0.5.
    const Rows rates{{0, 4}, {0, 0}};
    ChainData chain = MakeChain(rates, ChainKind::Continuous, {{-3, 0}, {0, 0.5}});
    const Lines lines = MeanPassageReport(chain);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[6], "Class 1: 2");
    EXPECT_EQ(lines[8], "          Class 1");
    EXPECT_EQ(lines[9], "From 1    1.000000000");
    EXPECT_EQ(lines[15], "Expected time until absorption");
    EXPECT_EQ(lines[17], "From 1:   0.25000000");
    EXPECT_EQ(lines[21], "From 1:   -0.25000000");
    EXPECT_EQ(lines[23], "Expected time in each transient state");
    EXPECT_EQ(lines[24], "(the fundamental matrix)");
    EXPECT_EQ(lines[27], "From 1    0.25000000");

    chain.CostVectorRead = false;
    const Lines uncosted = MeanPassageReport(chain);
    EXPECT_EQ(uncosted.size(), lines.size() - 4);
    for (const auto& line : uncosted)
        EXPECT_EQ(line.find("cost"), std::string::npos) << line;

    // A cost beyond the range of numbers spoils only the costs.
    chain.CostVectorRead = true;
    chain.CostMatrix[1][1] = 1e308;
    chain.CostMatrix[2][2] = 1e308;
    const Lines huge = MeanPassageReport(chain);
    EXPECT_EQ(huge[17], "From 1:   0.25000000");
    EXPECT_EQ(huge[21], "From 1:   out of range");
}

TEST(MeanPassageReport, WideTablesComeInBlocksOfFiveColumns) {
    // A cycle of 12 states: m(i,j) = (j - i) mod 12, and 12 for a return.
    const int n = 12;
    Rows rows(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i)
        rows[i][(i + 1) % n] = 1;
    const Lines lines = MeanPassageReport(MakeChain(rows, ChainKind::Discrete));
    const auto at = [&](const std::string& text) {
        for (std::size_t k = 0; k < lines.size(); ++k)
            if (lines[k] == text) return k;
        return lines.size();
    };
    const std::size_t first =
        at("          To 1          To 2          To 3          To 4"
           "          To 5");
    const std::size_t second =
        at("          To 6          To 7          To 8          To 9"
           "          To 10");
    const std::size_t third = at("          To 11         To 12");
    ASSERT_LT(first, lines.size());
    EXPECT_EQ(second, first + n + 2);
    EXPECT_EQ(third, second + n + 2);
    EXPECT_EQ(lines[third + 12], "From 12   11.000000     12.000000");
    for (const auto& line : lines) {
        if (line.rfind("From ", 0) == 0) {
            EXPECT_LE(line.size(), 80u) << line;
        }
    }
    EXPECT_EQ(lines[at("1,12,1,2,3,4,5,6,7,8,9,10,11")], "1,12,1,2,3,4,5,6,7,8,9,10,11");
}

TEST(MeanPassageReport, ChainsWithoutPassageTimes) {
    // A single state that is left for itself returns at once; before any chain, nothing.
    const Lines single = MeanPassageReport(MakeChain({{1}}, ChainKind::Discrete));
    EXPECT_EQ(single[8], "From 1    1.0000000");
    EXPECT_EQ(MeanPassageReport(ChainData::Zero(2, ChainKind::Discrete)), Lines{});
}

}  // namespace
}  // namespace wachtrix
