// Staffing at the largest loads: a = 2000 Erlangs (M/M/c, the only model that takes it) must
// answer within 0.2 s, whole Run included (search, table and report). The heaviest M/D/c,
// D/M/c and G/M/c questions are timed beside it for the record.

#include <benchmark/benchmark.h>

#include "core/queue/staffing.h"
#include "support/recording_host.h"

namespace {

using wachtrix::StaffingForm;

// Loose to strict: the stricter the target, the further the answer lies above a.
const StaffingForm kForms[] = {
    {.model = 0, .a = "2000", .target = 2, .alpha = "0.2"},
    {.model = 0, .a = "2000", .target = 0, .t = "0.1", .alpha = "0.05"},
    {.model = 0, .a = "2000", .target = 1, .w = "1e-6"},
    {.model = 0, .a = "2000", .target = 2, .alpha = "1e-10"},
    {.model = 0, .a = "2000", .target = 2, .alpha = "1e-10", .maxRho = "0.85"},
    {.model = 1, .a = "490", .target = 0, .t = "0.05", .alpha = "0.01"},
    {.model = 2, .a = "490", .target = 0, .t = "0.05", .alpha = "0.01"},
    {.model = 3, .arrivals = 3, .ca2 = "4", .a = "990", .target = 0, .t = "0.05", .alpha = "0.01"},
};

void BM_StaffingRun(benchmark::State& state) {
    const StaffingForm given = kForms[state.range(0)];
    for (auto _ : state) {
        StaffingForm form = given;
        wachtrix::testing::RecordingHost host;
        wachtrix::RunStaffing(form, host);
        benchmark::DoNotOptimize(host.sink.lines.data());
        if (!host.errors.empty() || !host.failures.empty()) state.SkipWithError("run refused");
    }
}
BENCHMARK(BM_StaffingRun)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

}  // namespace
