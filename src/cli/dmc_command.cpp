#include <algorithm>

#include "cli/queue_command.h"
#include "core/queue/dmc.h"

namespace wachtrix::cli {

namespace {

// The keys from the limits table, with the graph choice beside the Output group.
std::vector<KeyHelp> DmcKeys() {
    std::vector<KeyHelp> keys = QueueKeys({}, kDmcLimits);
    std::string help;
    for (std::size_t i = 0; i < std::size(kDmcGraphItems); ++i)
        help += (i ? ", " : "") + std::to_string(i) + " " + kDmcGraphItems[i];
    const auto output =
        std::find_if(keys.begin(), keys.end(), [](const KeyHelp& k) { return k.key == "output"; });
    keys.insert(output + 1, {"graph", "the curve of output=5: " + help + " (default 0)"});
    return keys;
}

}  // namespace

ModelCommand DmcCommand() {
    return {"dmc",
            "D/M/c queue: c exponential servers, constant interarrival times",
            "c=C rho=RHO [output=0..5] [graph=0..2] [t=T,...] [p=P,...] [n=N,...]",
            DmcKeys(),
            0,
            [](const Arguments& args) {
                DmcForm form;
                form.c = Text(args, "c");
                form.rho = Text(args, "rho");
                form.output = Choice(args, "output", static_cast<int>(kDmcLimits.output.size()));
                form.graph = Choice(args, "graph", static_cast<int>(std::size(kDmcGraphItems)));
                form.t = ValueGroup(args, "t");
                form.p = ValueGroup(args, "p");
                form.n = ValueGroup(args, "n");
                return RunQueueModel([&](QueueHost& host) { RunDMC(form, host); },
                                     {&form.t, &form.p, &form.n});
            }};
}

}  // namespace wachtrix::cli
