#include "core/markov/transient_report.h"

#include <gtest/gtest.h>

#include "core/markov/chain_builders.h"
#include "core/markov/recording_progress.h"

namespace wachtrix {
namespace {

using testing::MakeChain;
using testing::RecordingProgress;
using Lines = std::vector<std::string>;

Lines WithHeader(const Lines& body) {
    Lines all = TransientHeader();
    all.insert(all.end(), body.begin(), body.end());
    return all;
}

// A random walk on three states; from state 1, P(X(t) = 1) = 1/4 + (1/2)^(t+1) and
// P(X(t) = 3) = 1/4 - (1/2)^(t+1) for t >= 1. Every state costs 2 per period.
ChainData Walk() {
    return MakeChain({{0.5, 0.5, 0}, {0.25, 0.5, 0.25}, {0, 0.5, 0.5}}, ChainKind::Discrete,
                     {{2, 2, 2}});
}

MarkovReport Report(const ChainData& chain, const TransientOptions& options) {
    NoProgress none;
    return TransientAnalysis(chain, options, none);
}

TEST(TransientReport, DiscreteProbabilitiesInAscendingTimesWithDuplicates) {
    const MarkovReport report =
        Report(Walk(), {1, {1, 5, 5}, TransientChoice::Probabilities, {1, 3}});
    EXPECT_FALSE(report.stopped);
    EXPECT_EQ(
        report.lines,
        WithHeader({"Transient probabilities", "", "Initial State = 1", "",
                    "              State 1       State 3", "At t = 1     0.500000000   0.000000000",
                    "At t = 5     0.265625000   0.234375000",
                    "At t = 5     0.265625000   0.234375000", "", "Accuracy check: 0.000000000"}));
}

TEST(TransientReport, DiscreteSojournTimesAreTheExpectedPeriodsSpent) {
    // 5/4 + (1/4 + 1/8 + ... + 1/64) periods in state 1 by t = 5.
    const MarkovReport report =
        Report(Walk(), {1, {1, 5}, TransientChoice::SojournTimes, {1, 3, 2, 1}});
    EXPECT_EQ(report.lines,
              WithHeader({"Expected transient sojourn times", "", "Initial State = 1", "",
                          "              State 1       State 3       State 2       State 1",
                          "At t = 1     0.50000000    0.00000000    0.50000000    0.50000000",
                          "At t = 5     1.7343750     0.76562500    2.5000000     1.7343750", "",
                          "Accuracy check: 0.00000000"}));
}

TEST(TransientReport, CostsOfTwoPerPeriodGiveTwiceTheTimeAndAverageTwo) {
    const MarkovReport report = Report(Walk(), {2, {1, 5, 5000}, TransientChoice::Costs, {}});
    EXPECT_EQ(
        report.lines,
        WithHeader({"Expected transient costs", "", "Initial State = 2", "",
                    "             Total costs   Average costs",
                    "t1 = 1         2.000000     2.000000", "t2 = 5         10.00000     2.000000",
                    "t3 = 5000      10000.00     2.000000", "", "Accuracy check: 0.0000000"}));
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

// Two states, q(1,2) = 1, q(2,1) = 3: P_11(t) = 3/4 + e^{-4t}/4; c(1) = r(1) + F(2) q(1,2) = 11.
ChainData Pair() {
    return MakeChain({{0, 1}, {3, 0}}, ChainKind::Continuous, {{1, 2}, {0, 10}});
}

TEST(TransientReport, ContinuousProbabilitiesHaveWiderColumns) {
    const MarkovReport report =
        Report(Pair(), {1, {1, 2.5}, TransientChoice::Probabilities, {1, 2}});
    EXPECT_EQ(report.lines, WithHeader({"Transient probabilities", "", "Initial State = 1", "",
                                        "                   State 1        State 2",
                                        "At t = 1.000      0.754578910    0.245421090",
                                        "At t = 2.500      0.750011350    0.249988650", "",
                                        "Accuracy check: 0.000000000"}));
}

TEST(TransientReport, ContinuousSojournTimesAndCosts) {
    // Time in state 1 by t: 3t/4 + (1 - e^{-4t})/16.
    const MarkovReport sojourn =
        Report(Pair(), {1, {1, 2.5}, TransientChoice::SojournTimes, {1, 2}});
    EXPECT_EQ(
        Lines(sojourn.lines.begin() + 8, sojourn.lines.end()),
        (Lines{"                   State 1        State 2",
               "At t = 1.00       0.81135527     0.18864473",
               "At t = 2.50       1.9374972      0.56250284", "", "Accuracy check: 0.00000000"}));
    const MarkovReport costs = Report(Pair(), {1, {1, 2.5}, TransientChoice::Costs, {}});
    EXPECT_EQ(
        Lines(costs.lines.begin() + 8, costs.lines.end()),
        (Lines{"             Total costs   Average costs", "t1 = 1.000     9.302197      9.302197",
               "t2 = 2.500     22.43747      8.974990", "", "Accuracy check: 0.0000000"}));
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
