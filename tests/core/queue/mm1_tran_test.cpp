#include "core/queue/mm1_tran.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/text/number_parse.h"
#include "support/expect_near.h"
#include "support/recording_host.h"

namespace wachtrix {
namespace {

using testing::RecordingHost;

// The distribution of the number in system at time t by uniformisation of the birth-death chain
// truncated at `states` states, in long double: an independent second method.
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

TEST_P(MM1TranAgainstUniformisation, AllMeasures) {
    const TransientCase c = GetParam();
    // 700 states: the mass beyond them is below 1e-20 for every case here.
    const auto pi = Uniformised(c.rho, c.i, c.t, 700);
    const MM1Transient model(c.rho, c.i, c.j);
    const MM1TranMeasures m = model.Measures(c.t);
    ExpectMeasuresNear(m, MeasuresOf(pi, c.j));
    EXPECT_EQ(model.StateProbability(c.t), m.p);
    EXPECT_EQ(model.Cumulative(c.t), m.P);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MM1TranAgainstUniformisation,
    ::testing::Values(TransientCase{0.5, 0, 0, 0.01}, TransientCase{0.5, 3, 5, 1},
                      TransientCase{0.5, 53, 0, 20}, TransientCase{0.5, 53, 60, 2},
                      TransientCase{0.9, 10, 2, 5}, TransientCase{0.9, 5, 5, 1000},
                      TransientCase{0.2, 22, 0, 3}, TransientCase{0.2, 0, 100, 50},
                      TransientCase{0.99, 100, 100, 50}, TransientCase{0.99, 0, 30, 300},
                      TransientCase{0.7, 50, 40, 0.3}, TransientCase{1e-9, 1, 0, 0.5},
                      TransientCase{0.9901, 100, 0, 100}));

TEST(MM1Tran, StartsInTheInitialState) {
    for (const auto& [rho, i] : {std::pair{0.5, 0}, {0.5, 7}, {0.99, 100}, {1e-9, 1}}) {
        for (const int j : {0, i, i + 1, 100}) {
            const MM1TranMeasures m = MM1Transient(rho, i, j).Measures(0);
            EXPECT_NEAR(m.p, j == i ? 1 : 0, 1e-12) << rho << " " << i << " " << j;
            EXPECT_NEAR(m.P, j >= i ? 1 : 0, 1e-12) << rho << " " << i << " " << j;
            EXPECT_REL_NEAR_FLOOR(m.EL, i, 1e-11L, 1e-11L);
            EXPECT_REL_NEAR_FLOOR(m.EL2, i * i, 1e-9L, 1e-9L);
            EXPECT_REL_NEAR_FLOOR(m.ELq, std::max(i - 1, 0), 1e-11L, 1e-11L);
            // Roots of a difference of squares that cancels to the error of E(L^2): about
            // 1e-6 at rho = 0.99 and i = 100, so 0.001 there.
            EXPECT_LT(m.StdL, 2e-3);
            EXPECT_LT(m.StdLq, 2e-3);
        }
    }
}

TEST(MM1Tran, LeavesTheInitialStateSlowlyAtFirst) {
    // From 0 the first event is an arrival at rate rho: p(0,0,t) is about exp(-rho t).
    EXPECT_NEAR(MM1Transient(0.5, 0, 0).Cumulative(0.01), 0.995, 0.0001);
    EXPECT_NEAR(MM1Transient(0.5, 0, 0).StateProbability(0.01), std::exp(-0.005), 5e-5);
    // From i > 0 events come at rate 1 + rho.
    EXPECT_NEAR(MM1Transient(0.8, 4, 4).StateProbability(1e-4), std::exp(-1.8e-4), 1e-8);
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

TEST(MM1Tran, GraphValuesAreTheMeasures) {
    const MM1Transient model(0.8, 6, 2);
    const MM1TranMeasures m = model.Measures(3.5);
    EXPECT_EQ(model.GraphValue(MM1GraphKind::StateProbability, 3.5), m.p);
    EXPECT_EQ(model.GraphValue(MM1GraphKind::Cumulative, 3.5), m.P);
    EXPECT_EQ(model.GraphValue(MM1GraphKind::MeanQueue, 3.5), m.ELq);
    EXPECT_EQ(model.GraphValue(MM1GraphKind::StdQueue, 3.5), m.StdLq);
}

TEST(MM1Tran, GraphHas201PointsFromZeroToT) {
    const MM1Transient model(0.5, 2, 2);
    const auto points = MM1TranGraphPoints(model, MM1GraphKind::StateProbability, 40);
    ASSERT_EQ(points.size(), 201u);
    EXPECT_EQ(points.front().x, 0);
    EXPECT_NEAR(points.front().y, 1, 1e-12);
    EXPECT_EQ(points[100].x, 20);
    EXPECT_EQ(points.back().x, 40);
    EXPECT_NEAR(points.back().y, Uniformised(0.5, 2, 40, 200)[2], 1e-9);
}

TEST(MM1MaxInitialState, IsWhereRhoToTheIFallsTo1e16) {
    const struct {
        double rho;
        int imax;
    } cases[] = {{0, 1},      {1e-9, 1},     {1e-12, 1}, {1e-8, 2},  {0.01, 8},
                 {0.1, 16},   {0.2, 22},     {0.5, 53},  {0.69, 99}, {0.7, 100},
                 {0.99, 100}, {0.9901, 100}, {1.0, 100}, {5.0, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(MM1MaxInitialState(c.rho), c.imax) << c.rho;
}

// The bound the tab shows beside i is the one the run holds; a load of 0 runs as 1e-9.
TEST(MM1TranRun, AcceptsInitialStatesUpToTheShownBound) {
    for (const char* rho : {"0", "1e-9", "0.2", "0.5", "0.69", "0.9901"}) {
        const int imax = MM1MaxInitialState(*ParseReal(rho));
        if (*ParseReal(rho) <= 0.99) {  // no bound is shown near 1
            EXPECT_EQ(MM1InitialStateRangeLabel(*ParseReal(rho)), "<= " + std::to_string(imax));
        }
        RecordingHost at, beyond;
        testing::RunRecorded(at, std::string("mm1tran j=0 t=1 rho=") + rho +
                                     " i=" + std::to_string(imax));
        EXPECT_TRUE(at.errors.empty()) << rho;
        testing::RunRecorded(beyond, std::string("mm1tran j=0 t=1 rho=") + rho +
                                         " i=" + std::to_string(imax + 1));
        ASSERT_EQ(beyond.errors.size(), 1u) << rho;
        EXPECT_EQ(beyond.errors[0].text, "i out of bounds");
        EXPECT_EQ(beyond.errors[0].field, "MM1_initial_state_edit");
    }
}

TEST(MM1TranTable, RowsKeepTheirWidths) {
    EXPECT_EQ(MM1TranTableHeader(), "     t p(i,j,t) P(i,j,t) ELq(i,t)Std Lq(i,t)");
    MM1TranMeasures m;
    m.p = 0.1234567;
    m.P = -0.5;
    m.ELq = 12.345678;
    m.StdLq = 0.25;
    EXPECT_EQ(MM1TranTableRow(0.5, m), "0.5000 0.123457 0.500000   12.346   0.2500");
    EXPECT_EQ(MM1TranTableRow(150, m), " 150.0 0.123457 0.500000   12.346   0.2500");
}

// Each graph kind: one GMC window, its labels, a blue line of 201 points over [0, T].
TEST(MM1TranRun, GraphsOfEachKind) {
    const struct {
        int output;
        const char* title;
        const char* states;
        double y0;  // at t = 0, from i = 4 with j = 4
    } cases[] = {{1, "p{i,j,t}", "i=4 j=4", 1},
                 {2, "P{i,j,t} (cumulative)", "i=4 j=4", 1},
                 {3, "ELq(i,t)", "i=4", 3},
                 {4, "Std Lq(i,t)", "i=4", 0}};
    for (const auto& c : cases) {
        RecordingHost host;
        testing::RunRecorded(host, "mm1tran rho=0.8 i=4 T=250 output=" +
                                       std::to_string(c.output) + (c.output <= 2 ? " j=4" : ""));
        EXPECT_TRUE(host.errors.empty()) << c.title;
        EXPECT_TRUE(host.sink.lines.empty()) << c.title;
        ASSERT_EQ(host.windows.size(), 1u);
        const auto& w = host.windows[0];
        EXPECT_EQ(w.kind, GraphWindowKind::GMC);
        EXPECT_EQ(w.labels, (std::vector<std::string>{"Transient M/M/1 queue", "rho = 0.8",
                                                      c.states, "t <= 250", ""}));
        ASSERT_TRUE(w.shown);
        const ChartPlot& plot = w.charts.at(0);
        EXPECT_EQ(plot.graphTitle, c.title);
        EXPECT_EQ(plot.xAxis.title, "Time t");
        EXPECT_EQ(plot.xAxis.min, 0);
        EXPECT_EQ(plot.xAxis.max, 250);
        EXPECT_EQ(plot.yAxis.logScale, false);
        EXPECT_EQ(plot.yAxis.autoSizing, true);
        EXPECT_EQ(plot.yAxis.autoStepping, true);
        EXPECT_TRUE(plot.drawLine && !plot.drawPoints);
        EXPECT_EQ(plot.color, kChartBlue);
        ASSERT_EQ(plot.points.size(), 201u);
        EXPECT_NEAR(plot.points[0].y, c.y0, 1e-3);
        EXPECT_EQ(plot.points[200].x, 250);
    }
}

}  // namespace
}  // namespace wachtrix
