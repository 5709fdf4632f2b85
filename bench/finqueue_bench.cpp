// The largest finite-capacity runs of the tab: each type at its limits, solved and summarised,
// with the waiting-time tail of a full table and both graphs.

#include <benchmark/benchmark.h>

#include "core/queue/finqueue.h"

namespace {

using wachtrix::FinCapType;

void Run(benchmark::State& state, FinCapType type, int c, double rho, int N) {
    for (auto _ : state) {
        const auto s = wachtrix::SolveFinCap(type, c, rho, N);
        const auto st = wachtrix::FinCapStatisticsOf(s);
        double tails = 0;
        for (int k = 1; k <= 12; ++k)
            tails += wachtrix::FinCapWaitingTail(s, 0.25 * k);
        benchmark::DoNotOptimize(tails);
        benchmark::DoNotOptimize(wachtrix::FinCapWaitingGraphPoints(s, st.Pwait));
        benchmark::DoNotOptimize(wachtrix::FinCapStateGraphPoints(s));
    }
}

void BM_FinCapMM(benchmark::State& state) {
    Run(state, FinCapType::MM, 2500, 0.999, 1000);
}
void BM_FinCapDM(benchmark::State& state) {
    Run(state, FinCapType::DM, 500, 0.99, 500);
}
void BM_FinCapMD(benchmark::State& state) {
    Run(state, FinCapType::MD, 500, 0.99, 1000);
}
// One server: the exact remaining-service solution with the longest waiting room.
void BM_FinCapMD1(benchmark::State& state) {
    Run(state, FinCapType::MD, 1, 0.99, 1000);
}
BENCHMARK(BM_FinCapMM)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinCapDM)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinCapMD)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinCapMD1)->Unit(benchmark::kMillisecond);

}  // namespace
