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
                auto form = MultiServerForm<MmcForm>(args);
                return RunQueueForm(form, &RunMMC);
            }};
}

}  // namespace wachtrix::cli
