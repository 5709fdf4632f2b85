// The simulator's speed on one core, in customers a second (items_per_second): at least five
// million for M/M/c, so that a million customers take a fraction of a second in the window. The
// first two benchmarks time one replication as the M/M/c block runs it (the time averages of
// E(Lq) and Pbusy kept); the last the whole block, model run and ten replications included.

#include <benchmark/benchmark.h>

#include "core/queue/simulation.h"

namespace {

using wachtrix::QueueTwin;

QueueTwin Mmc(int c, double rho) {
    QueueTwin twin;
    twin.servers = c;
    twin.arrivals = wachtrix::ExponentialTime(c * rho);
    twin.service = wachtrix::ExponentialTime(1);
    return twin;
}

void SimulateMmc(benchmark::State& state, const QueueTwin& twin) {
    constexpr long long kCustomers = 1000000;
    wachtrix::Xoshiro256 rng(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SimulateQueue(twin, {}, 0, kCustomers, rng));
    state.SetItemsProcessed(state.iterations() * kCustomers);
}

void BM_SimulateMmc2(benchmark::State& state) {
    SimulateMmc(state, Mmc(2, 0.8));
}
BENCHMARK(BM_SimulateMmc2)->Unit(benchmark::kMillisecond);

void BM_SimulateMmc100(benchmark::State& state) {
    SimulateMmc(state, Mmc(100, 0.95));
}
BENCHMARK(BM_SimulateMmc100)->Unit(benchmark::kMillisecond);

// The batch tool's mmc c=2 rho=0.8 simulate=100000: 1.1 million customers in all.
void BM_MmcSimulationBlock(benchmark::State& state) {
    const wachtrix::QueueModelSpec& mmc = *wachtrix::FindQueueModel("mmc");
    wachtrix::QueueForm form = wachtrix::EmptyForm(mmc);
    form.fields = {"2", "0.8"};
    for (auto _ : state)
        benchmark::DoNotOptimize(wachtrix::SimulateModel(mmc, form, {}));
    state.SetItemsProcessed(state.iterations() * 10 * 110000);
}
BENCHMARK(BM_MmcSimulationBlock)->Unit(benchmark::kMillisecond);

}  // namespace
