// The G/M/c run at the tab's largest c and load, for each arrival type: the decay root, the
// boundary sum over c levels and, for Coxian-2 arrivals, the checking recursion.

#include <benchmark/benchmark.h>

#include "core/queue/gmc.h"

namespace {

void BM_GmcSolve(benchmark::State& state) {
    const auto arrivals = static_cast<wachtrix::GmcArrivals>(state.range(0));
    const double ca2 = static_cast<double>(state.range(1)) / 100;
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SolveGMC(arrivals, ca2, 1000, 0.999));
}
BENCHMARK(BM_GmcSolve)
    ->ArgNames({"arrivals", "ca2x100"})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({1, 50})
    ->Args({2, 50})
    ->Args({2, 10000})
    ->Args({3, 60})
    ->Args({3, 10000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
