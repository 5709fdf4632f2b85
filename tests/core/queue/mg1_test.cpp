#include "core/queue/mg1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/queue/dmg1_cox.h"
#include "core/queue/mg1_erlan.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "support/expect_near.h"
#include "support/recording_host.h"
#include "support/report_expectations.h"

namespace wachtrix {
namespace {

using testing::RecordingHost;
using testing::Texts;

enum Type { kErlangian = 0, kGamma = 1, kBalanced = 2 };
enum Output { kStatistics = 0, kWaiting = 1, kPercentiles = 2, kStates = 3, kGraphs = 4 };

Mg1Form Form(int type, const char* cs2, const char* rho, int output = kStatistics) {
    Mg1Form form;
    form.serviceType = type;
    form.cs2 = cs2;
    form.rho = rho;
    form.output = output;
    return form;
}

TEST(Mg1Report, StateRunAccuracyAddsTheStateCheckToTheWaitingTimeCheck) {
    RecordingHost host;
    Mg1Form form = Form(kErlangian, "0.3", "0.7", kStates);
    form.n = Texts({"5"});
    RunMG1(form, host);
    const ErlangianSolution s = SolveErlangian(0.3, 0.7);
    const double expected = std::fabs(s.statistics.accuracy) +
                            std::fabs(static_cast<double>(SolveErlangianStates(s).meanCheck));
    const auto texts = host.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], Format("Accuracy Check = %s", {FormatShortG(expected)}));
}

TEST(Mg1Graphs, PlotsBothConditionalTailsWithTheModelLabels) {
    RecordingHost host;
    Mg1Form form = Form(kBalanced, "1", "0.5", kGraphs);
    RunMG1(form, host);
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
        Mg1Form form = Form(type, "0.75", "0.25", kGraphs);
        RunMG1(form, host);
        ASSERT_EQ(host.windows.size(), 1u);
        EXPECT_EQ(host.windows[0].labels,
                  (std::vector<std::string>{"Logarithmic Graphs of the M/G/1 queue", "CS2 = 0.75",
                                            "rho = 0.25", labels[type]}));
        EXPECT_TRUE(host.windows[0].shown);
    }
}

// The refusal texts and their order are in the batch tool's validation table; here the box.
TEST(Mg1Run, RefusalIsOneErrorBoxAndNothingElse) {
    RecordingHost host;
    Mg1Form form = Form(kErlangian, "2", "0.5", kGraphs);
    form.t = Texts({"3", "1"});
    RunMG1(form, host);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].title, "Error");
    EXPECT_EQ(host.errors[0].text, "CS2 out of bounds");
    EXPECT_TRUE(host.sink.lines.empty());
    EXPECT_TRUE(host.windows.empty());
    EXPECT_EQ(host.busyCount, 0);
    EXPECT_EQ(form.t, Texts({"3", "1"}));  // nothing read before the refusal
}

bool HasNonNumber(const std::string& text) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find("NAN") != std::string::npos || upper.find("INF") != std::string::npos;
}

// The heaviest and the lightest corners of every type, with the extreme values of each group.
TEST(Mg1Run, ExtremeInputsGiveFiniteReportsAndNoFailures) {
    const struct {
        int type;
        const char* cs2;
    } services[] = {{kErlangian, "0.01"}, {kErlangian, "1"},  {kGamma, "0.5"},
                    {kGamma, "100"},      {kBalanced, "0.5"}, {kBalanced, "100"}};
    for (const auto& service : services) {
        for (const char* rho : {"1e-6", "0.001", "0.99"}) {
            for (const int output : {kWaiting, kPercentiles, kStates, kGraphs}) {
                RecordingHost host;
                Mg1Form form = Form(service.type, service.cs2, rho, output);
                form.t = Texts({"0", "1e-9", "9.99", "10", "100", "75000"});
                form.p = Texts({"0", "0.5", "0.99", "0.999", "0.99999", "0.999999"});
                form.n = Texts({"0", "1", "30", "31", "1000", "2500"});
                RunMG1(form, host);
                EXPECT_TRUE(host.failures.empty()) << service.cs2 << " " << rho << " " << output;
                ASSERT_FALSE(host.sink.lines.empty());
                for (const auto& line : host.sink.lines)
                    EXPECT_FALSE(HasNonNumber(line.text)) << line.text;
                for (const auto& w : host.windows)
                    for (const auto& [chart, plot] : w.charts) {
                        EXPECT_FALSE(plot.points.empty());
                        for (const auto& p : plot.points)
                            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && p.y >= 0);
                    }
            }
        }
    }
}

}  // namespace
}  // namespace wachtrix
