// The Markov analyses over time on 100 states, dense and 10% dense, at t = 5000: the discrete
// runs take 5000 steps; continuous chains with total rates about 1 take about 5600 steps of the
// uniformised chain, and with total rates about 20 (nu t about 1e5) about 102,500. Core runs
// only: the progress display does nothing here. The mean first-passage times of 100 states solve
// one system of 99 unknowns per target state, without a progress display.

#include <benchmark/benchmark.h>

#include <random>

#include "core/markov/chain_builders.h"
#include "core/markov/first_passage.h"
#include "core/markov/mean_passage.h"
#include "core/markov/transient.h"

namespace {

using namespace wachtrix;

constexpr int kStates = 100;
constexpr double kLastTime = 5000;

// Arguments: percentage of positive entries, total rate out of each state (continuous only).
Matrix Probabilities(const benchmark::State& state) {
    std::mt19937 rng(2024);
    return testing::RandomStochastic(rng, kStates, static_cast<double>(state.range(0)) / 100);
}

UniformisedChain Rates(const benchmark::State& state) {
    std::mt19937 rng(2024);
    const Matrix q = testing::RandomRates(rng, kStates, static_cast<double>(state.range(0)) / 100,
                                          static_cast<double>(state.range(1)));
    return Uniformise(q, kStates);
}

void Label(benchmark::State& state, double nu) {
    state.SetLabel("nu t = " + std::to_string(static_cast<long>(nu * kLastTime)));
}

void BM_DiscreteTransient(benchmark::State& state) {
    const Matrix p = Probabilities(state);
    NoProgress none;
    for (auto _ : state) {
        const SparseMatrix sparse(p, kStates);
        benchmark::DoNotOptimize(RunDiscreteTransient(sparse, 1, {kLastTime}, none));
    }
}
BENCHMARK(BM_DiscreteTransient)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_DiscreteFirstPassage(benchmark::State& state) {
    const Matrix p = Probabilities(state);
    NoProgress none;
    for (auto _ : state) {
        const SparseMatrix sparse(p, kStates);
        benchmark::DoNotOptimize(RunDiscreteFirstPassage(sparse, 1, {1, 1}, {kLastTime}, none));
    }
}
BENCHMARK(BM_DiscreteFirstPassage)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// All 25 time points, spread up to t = 5000.
void BM_DiscreteTransient25Points(benchmark::State& state) {
    const Matrix p = Probabilities(state);
    std::vector<double> times;
    for (int k = 1; k <= 25; ++k)
        times.push_back(200.0 * k);
    NoProgress none;
    for (auto _ : state) {
        const SparseMatrix sparse(p, kStates);
        benchmark::DoNotOptimize(RunDiscreteTransient(sparse, 1, times, none));
    }
}
BENCHMARK(BM_DiscreteTransient25Points)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ContinuousTransient(benchmark::State& state) {
    const UniformisedChain chain = Rates(state);
    Label(state, chain.nu);
    NoProgress none;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunContinuousTransient(chain, 1, {kLastTime}, none));
}
BENCHMARK(BM_ContinuousTransient)
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({10, 20})
    ->Args({100, 20})
    ->Unit(benchmark::kMillisecond);

void BM_ContinuousTransient25Points(benchmark::State& state) {
    const UniformisedChain chain = Rates(state);
    Label(state, chain.nu);
    std::vector<double> times;
    for (int k = 1; k <= 25; ++k)
        times.push_back(200.0 * k);
    NoProgress none;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunContinuousTransient(chain, 1, times, none));
}
BENCHMARK(BM_ContinuousTransient25Points)
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({10, 20})
    ->Args({100, 20})
    ->Unit(benchmark::kMillisecond);

void BM_ContinuousFirstPassage(benchmark::State& state) {
    const UniformisedChain chain = Rates(state);
    Label(state, chain.nu);
    NoProgress none;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunContinuousFirstPassage(chain, 1, {1, 1}, {kLastTime}, none));
}
BENCHMARK(BM_ContinuousFirstPassage)
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({10, 20})
    ->Args({100, 20})
    ->Unit(benchmark::kMillisecond);

void BM_MeanPassageTimes(benchmark::State& state) {
    const Matrix p = Probabilities(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(MeanPassageTimes(p, kStates, ChainKind::Discrete));
}
BENCHMARK(BM_MeanPassageTimes)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
