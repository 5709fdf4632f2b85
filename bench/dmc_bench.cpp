// The D/M/c run at the tab's largest c: 499 boundary states, transition probabilities for each
// pair, and the service integrals (at rho = 0.61 nearly all of them by quadrature).

#include <benchmark/benchmark.h>

#include "core/queue/dmc.h"

namespace {

void BM_DmcSolve(benchmark::State& state) {
    const int c = static_cast<int>(state.range(0));
    const double rho = static_cast<double>(state.range(1)) / 1000;
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SolveDMC(c, rho));
}
BENCHMARK(BM_DmcSolve)
    ->Args({500, 999})
    ->Args({500, 610})
    ->Args({100, 900})
    ->Unit(benchmark::kMillisecond);

void BM_DmcStateGraphs(benchmark::State& state) {
    const auto s = wachtrix::SolveDMC(500, 0.999);
    for (auto _ : state) {
        benchmark::DoNotOptimize(wachtrix::DmcTimeAverageGraphPoints(s));
        benchmark::DoNotOptimize(wachtrix::DmcCustomerAverageGraphPoints(s));
    }
}
BENCHMARK(BM_DmcStateGraphs)->Unit(benchmark::kMillisecond);

}  // namespace
