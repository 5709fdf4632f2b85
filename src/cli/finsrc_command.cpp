#include "cli/queue_command.h"
#include "core/queue/machine.h"

namespace wachtrix::cli {
namespace {

// Both services' fields, for the help text; the run holds each service to its own c.
constexpr FieldLimit kAllFields[] = {kFinSrcServersExp, kFinSrcServersDet, kFinSrcMachines,
                                     kFinSrcFailureRate};

std::vector<KeyHelp> Keys() {
    std::vector<KeyHelp> keys =
        QueueKeys({{"service", "0 exponential, 1 deterministic repairs (default 0)"}},
                  {kAllFields, kFinSrcGroups, kFinSrcOutput});
    std::string graphs;
    for (int i = 0; i < 3; ++i)
        graphs += (i ? ", " : "") + std::to_string(i) + " " + kFinSrcGraphItems[i];
    InsertKeyBefore(keys, "t", {"graph", "with output=4: " + graphs + " (default 0)"});
    return keys;
}

}  // namespace

ModelCommand FinSrcCommand() {
    return {"finsrc",
            "finite-source (machine repair) queue: M machines failing at rate nu, c repairmen",
            "service=0..1 c=C M=M nu=NU [output=0..4] [graph=0..2] [t=T,...] [n=N,...]",
            Keys(),
            0,
            [](const Arguments& args) {
                FinSrcForm form;
                form.service = Choice(args, "service", 2);
                form.c = Text(args, "c");
                form.M = Text(args, "M");
                form.nu = Text(args, "nu");
                form.output = Choice(args, "output", static_cast<int>(kFinSrcOutput.size()));
                form.graph = Choice(args, "graph", 3);
                form.t = ValueGroup(args, "t");
                form.n = ValueGroup(args, "n");
                return RunQueueModel([&](QueueHost& host) { RunFinSrc(form, host); },
                                     {&form.t, nullptr, &form.n});
            }};
}

}  // namespace wachtrix::cli
