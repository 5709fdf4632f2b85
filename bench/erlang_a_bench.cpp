// The M/M/c+M runs at the corners of the tab, every output through the whole run: the heaviest
// is c = 2500 at rho = 2 with theta = 0.01, whose chain holds some 260000 states (the queue
// settles near (lambda - c) / theta = 250000 waiting). A scenario row is such a run: each must
// stay under 10 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "model_run.h"

namespace {

const char* const kCorners[] = {
    "c=2500 rho=2 theta=0.01",     // the longest queue
    "c=2500 rho=1 theta=0.01",     // critical load, slow abandonment
    "c=2500 rho=0.999 theta=100",  // fast abandonment
    "c=1 rho=2 theta=0.01",
};

// Outputs 0..4, each with twelve values.
void BM_ErlangARun(benchmark::State& state) {
    wachtrix::bench::RunModel(
        state, std::string("erlanga ") + kCorners[state.range(0)] +
                   " output=" + std::to_string(state.range(1)) +
                   " t=0,0.01,0.1,0.5,1,5,10,50,69,70,100,2500"
                   " p=0.1,0.3,0.5,0.6,0.7,0.8,0.9,0.95,0.99,0.999,0.9999,0.999999"
                   " n=0,1,10,100,2499,2500,2501,100000,250000,252500,260000,300000");
}
BENCHMARK(BM_ErlangARun)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
