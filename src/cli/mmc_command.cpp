#include "cli/queue_command.h"
#include "core/queue/mmc.h"

namespace wachtrix::cli {

ModelCommand MmcCommand() {
    return {"mmc",
            "M/M/c queue: c exponential servers, Poisson arrivals",
            "c=C rho=RHO [output=0..4] [t=T,...] [p=P,...] [n=N,...]",
            {{"c", "number of servers, 1 to 2500"},
             {"rho", "load per server, 1e-10 to 0.999"},
             {"output",
              "0 Standard Statistics, 1 Waiting Time Probabilities, 2 Waiting Time Percentiles, "
              "3 State Probabilities, 4 Graphs (default 0)"},
             {"t", "t-values for P{Wq>t}, up to 12, each <= 2500"},
             {"p", "p-values for percentiles, up to 12, each <= 0.999999"},
             {"n", "n-values for state probabilities, up to 12, each <= 5000"}},
            0,
            [](const Arguments& args) {
                MmcForm form;
                form.c = Text(args, "c");
                form.rho = Text(args, "rho");
                form.output = Choice(args, "output", 5);
                form.t = ValueGroup(args, "t");
                form.p = ValueGroup(args, "p");
                form.n = ValueGroup(args, "n");
                return RunQueueModel([&](QueueHost& host) { RunMMC(form, host); });
            }};
}

}  // namespace wachtrix::cli
