// The heaviest M/D/c run: c = 500, rho = 0.99, a dense system of N + 1 = 745 states. A whole Run
// of every output kind (validation, solve, report and table or graphs) must stay interactive:
// under 50 ms on one core.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/queue/mdc.h"
#include "support/recording_host.h"

namespace {

using wachtrix::MdcForm;

// Twelve values each: t below and beyond the switch to the asymptote at 250 / c = 0.5.
MdcForm HeaviestForm(int output) {
    MdcForm form;
    form.c = "500";
    form.rho = "0.99";
    form.output = output;
    form.t = {"0", "0.01", "0.05", "0.1", "0.2", "0.3", "0.4", "0.49", "0.5", "1", "2.5", "2500"};
    form.p = {"0.3",  "0.5",  "0.7",   "0.8",    "0.9",     "0.95",
              "0.97", "0.99", "0.999", "0.9999", "0.99999", "0.999999"};
    form.n = {"0", "1", "250", "495", "499", "500", "501", "600", "743", "744", "745", "1250"};
    return form;
}

// output: 0 statistics, 1 waiting-time table, 2 percentiles, 3 state table, 4 graphs.
void BM_MdcRun(benchmark::State& state) {
    const MdcForm given = HeaviestForm(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        MdcForm form = given;
        wachtrix::testing::RecordingHost host;
        wachtrix::RunMDC(form, host);
        benchmark::DoNotOptimize(host.sink.lines.data());
        if (!host.errors.empty() || !host.failures.empty()) state.SkipWithError("run refused");
    }
}
BENCHMARK(BM_MdcRun)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_MdcSolve(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SolveMDC(500, 0.99));
}
BENCHMARK(BM_MdcSolve)->Unit(benchmark::kMillisecond);

}  // namespace
