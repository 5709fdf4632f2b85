// Scenario tables through the batch tool's command: every row is a whole run of the model (its
// report written and read back), so a table costs its rows' runs. Goals: 1000 M/M/c values well
// within 0.1 s, 100 values of a model that solves numerically within 1 s.

#include <benchmark/benchmark.h>

#include "model_run.h"

namespace {

void BM_ScenarioMmc1000(benchmark::State& state) {
    wachtrix::bench::RunModel(
        state, "mmc c=10 rho=0.8 vary=rho from=0.5 to=0.99 steps=1000 figures=Pwait,E(Wq)");
}
BENCHMARK(BM_ScenarioMmc1000)->Unit(benchmark::kMillisecond);

// A table figure too: each row runs the model a second time for its t-value table.
void BM_ScenarioDg1Hundred(benchmark::State& state) {
    wachtrix::bench::RunModel(state,
                              "dg1 cs2=0.5 rho=0.8 vary=rho from=0.5 to=0.95 steps=100 "
                              "figures=Pwait,E(Wq),P{Wq>t} t=1");
}
BENCHMARK(BM_ScenarioDg1Hundred)->Unit(benchmark::kMillisecond);

void BM_ScenarioGmcHundred(benchmark::State& state) {
    wachtrix::bench::RunModel(state,
                              "gmc arrivals=1 ca2=0.5 c=10 rho=0.8 vary=rho from=0.5 to=0.95 "
                              "steps=100 figures=Pwait,E(Wq)");
}
BENCHMARK(BM_ScenarioGmcHundred)->Unit(benchmark::kMillisecond);

}  // namespace
