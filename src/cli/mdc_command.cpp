#include "cli/queue_command.h"
#include "core/queue/mdc.h"

namespace wachtrix::cli {

ModelCommand MdcCommand() {
    return {"mdc",
            "M/D/c queue: c servers with a constant service time, Poisson arrivals",
            "c=C rho=RHO [output=0..4] [t=T,...] [p=P,...] [n=N,...]",
            QueueKeys({}, kMdcLimits),
            0,
            [](const Arguments& args) {
                MdcForm form;
                form.c = Text(args, "c");
                form.rho = Text(args, "rho");
                form.output = Choice(args, "output", 5);
                form.t = ValueGroup(args, "t");
                form.p = ValueGroup(args, "p");
                form.n = ValueGroup(args, "n");
                return RunQueueModel([&](QueueHost& host) { RunMDC(form, host); },
                                     {&form.t, &form.p, &form.n});
            }};
}

}  // namespace wachtrix::cli
