#include "core/queue/machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include "core/text/delphi_format.h"
#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/recording_host.h"
#include "support/reference_table.h"
#include "support/single_server_reference.h"

namespace wachtrix {
namespace {

// ---- Independent references ----

// Time-average number of broken machines by simulation: c repairmen, repairs of length 1.
std::vector<double> SimulateDeterministic(int c, int M, double nu, double horizon) {
    std::mt19937_64 random(20261207);
    std::exponential_distribution<double> life(nu);
    std::priority_queue<double, std::vector<double>, std::greater<>> failures, repairs;
    for (int m = 0; m < M; ++m)
        failures.push(life(random));
    std::vector<double> time(M + 1, 0.0);
    int broken = 0, waiting = 0;
    double now = 0;
    while (now < horizon) {
        const bool repair =
            !repairs.empty() && (failures.empty() || repairs.top() < failures.top());
        const double next = repair ? repairs.top() : failures.top();
        time[broken] += next - now;
        now = next;
        if (repair) {
            repairs.pop();
            failures.push(now + life(random));
            --broken;
            if (waiting > 0) {
                --waiting;
                repairs.push(now + 1);
            }
        } else {
            failures.pop();
            ++broken;
            if (static_cast<int>(repairs.size()) < c)
                repairs.push(now + 1);
            else
                ++waiting;
        }
    }
    for (double& t : time)
        t /= now;
    return time;
}

// ---- The model ----

TEST(FinSrcExponential, FailingMachineSeesTheShopOfOneMachineFewer) {
    // The arrival theorem: q(j) of M machines is p(j) of M - 1.
    const FinSrcSolution s = SolveFinSrc(FinSrcService::Exponential, 3, 25, 0.3);
    const FinSrcSolution fewer = SolveFinSrc(FinSrcService::Exponential, 3, 24, 0.3);
    for (int j = 0; j < 25; ++j)
        EXPECT_NEAR(s.Q[j], fewer.P[j], 1e-14) << j;
    EXPECT_EQ(s.Q[25], 0);
}

TEST(FinSrcDeterministic, SeveralRepairmenCloseToSimulation) {
    // Below c the states are taken as binomial and the busy repairmen's remaining repairs as
    // uniform, neither exact: next to long simulations the approximation puts some 0.02 too
    // little at c - 1 and its mean number broken is 0.4 to 1.3 % high. The simulations' own
    // error here is some 0.002 on a probability and 0.3 % on the mean.
    const struct {
        int c, M;
        double nu;
    } cases[] = {{2, 10, 0.15}, {3, 12, 0.3}, {4, 30, 0.12}, {10, 50, 0.25}};
    for (const auto& k : cases) {
        const FinSrcSolution s = SolveFinSrc(FinSrcService::Deterministic, k.c, k.M, k.nu);
        const std::vector<double> simulated = SimulateDeterministic(k.c, k.M, k.nu, 2e5);
        for (int j = 0; j <= k.M; ++j)
            EXPECT_NEAR(s.P[j], simulated[j], 0.03) << k.c << " " << k.M << " " << j;
        double mean = 0, simulatedMean = 0;
        for (int j = 0; j <= k.M; ++j) {
            mean += j * s.P[j];
            simulatedMean += j * simulated[j];
        }
        EXPECT_NEAR(mean / simulatedMean, 1, 0.02) << k.c << " " << k.M;
        EXPECT_NEAR(FinSrcStatisticsOf(s).accuracy, 0, 1e-10);
    }
}

TEST(FinSrcDeterministic, EnoughRepairmenIsTheBinomialOfIndependentMachines) {
    // c >= M: nobody waits and each machine is broken a share nu / (1 + nu) of the time, whatever
    // the repair-time distribution.
    const FinSrcSolution s = SolveFinSrc(FinSrcService::Deterministic, 9, 6, 0.5);
    EXPECT_EQ(s.cEff, 6);
    const double broken = 0.5 / 1.5;
    for (int j = 0; j <= 6; ++j)
        EXPECT_NEAR(s.P[j],
                    std::tgamma(7.0) / std::tgamma(j + 1.0) / std::tgamma(7.0 - j) *
                        std::pow(broken, j) * std::pow(1 - broken, 6 - j),
                    1e-12)
            << j;
    const FinSrcStatistics st = FinSrcStatisticsOf(s);
    EXPECT_EQ(st.Pwait, 0);
    EXPECT_EQ(st.Pbusy, 0);  // the 9 entered repairmen are never all busy
}

// The approximating chain's far states keep their digits down to 1e-24, against the rows of
// tests/data/queue/machine.txt.
TEST(FinSrcDeterministic, FarStatesKeepTheirDigits) {
    testing::CheckReferenceTable("queue/machine.txt",
                                 {{"DeterministicState",
                                   [](const testing::Numbers& a) {
                                       const FinSrcSolution s =
                                           SolveFinSrc(FinSrcService::Deterministic, int(a[0]),
                                                       int(a[1]), a[2]);
                                       return testing::Numbers{s.P[static_cast<std::size_t>(a[3])]};
                                   }}},
                                 1e-9);
}

TEST(FinSrcDeterministic, LargestCasesStayNormalised) {
    // From hardly any waiting to nearly every failure waiting, short of the overload.
    for (const auto& [c, nu] :
         {std::pair{250, 0.2}, {250, 0.3}, {250, 0.4}, {100, 0.1}, {1, 0.0009}}) {
        const FinSrcSolution s = SolveFinSrc(FinSrcService::Deterministic, c, 1000, nu);
        ASSERT_FALSE(s.overloaded) << c << " " << nu;
        double total = 0;
        for (const double p : s.P) {
            EXPECT_TRUE(std::isfinite(p) && p >= 0);
            total += p;
        }
        EXPECT_NEAR(total, 1, 1e-12) << c << " " << nu;
        // Busy repairmen against the repair rate, relative to the c busy ones.
        EXPECT_LT(std::fabs(FinSrcStatisticsOf(s).accuracy) / c, 1e-15) << c << " " << nu;
    }
}

// A single machine is broken a third of the time, never two: its time-average curve falls from
// (0, 1) to the floor of 0.001 at once.
TEST(FinSrcGraphs, ASingleMachinesTimeAverageCurve) {
    testing::RecordingHost host;
    testing::RunRecorded(host, "finsrc service=0 c=1 M=1 nu=0.5 output=4 graph=1");
    ASSERT_EQ(host.windows.size(), 1u);
    EXPECT_EQ(host.windows[0].charts.at(0).points, (std::vector<ChartPoint>{{0, 1}, {1, 0.001}}));
}

// ---- every printed figure to its last digit ----

// Light loads where the waiting figures are near 1e-12 and their deviations near 5e-7, full
// shops, a single machine, enough repairmen for every machine, and one repairman with
// deterministic repairs (now exact), each with its whole distribution:
// exponential repairs by the birth-death closed form in logarithms, deterministic ones by the
// supplementary variable (single_server_reference.h). A failing machine finds j with weight
// (M - j) p(j).
TEST(FinSrcPrintedFigures, RightToTheLastDigitAtEveryCorner) {
    const struct {
        int service, c, M;
        double nu, t;  // t: a t-value, -1 for none
    } cases[] = {{0, 14, 100, 0.01238, -1}, {0, 1, 10, 1, 2.5},       {0, 10, 20, 0.001, -1},
                 {0, 3, 50, 0.05, 1.5},     {0, 1, 1, 1e-5, -1},      {0, 1, 1, 100, 0.5},
                 {0, 5, 5, 1, -1},          {0, 8, 40, 0.1, 0.2},     {1, 1, 10, 1, 8.5},
                 {1, 1, 10, 0.05, 0.5},     {1, 1, 50, 0.0005, 0.25}, {1, 1, 3, 2, 1.75},
                 {1, 1, 1, 0.5, -1}};
    for (const auto& k : cases) {
        const std::string call = "finsrc service=" + std::to_string(k.service) +
                                 " c=" + std::to_string(k.c) + " M=" + std::to_string(k.M) +
                                 " nu=" + Format("%.6g", {k.nu});
        SCOPED_TRACE(call);
        const int M = k.M, c = k.c;
        std::vector<long double> p(M + 1), found(M + 1, 0.0L);
        long double EWq = 0, VWq = 0, tail = -1;
        if (k.service == 0) {
            std::vector<long double> logA(M + 1, 0.0L);
            for (int j = 1; j <= M; ++j)
                logA[j] = logA[j - 1] + std::log((M - j + 1) * k.nu / std::min(j, c));
            long double total = 0;
            for (int j = 0; j <= M; ++j)
                total += p[j] = std::exp(logA[j] - logA[0]);
            for (long double& x : p)
                x /= total;
        } else {
            std::vector<long double> rate(M + 1);
            for (int n = 0; n <= M; ++n)
                rate[n] = k.nu * (M - n);
            const testing::SingleServerReference r = testing::SolveSingleServer(rate);
            p = r.time;
            const testing::SingleServerWait w = testing::WaitOf(r);
            EWq = w.mean;
            VWq = w.variance;
            if (k.t >= 0) tail = testing::WaitTailOf(r, k.t);
        }
        const FinSrcSolution s = SolveFinSrc(static_cast<FinSrcService>(k.service), c, M, k.nu);
        for (int j = 0; j <= M; ++j)
            EXPECT_REL_NEAR_FLOOR(s.P[j], p[j], k.service == 0 ? 1e-12 : 1e-9, 1e-15) << j;
        long double failures = 0;
        for (int j = 0; j < M; ++j)
            failures += found[j] = (M - j) * p[j];
        for (long double& f : found)
            f /= failures;
        long double busy = 0;
        for (int j = 0; j <= M; ++j)
            busy += std::min(j, c) * p[j];
        const testing::QueueFigures q = testing::QueueOf(p, c);
        testing::WaitFigures w = testing::ErlangWaitOf(found, c);
        if (k.service == 0) {
            EWq = w.EWq;
            VWq = w.StdWq * w.StdWq;
            if (k.t >= 0) {
                tail = 0;
                for (int j = c; j < M; ++j) {
                    long double stay = 0, term = std::exp(-c * k.t);  // P{Poisson(c t) <= j - c}
                    for (int m = 0; m <= j - c; ++m, term *= c * k.t / m)
                        stay += term;
                    tail += found[j] * stay;
                }
            }
        }
        const std::vector<std::string> lines = testing::ReportOf(call);
        EXPECT_PRINTED(lines, "Pbusy", q.Pbusy);
        EXPECT_PRINTED(lines, "Throughput", busy);
        testing::ExpectPrintedStatistics(lines, {w.Pwait, EWq, std::sqrt(VWq)}, q);
        if (k.t >= 0) testing::ExpectTailRow(call, k.t, tail);
    }
}

}  // namespace
}  // namespace wachtrix
