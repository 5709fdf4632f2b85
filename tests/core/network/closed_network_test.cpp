// The closed networks against references computed another way: the machine-repair queue and a
// birth-death chain at N = 1000 (where the usual load-dependent recursion has lost its digits),
// the brute-force Markov chain of small networks at every population, and the identities every
// solution obeys.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <vector>

#include "core/markov/steady_state.h"
#include "core/network/closed_network.h"
#include "core/network/population_charts.h"
#include "core/queue/machine.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

struct StationSpec {
    int servers;
    double serviceTime;
};

// A checked closed network; routing rows as given.
Network Closed(const std::vector<StationSpec>& stations, std::vector<std::vector<double>> routing,
               int population) {
    NetworkInput in;
    in.kind = NetworkKind::Closed;
    for (const StationSpec& s : stations) {
        in.servers.push_back(s.servers);
        in.serviceTimes.push_back(s.serviceTime);
    }
    in.routing = std::move(routing);
    in.population = population;
    CheckedNetwork checked = CheckNetwork(in);
    EXPECT_TRUE(checked.network) << checked.fault.message;
    return checked.network.value_or(Network{});
}

Network Cycle(StationSpec a, StationSpec b, int population) {
    return Closed({a, b}, {{0, 1}, {1, 0}}, population);
}

// ---- machine repair: machines working (a delay station, mean time 1/nu to a failure) and c
// repairmen with mean repair time 1 ----

struct RepairCase {
    int c, machines;
    double nu;
};

class MachineRepair : public ::testing::TestWithParam<RepairCase> {};

TEST_P(MachineRepair, IsTheFiniteSourceQueue) {
    const auto [c, machines, nu] = GetParam();
    const std::vector<double> p =
        FinSrcExponentialProbabilities(std::min(c, machines), machines, nu);
    long double repairs = 0, broken = 0, waiting = 0;
    for (int j = 0; j <= machines; ++j) {
        repairs += p[j] * std::min(j, c);
        broken += p[j] * j;
        waiting += p[j] * std::max(j - c, 0);
    }
    const NetworkFigures f = SolveClosedNetwork(Cycle({0, 1 / nu}, {c, 1}, machines));
    EXPECT_REL_NEAR(f.throughput, repairs, 1e-10);
    EXPECT_REL_NEAR(f.stations[1].meanNumber, broken, 1e-10);
    EXPECT_REL_NEAR_FLOOR(f.stations[1].meanQueue, waiting, 1e-9, 1e-12);
    EXPECT_REL_NEAR(f.stations[0].meanNumber, machines - broken, 1e-10);
    EXPECT_REL_NEAR(f.stations[1].utilisation, repairs / c, 1e-10);
}

// Light, balanced and saturated repair shops, up to a thousand machines.
INSTANTIATE_TEST_SUITE_P(Shops, MachineRepair,
                         ::testing::Values(RepairCase{1, 10, 0.05}, RepairCase{3, 1000, 0.01},
                                           RepairCase{50, 1000, 0.05}, RepairCase{40, 1000, 0.0401},
                                           RepairCase{7, 1000, 0.5}, RepairCase{500, 1000, 2.0}));

// ---- two multi-server stations in a cycle: a birth-death chain in the customers at the first
// station, its probabilities built in logarithms ----

struct CycleCase {
    int c1;
    double s1;
    int c2;
    double s2;
    int population;
};

class TwoStationCycle : public ::testing::TestWithParam<CycleCase> {};

TEST_P(TwoStationCycle, IsTheBirthDeathChain) {
    const auto [c1, s1, c2, s2, n] = GetParam();
    std::vector<long double> logP(n + 1, 0);
    for (int i = 0; i < n; ++i)  // i -> i+1 at the second station's rate, back at the first's
        logP[i + 1] =
            logP[i] + std::log(std::min(n - i, c2) / s2) - std::log(std::min(i + 1, c1) / s1);
    const long double top = *std::max_element(logP.begin(), logP.end());
    long double total = 0, served = 0, number = 0, queue = 0;
    for (int i = 0; i <= n; ++i) {
        const long double p = std::exp(logP[i] - top);
        total += p;
        served += p * std::min(i, c1) / s1;
        number += p * i;
        queue += p * std::max(i - c1, 0);
    }
    const NetworkFigures f = SolveClosedNetwork(Cycle({c1, s1}, {c2, s2}, n));
    EXPECT_REL_NEAR(f.throughput, served / total, 1e-11);
    EXPECT_REL_NEAR(f.stations[0].meanNumber, number / total, 1e-11);
    EXPECT_REL_NEAR_FLOOR(f.stations[0].meanQueue, queue / total, 1e-10, 1e-13);
    EXPECT_REL_NEAR(f.stations[1].meanNumber, n - number / total, 1e-11);
}

// Balanced stations (equal service capacity) are the hardest: neither lets the other's idle
// probability fall away geometrically.
INSTANTIATE_TEST_SUITE_P(Cycles, TwoStationCycle,
                         ::testing::Values(CycleCase{3, 1.0, 5, 5.0 / 3, 1000},
                                           CycleCase{2, 1.0, 4, 1.0, 1000},
                                           CycleCase{6, 2.0, 1, 0.2, 1000},
                                           CycleCase{3, 1.0, 5, 1.2, 7},
                                           CycleCase{12, 0.5, 12, 0.5, 999}));

// ---- brute force: the Markov chain of the customer counts ----

// Every way to place n customers at k stations.
std::vector<std::vector<int>> Placements(int n, int k) {
    if (k == 1) return {{n}};
    std::vector<std::vector<int>> all;
    for (int first = 0; first <= n; ++first)
        for (std::vector<int> rest : Placements(n - first, k - 1)) {
            rest.insert(rest.begin(), first);
            all.push_back(rest);
        }
    return all;
}

struct ChainFigures {
    long double throughput = 0;  // station 1's completions, its returns to itself included
    std::vector<long double> number, queue;
};

ChainFigures BruteForce(const std::vector<StationSpec>& stations,
                        const std::vector<std::vector<double>>& routing, int n) {
    const int k = static_cast<int>(stations.size());
    const std::vector<std::vector<int>> states = Placements(n, k);
    const int m = static_cast<int>(states.size());
    std::map<std::vector<int>, int> index;
    for (int i = 0; i < m; ++i)
        index[states[i]] = i + 1;
    const auto rate = [&](const std::vector<int>& s, int a) {
        const int c = stations[a].servers;
        return (c == 0 ? s[a] : std::min(s[a], c)) / stations[a].serviceTime;
    };
    Matrix q(m + 1, std::vector<double>(m + 1, 0.0));
    for (int i = 0; i < m; ++i)
        for (int a = 0; a < k; ++a)
            for (int b = 0; b < k; ++b) {
                std::vector<int> to = states[i];
                if (a == b || to[a] == 0) continue;
                --to[a];
                ++to[b];
                q[i + 1][index[to]] += rate(states[i], a) * routing[a][b];
            }
    const SteadyState chain = SolveContinuousSteadyState(q, m);
    EXPECT_TRUE(chain.solved);
    ChainFigures f{0, std::vector<long double>(k, 0), std::vector<long double>(k, 0)};
    for (int i = 0; i < m; ++i) {
        const double p = chain.x[i + 1];
        f.throughput += p * rate(states[i], 0);
        for (int a = 0; a < k; ++a) {
            f.number[a] += p * states[i][a];
            if (stations[a].servers > 0)
                f.queue[a] += p * std::max(states[i][a] - stations[a].servers, 0);
        }
    }
    return f;
}

// Three stations; and five, where the 20-server station after the 3-server one makes the
// latter's complement a full product of sequences and the last station's is the plain prefix.
// The populations' throughputs too.
TEST(SmallNetworks, AreTheirMarkovChainsAtEveryPopulation) {
    const struct {
        std::vector<StationSpec> stations;
        std::vector<std::vector<double>> routing;
    } networks[] = {
        {{{0, 2.0}, {1, 0.5}, {2, 0.9}}, {{0.1, 0.5, 0.4}, {0.3, 0.2, 0.5}, {0.6, 0.4, 0}}},
        {{{0, 30.0}, {1, 0.2}, {3, 0.7}, {20, 3.0}, {2, 0.4}},
         {{0, 0.3, 0.3, 0.2, 0.2},
          {0.5, 0, 0.5, 0, 0},
          {0.6, 0, 0, 0.4, 0},
          {1, 0, 0, 0, 0},
          {0.2, 0.2, 0.2, 0.2, 0.2}}}};
    const int largest = 8;
    for (const auto& [stations, routing] : networks) {
        const std::vector<PopulationRow> rows =
            ClosedPopulations(Closed(stations, routing, largest));
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(largest));
        for (int n = 1; n <= largest; ++n) {
            const ChainFigures chain = BruteForce(stations, routing, n);
            const NetworkFigures f = SolveClosedNetwork(Closed(stations, routing, n));
            EXPECT_REL_NEAR(f.throughput, chain.throughput, 1e-10) << "N = " << n;
            EXPECT_REL_NEAR(rows[n - 1].throughput, chain.throughput, 1e-10) << "N = " << n;
            for (std::size_t k = 0; k < stations.size(); ++k) {
                EXPECT_REL_NEAR(f.stations[k].meanNumber, chain.number[k], 1e-10) << "N = " << n;
                EXPECT_REL_NEAR_FLOOR(f.stations[k].meanQueue, chain.queue[k], 1e-9, 1e-14)
                    << "N = " << n;
            }
        }
    }
}

// ---- identities at the largest size: 50 stations, N = 1000 ----

Network LargestNetwork() {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> uniform(0.1, 1.0);
    std::vector<StationSpec> stations;
    std::vector<std::vector<double>> routing;
    for (int k = 0; k < kMaxStations; ++k) {
        const int kind = k % 4;  // delay, one server, a few, many
        stations.push_back({kind == 0   ? 0
                            : kind == 1 ? 1
                            : kind == 2 ? 2 + k % 5
                                        : 40 + k,
                            kind == 0 ? 30 * uniform(rng) : uniform(rng)});
        std::vector<double> row(kMaxStations);
        double sum = 0;
        for (double& r : row)
            sum += r = uniform(rng);
        for (double& r : row)
            r /= sum;
        routing.push_back(row);
    }
    return Closed(stations, routing, kMaxPopulation);
}

TEST(LargestNetwork, KeepsItsCustomersAndServers) {
    const Network network = LargestNetwork();
    const NetworkFigures f = SolveClosedNetwork(network);
    long double customers = 0;
    for (int k = 0; k < network.StationCount(); ++k) {
        const StationFigures& s = f.stations[k];
        customers += s.meanNumber;
        // E(L) - E(Lq) are the busy servers, X D_k: both sides from different sums.
        EXPECT_REL_NEAR(s.meanNumber - s.meanQueue, f.throughput * network.Demand(k), 1e-10)
            << "station " << k + 1;
        EXPECT_REL_NEAR(s.meanResponse * s.throughput, s.meanNumber, 1e-12);
        if (s.servers > 0) {
            EXPECT_LT(s.utilisation, 1);
        }
    }
    EXPECT_REL_NEAR(customers, kMaxPopulation, 1e-12);
}

TEST(LargestNetwork, ThroughputRisesBelowItsBoundsTowardsTheBottleneckAndCycleTimeAbove) {
    const Network network = LargestNetwork();
    const ThroughputBounds bounds = BoundsOf(network);
    ASSERT_GE(bounds.bottleneck, 0);
    const std::vector<PopulationRow> rows = ClosedPopulations(network);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_LE(rows[i].throughput, rows[i].throughputBound * (1 + 1e-12)) << rows[i].population;
        // Rising, where it rises by more than round-off.
        if (i > 0) {
            EXPECT_GE(rows[i].throughput, rows[i - 1].throughput * (1 - 1e-15))
                << rows[i].population;
        }
        EXPECT_REL_NEAR(rows[i].cycleTime * rows[i].throughput, rows[i].population, 1e-14);
    }
    EXPECT_REL_NEAR(rows.front().throughput, 1 / (bounds.queueingDemand + bounds.delayDemand),
                    1e-12);
    EXPECT_GT(rows.back().throughput, 0.99 * bounds.bottleneckRate);

    // The cycle time stays above its charted bound.
    const std::vector<PopulationChart> charts = PopulationCharts(rows);
    ASSERT_EQ(charts.size(), 4u);
    const std::vector<ChartPoint>& cycle = charts[2].plot.points;
    const std::vector<ChartPoint>& bound = charts[3].plot.points;
    ASSERT_EQ(charts[3].chart, 1);
    ASSERT_EQ(bound.size(), static_cast<std::size_t>(kMaxPopulation));
    for (std::size_t i = 0; i < bound.size(); ++i) {
        const double n = static_cast<double>(i + 1);
        const double expected =
            std::max(bounds.queueingDemand + bounds.delayDemand, n / bounds.bottleneckRate);
        EXPECT_REL_NEAR(bound[i].y, expected, 1e-14) << n;
        EXPECT_GE(cycle[i].y, bound[i].y * (1 - 1e-14)) << n;
    }
}

TEST(Bounds, OneOverTheLargestDemandIsNoBoundForSeveralServers) {
    // Two servers of demand 1 beside a delay of 1: X(N) tends to 2, not to 1/D_max = 1.
    const Network network = Cycle({0, 1}, {2, 1}, 200);
    const ThroughputBounds bounds = BoundsOf(network);
    EXPECT_EQ(bounds.bottleneck, 1);
    EXPECT_DOUBLE_EQ(bounds.bottleneckRate, 2);
    const double x = SolveClosedNetwork(network).throughput;
    EXPECT_GT(x, 1.999);
    EXPECT_LE(x, 2);
}

TEST(NeverVisitedStation, HoldsNoCustomers) {
    // Nobody routes into station 3: it is left at once and never entered again.
    const Network network =
        Closed({{1, 1}, {2, 1}, {1, 5}}, {{0, 1, 0}, {1, 0, 0}, {0.5, 0.5, 0}}, 50);
    EXPECT_EQ(network.visits[2], 0);
    const NetworkFigures f = SolveClosedNetwork(network);
    EXPECT_EQ(f.stations[2].meanNumber, 0);
    EXPECT_EQ(f.stations[2].meanResponse, 5);
    const NetworkFigures two = SolveClosedNetwork(Cycle({1, 1}, {2, 1}, 50));
    EXPECT_REL_NEAR(f.throughput, two.throughput, 1e-14);
}

}  // namespace
}  // namespace wachtrix
