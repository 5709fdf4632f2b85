#include "core/queue/waiting_tails.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/expect_near.h"

namespace wachtrix {
namespace {

// Everyone admitted finds exactly j present.
std::vector<double> Finds(int j) {
    std::vector<double> seen(j + 1, 0.0);
    seen[j] = 1;
    return seen;
}

TEST(ExponentialServiceTail, MixesErlangTailsAtRateC) {
    const std::vector<double> seen = {0.2, 0.3, 0.5};  // one server: wait 0, Exp(1), Erlang(2)
    for (const double t : {0.0, 0.3, 1.0, 4.0}) {
        const double expected = 0.3 * std::exp(-t) + 0.5 * (1 + t) * std::exp(-t);
        EXPECT_REL_NEAR(ExponentialServiceTail(seen, 2.0, 1, t), 2 * expected, 1e-14) << t;
    }
    // Three servers, four ahead: two departures at rate 3 are needed.
    EXPECT_REL_NEAR(ExponentialServiceTail(Finds(4), 1, 3, 0.5), (1 + 1.5) * std::exp(-1.5), 1e-14);
    EXPECT_EQ(ExponentialServiceTail(Finds(2), 1, 3, 0.5), 0);
}

TEST(ExponentialServiceTail, AVeryLongQueueDoesNotUnderflow) {
    // 400 ahead of one server: the wait is Erlang(400), whose tail at t = 400 is about 1/2
    // although e^-400 alone underflows the guarded exponential.
    const double tail = ExponentialServiceTail(Finds(400), 1, 1, 400);
    EXPECT_NEAR(tail, 0.5, 0.02);
}

TEST(DeterministicServiceWait, OrderStatisticsOfUniformResiduals) {
    const DeterministicServiceWait one(1), two(2);
    // One server busy: the wait is the uniform residual.
    EXPECT_REL_NEAR(one.Tail(Finds(1), 1, 0.25), 0.75, 1e-14);
    EXPECT_REL_NEAR(one.SecondMoment(Finds(1), 1), 1.0 / 3, 1e-15);
    // Two busy, one waiting ahead: the later of two residuals.
    EXPECT_REL_NEAR(two.Tail(Finds(3), 1, 0.5), 0.75, 1e-14);
    EXPECT_REL_NEAR(two.SecondMoment(Finds(3), 1), 0.5, 1e-15);
    // Two waiting ahead: one whole service, then the earlier residual.
    EXPECT_REL_NEAR(two.Tail(Finds(4), 1, 1.5), 0.25, 1e-14);
    EXPECT_EQ(two.Tail(Finds(4), 1, 1.0), 1);
    EXPECT_EQ(two.Tail(Finds(4), 1, 2.0), 0);
    EXPECT_REL_NEAR(two.SecondMoment(Finds(4), 1), 11.0 / 6, 1e-15);
}

TEST(DeterministicServiceWait, BinomialTermsSumToOneAndHandleTheEnds) {
    const DeterministicServiceWait wait(300);
    for (const double u : {1e-13, 0.01, 0.5, 0.97, 1 - 1e-13}) {
        long double sum = 0;
        for (int s = 0; s <= 300; ++s)
            sum += wait.BinomialTerm(s, u);
        EXPECT_NEAR(static_cast<double>(sum), 1, 1e-12) << u;
    }
    EXPECT_EQ(wait.BinomialTerm(0, 1e-13), 1);
    EXPECT_EQ(wait.BinomialTerm(300, 1 - 1e-13), 1);
    EXPECT_EQ(wait.BinomialTerm(299, 1 - 1e-13), 0);
}

}  // namespace
}  // namespace wachtrix
