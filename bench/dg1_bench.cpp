// The largest D/G/1 phase chain: pure Erlang with 100 phases (CS2 = 0.01) at rho = 0.99, 86
// states. A whole Run of the statistics and of a percentile table of twelve values must stay
// interactive: under 20 ms on one core.

#include <benchmark/benchmark.h>

#include <string>

#include "model_run.h"
#include "core/queue/dg1_erlan.h"

namespace {

// range(0): service (0 Erlangian, 1 Pure Erlang); range(1): the Output item.
void BM_Dg1Run(benchmark::State& state) {
    const bool pureErlang = state.range(0) == 1;
    wachtrix::bench::RunModel(
        state, "dg1 service=" + std::to_string(state.range(0)) +
                   (pureErlang ? " cs2=100" : " cs2=0.01") +
                   " rho=0.99 output=" + std::to_string(state.range(1)) +
                   " p=0.3,0.5,0.7,0.8,0.9,0.95,0.97,0.99,0.999,0.9999,0.99999,0.999999"
                   " t=0,0.01,0.05,0.1,0.2,0.5,1,2,5,10,100,75000"
                   " n=0,1,2,3,5,10,20,50,100,500,1000,1250");
}
BENCHMARK(BM_Dg1Run)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Args({1, 3})
    ->Args({1, 4})
    ->Args({1, 5})
    ->Args({0, 2})
    ->Args({0, 3})
    ->Unit(benchmark::kMillisecond);

void BM_Dg1Solve(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SolveDg1Erlang(0.01, 0.99, true));
}
BENCHMARK(BM_Dg1Solve)->Unit(benchmark::kMillisecond);

}  // namespace
