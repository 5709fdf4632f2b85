#include "core/queue/qgraph.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/queue/finqueue.h"
#include "support/expect_near.h"
#include "support/recording_host.h"

namespace wachtrix {
namespace {

using testing::RecordingHost;

// Erlang's loss formula by its recursion.
double ErlangB(int c, double a) {
    double B = 1;
    for (int k = 1; k <= c; ++k)
        B = a * B / (k + a * B);
    return B;
}

MmcnCurve Curve(MmcnVary vary, int fixed, int from, int to, MmcnY y = MmcnY::Rejection,
                double t = 0) {
    MmcnCurve curve;
    curve.lambda = 3;
    curve.ES = 2;
    curve.vary = vary;
    curve.fixed = fixed;
    curve.from = from;
    curve.to = to;
    curve.y = y;
    curve.t = t;
    return curve;
}

TEST(MmcnPoints, AreTheFiniteCapacityFiguresAtTheSameLoad) {
    // t is in the unit of ES: P{Wq > t} of the model is taken at t / ES.
    for (const MmcnY y : {MmcnY::Rejection, MmcnY::Waiting}) {
        const auto points = MmcnPoints(Curve(MmcnVary::Capacity, 4, 0, 30, y, 1.5));
        ASSERT_EQ(points.size(), 31u);
        for (const ChartPoint& p : points) {
            const int N = static_cast<int>(p.x);
            const FinCapSolution s = SolveFinCap(FinCapType::MM, 4, 6.0 / 4, N);
            const double expected = y == MmcnY::Rejection ? s.P[4 + N] : FinCapWaitingTail(s, 0.75);
            EXPECT_EQ(p.y, expected) << N;
        }
    }
}

TEST(MmcnPoints, NoWaitingRoomIsErlangsLoss) {
    const auto points = MmcnPoints(Curve(MmcnVary::Servers, 0, 1, 12));
    for (const ChartPoint& p : points)
        EXPECT_REL_NEAR(p.y, ErlangB(static_cast<int>(p.x), 6), 1e-12) << p.x;
    // Without waiting room nobody waits.
    EXPECT_EQ(MmcnPoints(Curve(MmcnVary::Capacity, 3, 0, 0, MmcnY::Waiting, 0))[0].y, 0);
}

TEST(MmcnPoints, OverloadWithALongRoomRejectsTheExcess) {
    // rho = 6 on one server: in the long run a share 1 - 1/rho is turned away.
    const auto points = MmcnPoints(Curve(MmcnVary::Capacity, 1, 100, 100));
    EXPECT_NEAR(points[0].y, 1 - 1.0 / 6, 1e-12);
}

TEST(MmcnPoints, WaitingProbabilityAtTimeZeroAndSmallLoads) {
    const auto waiting = MmcnPoints(Curve(MmcnVary::Servers, 5, 3, 3, MmcnY::Waiting, 0));
    const FinCapStatistics st = FinCapStatisticsOf(SolveFinCap(FinCapType::MM, 3, 2, 5));
    EXPECT_REL_NEAR(waiting[0].y, st.Pwait, 1e-14);
    // lambda ES = 6 spread over 100 servers is below the small-load threshold of 0.1.
    MmcnCurve light = Curve(MmcnVary::Servers, 5, 59, 61);
    const auto points = MmcnPoints(light);
    EXPECT_GT(points[0].y, 0);
    EXPECT_EQ(points[1].y, 0);  // rho = 6/60 = 0.1 exactly is too small
    EXPECT_EQ(points[2].y, 0);
}

TEST(MmcnRun, OneWindowWithTheCurveAndNothingInResults) {
    RecordingHost host;
    testing::RunRecorded(host, "mmcn lambda=3 es=2 vary=0 N=4 from=1 to=30 y=0");
    EXPECT_TRUE(host.sink.lines.empty());
    ASSERT_EQ(host.windows.size(), 1u);
    const auto& w = host.windows[0];
    EXPECT_EQ(w.kind, GraphWindowKind::GMC);
    EXPECT_EQ(w.labels, (std::vector<std::string>{"Graph of the M/M/c/c+N queue", "lambda = 3",
                                                  "ES = 2", "N = 4", ""}));
    const ChartPlot& plot = w.charts.at(0);
    EXPECT_EQ(plot.graphTitle, "Prej");
    EXPECT_EQ(plot.xAxis.title, "Servers c");
    EXPECT_EQ(plot.yAxis.logScale, false);
    EXPECT_EQ(plot.yAxis.min, 0);
    EXPECT_EQ(plot.yAxis.max, 1);
    EXPECT_EQ(plot.points.size(), 30u);
    EXPECT_TRUE(plot.drawLine);
    EXPECT_FALSE(plot.drawPoints);
}

TEST(MmcnRun, ASinglePointIsAMark) {
    RecordingHost host;
    testing::RunRecorded(host, "mmcn lambda=3 es=2 vary=1 c=2 from=5 to=5 y=1 t=0.5");
    const auto& w = host.windows.at(0);
    EXPECT_EQ(w.labels[3], "c = 2");
    const ChartPlot& plot = w.charts.at(0);
    EXPECT_EQ(plot.graphTitle, "P{Wq>0.5}");
    EXPECT_EQ(plot.xAxis.title, "Capacity N");
    ASSERT_EQ(plot.points.size(), 1u);
    EXPECT_TRUE(plot.drawPoints);
    EXPECT_FALSE(plot.drawLine);
}

TEST(MmcnPlot, MarksUpToTwentyFivePointsALineBeyond) {
    for (const auto& [count, marks] : {std::pair{1, true}, {25, true}, {26, false}}) {
        const MmcnCurve curve = Curve(MmcnVary::Servers, 2, 1, count);
        const ChartPlot plot = MmcnPlot(curve, MmcnPoints(curve));
        EXPECT_EQ(plot.drawPoints, marks) << count;
        EXPECT_EQ(plot.drawLine, !marks) << count;
    }
}

}  // namespace
}  // namespace wachtrix
