// The D/G/1 solutions against independent references: the D/M/1 closed forms, the phase chain
// truncated far out and iterated to its fixed point, a Lindley recursion of the waiting times,
// the moments integrated from the tail and the identities of the state distributions; then the
// failures of the root (its reports are golden data).

#include "core/queue/dg1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/numeric/gauss_legendre.h"
#include "core/queue/dg1_erlan.h"
#include "core/queue/dmg1_cox.h"
#include "core/text/delphi_format.h"
#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

using testing::DM1Sigma;

// --- D/M/1: sigma = e^(-(1 - sigma) / rho), P{Wq > t} = sigma e^(-(1 - sigma) t) --------------

class DM1ClosedForms : public ::testing::TestWithParam<double> {};

// Pure Erlang of one phase and the Erlang fit at CS2 = 1 are the exponential (the Coxian-2 fits:
// dmg1_cox_test.cpp).
TEST_P(DM1ClosedForms, OnePhaseAndTheFitAtCs2One) {
    const double rho = GetParam();
    const testing::DM1 dm1(rho);
    const double sigma = dm1.sigma;
    for (const bool pure : {true, false}) {
        const Dg1ErlangSolution s = SolveDg1Erlang(1, rho, pure);
        EXPECT_REL_NEAR(s.statistics.Pwait, sigma, 1e-9);
        EXPECT_REL_NEAR(s.statistics.EWq, dm1.meanWait(), 1e-9);
        EXPECT_REL_NEAR(s.statistics.StdWq, dm1.stdWait(), 1e-9);
        for (const double t : {0.3, 1.0, 4.0, 12.5, 40.0})
            EXPECT_REL_NEAR_FLOOR(WaitingTail(s, t), dm1.tail(t), 1e-8, 1e-14);
        for (const double p : {0.9, 0.99, 0.999999}) {
            if (p <= 1 - sigma) continue;
            EXPECT_REL_NEAR(WaitingPercentile(s, p), std::log(sigma / (1 - p)) / (1 - sigma), 1e-7);
        }
    }
    // Std(Lq) is the root of a difference of moments, which loses digits at the lightest loads
    // (1.6e-6 at 0.0401); it prints with four.
    const Dg1ErlangSolution s = SolveDg1Erlang(1, rho, true);
    EXPECT_REL_NEAR(s.statistics.ELq, rho * dm1.meanWait(), 1e-9);
    EXPECT_REL_NEAR(s.statistics.StdLq, dm1.stdQueue(), 1e-5);
    // At an arbitrary time: P{L = 0} = 1 - rho, P{L = n} = rho (1 - sigma) sigma^(n - 1).
    const StateTable time = TimeStateProbabilities(s, {0, 1, 3, 60});
    EXPECT_REL_NEAR(time.rows[0].equal, 1 - rho, 1e-12);
    for (const auto& [row, n] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{3, 60}}) {
        const double equal = rho * (1 - sigma) * std::pow(sigma, n - 1);
        EXPECT_REL_NEAR_FLOOR(time.rows[row].equal, equal, 1e-8, 1e-40);
        EXPECT_REL_NEAR_FLOOR(time.rows[row].greater, rho * std::pow(sigma, n), 1e-8, 1e-40);
    }
    // As arrivals see it: geometric (1 - sigma) sigma^n.
    const StateTable arrivals = CustomerStateProbabilities(s, {0, 2, 60});
    EXPECT_REL_NEAR(arrivals.rows[0].equal, 1 - sigma, 1e-9);
    EXPECT_REL_NEAR_FLOOR(arrivals.rows[1].equal, (1 - sigma) * sigma * sigma, 1e-8, 1e-40);
    EXPECT_REL_NEAR_FLOOR(arrivals.rows[2].greater, std::pow(sigma, 61), 1e-8, 1e-40);
}

INSTANTIATE_TEST_SUITE_P(Loads, DM1ClosedForms, ::testing::Values(0.0401, 0.3, 0.5, 0.8, 0.99));

// --- the phase chain, truncated far out and iterated ---------------------------------------------

// The phases an arrival finds, n + k (or n + k - 1 with probability p) after it, by iterating
// their chain from 0 in extended precision (the step to 0 as the upper Poisson sum) until no
// probability moves by more than 1e-16 of max(itself, floor); size covers the tail.
std::vector<long double> PhasesFound(const ErlangianFit& f, double rho, int size,
                                     long double floor) {
    const int k = f.k;
    const long double mean = f.mu / static_cast<long double>(rho);  // completions per interarrival
    const int top = std::max(size + k, static_cast<int>(mean + 40 * std::sqrt(mean) + 60));
    std::vector<long double> a(top + 1), atLeast(top + 2, 0.0L);
    for (int m = 0; m <= top; ++m)
        a[m] = std::exp(-mean + m * std::log(mean) - std::lgamma(m + 1.0L));
    for (int m = top; m >= 0; --m)
        atLeast[m] = atLeast[m + 1] + a[m];
    const auto A = [&](int m) { return m < 0 || m > top ? 0.0L : a[m]; };
    std::vector<long double> pi(size, 0.0L), next(size);
    pi[0] = 1;
    for (int sweep = 0; sweep < 200000; ++sweep) {
        std::fill(next.begin(), next.end(), 0.0L);
        for (int i = 0; i < size; ++i) {
            next[0] += pi[i] * ((1 - f.p) * atLeast[i + k] + f.p * atLeast[i + k - 1]);
            for (int j = std::max(1, i + k - top); j < size && j <= i + k; ++j)
                next[j] += pi[i] * ((1 - f.p) * A(i + k - j) + f.p * A(i + k - 1 - j));
        }
        long double change = 0;
        for (int j = 0; j < size; ++j)
            if (next[j] > 1e-300L)
                change = std::max(change, std::fabs(next[j] - pi[j]) / std::max(next[j], floor));
        pi.swap(next);
        if (change < 1e-16L) break;
    }
    return pi;
}

struct Case {
    double cs2, rho;
    bool pure;
};

class Dg1AgainstIteratedChain : public ::testing::TestWithParam<Case> {};

TEST_P(Dg1AgainstIteratedChain, PhasesMomentsAndTail) {
    const auto [cs2, rho, pure] = GetParam();
    const Dg1ErlangSolution s = SolveDg1Erlang(cs2, rho, pure);
    const int size = s.M + static_cast<int>(std::log(1e-18) / std::log(s.eta)) + 1;
    const std::vector<long double> pi = PhasesFound(s.fit, rho, size, 1);
    long double mean = 0, second = 0;
    for (std::size_t j = 0; j < pi.size(); ++j) {
        mean += j * pi[j];
        second += static_cast<long double>(j) * (j + 1) * pi[j];
        if (j <= 120) {
            EXPECT_REL_NEAR_FLOOR(PhaseProbability(s, j), pi[j], 1e-7, 1e-13) << j;
        }
    }
    const double nu = s.fit.mu;
    EXPECT_REL_NEAR_FLOOR(s.statistics.Pwait, 1 - pi[0], 1e-8, 1e-13);
    EXPECT_REL_NEAR_FLOOR(s.statistics.EWq, mean / nu, 1e-8, 1e-13);
    EXPECT_REL_NEAR_FLOOR(s.statistics.StdWq,
                          std::sqrt(second / (nu * nu) - mean * mean / (nu * nu)), 1e-7, 1e-6);
    EXPECT_LT(s.statistics.accuracy, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Grid, Dg1AgainstIteratedChain,
                         ::testing::Values(Case{0.5, 0.5, true}, Case{0.1, 0.9, true},
                                           Case{0.05, 0.95, true}, Case{0.7, 0.6, false},
                                           Case{0.33, 0.95, false}, Case{0.03, 0.8, false},
                                           Case{0.015, 0.3, false}));

// --- the waiting time by Lindley's recursion
// ------------------------------------------------------

// W' = max(0, W + S - D) over many customers: the mean and P{W > t} of the simulated waits.
TEST(Dg1Lindley, SimulatedWaitsAgreeWithTheErlangMixture) {
    for (const auto& [cs2, rho] : {std::pair{0.3, 0.7}, std::pair{0.06, 0.9}}) {
        const Dg1ErlangSolution s = SolveDg1Erlang(cs2, rho, false);
        std::mt19937_64 random(12345);
        std::uniform_real_distribution<double> uniform(0, 1);
        const double D = 1 / rho;
        double w = 0, sum = 0;
        long long waited = 0, beyondOne = 0;
        const long long customers = 1'000'000;
        for (long long n = 0; n < customers; ++n) {
            sum += w;
            waited += w > 0;
            beyondOne += w > 1;
            const int phases = uniform(random) < s.fit.p ? s.fit.k - 1 : s.fit.k;
            double service = 0;
            for (int i = 0; i < phases; ++i)
                service -= std::log(1 - uniform(random)) / s.fit.mu;
            w = std::max(0.0, w + service - D);
        }
        EXPECT_NEAR(sum / customers, s.statistics.EWq, 0.03 * s.statistics.EWq);
        EXPECT_NEAR(static_cast<double>(waited) / customers, s.statistics.Pwait, 0.01);
        EXPECT_NEAR(static_cast<double>(beyondOne) / customers, WaitingTail(s, 1), 0.01);
    }
}

// --- identities ---------------------------------------------------------------------------------

class Dg1Identities : public ::testing::TestWithParam<Case> {};

TEST_P(Dg1Identities, TailIntegratesToTheMomentsPercentilesInvertItAndStatesSumToOne) {
    const auto [cs2, rho, pure] = GetParam();
    const Dg1ErlangSolution s = SolveDg1Erlang(cs2, rho, pure);
    double end = 0.01;
    while (WaitingTail(s, end) > 1e-15 * s.statistics.Pwait)
        end *= 1.5;
    long double first = 0, second = 0;
    const int pieces = 100;
    for (int i = 0; i < pieces; ++i) {
        const auto rule =
            GaussLegendre<double>(20, end * i / pieces, end * (i + 1) / pieces, 1e-15);
        first += rule.integrate([&](double t) { return WaitingTail(s, t); });
        second += rule.integrate([&](double t) { return 2 * t * WaitingTail(s, t); });
    }
    EXPECT_REL_NEAR(first, s.statistics.EWq, 1e-6);
    EXPECT_REL_NEAR(std::sqrt(second - first * first), s.statistics.StdWq, 1e-5);

    for (const double p : {0.5, 0.9, 0.99, 0.999, 0.999999}) {
        const double x = WaitingPercentile(s, p);
        if (p < 1 - s.statistics.Pwait) {
            EXPECT_EQ(x, -1) << p;
            continue;
        }
        // Brent to 1e-9, or the asymptote of the geometric tail.
        EXPECT_REL_NEAR_FLOOR(WaitingTail(s, x), 1 - p, 2e-3, 1e-9) << p;
    }

    if (!pure) return;
    // Pure Erlang: the states over time and as arrivals find them sum to one, consecutive tails
    // differ by the probability between them, and Little: the mean number in system is
    // rho (E(Wq) + 1); the busy probability is rho.
    const StateTable time = TimeStateProbabilities(s, testing::UpTo(1250));
    const StateTable arrivals = CustomerStateProbabilities(s, testing::UpTo(1250));
    long double timeSum = 0, arrivalSum = 0, mean = 0, square = 0;
    for (std::size_t m = 0; m <= 1250; ++m) {
        timeSum += time.rows[m].equal;
        arrivalSum += arrivals.rows[m].equal;
        mean += m * time.rows[m].equal;
        square += static_cast<long double>(m) * m * time.rows[m].equal;
        if (m > 0) {
            EXPECT_REL_NEAR_FLOOR(time.rows[m - 1].greater - time.rows[m].greater,
                                  time.rows[m].equal, 1e-6, 1e-14);
        }
    }
    EXPECT_NEAR(timeSum, 1, 1e-10);
    EXPECT_NEAR(arrivalSum, 1, 1e-10);
    EXPECT_REL_NEAR(mean, rho * (s.statistics.EWq + 1), 1e-8);
    EXPECT_REL_NEAR(time.rows[0].greater, rho, 1e-9);
    const long double ELq = mean - rho;
    EXPECT_REL_NEAR_FLOOR(std::sqrt(square - 2 * mean + rho - ELq * ELq), s.statistics.StdLq, 1e-6,
                          1e-9);
}

INSTANTIATE_TEST_SUITE_P(Grid, Dg1Identities,
                         ::testing::Values(Case{1, 0.99, true}, Case{0.25, 0.7, true},
                                           Case{0.05, 0.95, true}, Case{0.01, 0.99, true},
                                           Case{0.02, 0.45, true}, Case{1.0 / 3, 0.2, true},
                                           Case{0.6, 0.8, false}, Case{0.12, 0.97, false},
                                           Case{0.011, 0.05, false}));

// --- the pieces ---------------------------------------------------------------------------------

TEST(Dg1PhaseRoot, BracketsTheRootOfItsEquationToARelativeStep) {
    for (const double cs2 : {1.0, 0.3, 0.01}) {
        for (const double rho : {0.05, 0.5, 0.99}) {
            const ErlangianFit f = FitErlangian(cs2);
            // z^k = (p z + 1 - p) e^(-nu D (1 - z)), positive to the left of the root.
            auto g = [&](double z) {
                return std::log(f.p * z + 1 - f.p) - f.mu / rho * (1 - z) - f.k * std::log(z);
            };
            const double eta = Dg1PhaseRoot(f, rho);
            ASSERT_GT(eta, 0);
            ASSERT_LT(eta, 1);
            // The root lies within a relative 1e-14 of eta, whatever its size.
            EXPECT_LT(g(eta * (1 + 1e-14)), 0) << cs2 << " " << rho;
            EXPECT_GT(g(eta * (1 - 1e-14)), 0) << cs2 << " " << rho;
        }
    }
}

TEST(Dg1Percentile, AtTheNoWaitMassIsZeroAndBelowItUndefined) {
    const Dg1ErlangSolution s = SolveDg1Erlang(0.5, 0.6, false);
    testing::ExpectPercentiles([&](double p) { return WaitingPercentile(s, p); },
                               [&](double t) { return WaitingTail(s, t); }, 1 - s.statistics.Pwait,
                               testing::AtNoWaitMass::Zero, 0, {});
    EXPECT_GT(WaitingPercentile(s, 1 - s.statistics.Pwait + 1e-3), 0);
}

// Beyond the printed precision the tail is 0, but never while it still prints (at 1e-12).
TEST(Dg1WaitingTail, ReachesZeroOnlyBelowPrinting) {
    for (const auto& [cs2, rho] :
         {std::pair{1.0, 0.5}, std::pair{0.01, 0.99}, std::pair{0.2, 0.1}}) {
        const Dg1ErlangSolution s = SolveDg1Erlang(cs2, rho, false);
        double previous = s.statistics.Pwait;
        for (double t = 0.01; t < 75000; t *= 1.2) {
            const double tail = WaitingTail(s, t);
            ASSERT_LE(tail, previous * (1 + 1e-9)) << t;
            if (tail == 0) {
                EXPECT_LT(previous, 1e-11) << cs2 << " " << rho << " t=" << t;
                break;
            }
            previous = tail;
        }
    }
}

// --- the run ------------------------------------------------------------------------------------

// Above the Coxian-2 solver's own load thresholds its delay probability can still be round-off:
// at CS2 = 1 (D/M/1, Pwait = sigma) rho = 0.025 gives sigma = 4.2e-18, computed as 3.5e-18.
// Such runs are refused (see the golden reports); from about 1e-12 on the figures keep their
// printed digits.
TEST(Dg1CoxianSolution, KeepsTheSmallestDelayThatIsNotRefused) {
    const long double sigma = DM1Sigma(0.04);  // 1.39e-11
    for (const CoxianKind kind : {CoxianKind::DG1Gamma, CoxianKind::DG1Balanced})
        EXPECT_REL_NEAR(SolveCoxian(kind, 1, 0.04).statistics.Pwait, sigma, 1e-6);
}

// --- every printed figure to its last digit ------------------------------------------------------

// Light loads where the figures are near 1e-29 (Std(Lq) once came from a difference of terms
// near rho), a hundred phases and long queues. E(Lq^2) over time from the phases left at each
// moment of the interarrival time D = 1 / rho: L = ceil(phases / k).
TEST(Dg1PrintedFigures, RightToTheLastDigitAtEveryCorner) {
    const struct {
        int k;
        double rho;
        int size;
    } cases[] = {{50, 0.2, 160}, {5, 0.1, 40}, {100, 0.5, 320}, {2, 0.8, 260}, {1, 0.5, 90}};
    for (const auto& c : cases) {
        const std::string call =
            "dg1 service=1 cs2=" + std::to_string(c.k) + " rho=" + Format("%.6g", {c.rho});
        const std::vector<std::string> lines = testing::ReportOf(call);
        SCOPED_TRACE(call);
        const std::vector<long double> pi = PhasesFound({c.k, 0, double(c.k)}, c.rho, c.size, 0);
        const long double nu = c.k;
        long double EWq = 0;
        for (std::size_t n = 0; n < pi.size(); ++n)
            EWq += pi[n] * n / nu;
        long double VWq = 0, Lq1 = 0, Lq2 = 0;
        for (std::size_t n = 0; n < pi.size(); ++n) {
            const long double d = n / nu - EWq;
            VWq += pi[n] * (d * d + n / (nu * nu));
        }
        const long double D = 1 / static_cast<long double>(c.rho);
        constexpr int kPanels = 32;
        for (int panel = 0; panel < kPanels; ++panel) {
            const auto rule = GaussLegendre<long double>(16, panel * D / kPanels,
                                                         (panel + 1) * D / kPanels, 1e-15L);
            for (std::size_t q = 0; q < rule.nodes.size(); ++q) {
                const long double m = nu * rule.nodes[q];
                std::vector<long double> poisson(pi.size() + c.k);
                poisson[0] = std::exp(-m);
                for (std::size_t d = 1; d < poisson.size(); ++d)
                    poisson[d] = poisson[d - 1] * m / d;
                for (std::size_t n = 0; n < pi.size(); ++n) {
                    const int phases = static_cast<int>(n) + c.k;
                    // L = ceil(left / k) >= 2 while more than k phases are left.
                    for (int done = 0; phases - done > c.k; ++done) {
                        const int L = (phases - done + c.k - 1) / c.k;
                        const long double w = rule.weights[q] / D * pi[n] * poisson[done];
                        Lq1 += w * (L - 1);
                        Lq2 += w * (L - 1) * (L - 1);
                    }
                }
            }
        }
        long double waits = 0;
        for (std::size_t n = 1; n < pi.size(); ++n)
            waits += pi[n];
        testing::ExpectPrintedStatistics(lines, {waits, EWq, std::sqrt(VWq)},
                                         {0, Lq1, std::sqrt(Lq2 - Lq1 * Lq1)});
    }
}

}  // namespace
}  // namespace wachtrix
