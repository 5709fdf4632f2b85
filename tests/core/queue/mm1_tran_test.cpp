#include "core/queue/mm1_tran.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/reference_table.h"

namespace wachtrix {
namespace {

// The distribution of the number in system at time t by uniformisation of the birth-death chain
// truncated at `states` states, in long double: a method of its own beside the model's series
// and integrals.
std::vector<long double> Uniformised(long double rho, int i, long double t, int states) {
    const long double rate = 1 + rho;
    std::vector<long double> x(states, 0), next(states), sum(states, 0);
    x[i] = 1;
    const long double mean = rate * t;
    long double weight = std::exp(-mean);  // fine in long double up to a mean of about 11000
    for (int k = 0;; ++k) {
        for (int n = 0; n < states; ++n)
            sum[n] += weight * x[n];
        if (k > mean + 12 * std::sqrt(mean) + 40) break;  // the Poisson tail is below 1e-25
        // One step of I + Q / rate: up with rho / rate, down with 1 / rate, the rest stays.
        for (int n = 0; n < states; ++n) {
            const long double up = n + 1 < states ? rho / rate : 0;
            const long double down = n > 0 ? 1 / rate : 0;
            next[n] = x[n] * (1 - up - down);
            if (n > 0) next[n] += x[n - 1] * rho / rate;
            if (n + 1 < states) next[n] += x[n + 1] / rate;
        }
        x.swap(next);
        weight *= mean / (k + 1);
    }
    return sum;
}

MM1TranMeasures MeasuresOf(const std::vector<long double>& pi, int j) {
    MM1TranMeasures m;
    long double Lq2 = 0;
    for (int n = 0; n < static_cast<int>(pi.size()); ++n) {
        if (n <= j) m.P += pi[n];
        m.EL += n * pi[n];
        m.EL2 += static_cast<long double>(n) * n * pi[n];
        if (n > 0) {
            m.ELq += (n - 1) * pi[n];
            Lq2 += static_cast<long double>(n - 1) * (n - 1) * pi[n];
        }
    }
    m.p = pi[j];
    m.StdL = std::sqrt(m.EL2 - m.EL * m.EL);
    m.StdLq = std::sqrt(Lq2 - m.ELq * m.ELq);
    return m;
}

// The 275-point rule is good to about 1e-10: near the largest initial states rho^(-i/2)
// magnifies the rounding of the sum, and with rho near 1 the factor g^-3 of E(L^2) peaks
// sharply at y = 0. The report prints six decimals, five and four digits.
void ExpectMeasuresNear(const MM1TranMeasures& actual, const MM1TranMeasures& expected) {
    EXPECT_NEAR(actual.p, expected.p, 1e-9);
    EXPECT_NEAR(actual.P, expected.P, 1e-9);
    EXPECT_REL_NEAR_FLOOR(actual.EL, expected.EL, 1e-10L, 1e-9L);
    EXPECT_REL_NEAR_FLOOR(actual.EL2, expected.EL2, 1e-9L, 2e-6L);
    EXPECT_REL_NEAR_FLOOR(actual.ELq, expected.ELq, 1e-10L, 1e-9L);
    EXPECT_REL_NEAR_FLOOR(actual.StdL, expected.StdL, 1e-7L, 1e-7L);
    EXPECT_REL_NEAR_FLOOR(actual.StdLq, expected.StdLq, 1e-7L, 1e-7L);
}

struct TransientCase {
    double rho;
    int i, j;
    double t;
};

class MM1TranAgainstUniformisation : public ::testing::TestWithParam<TransientCase> {};

// Every measure, and each printed figure of the table row to its last digit.
TEST_P(MM1TranAgainstUniformisation, AllMeasuresAndTheirPrintedFigures) {
    const TransientCase c = GetParam();
    // 700 states: the mass beyond them is below 1e-20 for every case here.
    const MM1TranMeasures expected = MeasuresOf(Uniformised(c.rho, c.i, c.t, 700), c.j);
    const MM1Transient model(c.rho, c.i, c.j);
    const MM1TranMeasures m = model.Measures(c.t);
    ExpectMeasuresNear(m, expected);
    EXPECT_EQ(model.StateProbability(c.t), m.p);
    EXPECT_EQ(model.Cumulative(c.t), m.P);

    const std::string t = FormatSig(6, 4, c.t);
    const std::string call = "mm1tran rho=" + Format("%.6g", {c.rho}) +
                             " i=" + std::to_string(c.i) + " j=" + std::to_string(c.j) +
                             " t=" + Format("%g", {c.t});
    const auto row = testing::TableRow(testing::ReportOf(call), t.substr(t.find_first_not_of(' ')));
    ASSERT_EQ(row.size(), 5u) << call;
    EXPECT_TRUE(testing::PrintedRight(row[1], expected.p)) << call;
    EXPECT_TRUE(testing::PrintedRight(row[2], expected.P)) << call;
    EXPECT_TRUE(testing::PrintedRight(row[3], expected.ELq)) << call;
    EXPECT_TRUE(testing::PrintedRight(row[4], expected.StdLq)) << call;
}

// t = 0 (exactly the initial state, a deviation of 0), small t near rho = 1 and with long
// initial queues, and times on both sides of where uniformisation hands over to the integrals.
INSTANTIATE_TEST_SUITE_P(
    Cases, MM1TranAgainstUniformisation,
    ::testing::Values(TransientCase{0.5, 0, 0, 0.01}, TransientCase{0.5, 3, 5, 1},
                      TransientCase{0.5, 53, 0, 20}, TransientCase{0.5, 53, 60, 2},
                      TransientCase{0.9, 10, 2, 5}, TransientCase{0.9, 5, 5, 1000},
                      TransientCase{0.2, 22, 0, 3}, TransientCase{0.2, 0, 100, 50},
                      TransientCase{0.99, 100, 100, 50}, TransientCase{0.99, 0, 30, 300},
                      TransientCase{0.7, 50, 40, 0.3}, TransientCase{1e-9, 1, 0, 0.5},
                      TransientCase{0.9901, 100, 0, 100}, TransientCase{0.99, 100, 50, 0},
                      TransientCase{0.99, 0, 0, 0.01}, TransientCase{0.5, 53, 1, 0.01},
                      TransientCase{0.7, 50, 40, 150}, TransientCase{0.5, 0, 0, 0}));

TEST(MM1Tran, StartsInTheInitialStateExactly) {
    for (const auto& [rho, i] : {std::pair{0.5, 0}, {0.5, 7}, {0.99, 100}, {1e-9, 1}}) {
        for (const int j : {0, i, i + 1, 100}) {
            const MM1TranMeasures m = MM1Transient(rho, i, j).Measures(0);
            EXPECT_EQ(m.p, j == i ? 1 : 0) << rho << " " << i << " " << j;
            EXPECT_EQ(m.P, j >= i ? 1 : 0) << rho << " " << i << " " << j;
            EXPECT_EQ(m.EL, i);
            EXPECT_EQ(m.EL2, i * i);
            EXPECT_EQ(m.ELq, std::max(i - 1, 0));
            EXPECT_EQ(m.StdL, 0);
            EXPECT_EQ(m.StdLq, 0);
        }
    }
}

TEST(MM1Tran, ReachesTheStationaryDistribution) {
    for (const double rho : {0.1, 0.5, 0.8}) {
        for (const int j : {0, 3, 20}) {
            const MM1TranMeasures m = MM1Transient(rho, 5, j).Measures(1e4);
            const long double r = rho;
            EXPECT_REL_NEAR(m.p, (1 - r) * std::pow(r, j), 1e-12L);
            EXPECT_REL_NEAR(m.P, 1 - std::pow(r, j + 1), 1e-12L);
            EXPECT_REL_NEAR(m.EL, r / (1 - r), 1e-12L);
            EXPECT_REL_NEAR(m.EL2, r * (1 + r) / ((1 - r) * (1 - r)), 1e-12L);
            EXPECT_REL_NEAR(m.ELq, r * r / (1 - r), 1e-12L);
            EXPECT_REL_NEAR(m.StdLq, std::sqrt(r * r * (1 + r - r * r)) / (1 - r), 1e-12L);
        }
    }
}

// 201 points over [0, T], each the measure the graph shows at its time, as a magnitude.
TEST(MM1Tran, GraphsAreTheMeasuresAt201Times) {
    const MM1Transient model(0.8, 6, 2);
    for (const MM1GraphKind kind : {MM1GraphKind::StateProbability, MM1GraphKind::Cumulative,
                                    MM1GraphKind::MeanQueue, MM1GraphKind::StdQueue}) {
        const auto points = MM1TranGraphPoints(model, kind, 40);
        ASSERT_EQ(points.size(), 201u);
        for (const int k : {0, 100, 137, 200}) {
            EXPECT_EQ(points[k].x, k * 40.0 / 200);
            const MM1TranMeasures m = model.Measures(points[k].x);
            EXPECT_EQ(points[k].y,
                      static_cast<double>(std::fabs(kind == MM1GraphKind::StateProbability ? m.p
                                                    : kind == MM1GraphKind::Cumulative     ? m.P
                                                    : kind == MM1GraphKind::MeanQueue      ? m.ELq
                                                                                      : m.StdLq)));
        }
    }
}

// The rows of tests/data/queue/mm1_tran.txt.
TEST(MM1MaxInitialState, IsWhereRhoToTheIFallsTo1e16AndTheRangeLabelSaysSo) {
    testing::CheckReferenceTable("queue/mm1_tran.txt",
                                 {{"MM1MaxInitialState",
                                   [](const testing::Numbers& a) {
                                       return testing::Numbers{double(MM1MaxInitialState(a[0]))};
                                   }},
                                  {"MM1InitialStateRangeLabel", [](const testing::Numbers& a) {
                                       return testing::Texts{MM1InitialStateRangeLabel(a[0])};
                                   }}});
}

// Rounding noise below 0 prints without its sign.
TEST(MM1TranTable, RowsPrintMagnitudes) {
    MM1TranMeasures m;
    m.p = 0.1234567;
    m.P = -0.5;
    m.ELq = 12.345678;
    m.StdLq = 0.25;
    EXPECT_EQ(MM1TranTableRow(150, m), " 150.0 0.123457 0.500000   12.346   0.2500");
}

}  // namespace
}  // namespace wachtrix
