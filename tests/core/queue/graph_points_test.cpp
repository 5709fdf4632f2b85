// The point rules every model's graphs share, then every model's graph window: its class, its
// labels, its titles and that it plots the model's own curves.

#include "core/queue/graph_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/numeric/numerical_failure.h"
#include "core/queue/dg1_erlan.h"
#include "core/queue/dmc.h"
#include "core/queue/dmg1_cox.h"
#include "core/queue/finqueue.h"
#include "core/queue/gmc.h"
#include "core/queue/machine.h"
#include "core/queue/mdc.h"
#include "core/queue/mg1_erlan.h"
#include "core/queue/mm1_tran.h"
#include "core/queue/mmc.h"
#include "core/queue/qgraph.h"
#include "support/data_file.h"
#include "support/queue_expectations.h"
#include "support/recording_host.h"

namespace wachtrix {
namespace {

TEST(GraphTimeStep, ChoosesAQuarterHalfOneOrTwoTimesAPowerOfTen) {
    EXPECT_DOUBLE_EQ(GraphTimeStep(4.6), 0.1);   // 47 tenths
    EXPECT_DOUBLE_EQ(GraphTimeStep(150), 5);     // 16 tens
    EXPECT_DOUBLE_EQ(GraphTimeStep(0.5), 0.02);  // 51 hundredths
    EXPECT_DOUBLE_EQ(GraphTimeStep(1.0), 0.02);  // 101 hundredths
    EXPECT_DOUBLE_EQ(GraphTimeStep(30), 1);      // 31 units
}

TEST(TimeGraphPoints, EndAtTheFirstTimeAtOrBeyondTmax) {
    for (const double tmax : {0.37, 1.0, 4.6, 150.0, 7321.0}) {
        const auto points = TimeGraphPoints(tmax, [](double t) { return std::exp(-t); });
        ASSERT_GE(points.size(), 2u);
        EXPECT_GE(points.back().x, tmax * (1 - 1e-12));
        EXPECT_LT(points[points.size() - 2].x, tmax);
        // Between about a dozen and a hundred steps, whatever the scale.
        EXPECT_GE(points.size(), 11u) << tmax;
        EXPECT_LE(points.size(), 101u) << tmax;
        EXPECT_DOUBLE_EQ(points.front().y, std::exp(-points.front().x));
    }
}

// A geometric tail q^n falls below 0.001 at n* = ln 0.001 / ln q: every state while it is short
// (0.5^10 < 0.001), about fifty evenly spaced ones for a long one (0.995^n near n = 1378: every
// 30th), and a stop at ten thousand states when it never falls.
TEST(StateGraphPoints, EveryStateOrAboutFiftyEvenStepsUpToTenThousand) {
    const struct {
        double q;
        std::size_t count;
        int step;
    } rows[] = {{0.5, 10, 1}, {0.995, 46, 30}, {1.0, 50, 200}};
    for (const auto& r : rows) {
        double y = 1;
        const auto points = StateGraphPoints([&](int) { return y *= r.q; });
        ASSERT_EQ(points.size(), r.count) << r.q;
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].x, r.step * (i + 1.0)) << r.q;
            EXPECT_NEAR(points[i].y, std::pow(r.q, points[i].x), 1e-9 * points[i].y) << r.q;
        }
        EXPECT_TRUE(points.back().y <= 0.001 || points.back().x == 10000) << r.q;
    }
}

// P{L > n} of a geometric tail P{L = n} = anchor ratio^n from n = 0 on.
auto GeometricTail(double anchor, double ratio) {
    return [=](int n) { return anchor * std::pow(ratio, n + 1) / (1 - ratio); };
}

// P{L > n | L > 0} = ratio^n: every state while the tail is short, about fifty even steps for a
// long one.
TEST(ServerStateGraphPoints, EveryStateOrAboutFiftyEvenSteps) {
    const struct {
        double ratio;
        int step;
        std::size_t fewest, most;
    } rows[] = {{0.5, 1, 10, 10},         // 0.5^n reaches 0.001 at n = 10
                {0.99, 14, 45, 51},       // n_max = 687: step 686 div 50 + 1
                {0.99999, 200, 45, 51}};  // n_max far beyond 10000: step 200, cut at 10000
    for (const auto& r : rows) {
        const GeometricStateTail g{1 - r.ratio, 0, r.ratio};
        const auto tail = GeometricTail(1 - r.ratio, r.ratio);
        EXPECT_EQ(ServerStateGraphStep(1, tail(0), g, tail), r.step);
        const auto points = ServerStateGraphPoints(1, tail(0), g, tail);
        ASSERT_GE(points.size(), r.fewest);
        ASSERT_LE(points.size(), r.most);
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].x, r.step * (i + 1.0));
            EXPECT_REL_NEAR(points[i].y, std::pow(r.ratio, points[i].x), 1e-9);
        }
        EXPECT_TRUE(points.back().y <= 0.001 || points.back().x + r.step > 10000);
    }
}

TEST(ServerStateGraphPoints, ScanBelowTheServersWhenTheTailIsGoneBeforeC) {
    // Conditional tail 0.1^n: below 0.001 from n = 4 on, well before c - 1 = 299.
    const auto tail = [](int n) { return 0.5 * std::pow(0.1, n); };
    const GeometricStateTail unused{1e-300, 299, 0.5};
    EXPECT_EQ(ServerStateGraphStep(300, tail(0), unused, tail), 1);
    const auto points = ServerStateGraphPoints(300, tail(0), unused, tail);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_DOUBLE_EQ(points.back().y, 1e-4);
    // A slower fall: the first n below 0.001 is 151, so the step is 150 div 50 + 1 = 4.
    const auto slow = [](int n) { return std::pow(0.955, n); };
    EXPECT_EQ(ServerStateGraphStep(300, slow(0), unused, slow), 4);
}

TEST(ServerStateGraphPoints, AnAnchorOfZeroOrRoundOffBelowGivesStepOne) {
    // ln of 0 or of a negative number: no integer conversion of an infinity or NaN.
    EXPECT_EQ(GeometricGraphStep(0.5, {0, 10, 0.5}), 1);
    EXPECT_EQ(GeometricGraphStep(0.5, {-1e-18, 10, 0.5}), 1);
}

TEST(ConditionalWaitingCurve, EndsWhereTheTailHasFallenToOnePerMille) {
    // P{Wq > t} = 0.4 e^(-t / 3): the conditional tail reaches 0.001 at 3 ln 1000.
    const auto tail = [](double t) { return 0.4 * std::exp(-t / 3); };
    const double end = ConditionalTailEnd(tail, 0.4);
    EXPECT_NEAR(end, 3 * std::log(1000.0), 1e-9);
    const auto points = ConditionalWaitingCurve(tail, 0.4);
    const auto expected = TimeGraphPoints(end, [](double t) { return std::exp(-t / 3); });
    ASSERT_EQ(points.size(), expected.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].x, expected[i].x);
        EXPECT_DOUBLE_EQ(points[i].y, expected[i].y);
    }
}

TEST(ConditionalWaitingCurve, NothingToPlotWhenTheWaitIsGoneAtOnce) {
    // A tail that has already fallen below 0.001 Pwait at t = 1e-10.
    const auto tail = [](double t) { return t > 0 ? 1e-12 : 0.5; };
    EXPECT_EQ(ConditionalTailEnd(tail, 0.5), 0);
    EXPECT_TRUE(ConditionalWaitingCurve(tail, 0.5).empty());
}

TEST(ConditionalWaitingCurve, ATailThatNeverFallsIsANumericalFailure) {
    EXPECT_THROW(ConditionalTailEnd([](double) { return 1.0; }, 1.0), NumericalFailure);
}

TEST(StateTailCurve, ConditionalTailOfAFiniteDistribution) {
    const std::vector<double> p = {0.5, 0.25, 0.125, 0.0625, 0.0625};
    const auto points = StateTailCurve(p);
    // P{L > n | L > 0} = 0.5, 0.25, 0.125, then 0 beyond the last state.
    ASSERT_EQ(points.size(), 4u);
    const double expected[] = {0.5, 0.25, 0.125, 0};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(points[n - 1].x, n);
        EXPECT_NEAR(points[n - 1].y, expected[n - 1], 1e-15);
    }
}

TEST(ExponentialWaitingGraphPoints, FollowTheExponentialToOnePerMille) {
    const auto points = ExponentialWaitingGraphPoints(0.3, 0.4);
    testing::ExpectConditionalCurve(
        points, [](double t) { return std::exp(-0.4 * t); }, 1e-14);
    EXPECT_EQ(points.front().x, GraphTimeStep(std::log(1000.0) / 0.4));
}

TEST(MarksOrLine, MarksUpTo24PointsALineFrom25) {
    for (const std::size_t n : {1u, 24u, 25u}) {
        const ChartPlot plot = MarksOrLine(std::vector<ChartPoint>(n));
        EXPECT_EQ(plot.drawPoints, n <= 24) << n;
        EXPECT_EQ(plot.drawLine, n > 24) << n;
        EXPECT_EQ(plot.points.size(), n);
    }
}

using Curves = std::vector<std::vector<ChartPoint>>;

template <class Solution>
Curves Both(const Solution& s) {
    return {WaitingGraph(s), StateGraph(s)};
}

// The finite models draw a probability of 0 (or its rounding noise) at 1e-6 on the log axis.
std::vector<ChartPoint> Floored(std::vector<ChartPoint> points, double floor) {
    for (ChartPoint& p : points)
        p.y = p.y <= 0 ? floor : p.y;
    return points;
}

// The machine repair curves start at (0, 1) and draw nothing below 0.001.
Curves Machine(std::vector<ChartPoint> points) {
    points.insert(points.begin(), ChartPoint{0, 1});
    for (ChartPoint& p : points)
        p.y = std::max(p.y, 0.001);
    return {points};
}

const FinSrcSolution& Repair(FinSrcService service) {
    static const FinSrcSolution exponential = SolveFinSrc(FinSrcService::Exponential, 2, 30, 0.05),
                                deterministic =
                                    SolveFinSrc(FinSrcService::Deterministic, 2, 30, 0.05);
    return service == FinSrcService::Exponential ? exponential : deterministic;
}

Curves Transient(int j, MM1GraphKind kind) {
    return {MM1TranGraphPoints(MM1Transient(0.8, 4, j), kind, 250)};
}

Curves Mmcn(MmcnVary vary, int fixed, int from, int to, MmcnY y, double t) {
    return {MmcnPoints({3, 2, vary, fixed, from, to, y, t})};
}

// Each Graphs run of tests/data/graph_runs.txt with the curves it must plot, in chart order.
const std::map<std::string, Curves (*)()> kCurves = {
    {"mmc c=2 rho=0.8 output=4",
     [] {
         return Curves{MmcWaitingGraphPoints(SolveMMC(2, 0.8)),
                       MmcQueueGraphPoints(SolveMMC(2, 0.8))};
     }},
    {"mdc c=2 rho=0.8 output=4",
     [] {
         return Curves{MdcWaitingGraphPoints(SolveMDC(2, 0.8)),
                       MdcQueueGraphPoints(SolveMDC(2, 0.8))};
     }},
    {"mg1 service=0 cs2=0.75 rho=0.25 output=4", [] { return Both(SolveErlangian(0.75, 0.25)); }},
    {"mg1 service=1 cs2=0.75 rho=0.25 output=4",
     [] { return Both(SolveCoxian(CoxianKind::MG1Gamma, 0.75, 0.25)); }},
    {"mg1 service=2 cs2=1 rho=0.5 output=4",
     [] { return Both(SolveCoxian(CoxianKind::MG1Balanced, 1, 0.5)); }},
    {"dmc c=2 rho=0.8 output=5 graph=0",
     [] { return Curves{DmcWaitingGraphPoints(SolveDMC(2, 0.8))}; }},
    {"dmc c=2 rho=0.8 output=5 graph=1",
     [] { return Curves{DmcTimeAverageGraphPoints(SolveDMC(2, 0.8))}; }},
    {"dmc c=2 rho=0.8 output=5 graph=2",
     [] { return Curves{DmcCustomerAverageGraphPoints(SolveDMC(2, 0.8))}; }},
    {"gmc arrivals=3 ca2=2 c=3 rho=0.8 output=3",
     [] {
         return Curves{GmcWaitingGraphPoints(SolveGMC(GmcArrivals::CoxianBalanced, 2, 3, 0.8))};
     }},
    {"dg1 service=1 cs2=2 rho=0.8 output=5",
     [] { return Curves{WaitingGraph(SolveDg1Erlang(0.5, 0.8, true))}; }},
    // The state tail is 0 (up to rounding) beyond K = 13.
    {"fincap type=2 c=3 rho=0.9 N=10 output=4",
     [] {
         const FinCapSolution s = SolveFinCap(FinCapType::DM, 3, 0.9, 10);
         EXPECT_EQ(FinCapStateGraphPoints(s).back().x, 13);
         EXPECT_NEAR(FinCapStateGraphPoints(s).back().y, 0, 1e-15);
         return Curves{FinCapWaitingGraphPoints(s, FinCapStatisticsOf(s).Pwait),
                       Floored(FinCapStateGraphPoints(s), 1e-6)};
     }},
    {"finsrc service=1 c=2 M=30 nu=0.05 output=4 graph=0",
     [] {
         const FinSrcSolution& s = Repair(FinSrcService::Deterministic);
         return Machine(ConditionalWaitingCurve([&](double t) { return FinSrcWaitingTail(s, t); },
                                                FinSrcStatisticsOf(s).Pwait));
     }},
    {"finsrc service=1 c=2 M=30 nu=0.05 output=4 graph=1",
     [] { return Machine(StateTailCurve(Repair(FinSrcService::Deterministic).P)); }},
    {"finsrc service=0 c=2 M=30 nu=0.05 output=4 graph=2",
     [] { return Machine(StateTailCurve(Repair(FinSrcService::Exponential).Q)); }},
    {"mm1tran rho=0.8 i=4 j=4 T=250 output=1",
     [] { return Transient(4, MM1GraphKind::StateProbability); }},
    {"mm1tran rho=0.8 i=4 j=4 T=250 output=2",
     [] { return Transient(4, MM1GraphKind::Cumulative); }},
    {"mm1tran rho=0.8 i=4 T=250 output=3", [] { return Transient(0, MM1GraphKind::MeanQueue); }},
    {"mm1tran rho=0.8 i=4 T=250 output=4", [] { return Transient(0, MM1GraphKind::StdQueue); }},
    {"mmcn lambda=3 es=2 vary=0 N=4 from=1 to=30 y=0",
     [] { return Mmcn(MmcnVary::Servers, 4, 1, 30, MmcnY::Rejection, 0); }},
    {"mmcn lambda=3 es=2 vary=1 c=2 from=5 to=29 y=1 t=0.5",
     [] { return Mmcn(MmcnVary::Capacity, 2, 5, 29, MmcnY::Waiting, 0.5); }},
};

std::vector<std::string> Split(const std::string& joined, char separator) {
    std::vector<std::string> parts{""};
    for (const char ch : joined)
        if (ch == separator)
            parts.emplace_back();
        else
            parts.back().push_back(ch);
    return parts;
}

TEST(GraphRuns, OneWindowWithTheModelsCurvesLabelsAndTitles) {
    const auto rows = testing::ReadDataFile("graph_runs.txt").at("windows");
    EXPECT_EQ(rows.size(), kCurves.size());
    for (const testing::DataLine& row : rows) {
        const std::vector<std::string> f = testing::Fields(row.text, 5);
        ASSERT_EQ(f.size(), 5u) << row.where;
        const std::string& call = f[0];
        ASSERT_TRUE(kCurves.contains(call)) << row.where;
        testing::RecordingHost host;
        testing::RunRecorded(host, call);
        ASSERT_TRUE(host.errors.empty()) << call;
        ASSERT_EQ(host.windows.size(), 1u) << call;
        const auto& w = host.windows[0];
        const GraphWindowKind kind = f[1] == "MG1"   ? GraphWindowKind::MG1
                                     : f[1] == "DG1" ? GraphWindowKind::DG1
                                                     : GraphWindowKind::GMC;
        EXPECT_EQ(w.kind, kind) << call;
        EXPECT_EQ(w.labels, Split(f[3], ';')) << call;
        EXPECT_TRUE(w.shown) << call;
        const Curves curves = kCurves.at(call)();
        ASSERT_EQ(w.plots.size(), curves.size()) << call;
        for (std::size_t i = 0; i < curves.size(); ++i) {
            const ChartPlot& plot = w.plots[i].second;
            EXPECT_EQ(w.plots[i].first, static_cast<int>(i)) << call;
            EXPECT_EQ(plot.points, curves[i]) << call << " chart " << i;
            EXPECT_EQ(plot.drawLine, plot.points.size() >= std::stoul(f[2]))
                << call << " chart " << i;
            EXPECT_NE(plot.drawPoints, plot.drawLine) << call;
        }
        const ChartPlot& first = w.plots[0].second;
        if (f[4] == "-") {
            EXPECT_FALSE(first.graphTitle) << call;
        } else {
            EXPECT_EQ(Split(f[4], ';'), (std::vector<std::string>{first.graphTitle.value_or("?"),
                                                                  first.xAxis.title.value_or("?")}))
                << call;
        }
    }
}

TEST(GraphRuns, NothingToDrawLeavesTheWindowHiddenOrUnopened) {
    const auto rows = testing::ReadDataFile("graph_runs.txt").at("nothing to draw");
    EXPECT_GE(rows.size(), 10u);
    for (const testing::DataLine& row : rows) {
        const std::vector<std::string> f = testing::Fields(row.text, 3);
        ASSERT_EQ(f.size(), 3u) << row.where;
        testing::RecordingHost host;
        testing::RunRecorded(host, f[0]);
        EXPECT_TRUE(host.errors.empty()) << f[0];
        ASSERT_EQ(host.windows.size(), std::stoul(f[1])) << f[0];
        if (!host.windows.empty()) {
            EXPECT_EQ(host.windows[0].shown, f[2] == "yes") << f[0];
        }
    }
}

}  // namespace
}  // namespace wachtrix
