#include "cli/queue_command.h"
#include "core/queue/mg1.h"

namespace wachtrix::cli {

ModelCommand Mg1Command() {
    return {"mg1",
            "M/G/1 queue: one server, Poisson arrivals, general service times",
            "cs2=CS2 rho=RHO [type=0..2] [output=0..4] [t=T,...] [p=P,...] [n=N,...]",
            {{"type",
              "0 Erlangian (0.01 <= CS2 <= 1), 1 Coxian-2 gamma normalization, 2 Coxian-2 "
              "balanced means (0.5 <= CS2 <= 100) (default 0)"},
             {"cs2", "squared coefficient of variation of the service time"},
             {"rho", "load, 1e-12 to 0.99"},
             {"output",
              "0 Standard Statistics, 1 Waiting Time Probabilities, 2 Waiting Time Percentiles, "
              "3 State Probabilities, 4 Graphs (default 0)"},
             {"t", "t-values for P{Wq>t}, up to 12, each <= 75000"},
             {"p", "p-values for percentiles, up to 12, each <= 0.999999"},
             {"n", "n-values for state probabilities, up to 12, each <= 2500"}},
            0,
            [](const Arguments& args) {
                Mg1Form form;
                form.serviceType = Choice(args, "type", 3);
                form.cs2 = Text(args, "cs2");
                form.rho = Text(args, "rho");
                form.output = Choice(args, "output", 5);
                form.t = ValueGroup(args, "t");
                form.p = ValueGroup(args, "p");
                form.n = ValueGroup(args, "n");
                return RunQueueModel([&](QueueHost& host) { RunMG1(form, host); });
            }};
}

}  // namespace wachtrix::cli
