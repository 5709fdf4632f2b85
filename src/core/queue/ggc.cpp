#include "core/queue/ggc.h"

#include "core/numeric/safe_math.h"
#include "core/queue/mmc.h"
#include "core/queue/output_tables.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/text/delphi_format.h"

namespace wachtrix {

GgcApproximation ApproximateGGC(int c, double rho, double ca2, double cs2) {
    GgcApproximation a;
    // Erlang's delay probability from the M/M/c solution, which keeps its digits up to 2500
    // servers.
    a.Pwait = SolveMMC(c, rho).Pdelay;
    a.EWq = a.Pwait / (c * (1 - rho)) * (ca2 + cs2) / 2;
    a.ELq = c * rho * a.EWq;
    return a;
}

double GgcWaitingTail(const GgcApproximation& a, double t) {
    if (a.EWq <= 0) return 0;
    return static_cast<double>(a.Pwait * SafeExp(-t * a.Pwait / a.EWq));
}

namespace {

void RunGgc(const QueueRun& run, QueueHost& host) {
    const int c = run.fields.integer("c");
    const double rho = run.fields["rho"], ca2 = run.fields["ca2"], cs2 = run.fields["cs2"];
    ResultWriter& out = host.results();
    WriteReportHeader(out, "G/G/c queue (two-moment approximations)",
                      Format("Parameters: c=%d  rho=%.6g  CA2=%.5g  CS2=%.5g", {c, rho, ca2, cs2}));
    const GgcApproximation a = ApproximateGGC(c, rho, ca2, cs2);
    WriteHeadedStatistics(out, "Approximations: ",
                          {{"Pwait", Format("%.6g", {a.Pwait})},
                           {"E(Wq)", Format("%.5g", {a.EWq})},
                           {"E(Lq)", Format("%.5g", {a.ELq})}});
    out.AddResultLine("Pwait is Erlang's delay probability C(c, c rho) of the M/M/c queue;");
    out.AddResultLine("E(Wq) is Allen-Cunneen's C(c, c rho) / (c (1 - rho)) * (CA2 + CS2) / 2;");
    out.AddResultLine("E(Lq) follows by Little's law; P{Wq>t} takes a delayed customer's wait as");
    out.AddResultLine("exponential with mean E(Wq) / Pwait. Simulate to see how far off they are.");
    WriteRequestedTable(out, run.output,
                        {.waitingTail = [&a](double t) { return GgcWaitingTail(a, t); }});
    out.AddResultLine("");
}

// The arrival and service times fitted as the other tabs fit them: 0 deterministic, up to 1
// the Erlang mixture, above 1 the Coxian-2 of balanced means.
QueueTwin GgcTwin(const QueueRun& run) {
    QueueTwin twin;
    twin.servers = run.fields.integer("c");
    twin.arrivals = TimeOfVariation(1 / (twin.servers * run.fields["rho"]), run.fields["ca2"]);
    twin.service = TimeOfVariation(1, run.fields["cs2"]);
    return twin;
}

// The fits take a variation from 0.01 on; below it only 0, the deterministic time.
const char* CheckVariation(double value, const FieldValues&) {
    return value > 0 && value < 0.01 ? "a squared coefficient of variation is 0 or at least 0.01"
                                     : nullptr;
}

constexpr FieldSpec kFields[] = {
    {"GGC_C_edit", "C:", One(kGgcServers), "c incorrect", "c out of range"},
    {"GGC_Rho_edit", "Rho:", One(kGgcLoad), "Rho incorrect", "Rho out of range"},
    {.editName = "GGC_CA2_edit",
     .caption = "CA2:",
     .limits = One(kGgcCa2),
     .incorrect = "CA2 incorrect",
     .outOfRange = "CA2 out of range",
     .check = CheckVariation,
     .editHint = "Enter squared coefficient of variation of the interarrival time"},
    {.editName = "GGC_CS2_edit",
     .caption = "CS2:",
     .limits = One(kGgcCs2),
     .incorrect = "CS2 incorrect",
     .outOfRange = "CS2 out of range",
     .check = CheckVariation,
     .editHint = "Enter squared coefficient of variation of the service time"},
};
constexpr OutputItem kOutputItems[] = {
    {"Standard Statistics", kStatistics},
    {"Waiting Time Probabilities", kWaitingTable, ValueGroupKind::T}};
constexpr OutputSpec kOutputs[] = {{"GGC_Output_RadioGroup", "Output", kOutputItems}};
constexpr FigureSpec kFigures[] = {
    {"Pwait", 0, true}, {"E(Wq)"}, {"E(Lq)"}, {"P{Wq>t}", 'T', true}};

}  // namespace

constinit const QueueModelSpec kGgcModel{
    .key = "ggc",
    .caption = "G/G/c",
    .title = "G/G/c Queue",
    .sheetName = "GGC_TabSheet",
    .prefix = "GGC",
    .helpContext = 220,
    .helpPage = "ggc.html",
    .helpTitle = "G/G/c",
    .summary = "G/G/c queue: general arrivals (CA2) and services (CS2), c servers; approximations",
    .example = "c=2 rho=0.8 ca2=0.5 cs2=0.5",
    .fields = kFields,
    .outputs = kOutputs,
    .groups = kGgcGroups,
    .figures = kFigures,
    .run = RunGgc,
    .twin = GgcTwin,
};

}  // namespace wachtrix
