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
                auto form = MultiServerForm<MdcForm>(args);
                return RunQueueForm(form, &RunMDC);
            }};
}

}  // namespace wachtrix::cli
