#include "core/markov/transient_report.h"

#include <gtest/gtest.h>

#include "core/markov/chain_builders.h"
#include "core/markov/recording_progress.h"

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

// Amounts from a million on are whole numbers; the discrete average then gets two blanks after
// its sign, the continuous one none.
TEST(TransientReport, LargeAndNegativeAmounts) {
    TransientRun run;
    run.times = {4, 20};
    run.probabilities.assign(2, {0, 1});
    run.sojourn = {{0, 4}, {0, 20}};
    const TransientOptions options{1, run.times, TransientChoice::Costs, {}};
    struct Row {
        ChainKind kind;
        double cost;
        Lines rows;
    };
    const Row rows[] = {
        {ChainKind::Discrete,
         300000.25,
         {"t1 = 4         1200001      300000.3", "t2 = 20        6000005      300000.3"}},
        {ChainKind::Discrete,
         -100000,
         {"t1 = 4        -400000.0     -100000.0", "t2 = 20       -2000000      -100000.0"}},
        {ChainKind::Discrete,
         2500000.5,
         {"t1 = 4         10000002        2500000", "t2 = 20        50000010        2500000"}},
        {ChainKind::Continuous,
         2500000.5,
         {"t1 = 4.000     10000002      2500000", "t2 = 20.000    50000010      2500000"}},
        {ChainKind::Continuous,
         -3.5,
         {"t1 = 4.000    -14.00000     -3.500000", "t2 = 20.000   -70.00000     -3.500000"}},
    };
    for (const Row& r : rows) {
        const Lines lines = TransientReportBody(r.kind, options, run, {0, r.cost});
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(Lines(lines.begin() + 5, lines.begin() + 7), r.rows) << r.cost;
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
