#include "core/markov/mean_passage_report.h"

#include <gtest/gtest.h>

#include "core/markov/chain_builders.h"

namespace wachtrix {
namespace {

using Lines = std::vector<std::string>;

// Whole reports are golden data (tests/data/reports/markov_means_*.txt): the comma-separated
// copies with the digits the results carry, costs below zero, wide tables in blocks of five
// columns, and mean times beyond the range of numbers.

// What only a dialog can hand over: a chain without costs leaves out every cost line, a cost
// beyond the range of numbers spoils only the costs, and before any chain there is nothing.
TEST(MeanPassageReport, CostsThatAreMissingOrBeyondTheRangeOfNumbers) {
    // q(1,2) = 4 to the absorbing state 2; r(1) = -3 and F(2) = 0.5: cost -3/4 + 0.5.
    ChainData chain =
        testing::MakeChain({{0, 4}, {0, 0}}, ChainKind::Continuous, {{-3, 0}, {0, 0.5}});
    const Lines lines = MeanPassageReport(chain);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[17], "From 1:   0.25000000");
    EXPECT_EQ(lines[21], "From 1:   -0.25000000");

    chain.CostVectorRead = false;
    const Lines uncosted = MeanPassageReport(chain);
    EXPECT_EQ(uncosted.size(), lines.size() - 4);
    for (const auto& line : uncosted)
        EXPECT_EQ(line.find("cost"), std::string::npos) << line;

    chain.CostVectorRead = true;
    chain.CostMatrix[1][1] = 1e308;
    chain.CostMatrix[2][2] = 1e308;
    const Lines huge = MeanPassageReport(chain);
    EXPECT_EQ(huge[17], "From 1:   0.25000000");
    EXPECT_EQ(huge[21], "From 1:   out of range");

    EXPECT_EQ(MeanPassageReport(ChainData::Zero(2, ChainKind::Discrete)), Lines{});
}

}  // namespace
}  // namespace wachtrix
