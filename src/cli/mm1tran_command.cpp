#include "cli/queue_command.h"
#include "core/queue/mm1_tran.h"

namespace wachtrix::cli {

ModelCommand MM1TranCommand() {
    return {"mm1tran",
            "Transient M/M/1 queue from i customers: p, P and queue size moments at time t",
            "rho=RHO i=I [j=J] [output=0..4] [t=T,...] [T=T]",
            QueueKeys({}, kMM1TranLimits),
            0,
            [](const Arguments& args) {
                MM1TranForm form;
                form.rho = Text(args, "rho");
                form.i = Text(args, "i");
                form.j = Text(args, "j");
                form.T = Text(args, "T");
                form.output = Choice(args, "output", static_cast<int>(kMM1TranOutput.size()));
                form.t = ValueGroup(args, "t");
                return RunQueueModel([&](QueueHost& host) { RunMM1Tran(form, host); }, {&form.t});
            }};
}

}  // namespace wachtrix::cli
