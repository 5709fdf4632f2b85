// The M/M/c run is linear in c; the largest tab value, c = 2500, must stay instant.

#include <benchmark/benchmark.h>

#include "core/queue/mmc.h"

namespace {

void BM_MmcSolveAndClosedForm(benchmark::State& state) {
    const int c = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(wachtrix::SolveMMC(c, 0.95));
        benchmark::DoNotOptimize(wachtrix::MmcClosedFormTerm(c, 0.95));
    }
    state.SetComplexityN(c);
}
BENCHMARK(BM_MmcSolveAndClosedForm)->Arg(10)->Arg(250)->Arg(2500)->Complexity(benchmark::oN);

void BM_MmcQueueGraph(benchmark::State& state) {
    const auto s = wachtrix::SolveMMC(2500, 0.999);
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::MmcQueueGraphPoints(s));
}
BENCHMARK(BM_MmcQueueGraph);

}  // namespace
