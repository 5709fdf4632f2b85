// M/M/c+M against independent references: with theta = 1 every customer present leaves at rate 1,
// served or waiting, so the chain is the M/M/infinity queue and its Poisson law gives every
// figure in closed form (the offered wait included: the arrival is served once fewer than c of
// those present remain); M/M/1+M through the incomplete gamma function, by quadrature; Erlang's
// delay and loss formulas at the two ends of patience; the offered wait by uniformising the
// pure-death chain an arrival sees; the moments of the wait as integrals of the tails.

#include "core/queue/erlang_a.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/numeric/gauss_legendre.h"
#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

using testing::PoissonTerm;

// X Poisson with mean m: P{X >= c}, E[(X - c)+] and E[(X - c)+^2], summed upward.
struct PoissonAbove {
    long double tail = 0, excess = 0, excess2 = 0;
};

PoissonAbove Above(long double m, int c) {
    PoissonAbove a;
    for (int k = c;; ++k) {
        const long double p = PoissonTerm(m, k);
        a.tail += p;
        a.excess += (k - c) * p;
        a.excess2 += static_cast<long double>(k - c) * (k - c) * p;
        if (k > m && p < 1e-30L * a.tail) return a;
    }
}

// ---- theta = 1: the M/M/infinity queue ---------------------------------------------------

TEST(ErlangAWithPatienceOfAService, IsTheInfiniteServerQueue) {
    const struct {
        int c;
        double rho;
    } kRows[] = {{1, 0.5},   {1, 2},    {3, 0.9},  {10, 1.7},
                 {100, 0.3}, {1000, 1}, {2500, 2}, {2500, 0.4671}};  // the last: Pwait ~ 1e-250
    for (const auto& r : kRows) {
        ASSERT_FALSE(ErlangARhoTooSmall(r.c, r.rho));
        const ErlangASolution s = SolveErlangA(r.c, r.rho, 1);
        const long double lambda = static_cast<long double>(r.c) * r.rho;
        const PoissonAbove a = Above(lambda, r.c);
        const QueueStatistics& st = s.statistics;
        EXPECT_REL_NEAR(st.Pwait, a.tail, 1e-12) << r.c << " " << r.rho;
        EXPECT_REL_NEAR(st.ELq, a.excess, 1e-12) << r.c << " " << r.rho;
        EXPECT_REL_NEAR(st.EWq, a.excess / lambda, 1e-12) << r.c << " " << r.rho;
        EXPECT_REL_NEAR(s.Pab, a.excess / lambda, 1e-12) << r.c << " " << r.rho;
        EXPECT_REL_NEAR(st.StdLq, std::sqrt(a.excess2 - a.excess * a.excess), 1e-10) << r.c;
        for (const int n : {0, r.c - 1, r.c, r.c + 5, static_cast<int>(lambda)}) {
            const StateProbability p = ErlangAState(s, n);
            EXPECT_REL_NEAR_FLOOR(p.equal, PoissonTerm(lambda, n), 1e-11, 1e-300)
                << r.c << " " << n;
            EXPECT_REL_NEAR_FLOOR(p.greater, Above(lambda, n + 1).tail, 1e-11, 1e-300) << n;
        }
        // P{V > t}: more than c - 1 of those present remain at t, P{Poisson(lambda e^-t) >= c}.
        for (const double t : {0.1, 0.5, 2.0}) {
            const long double V = Above(lambda * std::exp(-t), r.c).tail;
            EXPECT_REL_NEAR_FLOOR(ErlangAOfferedTail(s, t), V, 1e-10, 1e-300) << r.c << " " << t;
            EXPECT_REL_NEAR_FLOOR(ErlangAWaitingTail(s, t), V * std::exp(-t), 1e-10, 1e-300);
        }
    }
}

// The graphs: P(V>t | V>0), e^-t times it, and P(L>n | L>0) from the Poisson law.
TEST(ErlangAGraphs, AreTheConditionalTails) {
    for (const auto& row : {std::pair{2, 0.8}, std::pair{2500, 2.0}}) {
        const int c = row.first;  // named, not bound: the lambdas below capture it
        const double rho = row.second;
        const ErlangASolution s = SolveErlangA(c, rho, 1);
        const double lambda = c * rho;
        const double Pwait = static_cast<double>(Above(lambda, c).tail);
        const ErlangAWaitingCurves curves = ErlangAWaitingGraphPoints(s);
        const auto offered = [&](double t) {
            return static_cast<double>(Above(lambda * std::exp(-t), c).tail) / Pwait;
        };
        testing::ExpectConditionalCurve(curves.offered, offered, 1e-9);
        testing::ExpectConditionalCurve(
            curves.waiting, [&](double t) { return std::exp(-t) * offered(t); }, 1e-9);
        const double busy = 1 - std::exp(-lambda);
        testing::ExpectConditionalCurve(
            ErlangAQueueGraphPoints(s),
            [&](double n) { return Above(lambda, static_cast<int>(n) + 1).tail / busy; }, 1e-9);
    }
}

// ---- M/M/1+M ---------------------------------------------------------------------------

// With y = 1 / theta and x = lambda / theta, 1 / P{L = 0} = 1 + lambda y e^x x^-y gamma(y, x),
// gamma the lower incomplete gamma function; one server serves 1 - P0 per unit of time, so
// Pab = 1 - (1 - P0) / lambda and E(Lq) = lambda Pab / theta.
TEST(ErlangASingleServer, MatchesTheIncompleteGammaClosedForm) {
    const struct { double rho, theta; } kRows[] = {{0.5, 0.25}, {0.9, 0.5}, {1.5, 0.1}, {2, 0.02}};
    for (const auto& r : kRows) {
        const long double x = r.rho / r.theta, y = 1 / r.theta;
        const long double gamma = testing::Simpson<long double>(
            [&](long double s) { return s <= 0 ? 0 : std::exp((y - 1) * std::log(s) - s); }, 0, x,
            20000);
        const long double P0 =
            1 / (1 + std::exp(std::log(r.rho * y * gamma) + x - y * std::log(x)));
        const long double Pab = 1 - (1 - P0) / r.rho;
        const ErlangASolution s = SolveErlangA(1, r.rho, r.theta);
        EXPECT_REL_NEAR(s.statistics.Pwait, 1 - P0, 1e-10) << r.rho << " " << r.theta;
        EXPECT_REL_NEAR(s.Pab, Pab, 1e-10) << r.rho << " " << r.theta;
        EXPECT_REL_NEAR(s.statistics.ELq, r.rho * Pab / r.theta, 1e-10) << r.rho;
    }
}

// ---- The two ends of patience ----------------------------------------------------------

// Patience without end is M/M/c: Erlang's delay formula, exponential waits at rate c (1 - rho).
// Instant abandonment is the loss system M/M/c/c: whoever finds the servers busy leaves.
TEST(ErlangAEnds, ApproachErlangsDelayAndLossFormulas) {
    for (const auto& [c, rho] :
         {std::pair{1, 0.5}, std::pair{10, 0.9}, std::pair{100, 0.95}, std::pair{2500, 0.8}}) {
        const ErlangASolution s = SolveErlangA(c, rho, 1e-9);
        const long double C = testing::ErlangC(c, rho), rate = c * (1 - rho);
        EXPECT_REL_NEAR(s.statistics.Pwait, C, 1e-6) << c;
        EXPECT_REL_NEAR(s.statistics.EWq, C / rate, 1e-6) << c;
        EXPECT_REL_NEAR(s.statistics.StdWq, std::sqrt(2 * C - C * C) / rate, 1e-6) << c;
        EXPECT_REL_NEAR(s.EWqServed, C / rate, 1e-6) << c;
        // Deep in the tail the few who abandon count: at t the queue ahead holds some lambda t.
        EXPECT_REL_NEAR(ErlangAWaitingTail(s, 1 / rate), C / std::exp(1.0L), 1e-6) << c;
        EXPECT_LT(s.Pab, 1e-6);
    }
    for (const auto& [c, rho] :
         {std::pair{1, 0.5}, std::pair{5, 2.0}, std::pair{50, 1.2}, std::pair{2500, 0.9}}) {
        const ErlangASolution s = SolveErlangA(c, rho, 1e12);
        const long double B = testing::ErlangB(c, c * rho);
        EXPECT_REL_NEAR(s.statistics.Pwait, B, 1e-6) << c;
        EXPECT_REL_NEAR(s.Pab, B, 1e-6) << c;
        EXPECT_LT(s.statistics.EWq, 1e-8) << c;
    }
}

// ---- The offered wait by a second method -------------------------------------------------

// The arrival finds j waiting with probability P{L = c + j} (the product form, summed here on its
// own); j falls at rate c + j theta until service begins. Uniformised at the largest rate.
long double UniformisedOfferedTail(int c, double rho, double theta, double t) {
    std::vector<long double> pi{1};
    long double total = 1;
    for (int n = 1; pi.back() > 1e-30L * total || n <= c; ++n) {
        pi.push_back(pi.back() * c * rho / (n <= c ? n : c + (n - c) * theta));
        total += pi.back();
    }
    std::vector<long double> ahead(pi.begin() + c, pi.end());
    for (long double& q : ahead)
        q /= total;
    const int J = static_cast<int>(ahead.size()) - 1;
    const long double rate = c + J * theta;
    long double tail = 0;
    for (int k = 0; k < rate * t + 40 * std::sqrt(rate * t) + 40; ++k) {
        long double left = 0;
        for (const long double q : ahead)
            left += q;
        tail += PoissonTerm(rate * t, k) * left;
        for (int j = 0; j <= J; ++j) {  // one jump: j - 1 with probability (c + j theta) / rate
            const long double down = ahead[j] * (c + j * theta) / rate;
            ahead[j] -= down;
            if (j > 0) ahead[j - 1] += down;
        }
    }
    return tail;
}

TEST(ErlangAOfferedWait, MatchesUniformisationOfThePureDeathChain) {
    const struct {
        int c;
        double rho, theta;
    } kRows[] = {{3, 0.9, 0.5}, {1, 2, 0.05}, {20, 1.5, 0.2}, {50, 0.8, 5}};
    for (const auto& r : kRows) {
        const ErlangASolution s = SolveErlangA(r.c, r.rho, r.theta);
        for (const double t : {0.05, 0.5, 2.0, 5.0}) {
            const long double V = UniformisedOfferedTail(r.c, r.rho, r.theta, t);
            EXPECT_REL_NEAR_FLOOR(ErlangAOfferedTail(s, t), V, 1e-9, 1e-15) << r.c << " " << t;
            EXPECT_REL_NEAR_FLOOR(ErlangAWaitingTail(s, t), V * std::exp(-r.theta * t), 1e-9,
                                  1e-15);
        }
        testing::ExpectPercentiles([&](double p) { return ErlangAPercentile(s, p); },
                                   [&](double x) { return ErlangAWaitingTail(s, x); },
                                   1 - s.statistics.Pwait, testing::AtNoWaitMass::Undefined, 1e-11);
    }
}

// ---- Laws and moments ------------------------------------------------------------------------

// E(Wq) and E(Wq^2) are the integrals of P{Wq > t} and 2 t P{Wq > t}, the served customers' mean
// wait E(V; V < patience) / P{served} the integral of P{V > t} (1 - theta t) e^(-theta t), all
// over the closed-form tails; Little's law and the flow balance lambda = services +
// abandonments hold on the state probabilities.
TEST(ErlangAWaitingMoments, AreTheIntegralsOfTheTailsAndKeepLittlesLaw) {
    const struct {
        int c;
        double rho, theta;
    } kRows[] = {{1, 2, 0.01}, {10, 0.95, 0.5}, {2500, 0.999, 100}, {2500, 2, 0.01}};
    for (const auto& r : kRows) {
        const ErlangASolution s = SolveErlangA(r.c, r.rho, r.theta);
        const QueueStatistics& st = s.statistics;
        double end = 1e-3;
        while (ErlangAOfferedTail(s, end) > 1e-18 * st.Pwait)
            end *= 2;
        long double EWq = 0, EWq2 = 0, servedWait = 0;
        const int pieces = 400;
        for (int i = 0; i < pieces; ++i) {
            const auto rule =
                GaussLegendre<long double>(20, end * i / pieces, end * (i + 1) / pieces, 1e-15L);
            for (std::size_t k = 0; k < rule.nodes.size(); ++k) {
                const double t = static_cast<double>(rule.nodes[k]);
                const long double V = ErlangAOfferedTail(s, t), decay = std::exp(-r.theta * t);
                EWq += rule.weights[k] * V * decay;
                EWq2 += rule.weights[k] * 2 * t * V * decay;
                servedWait += rule.weights[k] * V * (1 - r.theta * t) * decay;
            }
        }
        EXPECT_REL_NEAR(st.EWq, EWq, 1e-9) << r.c << " " << r.theta;
        EXPECT_REL_NEAR(st.StdWq, std::sqrt(EWq2 - EWq * EWq), 1e-8) << r.c << " " << r.theta;
        EXPECT_REL_NEAR(s.EWqServed, servedWait / (1 - s.Pab), 1e-8) << r.c << " " << r.theta;

        const long double lambda = static_cast<long double>(r.c) * r.rho;
        long double busy = 0;
        for (int n = 0; n <= s.top; ++n)
            busy += std::min(n, r.c) * static_cast<long double>(ErlangAState(s, n).equal);
        EXPECT_REL_NEAR(st.EWq, st.ELq / lambda, 1e-12) << r.c;
        EXPECT_REL_NEAR(s.Pab, r.theta * st.ELq / lambda, 1e-12) << r.c;
        EXPECT_REL_NEAR(busy + r.theta * st.ELq, lambda, 1e-12) << r.c;
        // The tab's n-values reach past every chain it keeps.
        EXPECT_LT(s.top, kErlangAGroups[1].upper);
    }
}

}  // namespace
}  // namespace wachtrix
