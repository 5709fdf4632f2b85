// The heaviest M/D/c run: c = 500, rho = 0.99, a chain of N + 1 = 745 states whose rows 0..c
// are one. A whole Run of every output kind (validation, solve, report and table or graphs) is a
// scenario row too: well under 10 ms on one core.

#include <benchmark/benchmark.h>

#include <string>

#include "core/queue/mdc.h"
#include "model_run.h"

namespace {

// output: 0 statistics, 1 waiting-time table, 2 percentiles, 3 state table, 4 graphs. Twelve
// values each: t below and beyond the switch to the asymptote at 250 / c = 0.5.
void BM_MdcRun(benchmark::State& state) {
    wachtrix::bench::RunModel(state, "mdc c=500 rho=0.99 output=" + std::to_string(state.range(0)) +
                                         " t=0,0.01,0.05,0.1,0.2,0.3,0.4,0.49,0.5,1,2.5,2500"
                                         " p=0.3,0.5,0.7,0.8,0.9,0.95,0.97,0.99,0.999,0.9999,"
                                         "0.99999,0.999999"
                                         " n=0,1,250,495,499,500,501,600,743,744,745,1250");
}
BENCHMARK(BM_MdcRun)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_MdcSolve(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SolveMDC(500, 0.99));
}
BENCHMARK(BM_MdcSolve)->Unit(benchmark::kMillisecond);

}  // namespace
