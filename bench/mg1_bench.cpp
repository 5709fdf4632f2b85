// The heaviest M/G/1 runs: the Erlang mixture with CS2 = 0.01 (100 phases, up to 1150 exact
// phase probabilities) at the highest load, and the Coxian-2 graphs. A Run must stay instant.

#include <benchmark/benchmark.h>

#include <vector>

#include "core/queue/dmg1_cox.h"
#include "core/queue/mg1_erlan.h"

namespace {

using wachtrix::CoxianKind;

const std::vector<double> kTimes = {0.5, 1, 2, 5, 9.99, 10, 20, 50, 100, 1000, 10000, 75000};
const std::vector<double> kProbabilities = {0.995,  0.996,  0.997,   0.998,   0.999,    0.9993,
                                            0.9995, 0.9999, 0.99995, 0.99999, 0.999995, 0.999999};

void BM_ErlangianSolve(benchmark::State& state) {
    const double rho = static_cast<double>(state.range(0)) / 100;
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SolveErlangian(0.01, rho));
}
BENCHMARK(BM_ErlangianSolve)->Arg(30)->Arg(99)->Unit(benchmark::kMicrosecond);

// Light loads keep the tail in the Poisson mixture, so every value costs a window of terms.
void BM_ErlangianTailsAndPercentiles(benchmark::State& state) {
    const double rho = static_cast<double>(state.range(0)) / 100;
    const auto s = wachtrix::SolveErlangian(0.01, rho);
    for (auto _ : state) {
        for (const double t : kTimes)
            benchmark::DoNotOptimize(wachtrix::WaitingTail(s, t));
        for (const double p : kProbabilities)
            benchmark::DoNotOptimize(wachtrix::WaitingPercentile(s, p));
    }
}
BENCHMARK(BM_ErlangianTailsAndPercentiles)->Arg(30)->Arg(99)->Unit(benchmark::kMillisecond);

void BM_ErlangianGraphs(benchmark::State& state) {
    const double rho = static_cast<double>(state.range(0)) / 100;
    const auto s = wachtrix::SolveErlangian(0.01, rho);
    for (auto _ : state) {
        benchmark::DoNotOptimize(wachtrix::WaitingGraph(s));
        benchmark::DoNotOptimize(wachtrix::StateGraph(s));
    }
}
BENCHMARK(BM_ErlangianGraphs)->Arg(30)->Arg(99)->Unit(benchmark::kMillisecond);

void BM_CoxianSolveAndGraphs(benchmark::State& state) {
    for (auto _ : state) {
        const auto s = wachtrix::SolveCoxian(CoxianKind::MG1Gamma, 100, 0.99);
        benchmark::DoNotOptimize(wachtrix::WaitingGraph(s));
        benchmark::DoNotOptimize(wachtrix::StateGraph(s));
    }
}
BENCHMARK(BM_CoxianSolveAndGraphs)->Unit(benchmark::kMicrosecond);

}  // namespace
