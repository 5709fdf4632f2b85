#include "cli/queue_command.h"
#include "core/queue/dg1.h"

namespace wachtrix::cli {

ModelCommand Dg1Command() {
    return {"dg1",
            "D/G/1 queue: one server, constant interarrival times, general service times",
            "cs2=CS2 rho=RHO [service=0..3] [output=...] [t=T,...] [p=P,...] [n=N,...]",
            QueueKeys({{"service",
                        "0 Erlangian, 1 Pure Erlang (cs2 is then the number of phases), "
                        "2 Coxian-2 gamma normalization, 3 Coxian-2 balanced means (default 0)"},
                       {"output", "service 1: " + OutputHelp(kDg1PureErlangOutput) +
                                      "; other services: " + OutputHelp(kDg1CoxianOutput)}},
                      kDg1Limits),
            0,
            [](const Arguments& args) {
                Dg1Form form;
                form.serviceType = Choice(args, "service", 4);
                form.cs2 = Text(args, "cs2");
                form.rho = Text(args, "rho");
                const auto& output =
                    form.serviceType == kDg1PureErlang ? kDg1PureErlangOutput : kDg1CoxianOutput;
                form.output = Choice(args, "output", static_cast<int>(output.size()));
                form.t = ValueGroup(args, "t");
                form.p = ValueGroup(args, "p");
                form.n = ValueGroup(args, "n");
                return RunQueueForm(form, &RunDG1);
            }};
}

}  // namespace wachtrix::cli
