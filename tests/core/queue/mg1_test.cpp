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
#include "support/mg1_reference.h"
#include "support/recording_host.h"
#include "support/report_expectations.h"

namespace wachtrix {

// Failed comparisons show the line and its style.
void PrintTo(const StyledLine& line, std::ostream* os) {
    *os << StyleLetter(line.style) << " \"" << line.text << "\"";
}

namespace {

using S = ResultTextStyle;
using testing::Concat;
using testing::ExpectReport;
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

// M/M/1 at rho = 0.5: E(Wq) = 1, Std(Wq) = sqrt(3), Var(Lq) = rho^2 E(Wq^2) + E(Lq) - E(Lq)^2
// = 1.25.
std::vector<StyledLine> MM1Header(const char* variant, const char* cs2) {
    return {{std::string("M/G/1 queue") + variant, S::Title},
            {std::string("Parameters: CS2=") + cs2 + "  rho=0.5", S::Bold},
            {"Results: Pwait   = 0.5", S::Normal},
            {"         Pbusy   = 0.5", S::Normal},
            {"         E(Wq)   = 1", S::Normal},
            {"         E(Lq)   = 0.5", S::Normal},
            {"         Std(Wq) = 1.732", S::Normal},
            {"         Std(Lq) = 1.118", S::Normal}};
}

TEST(Mg1Report, StandardStatisticsOfErlangTwoService) {
    // M/E2/1 at rho = 0.5: E(Wq) = 0.75; E(S^3) = 3 gives E(Wq^2) = 2.125, so Std(Wq) = 1.25;
    // E(Lq) = 0.375 and Var(Lq) = 0.25 * 2.125 + 0.375 - 0.375^2 = 0.765625.
    RecordingHost host;
    Mg1Form form = Form(kErlangian, "0.5", "0.5");
    RunMG1(form, host);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(host.busyCount, 1);
    ExpectReport(host.sink.lines, {{"M/G/1 queue (Erlangian services)", S::Title},
                                   {"Parameters: CS2=0.5  rho=0.5", S::Bold},
                                   {"Results: Pwait   = 0.5", S::Normal},
                                   {"         Pbusy   = 0.5", S::Normal},
                                   {"         E(Wq)   = 0.75", S::Normal},
                                   {"         E(Lq)   = 0.375", S::Normal},
                                   {"         Std(Wq) = 1.25", S::Normal},
                                   {"         Std(Lq) = 0.875", S::Normal}});
}

TEST(Mg1Report, WaitingTimeTableSortsAndMarksTheTValues) {
    // Exponential service: P{Wq > t} = 0.5 e^{-t/2}; at t = 40 it is 1.0306e-9.
    RecordingHost host;
    Mg1Form form = Form(kBalanced, "1", "0.5", kWaiting);
    form.t = Texts({"2", "", "0", "1", "75001", "40"});
    RunMG1(form, host);
    EXPECT_EQ(form.t, Texts({"0", "1", "2", "40", "75001**"}));
    ExpectReport(host.sink.lines, Concat(MM1Header(" (Coxian-2 services, balanced)", "1"),
                                         {{"", S::Normal},
                                          {"         t     P{Wq>t}", S::Underline},
                                          {"         0   0.5000000", S::Normal},
                                          {"         1   0.3032653", S::Normal},
                                          {"         2   0.1839397", S::Normal},
                                          {"        40  1.031E-009", S::Underline}}));
}

TEST(Mg1Report, PercentilesWithOneBlankBetweenTheColumns) {
    // Exponential service: w(p) = 2 ln(0.5 / (1 - p)); undefined below p = 0.5, 0 at it.
    RecordingHost host;
    Mg1Form form = Form(kGamma, "1", "0.5", kPercentiles);
    form.p = Texts({"0.9", "0.2", "1", "0.5", "0.999999"});
    RunMG1(form, host);
    EXPECT_EQ(form.p, Texts({"0.2", "0.5", "0.9", "0.999999", "1**"}));
    ExpectReport(host.sink.lines, Concat(MM1Header(" (Coxian-2 services, gamma)", "1"),
                                         {{"", S::Normal},
                                          {"         p Percentile", S::Underline},
                                          {"  0.200000  undefined", S::Normal},
                                          {"  0.500000   0.000000", S::Normal},
                                          {"  0.900000    3.21888", S::Normal},
                                          {"  0.999999    26.2447", S::Underline}}));
}

TEST(Mg1Report, StateProbabilitiesIncludingTheGeometricTail) {
    // Exponential service: P{L = n} = P{L > n} = 0.5^(n+1); n = 30 lies beyond the recursion.
    RecordingHost host;
    Mg1Form form = Form(kErlangian, "1", "0.5", kStates);
    form.n = Texts({"30", "0", "2.5", "3", "1", "2501"});
    RunMG1(form, host);
    EXPECT_EQ(form.n, Texts({"0", "1", "3", "30", "2.5**", "2501**"}));
    ExpectReport(host.sink.lines, Concat(MM1Header(" (Erlangian services)", "1"),
                                         {{"", S::Normal},
                                          {"   n      P{L=n}      P{L>n}", S::Underline},
                                          {"   0   0.5000000   0.5000000", S::Normal},
                                          {"   1   0.2500000   0.2500000", S::Normal},
                                          {"   3   0.0625000   0.0625000", S::Normal},
                                          {"  30  4.657E-010  4.657E-010", S::Underline}}));
}

TEST(Mg1Report, EmptyValueGroupWritesNoTable) {
    RecordingHost host;
    Mg1Form form = Form(kBalanced, "1", "0.5", kPercentiles);
    RunMG1(form, host);
    ExpectReport(host.sink.lines, MM1Header(" (Coxian-2 services, balanced)", "1"));
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
    ExpectReport(host.sink.lines, MM1Header(" (Coxian-2 services, balanced)", "1"));
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

TEST(Mg1Graphs, NegligibleDelayGivesTheMessageAndAHiddenWindow) {
    for (const int type : {kErlangian, kGamma}) {
        RecordingHost host;
        Mg1Form form = Form(type, "0.8", "5e-7", kGraphs);
        RunMG1(form, host);
        const auto texts = host.texts();
        ASSERT_EQ(texts.size(), 12u);
        EXPECT_EQ(texts[0].substr(0, 11), "M/G/1 queue");
        EXPECT_EQ(texts[10], "Pdelay too small for meaningful graphs");
        EXPECT_EQ(texts[11], "");
        ASSERT_EQ(host.windows.size(), 1u);
        EXPECT_FALSE(host.windows[0].shown);
        EXPECT_TRUE(host.windows[0].charts.empty());
    }
}

TEST(Mg1Run, TooSmallLoadsGiveOnlyTheMessage) {
    const struct {
        int type;
        const char* rho;
    } cases[] = {
        {kErlangian, "1e-7"}, {kErlangian, "1e-12"}, {kGamma, "4.9e-11"}, {kBalanced, "1e-12"}};
    for (const auto& k : cases) {
        for (const int output : {kStatistics, kGraphs}) {
            RecordingHost host;
            Mg1Form form = Form(k.type, "0.75", k.rho, output);
            RunMG1(form, host);
            EXPECT_EQ(host.texts(),
                      (std::vector<std::string>{"Rho too small for reliable results.", ""}))
                << k.type << " " << k.rho;
            EXPECT_EQ(host.sink.lines[0].style, S::Normal);
            for (const auto& w : host.windows)
                EXPECT_FALSE(w.shown);
        }
    }
    // Just above the thresholds the report is written.
    for (const auto& [type, rho] : {std::pair{kErlangian, "1.1e-7"}, std::pair{kGamma, "5e-11"}}) {
        RecordingHost host;
        Mg1Form form = Form(type, "0.75", rho);
        RunMG1(form, host);
        EXPECT_EQ(host.texts().front().substr(0, 11), "M/G/1 queue");
    }
}

TEST(Mg1Report, CoxianDelayProbabilityIsRhoAtTheLightestLoads) {
    for (const int type : {kGamma, kBalanced}) {
        RecordingHost host;
        Mg1Form form = Form(type, "0.5", "1e-10", kWaiting);
        form.t = Texts({"0"});
        RunMG1(form, host);
        const auto texts = host.texts();
        ASSERT_EQ(texts.size(), 13u);
        EXPECT_EQ(texts[2], "Results: Pwait   = 1E-010");
        EXPECT_EQ(texts[3], "         Pbusy   = 1E-010");
        EXPECT_EQ(texts[10], "         0  1.000E-010");
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
