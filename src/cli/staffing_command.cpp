#include "cli/queue_command.h"
#include "core/queue/staffing.h"

namespace wachtrix::cli {

namespace {

constexpr const char* kModelKeys[] = {"mmc", "mdc", "dmc", "gmc"};

int ModelChoice(const Arguments& args) {
    const std::string model = Text(args, "model");
    for (int i = 0; i < static_cast<int>(std::size(kModelKeys)); ++i)
        if (model == kModelKeys[i]) return i;
    throw UsageError("model must be mmc, mdc, dmc or gmc");
}

// Exactly one target: t and alpha, ewq, or pwait.
void ReadTarget(const Arguments& args, StaffingForm& form) {
    const bool tail = args.keys.count("t") || args.keys.count("alpha");
    const bool mean = args.keys.count("ewq") > 0;
    const bool delay = args.keys.count("pwait") > 0;
    if (tail + mean + delay != 1 || (tail && !(args.keys.count("t") && args.keys.count("alpha"))))
        throw UsageError("give one target: t=T alpha=ALPHA, ewq=W or pwait=ALPHA");
    if (tail) {
        form.target = static_cast<int>(StaffingTarget::WaitingTail);
        form.t = Text(args, "t");
        form.alpha = Text(args, "alpha");
    } else if (mean) {
        form.target = static_cast<int>(StaffingTarget::MeanWait);
        form.w = Text(args, "ewq");
    } else {
        form.target = static_cast<int>(StaffingTarget::DelayProbability);
        form.alpha = Text(args, "pwait");
    }
}

}  // namespace

ModelCommand StaffingCommand() {
    return {"staffing",
            "Staffing: the smallest c meeting a service level in M/M/c, M/D/c, D/M/c or G/M/c",
            "model=mmc|mdc|dmc|gmc a=ERLANGS [arrivals=0..3 ca2=CA2] "
            "(t=T alpha=ALPHA | ewq=W | pwait=ALPHA) [maxrho=R]",
            QueueKeys({{"model", "mmc, mdc, dmc or gmc"},
                       {"arrivals", "G/M/c only: " + GmcArrivalHelp()},
                       {"ca2", "G/M/c only, ignored for deterministic arrivals"}},
                      kStaffingLimits),
            0,
            [](const Arguments& args) {
                StaffingForm form;
                form.model = ModelChoice(args);
                form.arrivals =
                    Choice(args, "arrivals", static_cast<int>(std::size(kGmcArrivalItems)));
                form.ca2 = Text(args, "ca2");
                form.a = Text(args, "a");
                ReadTarget(args, form);
                form.maxRho = Text(args, "maxrho");
                return RunQueueModel([&](QueueHost& host) { RunStaffing(form, host); });
            }};
}

}  // namespace wachtrix::cli
