// The M/D/c solution against independent references: the M/D/1 closed forms, the roots of
// z^c = e^(lambda (z - 1)), the truncated chain iterated to its fixed point, and the moments of
// the waiting time integrated from its tail.

#include "core/queue/mdc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <utility>

#include "core/numeric/gauss_legendre.h"
#include "core/text/delphi_format.h"
#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

// --- M/D/1 -------------------------------------------------------------------------------------

// P{Wq <= t} = (1 - rho) sum_{k <= t} e^(-rho (k - t)) (rho (k - t))^k / k! (Erlang).
long double MD1WaitingDistribution(double rho, double t) {
    long double sum = 0;
    for (int k = 0; k <= static_cast<int>(std::floor(t)); ++k) {
        const long double x = static_cast<long double>(rho) * (k - t);
        sum += std::exp(-x) * std::pow(x, k) / std::tgamma(k + 1.0L);
    }
    return (1 - rho) * sum;
}

// P{L = 0} = 1 - rho, P{L = 1} = (1 - rho)(e^rho - 1), and for n >= 2
// P{L = n} = (1 - rho) sum_{k=1..n} (-1)^(n-k) e^(k rho) [(k rho)^(n-k) / (n-k)!
//            + (k rho)^(n-k-1) / (n-k-1)!], the second term only for k < n.
long double MD1StateProbability(double rho, int n) {
    if (n == 0) return 1 - rho;
    if (n == 1) return (1 - rho) * std::expm1(static_cast<long double>(rho));
    long double sum = 0;
    for (int k = 1; k <= n; ++k) {
        const long double kr = static_cast<long double>(k) * rho;
        long double term = std::pow(kr, n - k) / std::tgamma(n - k + 1.0L);
        if (k < n) term += std::pow(kr, n - k - 1) / std::tgamma(n - k + 0.0L);
        sum += ((n - k) % 2 == 0 ? 1 : -1) * std::exp(kr) * term;
    }
    return (1 - rho) * sum;
}

class MD1ClosedForms : public ::testing::TestWithParam<double> {};

TEST_P(MD1ClosedForms, StatisticsFollowPollaczekKhinchine) {
    const double rho = GetParam();
    const MdcSolution s = SolveMDC(1, rho);
    const double EWq = rho / (2 * (1 - rho));
    const double EWq2 = 2 * EWq * EWq + rho / (3 * (1 - rho));
    EXPECT_REL_NEAR(s.Pdelay, rho, 1e-12);
    EXPECT_REL_NEAR(s.EWq, EWq, 1e-12);
    EXPECT_REL_NEAR(s.ELq, rho * EWq, 1e-12);
    EXPECT_REL_NEAR(s.StdWq, std::sqrt(EWq2 - EWq * EWq), 1e-10);
    // Lq counts the arrivals during a wait: E(Lq(Lq-1)) = rho^2 E(Wq^2).
    const double ELq = rho * EWq;
    EXPECT_REL_NEAR(s.StdLq, std::sqrt(rho * rho * EWq2 + ELq - ELq * ELq), 1e-10);
    EXPECT_LT(s.accuracy, 1e-9);
    // The tail's asymptote gamma e^(-delta t) with the single server's constants.
    EXPECT_REL_NEAR(s.gamma, s.eta * (1 - rho) / (rho - s.eta), 1e-12);
    EXPECT_REL_NEAR(s.delta, -std::log(s.eta), 1e-12);
}

TEST_P(MD1ClosedForms, StatesAndWaitingTailFollowErlangsSeries) {
    const double rho = GetParam();
    const MdcSolution s = SolveMDC(1, rho);
    for (int n = 0; n <= 8; ++n)
        EXPECT_REL_NEAR_FLOOR(MdcStateProbability(s, n), MD1StateProbability(rho, n), 1e-9, 1e-15)
            << "n = " << n;
    for (const double t : {0.0, 0.3, 1.0, 2.5, 4.0, 7.75}) {
        EXPECT_REL_NEAR_FLOOR(MdcWaitingTail(s, t), 1 - MD1WaitingDistribution(rho, t), 1e-9, 1e-14)
            << "t = " << t;
    }
}

INSTANTIATE_TEST_SUITE_P(Loads, MD1ClosedForms, ::testing::Values(0.1, 0.5, 0.8, 0.95, 0.99));

// --- M/D/c against a second method ------------------------------------------------------------

// P{L = k}, k < c, from the c - 1 roots z_k of z^c = e^(lambda (z - 1)) inside the unit disc:
// sum_{k<c} p_k (z^c - z^k) = K (z - 1) prod (z - z_k), K = (c - lambda) / prod (1 - z_k).
std::vector<double> ProbabilitiesBelowCByRoots(int c, double rho) {
    using Complex = std::complex<long double>;
    std::vector<Complex> polynomial{-1, 1};  // z - 1, lowest power first
    Complex K = static_cast<long double>(c) * (1 - rho);
    for (int k = 1; k < c; ++k) {
        const Complex w = std::polar(1.0L, 2 * std::numbers::pi_v<long double> * k / c);
        Complex z = 0;
        for (int step = 0; step < 10000; ++step) {  // a contraction by rho inside the disc
            const Complex next = w * std::exp(static_cast<long double>(rho) * (z - 1.0L));
            const bool settled = std::abs(next - z) < 1e-19L;
            z = next;
            if (settled) break;
        }
        std::vector<Complex> product(polynomial.size() + 1, 0);
        for (std::size_t i = 0; i < polynomial.size(); ++i) {
            product[i + 1] += polynomial[i];
            product[i] -= z * polynomial[i];
        }
        polynomial = std::move(product);
        K /= 1.0L - z;
    }
    std::vector<double> p(c);
    for (int k = 0; k < c; ++k)
        p[k] = static_cast<double>(-(K * polynomial[k]).real());
    return p;
}

using Case = std::pair<int, double>;

class MdcAgainstRoots : public ::testing::TestWithParam<Case> {};

TEST_P(MdcAgainstRoots, ProbabilitiesBelowTheServersAgree) {
    const auto [c, rho] = GetParam();
    ASSERT_FALSE(MdcRhoTooSmall(c, rho));
    const MdcSolution s = SolveMDC(c, rho);
    const std::vector<double> p = ProbabilitiesBelowCByRoots(c, rho);
    long double below = 0;
    for (int k = 0; k < c; ++k) {
        EXPECT_REL_NEAR_FLOOR(MdcStateProbability(s, k), p[k], 1e-9, 1e-14) << "k = " << k;
        below += p[k];
    }
    EXPECT_REL_NEAR(s.Pdelay, 1 - below, 1e-9);
    EXPECT_LT(s.Pdelay, s.mmcDelay);  // constant service delays fewer arrivals
}

INSTANTIATE_TEST_SUITE_P(Grid, MdcAgainstRoots,
                         ::testing::Values(Case{2, 0.5}, Case{2, 0.95}, Case{3, 0.8}, Case{5, 0.3},
                                           Case{5, 0.99}, Case{8, 0.6}, Case{10, 0.9},
                                           Case{12, 0.75}));

// --- identities ---------------------------------------------------------------------------------

class MdcIdentities : public ::testing::TestWithParam<Case> {};

TEST_P(MdcIdentities, ProbabilitiesSumToOneAndLittlesLawHolds) {
    const auto [c, rho] = GetParam();
    const MdcSolution s = SolveMDC(c, rho);
    long double sum = 0, mean = 0;
    for (int n = 0; n < 40000; ++n) {
        const double p = MdcStateProbability(s, n);
        sum += p;
        mean += static_cast<long double>(n) * p;
        EXPECT_NEAR(MdcStateTail(s, n), 1 - sum, 1e-12) << n;
        if (n > s.N && p < 1e-20) break;
    }
    EXPECT_NEAR(static_cast<double>(sum), 1.0, 1e-12);
    // L = Lq + (customers in service), and every arrival spends one time unit in service.
    EXPECT_REL_NEAR(mean, s.ELq + c * rho, 1e-10);
    EXPECT_REL_NEAR(s.EWq, s.ELq / (c * rho), 1e-14);
    EXPECT_LT(s.accuracy, 1e-8);
}

// The mean and second moment of Wq, integrated from the tail the tables print, match the
// statistics, which come from the generating function instead.
TEST_P(MdcIdentities, TailIntegratesToTheWaitingTimeMoments) {
    const auto [c, rho] = GetParam();
    const MdcSolution s = SolveMDC(c, rho);
    const double end = 40 / s.delta;  // e^-40 of the tail is left
    const double piece = std::min(1.0, 250.0 / c);
    long double first = 0, second = 0;
    // Pieces of whole service times, so that the kinks at the integers and at 250 / c fall on
    // their ends.
    for (double a = 0; a < end; a += piece) {
        const auto rule = GaussLegendre<double>(20, a, a + piece, 1e-15);
        first += rule.integrate([&](double t) { return MdcWaitingTail(s, t); });
        second += rule.integrate([&](double t) { return 2 * t * MdcWaitingTail(s, t); });
    }
    EXPECT_REL_NEAR(first, s.EWq, 1e-6);
    EXPECT_REL_NEAR(std::sqrt(second - first * first), s.StdWq, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Grid, MdcIdentities,
                         ::testing::Values(Case{1, 0.7}, Case{2, 0.9}, Case{7, 0.5}, Case{25, 0.95},
                                           Case{60, 0.8}, Case{500, 0.99}));

TEST(MdcWaitingTail, ExactAndAsymptoticAgreeNearTheSwitchForALoadedQueue) {
    for (const auto& [c, rho] :
         {Case{10, 0.9}, Case{50, 0.95}, Case{100, 0.98}, Case{200, 0.99}, Case{500, 0.99}}) {
        const MdcSolution s = SolveMDC(c, rho);
        const double tswitch = 250.0 / c;
        for (const double t : {0.8 * tswitch, 0.999 * tswitch, tswitch}) {
            const double exact = MdcExactWaitingTail(s, t);
            const double asymptotic = MdcAsymptoticWaitingTail(s, t);
            // Far out (c = 10: t = 20 and more) both print as 0.
            if (exact < 1e-12)
                EXPECT_LT(asymptotic, 1e-12) << "c = " << c << ", t = " << t;
            else
                EXPECT_REL_NEAR(exact, asymptotic, 1e-7) << "c = " << c << ", t = " << t;
        }
        // The switch itself belongs to the asymptote; just below it the sum is used.
        EXPECT_EQ(MdcWaitingTail(s, tswitch), MdcAsymptoticWaitingTail(s, tswitch));
        const double below = std::nextafter(tswitch, 0.0);
        EXPECT_EQ(MdcWaitingTail(s, below), MdcExactWaitingTail(s, below));
        // At t = 0 the tail is the delay probability.
        EXPECT_REL_NEAR(MdcWaitingTail(s, 0), s.Pdelay, 1e-12);
    }
}

// --- percentiles --------------------------------------------------------------------------------

// Undefined below the no-wait mass and zero at it; above it Brent's root of the tail.
TEST(MdcPercentile, ZeroAtTheNoWaitMassAndInvertsTheTailWithinBrentsTolerance) {
    for (const auto& [c, rho] : {Case{1, 0.5}, Case{3, 0.6}, Case{4, 0.7}, Case{30, 0.9}}) {
        const MdcSolution s = SolveMDC(c, rho);
        const double noWait = 1 - s.Pdelay;
        testing::ExpectPercentiles([&](double p) { return MdcPercentile(s, p); },
                                   [&](double t) { return MdcWaitingTail(s, t); }, noWait,
                                   testing::AtNoWaitMass::Zero, 0, {});
        EXPECT_LT(MdcPercentile(s, std::nextafter(noWait, 0.0)), 0);
        for (const double p : {0.75, 0.9, 0.99, 0.999999}) {
            if (p <= noWait) continue;
            const double x = MdcPercentile(s, p);
            ASSERT_GT(x, 0) << c << " " << p;
            // The tail falls through 1 - p between x - 1e-7 and x + 1e-7.
            EXPECT_GE(MdcWaitingTail(s, x - 1e-7), 1 - p) << c << " " << p;
            EXPECT_LE(MdcWaitingTail(s, x + 1e-7), 1 - p) << c << " " << p;
        }
    }
    EXPECT_LT(MdcAsymptoticPercentile(SolveMDC(3, 0.6), 0.01), 0);
}

TEST(MdcPercentile, HeavyDelayAndHighProbabilityUseTheAsymptote) {
    const MdcSolution s = SolveMDC(1, 0.97);  // Pdelay 0.97: the asymptote from p = 0.34
    ASSERT_GE(s.Pdelay, 0.95);
    for (const double p : {0.34, 0.9, 0.999}) {
        EXPECT_EQ(MdcPercentile(s, p), MdcAsymptoticPercentile(s, p));
        EXPECT_REL_NEAR(MdcAsymptoticWaitingTail(s, MdcAsymptoticPercentile(s, p)), 1 - p, 1e-12);
    }
    // Below the band Brent's method works on the sum.
    EXPECT_NE(MdcPercentile(s, 0.3), MdcAsymptoticPercentile(s, 0.3));
}

TEST(MdcPercentile, AStartPointThatIsAlreadyARootIsTheAnswer) {
    // Just above P{Wq = 0} the M/M/1 start point x2 = ln(rho / (1 - p)) / (1 - rho) is tiny and
    // the tail there is within 1e-7 of 1 - p: x2 is the percentile (not 0).
    const MdcSolution s = SolveMDC(1, 0.6);
    const double p = 1 - s.Pdelay + 1e-9;
    const double x2 = (std::log(s.mmcDelay) - std::log(1 - p)) / (1 - 0.6);
    ASSERT_GT(x2, 0);
    EXPECT_EQ(MdcPercentile(s, p), x2);
}

// --- the pieces and their edge cases ---------------------------------------------------------

TEST(MdcDecayRoot, SolvesTheCharacteristicEquationBelowRho) {
    for (const double rho : {1e-9, 1e-3, 0.1, 0.5, 0.9, 0.99}) {
        // Newton's method on ln z = rho (z - 1) for the root z > 1, from far right of it.
        long double z = 20 / static_cast<long double>(rho) + 10;
        for (int step = 0; step < 200; ++step)
            z -= (std::log(z) - rho * (z - 1)) / (1 / z - rho);
        const double eta = MdcDecayRoot(rho);
        ASSERT_LT(eta, rho);
        EXPECT_REL_NEAR(eta, static_cast<double>(1 / z), 1e-15) << rho;  // relative, any size
    }
}

// --- graph points: the conditional tails, the states' found by a scan below c when light ------

TEST(MdcGraphs, AreTheConditionalTails) {
    const MdcSolution s = SolveMDC(2, 0.8);
    testing::ExpectConditionalCurve(
        MdcWaitingGraphPoints(s), [&](double t) { return MdcWaitingTail(s, t) / s.Pdelay; }, 1e-15);
    // Loaded, and lightly loaded with 200 servers, where the state curve ends before c.
    for (const auto& [c, rho] : {Case{2, 0.8}, Case{200, 0.5}}) {
        const MdcSolution q = SolveMDC(c, rho);
        ASSERT_EQ(MdcStateTail(q, c - 1) / q.tail[0] < 0.001, c == 200);
        testing::ExpectConditionalCurve(
            MdcQueueGraphPoints(q),
            [&](double n) { return MdcStateTail(q, static_cast<int>(n)) / q.tail[0]; }, 1e-15);
    }
}

// --- every printed figure to its last digit, against the chain iterated to its fixed point ------

// Light loads where the delay is 1e-44 (the moments once came from differences of terms near c^2
// and the probabilities from round-off of the largest), a long queue, and far state tails; at
// each corner the whole distribution too, the geometric tail included.
TEST(MdcPrintedFigures, RightToTheLastDigitAtEveryCorner) {
    const struct {
        int c;
        double rho;
        int n;  // a state for the table, -1: none
    } cases[] = {{500, 0.5, -1},  {26, 0.0101, -1}, {5, 2e-5, -1}, {100, 0.2, 110}, {2, 0.9, 60},
                 {10, 0.95, 120}, {3, 0.5, 25},     {4, 0.8, -1},  {15, 0.7, -1}};
    for (const auto& k : cases) {
        const std::string call = "mdc c=" + std::to_string(k.c) +
                                 " rho=" + Format("%.6g", {k.rho}) +
                                 (k.n >= 0 ? " output=3 n=" + std::to_string(k.n) : "");
        const std::vector<std::string> lines = testing::ReportOf(call);
        const std::vector<double> pi =
            testing::MDcIteratedChain(k.c, k.rho, MdcTruncation(k.c, k.rho) + 300);
        // The whole distribution, the geometric tail included.
        const MdcSolution s = SolveMDC(k.c, k.rho);
        for (int n = 0; n <= s.N + 60; ++n)
            EXPECT_REL_NEAR_FLOOR(MdcStateProbability(s, n), pi[n], 1e-8, 1e-15) << "n = " << n;
        const testing::QueueFigures q = testing::QueueOf(pi, k.c);
        long double pairs = 0;
        for (int j = k.c; j < static_cast<int>(pi.size()); ++j)
            pairs += static_cast<long double>(j - k.c) * (j - k.c - 1) * pi[j];
        const long double lambda = k.c * static_cast<long double>(k.rho), EWq = q.ELq / lambda;
        SCOPED_TRACE(call);
        // Arrivals find the time average; E(Wq^2) = E(Lq (Lq - 1)) / lambda^2: the waiting time
        // of M/G/c in order of arrival.
        testing::ExpectPrintedStatistics(
            lines, {q.Pbusy, EWq, std::sqrt(pairs / (lambda * lambda) - EWq * EWq)}, q);
        if (k.n >= 0) testing::ExpectStateRow(lines, k.n, pi);
    }
}

}  // namespace
}  // namespace wachtrix
