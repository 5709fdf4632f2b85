// Scenario tables through the batch tool's command: every row is a whole run of the model (its
// report written and read back), so a table costs its rows' runs. Goals: 1000 M/M/c values well
// within 0.1 s, 100 values of any model within 1 s, also at the heaviest corner of its limits.

#include <benchmark/benchmark.h>

#include <string>

#include "model_run.h"

namespace {

void BM_ScenarioMmc1000(benchmark::State& state) {
    wachtrix::bench::RunModel(
        state, "mmc c=10 rho=0.8 vary=rho from=0.5 to=0.99 steps=1000 figures=Pwait,E(Wq)");
}
BENCHMARK(BM_ScenarioMmc1000)->Unit(benchmark::kMillisecond);

// A hundred values of each model and kind, up to the largest c, N, M or phases it takes and the
// load near the top of its range. Statistics only, one run a row; a table figure (P{Wq>t} at t=)
// adds a second run to each row (the last entry).
struct Corner {
    const char* name;
    const char* call;
};
constexpr Corner kCorners[] = {
    {"mmc", "mmc c=2500 rho=0.9 vary=rho from=0.9 to=0.999 steps=100 figures=Pwait,E(Wq)"},
    {"mg1",
     "mg1 service=0 cs2=0.01 rho=0.9 vary=rho from=0.9 to=0.99 steps=100 figures=Pwait,E(Wq)"},
    {"mdc", "mdc c=500 rho=0.9 vary=rho from=0.9 to=0.99 steps=100 figures=Pwait,E(Wq)"},
    {"dg1_erlang100",
     "dg1 service=1 cs2=100 rho=0.9 vary=rho from=0.9 to=0.99 steps=100 figures=Pwait,E(Wq)"},
    {"dg1_coxian",
     "dg1 service=2 cs2=100 rho=0.9 vary=rho from=0.9 to=0.99 steps=100 figures=Pwait,E(Wq)"},
    {"dmc", "dmc c=500 rho=0.9 vary=rho from=0.9 to=0.999 steps=100 figures=Pwait,E(Wq)"},
    {"gmc",
     "gmc arrivals=1 ca2=0.01 c=1000 rho=0.9 vary=rho from=0.9 to=0.999 steps=100 "
     "figures=Pwait,E(Wq)"},
    {"mm1tran",
     "mm1tran rho=0.9901 i=100 j=0 T=1000000 vary=j from=0 to=99 steps=100 "
     "figures=p(i,j,t),ELq(i,t) t=1000000"},
    {"fincap_mm",
     "fincap type=0 c=2500 rho=1 N=1000 vary=rho from=0.05 to=5 steps=100 "
     "figures=Prej,Pwait"},
    {"fincap_md",
     "fincap type=1 c=500 rho=1 N=1000 vary=rho from=0.05 to=5 steps=100 "
     "figures=Prej,Pwait"},
    {"fincap_dm",
     "fincap type=2 c=500 rho=1 N=500 vary=rho from=0.05 to=5 steps=100 "
     "figures=Prej,Pwait"},
    {"finsrc_exp",
     "finsrc service=0 c=500 M=1000 nu=1 vary=nu from=0.001 to=100 steps=100 "
     "spacing=log figures=Pwait,E(Wq)"},
    {"finsrc_det",
     "finsrc service=1 c=1 M=1000 nu=0.001 vary=M from=901 to=1000 steps=100 "
     "figures=Pwait,E(Wq)"},
    {"erlanga",
     "erlanga c=2500 rho=2 theta=0.01 vary=rho from=1.01 to=2 steps=100 "
     "figures=Pwait,Pab"},
    {"staffing_mdc",
     "staffing model=mdc a=490 t=0.05 alpha=0.01 vary=a from=395 to=495 steps=100 figures=c"},
    {"staffing_erlanga",
     "staffing model=erlanga theta=0.01 a=2000 pab=0.001 vary=a from=1000 "
     "to=2497.5 steps=100 figures=c"},
    {"erlanga_table",
     "erlanga c=2500 rho=2 theta=0.01 vary=rho from=1.01 to=2 steps=100 "
     "figures=Pwait,P{Wq>t} t=1"},
};

// Named by the table's rows: BM_ScenarioHundred/mdc.
const bool kRegistered = [] {
    for (const Corner& corner : kCorners)
        benchmark::RegisterBenchmark((std::string("BM_ScenarioHundred/") + corner.name).c_str(),
                                     [call = corner.call](benchmark::State& state) {
                                         wachtrix::bench::RunModel(state, call);
                                     })
            ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
