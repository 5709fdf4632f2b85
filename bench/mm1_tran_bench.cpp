// The transient M/M/1 run: one 275-point sum per value and time. The heaviest graph (Std Lq,
// three sums per point) at the tab's extreme parameters and a full twelve-row table must stay
// well under 50 ms, the rule's construction included.

#include <benchmark/benchmark.h>

#include "core/queue/mm1_tran.h"

namespace {

using wachtrix::MM1GraphKind;

void BM_MM1TranGraph(benchmark::State& state) {
    const auto kind = static_cast<MM1GraphKind>(state.range(0));
    for (auto _ : state) {
        const wachtrix::MM1Transient model(0.99, 100, 100);
        benchmark::DoNotOptimize(wachtrix::MM1TranGraphPoints(model, kind, 1e6));
    }
}
BENCHMARK(BM_MM1TranGraph)
    ->Arg(static_cast<int>(MM1GraphKind::StateProbability))
    ->Arg(static_cast<int>(MM1GraphKind::StdQueue))
    ->Unit(benchmark::kMillisecond);

void BM_MM1TranTable(benchmark::State& state) {
    wachtrix::ValueList t;
    for (int k = 1; k <= 12; ++k)
        t[k] = k * k * 1000.0;
    t.Count = 12;
    const wachtrix::MM1TranParameters p{0.99, 100, 100, 0};
    for (auto _ : state) {
        wachtrix::MemoryResultSink sink;
        wachtrix::ResultWriter out(sink);
        wachtrix::WriteMM1TranReport(out, p, wachtrix::MM1Transient(p.rho, p.i, p.j), t);
        benchmark::DoNotOptimize(sink.lines);
    }
}
BENCHMARK(BM_MM1TranTable)->Unit(benchmark::kMillisecond);

}  // namespace
