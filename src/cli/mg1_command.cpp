#include "cli/queue_command.h"
#include "core/queue/mg1.h"

namespace wachtrix::cli {

ModelCommand Mg1Command() {
    return {"mg1",
            "M/G/1 queue: one server, Poisson arrivals, general service times",
            "cs2=CS2 rho=RHO [type=0..2] [output=0..4] [t=T,...] [p=P,...] [n=N,...]",
            QueueKeys({{"type",
                        "0 Erlangian, 1 Coxian-2 gamma normalization, 2 Coxian-2 "
                        "balanced means (default 0)"}},
                      kMg1Limits),
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
                return RunQueueModel([&](QueueHost& host) { RunMG1(form, host); },
                                     {&form.t, &form.p, &form.n});
            }};
}

}  // namespace wachtrix::cli
