// The table-driven Output-group reader and the conditional graphs the M/x/c runs share. (The
// failure notice every run shares is checked through the batch tool's host.)

#include <gtest/gtest.h>

#include "core/queue/output_group.h"
#include "core/queue/standard_report.h"
#include "support/recording_host.h"
#include "support/report_expectations.h"

namespace wachtrix {
namespace {

using testing::Texts;

// A tab with a second graph choice and time- and customer-average states, as later tabs have.
constexpr OutputItem kSixItems[] = {
    {"Standard Statistics", kStatistics},
    {"Waiting Time Probabilities", kWaitingTable, ValueGroupKind::T},
    {"Waiting Time Percentiles", kPercentiles, ValueGroupKind::P},
    {"Time Average State Probabilities", kTimeStates, ValueGroupKind::N},
    {"Customer Average State Probabilities", kCustomerStates, ValueGroupKind::N},
    {"Graphs", kTimeStateGraph},
};

TEST(ReadOutput, ReadsOnlyTheGroupTheChosenItemNeeds) {
    const struct {
        OutputGroup group;
        int item;
        OutputMode mode;
        int count;          // values read
        const char* first;  // the first text of the group that was read, after reading
    } cases[] = {
        {kStandardOutput, 0, kStatistics, 0, nullptr},
        {kStandardOutput, 1, kWaitingTable, 2, "0.5"},
        {kStandardOutput, 2, kPercentiles, 1, "0.9"},
        {kStandardOutput, 3, kStates, 1, "3"},
        {kStandardOutput, 4, kGraphs, 0, nullptr},
        {kStandardOutput, 5, kStatistics, 0, nullptr},
        {kStandardOutput, -1, kStatistics, 0, nullptr},
        {kSixItems, 3, kTimeStates, 1, "3"},
        {kSixItems, 4, kCustomerStates, 1, "3"},
        {kSixItems, 5, kTimeStateGraph, 0, nullptr},
    };
    for (const auto& k : cases) {
        TEditArray t = Texts({"2", "0.5", "x"}), p = Texts({"0.9", "1.5"}), n = Texts({"3", "99"});
        const OutputRequest r = ReadOutput(k.group, k.item, {&t, &p, &n}, {10, 50});
        EXPECT_EQ(r.mode, k.mode) << k.item;
        EXPECT_EQ(r.values.Count, k.count) << k.item;
        const TEditArray* read = k.mode == kWaitingTable  ? &t
                                 : k.mode == kPercentiles ? &p
                                 : k.first                ? &n
                                                          : nullptr;
        if (read) {
            EXPECT_EQ((*read)[0], k.first) << k.item;
        } else {  // nothing was rewritten
            EXPECT_EQ(t, Texts({"2", "0.5", "x"}));
            EXPECT_EQ(n, Texts({"3", "99"}));
        }
    }
}

TEST(ReadOutput, MarksValuesBeyondTheRunsBounds) {
    TEditArray t, p, n = Texts({"51", "50"});
    const OutputRequest r = ReadOutput(kStandardOutput, 3, {&t, &p, &n}, {10, 50});
    EXPECT_EQ(r.values.Count, 1);
    EXPECT_EQ(n, Texts({"50", "51**"}));
}

// The M/M/c, M/D/c, M/G/1, D/M/c and G/M/c runs share this: a negligible delay gets the model's
// message (their golden reports show it) and a hidden window, and no points are computed.
TEST(PlotConditionalGraphs, DrawsBothCurvesOnlyForASignificantDelay) {
    for (const double Pwait : {5e-7, 0.5}) {  // significant from 1e-6
        testing::RecordingHost host;
        const GraphHandle window = host.createGraphWindow(GraphWindowKind::MG1, {});
        int computed = 0;
        PlotConditionalGraphs(host, window, Pwait, "too small", [&] {
            ++computed;
            return ConditionalGraphs{{{0.5, 1}}, {{1, 1}}};
        });
        const bool significant = Pwait > 1e-6;
        EXPECT_EQ(host.windows[0].shown, significant);
        EXPECT_EQ(host.windows[0].charts.size(), significant ? 2u : 0u);
        EXPECT_EQ(computed, significant ? 1 : 0);
        EXPECT_EQ(host.sink.lines.empty(), significant);
    }
}

}  // namespace
}  // namespace wachtrix
