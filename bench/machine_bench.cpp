// The largest machine-repair runs of the tab, M = 1000 machines: deterministic repairs with
// c = 250 and with one repairman, and exponential repairs with c = 500, through the whole run for
// each output.

#include <benchmark/benchmark.h>

#include <string>

#include "model_run.h"

namespace {

// service, c, nu: near the heaviest load each service computes (a little more and the
// deterministic model is overloaded).
void Run(benchmark::State& state, int service, const char* c, const char* nu) {
    wachtrix::bench::RunModel(state, "finsrc service=" + std::to_string(service) + " c=" + c +
                                         " M=1000 nu=" + nu +
                                         " output=" + std::to_string(state.range(0)) +
                                         " graph=" + std::to_string(state.range(1)) +
                                         " t=0,0.5,1,2,5,10,20,50,100,200,500,1000"
                                         " n=0,1,10,100,250,300,400,500,600,800,999,1000");
}

void BM_FinSrcDeterministic(benchmark::State& state) {
    Run(state, 1, "250", "0.3");
}
void BM_FinSrcExponential(benchmark::State& state) {
    Run(state, 0, "500", "1.2");
}
// One repairman: the exact remaining-repair solution of a thousand machines.
void BM_FinSrcDeterministicOne(benchmark::State& state) {
    Run(state, 1, "1", "0.0009");
}
// Outputs 0..3, then the Graphs output with each of its three graphs.
void Outputs(benchmark::internal::Benchmark* b) {
    for (int output = 0; output <= 3; ++output)
        b->Args({output, 0});
    for (int graph = 0; graph <= 2; ++graph)
        b->Args({4, graph});
}
BENCHMARK(BM_FinSrcDeterministic)->Apply(Outputs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinSrcExponential)->Apply(Outputs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinSrcDeterministicOne)->Apply(Outputs)->Unit(benchmark::kMillisecond);

}  // namespace
