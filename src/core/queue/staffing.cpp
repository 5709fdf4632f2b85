#include "core/queue/staffing.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/queue/dmc.h"
#include "core/queue/erlang_a.h"
#include "core/queue/mdc.h"
#include "core/queue/mmc.h"
#include "core/queue/report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix {
namespace {

// The model's own fields for c and rho.
struct ModelFields {
    const FieldLimit& servers;
    const FieldLimit& load;
};

ModelFields Fields(StaffingModel model) {
    switch (model) {
        case StaffingModel::MDC:
            return {kMdcServers, kMdcLoad};
        case StaffingModel::DMC:
            return {kDmcServers, kDmcLoad};
        case StaffingModel::GMC:
            return {kGmcServers, kGmcLoad};
        case StaffingModel::ErlangA:
            return {kErlangAServers, kErlangALoad};
        default:
            return {kMmcServers, kMmcLoad};
    }
}

double LoadPerServer(double a, int c) {
    return a / c;
}

// The model's own refusal of loads too small for reliable results (as its tab refuses them);
// a load below the model's range counts as refused too.
bool Refused(const StaffingQuestion& q, int c) {
    const double rho = LoadPerServer(q.a, c);
    if (!Fields(q.model).load.contains(rho)) return true;
    switch (q.model) {
        case StaffingModel::MDC:
            return MdcRhoTooSmall(c, rho);
        case StaffingModel::DMC:
            return DmcRhoTooSmall(c, rho);
        case StaffingModel::GMC:
            return GmcRhoTooSmall(q.arrivals, c, q.ca2, rho);
        case StaffingModel::ErlangA:
            return ErlangARhoTooSmall(c, rho);
        default:
            return MmcRhoTooSmall(c, rho);
    }
}

// Pwait, E(Wq), P{Wq > t} and (M/M/c+M) Pab from the model's solution at c servers.
struct Figures {
    double Pwait, EWq, tail, Pab = 0;
};

Figures Solve(const StaffingQuestion& q, int c) {
    const double rho = LoadPerServer(q.a, c);
    const bool tail = q.target == StaffingTarget::WaitingTail;
    switch (q.model) {
        case StaffingModel::MDC: {
            const MdcSolution s = SolveMDC(c, rho);
            return {s.Pdelay, s.EWq, tail ? MdcWaitingTail(s, q.t) : 0};
        }
        case StaffingModel::DMC: {
            const DmcSolution s = SolveDMC(c, rho);
            return {s.Pwait, s.EWq, tail ? DmcWaitingTail(s, q.t) : 0};
        }
        case StaffingModel::GMC: {
            const GmcSolution s = SolveGMC(q.arrivals, q.ca2, c, rho);
            return {s.Pwait, s.EWq, tail ? GmcWaitingTail(s, q.t) : 0};
        }
        case StaffingModel::ErlangA: {
            const ErlangASolution s = SolveErlangA(c, rho, q.theta);
            return {s.statistics.Pwait, s.statistics.EWq, tail ? ErlangAWaitingTail(s, q.t) : 0,
                    s.Pab};
        }
        default: {
            const MmcSolution s = SolveMMC(c, rho);
            return {s.Pdelay, s.EWq, tail ? MmcWaitingTail(s, q.t) : 0};
        }
    }
}

// The run at c, made once per search.
const StaffingRow& RunAt(const StaffingQuestion& q, StaffingAnswer& answer, int c) {
    auto it = answer.runs.find(c);
    if (it == answer.runs.end()) it = answer.runs.emplace(c, EvaluateStaffing(q, c)).first;
    return it->second;
}

struct StaffingParameters {
    StaffingQuestion question;
    bool maxRhoGiven = false;
    GraphHandle graph = kNoGraph;
};

std::string Title(const StaffingQuestion& q) {
    std::string title =
        "Staffing of the " + std::string(kStaffingModelItems[static_cast<int>(q.model)]) + " queue";
    if (q.model == StaffingModel::GMC)
        title += " (" + std::string(kGmcArrivalItems[static_cast<int>(q.arrivals)]) + ")";
    return title;
}

std::string TargetText(const StaffingQuestion& q) {
    switch (q.target) {
        case StaffingTarget::WaitingTail:
            return Format("P{Wq>t}<=%.6g at t=%.6g", {q.bound, q.t});
        case StaffingTarget::MeanWait:
            return Format("E(Wq)<=%.6g", {q.bound});
        case StaffingTarget::Abandonment:
            return Format("Pab<=%.6g", {q.bound});
        default:
            return Format("Pwait<=%.6g", {q.bound});
    }
}

StaffingParameters Parameters(const QueueRun& run, QueueHost& host) {
    const FieldValues& f = run.fields;
    StaffingParameters p;
    StaffingQuestion& q = p.question;
    q.model = static_cast<StaffingModel>(run.selection.item(0));
    q.arrivals = static_cast<GmcArrivals>(run.selection.item(1));
    q.ca2 = f.find("ca2").value_or(0);
    q.theta = f.find("theta").value_or(1);
    q.a = f["a"];
    q.target = static_cast<StaffingTarget>(run.selection.item(2));
    switch (q.target) {
        case StaffingTarget::WaitingTail:
            q.t = f["t"];
            q.bound = f["alpha"];
            break;
        case StaffingTarget::MeanWait:
            q.bound = f["ewq"];
            break;
        case StaffingTarget::Abandonment:
            q.bound = f["pab"];
            break;
        default:
            q.bound = f["pwait"];
    }
    if (const auto maxRho = f.find("maxrho")) {
        q.maxRho = *maxRho;
        p.maxRhoGiven = true;
    }
    if (run.selection.item(3) == 1)
        p.graph = host.createGraphWindow(
            GraphWindowKind::GMC,
            {Title(q),
             q.model == StaffingModel::GMC && q.arrivals != GmcArrivals::Deterministic
                 ? Format("CA2 = %.4g", {q.ca2})
             : q.model == StaffingModel::ErlangA ? Format("theta = %.4g", {q.theta})
                                                 : "",
             Format("a = %.6g", {q.a}), TargetText(q), ""});
    return p;
}

std::string ParameterLine(const StaffingParameters& p) {
    const StaffingQuestion& q = p.question;
    std::string line = Format("Parameters: a=%.6g", {q.a});
    if (q.model == StaffingModel::GMC && q.arrivals != GmcArrivals::Deterministic)
        line += Format("  CA2=%.5g", {q.ca2});
    if (q.model == StaffingModel::ErlangA) line += Format("  theta=%.6g", {q.theta});
    line += "  target " + TargetText(q);
    if (p.maxRhoGiven) line += Format("  maxrho=%.6g", {q.maxRho});
    return line;
}

std::string MeasureName(StaffingTarget target) {
    switch (target) {
        case StaffingTarget::WaitingTail:
            return "P{Wq>t}";
        case StaffingTarget::MeanWait:
            return "E(Wq)";
        case StaffingTarget::Abandonment:
            return "Pab";
        default:
            return "Pwait";
    }
}

// The targets whose figure the table shows in a column of its own.
bool OwnColumn(StaffingTarget target) {
    return target == StaffingTarget::WaitingTail || target == StaffingTarget::Abandonment;
}

void WriteTable(ResultWriter& out, const StaffingQuestion& q,
                const std::vector<StaffingRow>& rows) {
    const bool own = OwnColumn(q.target);
    std::string header = Format("%4s  %10s  %10s  %10s", {"c", "rho", "Pwait", "E(Wq)"});
    if (own) header += Format("  %10s", {MeasureName(q.target)});
    header += "  Met";
    std::vector<std::string> lines;
    for (const StaffingRow& r : rows) {
        std::string line = Format("%4d  %10.6g", {r.c, r.rho});
        if (!r.solved) {
            lines.push_back(line + "  rho too small for reliable results");
            continue;
        }
        line += "  " + FormatProb(r.Pwait) + Format("  %10.5g", {r.EWq});
        if (own) line += "  " + FormatProb(r.measure);
        line += r.met ? "  yes" : r.measure <= q.bound ? "  no (rho above maxrho)" : "  no";
        lines.push_back(line);
    }
    WriteResultTable(out, header, lines);
}

std::string OutcomeMessage(const StaffingQuestion& q, const StaffingAnswer& answer) {
    const std::string model(kStaffingModelItems[static_cast<int>(q.model)]);
    switch (answer.outcome) {
        case StaffingOutcome::LoadTooLarge:
            return Format(
                "a = %.6g Erlangs needs more than %d servers at rho <= %s: beyond the "
                "%s model's range.",
                {q.a, answer.limit, Format("%.6g", {Fields(q.model).load.upper}), model});
        case StaffingOutcome::MaxRhoUnreachable:
            return Format("No c up to %d keeps rho <= %.6g in the %s model.",
                          {answer.limit, q.maxRho, model});
        case StaffingOutcome::AllRefused:
            return Format(
                "The %s model refuses a = %.6g Erlangs at every c from %d to %d: rho "
                "too small for reliable results.",
                {model, q.a, answer.first, answer.limit});
        default:
            return Format("The target is not met by any c from %d to %d that the %s model takes.",
                          {answer.accepted.front(), answer.accepted.back(), model});
    }
}

// The target's figure against c around the answer, with the target as a line.
void PlotStaffing(QueueHost& host, GraphHandle window, const StaffingQuestion& q,
                  StaffingAnswer& answer) {
    if (answer.accepted.empty()) return;
    const int top = answer.outcome == StaffingOutcome::Found ? std::min(answer.c + 3, answer.limit)
                                                             : answer.accepted.back();
    std::vector<ChartPoint> points;
    for (const int c : answer.accepted) {
        if (c <= top - 24 || c > top) continue;  // marks for at most 24
        const StaffingRow& r = RunAt(q, answer, c);
        if (r.solved) points.push_back({static_cast<double>(c), r.measure});
    }
    if (points.empty()) return;
    const bool probability = q.target != StaffingTarget::MeanWait;
    ChartPlot curve;
    curve.graphTitle = MeasureName(q.target) + " against c";
    curve.xAxis.title = "Number of servers c";
    curve.yAxis.title = probability ? "Probability" : "Mean waiting time";
    curve.yAxis.logScale = true;
    curve.yAxis.autoSizing = true;
    curve.yAxis.autoStepping = true;
    curve.points = points;
    host.plot(window, 0, curve);
    ChartPlot target;
    target.series = 2;
    target.points = {{points.front().x, q.bound}, {points.back().x, q.bound}};
    target.drawPoints = false;
    target.drawLine = true;
    target.color = kChartRed;
    host.plot(window, 0, target);
}

// The first index in 0..size-1 where met holds, for a met that holds from some index on: gallop
// from `start` (steps 1, 2, 4, ...) upward to an index that meets it, or downward to one that
// does not, then bisect between the two. About 2 log2 of the answer's distance from `start` in
// calls.
template <class Met>
std::optional<std::size_t> FirstMet(std::size_t size, std::size_t start, Met&& met) {
    std::size_t missed = 0, hit = 0;
    if (met(start)) {
        hit = start;
        for (std::size_t step = 1;; step *= 2) {
            if (hit == 0) return 0;
            missed = hit > step ? hit - step : 0;
            if (!met(missed)) break;
            hit = missed;
        }
    } else {
        missed = start;
        for (std::size_t step = 1;; step *= 2) {
            if (missed == size - 1) return std::nullopt;
            hit = std::min(missed + step, size - 1);
            if (met(hit)) break;
            missed = hit;
        }
    }
    while (hit - missed > 1) {
        const std::size_t middle = missed + (hit - missed) / 2;
        (met(middle) ? hit : missed) = middle;
    }
    return hit;
}

// Where the exact search starts: the first c that an M/M/c meets with its waiting times scaled by
// the model's variability, (ca2 + cs2) / 2 (Kingman). Its runs cost microseconds; a poor guess
// costs model runs, never the answer, which the exact search decides. M/M/c+M, whose answers may
// lie below the first c with rho <= 1, starts there.
std::size_t GuessedStart(const StaffingQuestion& q, const std::vector<int>& accepted,
                         std::size_t stable) {
    double variability = 1;
    switch (q.model) {
        case StaffingModel::MDC:
        case StaffingModel::DMC:
            variability = 0.5;
            break;
        case StaffingModel::GMC:
            variability = (q.ca2 + 1) / 2;
            break;
        case StaffingModel::ErlangA:
            return stable;
        default:
            break;
    }
    const auto approximatelyMet = [&](std::size_t i) {
        const int c = accepted[i];
        const double rho = LoadPerServer(q.a, c);
        if (!(rho < 1)) return false;
        const MmcSolution s = SolveMMC(c, rho);
        switch (q.target) {
            case StaffingTarget::WaitingTail:
                return s.Pdelay * std::exp(-(1 - rho) * c * q.t / variability) <= q.bound;
            case StaffingTarget::MeanWait:
                return s.EWq * variability <= q.bound;
            default:
                return s.Pdelay <= q.bound;
        }
    };
    // Met by none: the last c decides at once whether any c is.
    return FirstMet(accepted.size(), stable, approximatelyMet).value_or(accepted.size() - 1);
}

}  // namespace

int StaffingServerLimit(StaffingModel model) {
    return static_cast<int>(Fields(model).servers.upper);
}

int StaffingSmallestStable(StaffingModel model, double a) {
    const FieldLimit& load = Fields(model).load;
    const int limit = StaffingServerLimit(model);
    // a / upper is within a server of the answer; the steps settle the rounding.
    const double guess = std::ceil(a / load.upper);
    if (!(guess <= limit)) return limit + 1;
    int c = std::max(1, static_cast<int>(guess));
    while (c > 1 && LoadPerServer(a, c - 1) <= load.upper + load.slack)
        --c;
    while (c <= limit && LoadPerServer(a, c) > load.upper + load.slack)
        ++c;
    return c;
}

StaffingRow EvaluateStaffing(const StaffingQuestion& q, int c) {
    StaffingRow row;
    row.c = c;
    row.rho = LoadPerServer(q.a, c);
    if (Refused(q, c)) return row;
    const Figures f = Solve(q, c);
    row.solved = true;
    row.Pwait = f.Pwait;
    row.EWq = f.EWq;
    switch (q.target) {
        case StaffingTarget::WaitingTail:
            row.measure = f.tail;
            break;
        case StaffingTarget::MeanWait:
            row.measure = f.EWq;
            break;
        case StaffingTarget::Abandonment:
            row.measure = f.Pab;
            break;
        default:
            row.measure = f.Pwait;
    }
    row.met = row.measure <= q.bound && row.rho <= q.maxRho;
    return row;
}

StaffingAnswer FindStaffing(const StaffingQuestion& q) {
    StaffingAnswer answer;
    answer.limit = StaffingServerLimit(q.model);
    const int stable = StaffingSmallestStable(q.model, q.a);
    if (stable > answer.limit) {
        answer.outcome = StaffingOutcome::LoadTooLarge;
        return answer;
    }
    // The smallest c with a / c <= maxRho, in doubles first: a tiny maxRho asks for more
    // servers than an int holds.
    const double needed = std::ceil(q.a / q.maxRho);
    if (!(needed <= answer.limit)) {
        answer.outcome = StaffingOutcome::MaxRhoUnreachable;
        return answer;
    }
    int first = std::max(stable, static_cast<int>(needed));
    while (first > stable && LoadPerServer(q.a, first - 1) <= q.maxRho)
        --first;
    while (first <= answer.limit && LoadPerServer(q.a, first) > q.maxRho)
        ++first;
    answer.first = first;
    if (first > answer.limit) {
        answer.outcome = StaffingOutcome::MaxRhoUnreachable;
        return answer;
    }
    // A refusal costs nothing to check, so the search runs over the accepted c alone.
    for (int c = first; c <= answer.limit; ++c)
        if (!Refused(q, c)) answer.accepted.push_back(c);
    if (answer.accepted.empty()) {
        answer.outcome = StaffingOutcome::AllRefused;
        return answer;
    }
    // From the first c with rho <= 1: the answers lie above it but for loose targets of M/M/c+M,
    // whose chains below it (rho up to 2, with slow abandonment a queue of 100000) are the
    // longest to solve. The other models take no rho above 1: there it is the first c.
    const auto fromStable = std::find_if(answer.accepted.begin(), answer.accepted.end(),
                                         [&](int c) { return LoadPerServer(q.a, c) <= 1; });
    const std::size_t firstStable = std::min<std::size_t>(
        static_cast<std::size_t>(fromStable - answer.accepted.begin()), answer.accepted.size() - 1);
    const std::size_t start = GuessedStart(q, answer.accepted, firstStable);
    const auto hit = FirstMet(answer.accepted.size(), start, [&](std::size_t i) {
        return RunAt(q, answer, answer.accepted[i]).met;
    });
    if (!hit) {
        answer.outcome = StaffingOutcome::NotMet;
        return answer;
    }
    answer.outcome = StaffingOutcome::Found;
    answer.c = answer.accepted[*hit];
    return answer;
}

std::vector<StaffingRow> StaffingTableRows(const StaffingQuestion& q, StaffingAnswer& answer) {
    std::vector<int> cs;
    if (answer.outcome == StaffingOutcome::Found) {
        const int stable = StaffingSmallestStable(q.model, q.a);
        for (int c = std::max(answer.c - 1, stable); c <= std::min(answer.c + 3, answer.limit); ++c)
            cs.push_back(c);
    } else if (answer.outcome == StaffingOutcome::NotMet) {
        const std::size_t from =
            answer.accepted.size() - std::min<std::size_t>(5, answer.accepted.size());
        cs.assign(answer.accepted.begin() + static_cast<std::ptrdiff_t>(from),
                  answer.accepted.end());
    }
    std::vector<StaffingRow> rows;
    for (const int c : cs)
        rows.push_back(RunAt(q, answer, c));
    return rows;
}

namespace {

void RunStaffing(const QueueRun& run, QueueHost& host) {
    const StaffingParameters parameters = Parameters(run, host);
    const StaffingQuestion& q = parameters.question;
    ResultWriter& out = host.results();
    // The heading first, so that a model run that gives up is seen to belong to it.
    WriteReportHeader(out, Title(q), ParameterLine(parameters));
    const auto busy = host.busy();
    StaffingAnswer answer = FindStaffing(q);
    if (answer.outcome == StaffingOutcome::Found) {
        out.AddResultLine(Format("Smallest number of servers: c = %d", {answer.c}));
    } else {
        out.AddResultLine("Smallest number of servers: none");
        out.AddResultLine(OutcomeMessage(q, answer));
    }
    WriteTable(out, q, StaffingTableRows(q, answer));
    out.AddResultLine("");
    if (parameters.graph != kNoGraph) PlotStaffing(host, parameters.graph, q, answer);
}

bool GmcModel(const Selection& s) {
    return s.item(0) == static_cast<int>(StaffingModel::GMC);
}
bool ErlangAModel(const Selection& s) {
    return s.item(0) == static_cast<int>(StaffingModel::ErlangA);
}
bool Target(const Selection& s, StaffingTarget target) {
    return s.item(2) == static_cast<int>(target);
}

constexpr FieldSpec kFields[] = {
    {.editName = "Staffing_Load_edit",
     .caption = "a (Erlangs):",
     .limits = One(kStaffingLoad),
     .incorrect = "a incorrect",
     .outOfRange = "a out of range",
     .editHint = "Enter the offered load a = lambda*E(s)"},
    {.editName = "Staffing_CA2_Edit",
     .caption = "CA2:",
     .limits = kGmcCa2Limits,
     .incorrect = "CA2 incorrect",
     .outOfRange = "CA2 out of range",
     .limitChoice = 1,
     .shown = GmcModel,
     .enabled = [](const Selection& s) { return GmcRandomArrivals(s.item(1)); },
     .disabledText = "0"},
    {.editName = "Staffing_Theta_edit",
     .caption = "Theta:",
     .limits = One(kErlangAPatience),
     .incorrect = "Theta incorrect",
     .outOfRange = "Theta out of range",
     .shown = ErlangAModel,
     .editHint = "Enter theta = E(s) / mean patience"},
    {.editName = "Staffing_T_edit",
     .caption = "t:",
     .limits = One(kStaffingTime),
     .incorrect = "t incorrect",
     .outOfRange = "t out of range",
     .shown = [](const Selection& s) { return Target(s, StaffingTarget::WaitingTail); }},
    // One edit holds the bound of the probability targets; the batch tool names them apart.
    {.editName = "Staffing_Alpha_edit",
     .caption = "alpha:",
     .limits = One(kStaffingAlpha),
     .incorrect = "alpha incorrect",
     .outOfRange = "alpha out of range",
     .shown = [](const Selection& s) { return Target(s, StaffingTarget::WaitingTail); }},
    {.editName = "Staffing_Alpha_edit",
     .caption = "alpha:",
     .limits = One(kStaffingDelay),
     .incorrect = "alpha incorrect",
     .outOfRange = "alpha out of range",
     .shown = [](const Selection& s) { return Target(s, StaffingTarget::DelayProbability); }},
    {.editName = "Staffing_Alpha_edit",
     .caption = "alpha:",
     .limits = One(kStaffingAbandonment),
     .incorrect = "alpha incorrect",
     .outOfRange = "alpha out of range",
     .shown = [](const Selection& s) { return Target(s, StaffingTarget::Abandonment); }},
    {.editName = "Staffing_W_edit",
     .caption = "w:",
     .limits = One(kStaffingMeanWait),
     .incorrect = "w incorrect",
     .outOfRange = "w out of range",
     .shown = [](const Selection& s) { return Target(s, StaffingTarget::MeanWait); }},
    {.editName = "Staffing_MaxRho_edit",
     .caption = "Largest rho:",
     .limits = One(kStaffingMaxRho),
     .incorrect = "Largest utilisation incorrect",
     .outOfRange = "Largest utilisation out of range",
     .optional = true,
     .editHint = "Leave empty for no bound on the utilisation"},
};
constexpr std::string_view kModelKeys[] = {"mmc", "mdc", "dmc", "gmc", "erlanga"};
constexpr std::string_view kTargetKeys[] = {"t alpha", "ewq", "pwait", "pab"};
constexpr std::string_view kGraphItems[] = {"no graph", "graph of the target against c"};
constexpr ChoiceSpec kChoices[] = {
    {.key = "model",
     .objectName = "Staffing_Model_RadioGroup",
     .title = "Model",
     .items = kStaffingModelItems,
     .itemKeys = kModelKeys},
    {.key = "arrivals",
     .objectName = "Staffing_Arrivals_RadioGroup",
     .title = "Arrivals Distribution",
     .items = kGmcArrivalItems,
     .shown = GmcModel},
    {.key = "",
     .objectName = "Staffing_Target_RadioGroup",
     .title = "Target",
     .items = kStaffingTargetItems,
     .impliedBy = kTargetKeys},
    {.key = "graph",
     .objectName = "Staffing_Graph_CheckBox",
     .title = "Graph of the target against c",
     .items = kGraphItems,
     .checkBox = true},
};
constexpr LayoutItem kLayout[] = {
    {Slot::Choice, 0}, {Slot::Field, 0},  {Slot::Choice, 1}, {Slot::Field, 1},
    {Slot::Field, 2},  {Slot::Choice, 2}, {Slot::Field, 3},  {Slot::Field, 4},
    {Slot::Field, 7},  {Slot::Field, 8},  {Slot::Choice, 3},
};

// The answer's line reads "Smallest number of servers: c = N".
constexpr FigureSpec kFigures[] = {{"c"}};

}  // namespace

constinit const QueueModelSpec kStaffingModel{
    .key = "staffing",
    .caption = "Staffing",
    .title = "Staffing",
    .sheetName = "Staffing_TabSheet",
    .prefix = "Staffing",
    .helpContext = 190,
    .helpPage = "staffing.html",
    .helpTitle = "Staffing",
    .summary =
        "Staffing: the smallest c meeting a service level in M/M/c, M/D/c, D/M/c, G/M/c or "
        "M/M/c+M",
    .example = "model=mmc a=10 pwait=0.2",
    .fields = kFields,
    .choices = kChoices,
    .layout = kLayout,
    .figures = kFigures,
    .run = RunStaffing,
};

}  // namespace wachtrix
