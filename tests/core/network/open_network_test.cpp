// The open networks against Jackson's theorem with independent references: Erlang's delay
// formula for each station's M/M/c queue, lambda S for a delay station, the traffic equations
// and Little's law.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/network/open_network.h"
#include "support/expect_near.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

Network Open(std::vector<double> servers, std::vector<double> serviceTimes,
             std::vector<double> arrivals, std::vector<std::vector<double>> routing) {
    NetworkInput in;
    in.kind = NetworkKind::Open;
    in.servers = std::move(servers);
    in.serviceTimes = std::move(serviceTimes);
    in.arrivalRates = std::move(arrivals);
    in.routing = std::move(routing);
    CheckedNetwork checked = CheckNetwork(in);
    EXPECT_TRUE(checked.network) << checked.fault.message;
    return checked.network.value_or(Network{});
}

// E(Lq) and E(Wq) of M/M/c from Erlang's delay formula.
struct Erlang {
    long double queue, wait;
};
Erlang ErlangQueue(int c, long double lambda, long double s) {
    const long double rho = lambda * s / c;
    const long double delay = testing::ErlangC(c, rho);
    return {delay * rho / (1 - rho), delay * s / (c * (1 - rho))};
}

TEST(Tandem, IsIndependentQueues) {
    // 1 -> 2 -> 3 -> out, with the arrivals at the first station; every station sees lambda.
    const double lambda = 1.7;
    const std::vector<double> servers{1, 3, 40}, times{0.55, 1.6, 20};
    const Network network = Open(servers, times, {lambda, 0, 0}, {{0, 1, 0}, {0, 0, 1}, {0, 0, 0}});
    const NetworkFigures f = SolveOpenNetwork(network);
    long double customers = 0;
    for (int k = 0; k < 3; ++k) {
        const Erlang e = ErlangQueue(static_cast<int>(servers[k]), lambda, times[k]);
        const StationFigures& s = f.stations[k];
        EXPECT_REL_NEAR(s.throughput, lambda, 1e-14);
        EXPECT_REL_NEAR(s.meanQueue, e.queue, 1e-10) << "station " << k + 1;
        EXPECT_REL_NEAR(s.meanResponse, e.wait + times[k], 1e-10) << "station " << k + 1;
        EXPECT_REL_NEAR(s.meanNumber, e.queue + lambda * times[k], 1e-10);
        EXPECT_REL_NEAR(s.utilisation, lambda * times[k] / servers[k], 1e-14);
        customers += s.meanNumber;
    }
    EXPECT_REL_NEAR(f.meanNumber, customers, 1e-14);
    EXPECT_REL_NEAR(f.meanTime, customers / lambda, 1e-14);  // Little's law for the network
}

TEST(FeedbackNetwork, SolvesTheTrafficEquations) {
    // Arrivals at two stations, feedback loops, a delay station and one station only reached
    // from the others.
    const std::vector<double> gamma{0.4, 0.3, 0, 0};
    const std::vector<std::vector<double>> r{
        {0.1, 0.3, 0.2, 0.3}, {0.2, 0, 0.5, 0}, {0.25, 0.25, 0, 0.2}, {0, 0, 0.6, 0.3}};
    const Network network = Open({1, 2, 0, 4}, {0.3, 0.9, 4, 1.1}, gamma, r);
    const NetworkFigures f = SolveOpenNetwork(network);
    for (int k = 0; k < 4; ++k) {
        long double in = gamma[k];
        for (int j = 0; j < 4; ++j)
            in += f.stations[j].throughput * r[j][k];
        EXPECT_REL_NEAR(f.stations[k].throughput, in, 1e-13) << "station " << k + 1;
        EXPECT_REL_NEAR(f.stations[k].visits, f.stations[k].throughput / 0.7, 1e-13);
        EXPECT_REL_NEAR(f.stations[k].meanResponse * f.stations[k].throughput,
                        f.stations[k].meanNumber, 1e-13);
    }
    // The delay station: E(L) = lambda S, nobody waits, no utilisation per server.
    EXPECT_REL_NEAR(f.stations[2].meanNumber, f.stations[2].throughput * 4, 1e-14);
    EXPECT_EQ(f.stations[2].meanQueue, 0);
    EXPECT_TRUE(std::isnan(f.stations[2].utilisation));
    EXPECT_REL_NEAR(f.throughput, 0.7, 1e-15);
}

TEST(StationNobodyReaches, IsEmpty) {
    // Station 2 feeds station 1 but nothing reaches it.
    const Network network = Open({1, 1}, {0.5, 0.8}, {1, 0}, {{0, 0}, {1, 0}});
    const NetworkFigures f = SolveOpenNetwork(network);
    EXPECT_EQ(f.stations[1].throughput, 0);
    EXPECT_EQ(f.stations[1].meanNumber, 0);
    EXPECT_EQ(f.stations[1].meanResponse, 0.8);
    EXPECT_REL_NEAR(f.meanNumber, 1, 1e-14);  // M/M/1 at rho 1/2
}

TEST(WaitingTail, IsTheStationsExponentialTail) {
    const Network network = Open({2}, {1.5}, {1.2}, {{0}});
    const double rho = 1.2 * 1.5 / 2;
    const long double delay = testing::ErlangC(2, rho);
    for (const double t : {0.0, 0.5, 3.0})
        EXPECT_REL_NEAR(OpenStationWaitingTail(network, 0, t),
                        delay * std::exp(-2 * (1 - rho) * t / 1.5), 1e-12);
}

}  // namespace
}  // namespace wachtrix
