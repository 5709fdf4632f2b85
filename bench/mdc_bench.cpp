// The heaviest M/D/c run: c = 500, rho = 0.99, a dense system of N + 1 = 745 states. Every output
// kind (the solve plus its table or graphs) must stay interactive: under 50 ms on one core.

#include <benchmark/benchmark.h>

#include <vector>

#include "core/queue/mdc.h"

namespace {

constexpr int kServers = 500;
constexpr double kLoad = 0.99;

// Twelve values each, below and beyond the switch to the asymptote at t = 250 / c = 0.5.
const std::vector<double> kTimes = {0, 0.01, 0.05, 0.1, 0.2, 0.3, 0.4, 0.49, 0.5, 1, 2.5, 2500};
const std::vector<double> kProbabilities = {0.3,  0.5,  0.7,   0.8,    0.9,     0.95,
                                            0.97, 0.99, 0.999, 0.9999, 0.99999, 0.999999};
const std::vector<int> kStates = {0, 1, 250, 495, 499, 500, 501, 600, 743, 744, 745, 1250};

void BM_MdcSolve(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SolveMDC(kServers, kLoad));
}
BENCHMARK(BM_MdcSolve)->Unit(benchmark::kMillisecond);

void BM_MdcWaitingTimeTable(benchmark::State& state) {
    for (auto _ : state) {
        const auto s = wachtrix::SolveMDC(kServers, kLoad);
        for (const double t : kTimes)
            benchmark::DoNotOptimize(wachtrix::MdcWaitingTail(s, t));
    }
}
BENCHMARK(BM_MdcWaitingTimeTable)->Unit(benchmark::kMillisecond);

void BM_MdcPercentileTable(benchmark::State& state) {
    for (auto _ : state) {
        const auto s = wachtrix::SolveMDC(kServers, kLoad);
        for (const double p : kProbabilities)
            benchmark::DoNotOptimize(wachtrix::MdcPercentile(s, p));
    }
}
BENCHMARK(BM_MdcPercentileTable)->Unit(benchmark::kMillisecond);

void BM_MdcStateTable(benchmark::State& state) {
    for (auto _ : state) {
        const auto s = wachtrix::SolveMDC(kServers, kLoad);
        for (const int n : kStates) {
            benchmark::DoNotOptimize(wachtrix::MdcStateProbability(s, n));
            benchmark::DoNotOptimize(wachtrix::MdcStateTail(s, n));
        }
    }
}
BENCHMARK(BM_MdcStateTable)->Unit(benchmark::kMillisecond);

void BM_MdcGraphs(benchmark::State& state) {
    for (auto _ : state) {
        const auto s = wachtrix::SolveMDC(kServers, kLoad);
        benchmark::DoNotOptimize(wachtrix::MdcWaitingGraphPoints(s));
        benchmark::DoNotOptimize(wachtrix::MdcQueueGraphPoints(s));
    }
}
BENCHMARK(BM_MdcGraphs)->Unit(benchmark::kMillisecond);

}  // namespace
