#include "core/queue/qgraph.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/queue/finqueue.h"
#include "support/expect_near.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

MmcnCurve Curve(MmcnVary vary, int fixed, int from, int to, MmcnY y = MmcnY::Rejection,
                double t = 0) {
    return {3, 2, vary, fixed, from, to, y, t};
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
        EXPECT_REL_NEAR(p.y, testing::ErlangB(static_cast<int>(p.x), 6), 1e-12) << p.x;
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

}  // namespace
}  // namespace wachtrix
