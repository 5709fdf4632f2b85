#include "cli/queue_command.h"
#include "core/queue/mmc.h"

namespace wachtrix::cli {

ModelCommand MmcCommand() {
    return {"mmc",
            "M/M/c queue: c exponential servers, Poisson arrivals",
            "c=C rho=RHO [output=0..4] [t=T,...] [p=P,...] [n=N,...]",
            QueueKeys({}, kMmcLimits),
            0,
            [](const Arguments& args) {
                MmcForm form;
                form.c = Text(args, "c");
                form.rho = Text(args, "rho");
                form.output = Choice(args, "output", 5);
                form.t = ValueGroup(args, "t");
                form.p = ValueGroup(args, "p");
                form.n = ValueGroup(args, "n");
                return RunQueueModel([&](QueueHost& host) { RunMMC(form, host); },
                                     {&form.t, &form.p, &form.n});
            }};
}

}  // namespace wachtrix::cli
