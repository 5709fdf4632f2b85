#include "cli/queue_command.h"
#include "core/queue/gmc.h"

namespace wachtrix::cli {

std::string GmcArrivalHelp() {
    std::string help;
    for (std::size_t i = 0; i < std::size(kGmcArrivalItems); ++i)
        help += (i ? ", " : "") + std::to_string(i) + " " + kGmcArrivalItems[i];
    return help + " (default 0)";
}

ModelCommand GmcCommand() {
    return {
        "gmc",
        "G/M/c queue: c exponential servers, renewal arrivals fitted to CA2",
        "arrivals=0..3 ca2=CA2 c=C rho=RHO [output=0..3] [t=T,...] [p=P,...]",
        QueueKeys({{"arrivals", GmcArrivalHelp()}, {"ca2", "ignored for deterministic arrivals"}},
                  kGmcLimits),
        0,
        [](const Arguments& args) {
            GmcForm form;
            form.arrivals = Choice(args, "arrivals", static_cast<int>(std::size(kGmcArrivalItems)));
            // The tab's CA2 field holds 0 while the arrivals are deterministic.
            form.ca2 = form.arrivals == 0 ? "0" : Text(args, "ca2");
            form.c = Text(args, "c");
            form.rho = Text(args, "rho");
            form.output = Choice(args, "output", static_cast<int>(kGmcLimits.output.size()));
            form.t = ValueGroup(args, "t");
            form.p = ValueGroup(args, "p");
            return RunQueueModel([&](QueueHost& host) { RunGMC(form, host); },
                                 {&form.t, &form.p, nullptr});
        }};
}

}  // namespace wachtrix::cli
