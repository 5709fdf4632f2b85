// The largest closed network the program takes: 50 stations and N = 1000 customers, all routed
// to one another; a third of them delay stations, a third single servers and a third with 2 to 6
// servers, or all 50 with 2 to 6 servers (each then needing the constants of the network without
// it). From the check of the figures to the report, for the solve and the populations analyses
// (goal: under 50 ms each).

#include <benchmark/benchmark.h>

#include <random>

#include "core/network/network_report.h"

namespace {

using namespace wachtrix;

NetworkInput LargestClosedNetwork(bool mixed) {
    constexpr int kStations = 50;
    std::mt19937 rng(38);
    std::uniform_real_distribution<double> uniform(0.1, 1.0);
    NetworkInput in;
    in.kind = NetworkKind::Closed;
    in.population = kMaxPopulation;
    for (int k = 0; k < kStations; ++k) {
        const int kind = mixed ? k % 3 : 2;  // delay, one server, several
        in.servers.push_back(kind == 0 ? 0 : kind == 1 ? 1 : 2 + k % 5);
        in.serviceTimes.push_back(kind == 0 ? 20 * uniform(rng) : uniform(rng));
        std::vector<double> row(kStations);
        double sum = 0;
        for (double& r : row)
            sum += r = uniform(rng);
        for (double& r : row)
            r /= sum;
        in.routing.push_back(row);
    }
    return in;
}

void Run(benchmark::State& state, NetworkAnalysis analysis, bool mixed = true) {
    const NetworkInput in = LargestClosedNetwork(mixed);
    for (auto _ : state) {
        const CheckedNetwork checked = CheckNetwork(in);
        if (!checked.network) {
            state.SkipWithError(checked.fault.message.c_str());
            break;
        }
        const NetworkReport report = RunNetworkAnalysis(*checked.network, analysis);
        benchmark::DoNotOptimize(report.lines.data());
    }
}

void BM_ClosedNetworkSolve(benchmark::State& state) {
    Run(state, NetworkAnalysis::Solve);
}
void BM_ClosedNetworkPopulations(benchmark::State& state) {
    Run(state, NetworkAnalysis::Populations);
}
void BM_ClosedNetworkSolveAllSeveralServers(benchmark::State& state) {
    Run(state, NetworkAnalysis::Solve, false);
}
BENCHMARK(BM_ClosedNetworkSolve)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClosedNetworkSolveAllSeveralServers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClosedNetworkPopulations)->Unit(benchmark::kMillisecond);

}  // namespace
