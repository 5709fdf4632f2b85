#include "core/queue/mg1.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/queue/dmg1_cox.h"
#include "core/queue/mg1_erlan.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "support/expect_near.h"
#include "support/recording_host.h"

namespace wachtrix {
namespace {

using testing::RecordingHost;

enum Type { kErlangian = 0, kGamma = 1, kBalanced = 2 };

TEST(Mg1Report, StateRunAccuracyAddsTheStateCheckToTheWaitingTimeCheck) {
    RecordingHost host;
    testing::RunRecorded(host, "mg1 service=0 cs2=0.3 rho=0.7 output=3 n=5");
    const ErlangianSolution s = SolveErlangian(0.3, 0.7);
    const double expected = std::fabs(s.statistics.accuracy) +
                            std::fabs(static_cast<double>(SolveErlangianStates(s).meanCheck));
    const auto texts = host.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], Format("Accuracy Check = %s", {FormatShortG(expected)}));
}

TEST(Mg1Graphs, PlotsBothConditionalTailsWithTheModelLabels) {
    RecordingHost host;
    testing::RunRecorded(host, "mg1 service=2 cs2=1 rho=0.5 output=4");
    ASSERT_EQ(host.windows.size(), 1u);
    const auto& w = host.windows[0];
    EXPECT_EQ(w.kind, GraphWindowKind::MG1);
    EXPECT_EQ(w.labels,
              (std::vector<std::string>{"Logarithmic Graphs of the M/G/1 queue", "CS2 = 1",
                                        "rho = 0.5", "Coxian-2 services (balanced)."}));
    EXPECT_TRUE(w.shown);
    ASSERT_EQ(w.charts.size(), 2u);

    // e^{-t/2} falls to 0.001 at t = 13.8: steps of 0.5 up to 14, drawn as a line.
    const ChartPlot& wait = w.charts.at(0);
    ASSERT_EQ(wait.points.size(), 28u);
    EXPECT_TRUE(wait.drawLine);
    EXPECT_FALSE(wait.drawPoints);
    for (std::size_t i = 0; i < wait.points.size(); ++i) {
        EXPECT_DOUBLE_EQ(wait.points[i].x, 0.5 * (i + 1));
        EXPECT_REL_NEAR(wait.points[i].y, std::exp(-0.5 * wait.points[i].x), 1e-9);
    }
    // 0.5^n falls to 0.001 at n = 10: ten marks.
    const ChartPlot& states = w.charts.at(1);
    ASSERT_EQ(states.points.size(), 10u);
    EXPECT_TRUE(states.drawPoints);
    EXPECT_FALSE(states.drawLine);
    for (std::size_t i = 0; i < states.points.size(); ++i) {
        EXPECT_EQ(states.points[i].x, i + 1.0);
        EXPECT_REL_NEAR(states.points[i].y, std::pow(0.5, i + 1.0), 1e-9);
    }
}

TEST(Mg1Graphs, ServiceLabelsFollowTheType) {
    const char* labels[] = {"Erlangian services.", "Coxian-2 services (gamma).",
                            "Coxian-2 services (balanced)."};
    for (const int type : {kErlangian, kGamma, kBalanced}) {
        RecordingHost host;
        testing::RunRecorded(host, "mg1 cs2=0.75 rho=0.25 output=4 service=" +
                                       std::to_string(type));
        ASSERT_EQ(host.windows.size(), 1u);
        EXPECT_EQ(host.windows[0].labels,
                  (std::vector<std::string>{"Logarithmic Graphs of the M/G/1 queue", "CS2 = 0.75",
                                            "rho = 0.25", labels[type]}));
        EXPECT_TRUE(host.windows[0].shown);
    }
}

}  // namespace
}  // namespace wachtrix
