#include "cli/queue_command.h"
#include "core/queue/finqueue.h"

namespace wachtrix::cli {
namespace {

// Every type's fields, for the help text; the run holds each type to its own.
constexpr FieldLimit kAllFields[] = {kFinCapServersMM, kFinCapServers, kFinCapLoad, kFinCapPlaces,
                                     kFinCapPlacesDM};

std::vector<KeyHelp> Keys() {
    std::vector<KeyHelp> keys =
        QueueKeys({{"type", "0 M/M/c/c+N, 1 M/D/c/c+N, 2 D/M/c/c+N (default 0)"}},
                  {kAllFields, kFinCapGroups, {}});
    InsertKeyBefore(keys, "t",
                    {"output", "types 0 and 1: " + OutputHelp(kFinCapMMLimits.output) +
                                   "; type 2: " + OutputHelp(kFinCapDMLimits.output)});
    return keys;
}

}  // namespace

ModelCommand FinCapCommand() {
    return {"fincap",
            "finite-capacity queues M/M/c/c+N, M/D/c/c+N, D/M/c/c+N: c servers, N waiting places",
            "type=0..2 c=C rho=RHO N=N [output=...] [t=T,...] [n=N,...]",
            Keys(),
            0,
            [](const Arguments& args) {
                FinCapForm form;
                form.type = Choice(args, "type", 3);
                form.c = Text(args, "c");
                form.rho = Text(args, "rho");
                form.N = Text(args, "N");
                const auto type = FinCapTypeOfItem(form.type);
                form.output =
                    Choice(args, "output", static_cast<int>(FinCapLimitsOf(type).output.size()));
                form.t = ValueGroup(args, "t");
                form.n = ValueGroup(args, "n");
                return RunQueueModel([&](QueueHost& host) { RunFinCap(form, host); },
                                     {&form.t, nullptr, &form.n});
            }};
}

}  // namespace wachtrix::cli
