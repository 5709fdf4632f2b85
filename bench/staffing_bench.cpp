// Staffing at the largest loads: a = 2000 Erlangs (M/M/c and M/M/c+M, the only models that take
// it) must answer within 0.2 s, whole Run included (search, table and report). The heaviest
// M/D/c, D/M/c and G/M/c questions are timed beside them for the record.

#include <benchmark/benchmark.h>

#include "model_run.h"

namespace {

// Loose to strict: the stricter the target, the further the answer lies above a.
const char* const kCalls[] = {
    "staffing model=mmc a=2000 pwait=0.2",
    "staffing model=mmc a=2000 t=0.1 alpha=0.05",
    "staffing model=mmc a=2000 ewq=1e-6",
    "staffing model=mmc a=2000 pwait=1e-10",
    "staffing model=mmc a=2000 pwait=1e-10 maxrho=0.85",
    "staffing model=mdc a=490 t=0.05 alpha=0.01",
    "staffing model=dmc a=490 t=0.05 alpha=0.01",
    "staffing model=gmc arrivals=3 ca2=4 a=990 t=0.05 alpha=0.01",
    // From c = 1000 (rho = 2, a queue of 100000) up: the longest M/M/c+M chains on the way.
    "staffing model=erlanga theta=0.01 a=2000 pab=0.001",
    "staffing model=erlanga theta=0.01 a=2000 t=0.1 alpha=0.05",
};

void BM_StaffingRun(benchmark::State& state) {
    wachtrix::bench::RunModel(state, kCalls[state.range(0)]);
}
BENCHMARK(BM_StaffingRun)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

}  // namespace
