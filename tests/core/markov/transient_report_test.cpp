#include "core/markov/transient_report.h"

#include <gtest/gtest.h>

#include "core/markov/chain_builders.h"
#include "support/data_file.h"

namespace wachtrix {
namespace {

using testing::MakeChain;
using testing::RecordingProgress;
using Lines = std::vector<std::string>;

// Whole reports are golden data (tests/data/reports/markov_*.txt).

// A random walk on three states and a pair of rates, q(1,2) = 1, q(2,1) = 3.
ChainData Walk() {
    return MakeChain({{0.5, 0.5, 0}, {0.25, 0.5, 0.25}, {0, 0.5, 0.5}}, ChainKind::Discrete,
                     {{2, 2, 2}});
}
ChainData Pair() {
    return MakeChain({{0, 1}, {3, 0}}, ChainKind::Continuous, {{1, 2}, {0, 10}});
}

// The amounts of tests/data/markov/transient_amounts.txt, large and negative.
TEST(TransientReport, LargeAndNegativeAmounts) {
    TransientRun run;
    run.times = {4, 20};
    run.probabilities.assign(2, {0, 1});
    run.sojourn = {{0, 4}, {0, 20}};
    const TransientOptions options{1, run.times, TransientChoice::Costs, {}};
    for (const testing::DataLine& row : testing::ReadSection("markov/transient_amounts.txt", "")) {
        const std::vector<std::string> f = testing::Fields(row.text);
        ASSERT_EQ(f.size(), 4u) << row.where;
        const ChainKind kind = f[0] == "discrete" ? ChainKind::Discrete : ChainKind::Continuous;
        const Lines lines = TransientReportBody(kind, options, run, {0, std::stod(f[1])});
        ASSERT_EQ(lines.size(), 9u) << row.where;
        EXPECT_EQ(Lines(lines.begin() + 5, lines.begin() + 7), Lines(f.begin() + 2, f.end()))
            << row.where;
    }
}

TEST(TransientReport, AStoppedRunKeepsOnlyTheHeader) {
    for (const ChainData& chain : {Walk(), Pair()}) {
        RecordingProgress progress(1);
        const MarkovReport report =
            TransientAnalysis(chain, {1, {100}, TransientChoice::Probabilities, {1}}, progress);
        EXPECT_TRUE(report.stopped);
        EXPECT_EQ(report.lines, TransientHeader());
        EXPECT_FALSE(progress.visible);
    }
}

}  // namespace
}  // namespace wachtrix
