#include "core/queue/machine.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <type_traits>

#include "core/numeric/distribution_terms.h"
#include "core/numeric/gauss_legendre.h"
#include "core/numeric/log_gamma.h"
#include "core/numeric/numerical_failure.h"
#include "core/queue/graph_points.h"
#include "core/queue/output_tables.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/queue/waiting_tails.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix {
namespace {

using Extended = long double;

constexpr int kGaussPoints = 32;
// Unnormalised weights are brought down by 2^-3000 (about 1e-903) whenever one passes 2^3000:
// a common factor leaves the probabilities as they are and keeps the sums inside the range.
constexpr int kRescaleExponent = 3000;

// The same common factor on a(0..last) and on `also` whenever a(last) has grown too large.
template <class Also>
void KeepInRange(std::vector<Extended>& a, int last, Also& also) {
    if (a[last] < std::ldexp(Extended(1), kRescaleExponent)) return;
    for (int k = 0; k <= last; ++k)
        a[k] = std::ldexp(a[k], -kRescaleExponent);
    if constexpr (std::is_same_v<Also, Extended>) {
        also = std::ldexp(also, -kRescaleExponent);
    } else {
        for (Extended& x : also)
            x = std::ldexp(x, -kRescaleExponent);
    }
}

std::vector<double> Normalised(const std::vector<Extended>& a) {
    Extended total = 0;
    for (const Extended x : a)
        total += x;
    if (!std::isfinite(total) || total <= 0)
        throw NumericalFailure({"The machine repair probabilities could not be normalised"});
    std::vector<double> p(a.size());
    for (std::size_t j = 0; j < a.size(); ++j)
        p[j] = static_cast<double>(a[j] / total);
    return p;
}

// X(j), j = c..M: the integral over [0, 1] of (1 - x)^(c - 1) times the chance that j - c of the
// M - c working machines fail within x. At each node those chances are binomial terms; the
// panels follow (1 - x)^(c - 1) and e^(-nu x (M - j)), which live near 0.
std::vector<Extended> RegenerationWeights(const std::vector<Extended>& lnFactorial, int c, int M,
                                          double nu) {
    // The weights come from the derivative at the last Newton step but one: the tight tolerance
    // keeps them to the extended precision.
    const auto rule = GaussLegendrePanels<Extended>(
        kGaussPoints, 0, 1, 1 / (c + static_cast<Extended>(nu) * (M - c + 1)), 1e-17L);
    std::vector<Extended> X(M + 1, 0.0L);
    for (std::size_t q = 0; q < rule.nodes.size(); ++q) {
        const Extended x = rule.nodes[q];
        const Extended nux = static_cast<Extended>(nu) * x;
        const Extended kernel = std::log(rule.weights[q]) + (c - 1) * std::log1p(-x);
        const std::vector<Extended> b = BinomialTerms(lnFactorial, M - c, std::expm1(nux),
                                                      std::log(-std::expm1(-nux)), -nux, kernel);
        for (int j = c; j <= M; ++j)
            X[j] += b[j - c];
    }
    return X;
}

// p(0..M) for deterministic repairs of length 1, the regenerative approximation. While all c
// repairmen are busy, one finishes every 1/c; over such a period started with k broken, the
// expected time at j > k is C(M - k, j - k) times the integral over [0, 1/c] of
// (1 - e^(-nu t))^(j - k) e^(-nu t (M - j)), which is P{binomial(M - k, U) > j - k} / ((M - j)
// nu) with U = 1 - e^(-nu / c), and at j = M the sum over s > M - k of U^s / s, over nu. Both
// are summed from their small ends, so a light load keeps the digits of its far states (a
// recursion over j gave them as differences, noise below 1e-15).
std::vector<double> DeterministicProbabilities(int c, int M, double nu) {
    const std::vector<Extended> lnFactorial = LogFactorialTable<Extended>(M);
    const std::vector<Extended> X = RegenerationWeights(lnFactorial, c, M, nu);
    const Extended perPeriod = static_cast<Extended>(nu) / c;
    const Extended U = -std::expm1(-perPeriod), lnU = std::log(U), r = std::expm1(perPeriod);

    // T(n) = sum over s > n of U^s / s, n = 1..M - c: from the top by a series while it converges
    // fast, else as -ln(1 - U) less the first terms, where no digits are lost.
    const int top = M - c;
    std::vector<Extended> T(top + 2, 0.0L);
    if (U <= 0.99L) {
        Extended term = std::exp((top + 1) * lnU);
        for (int s = top + 1; term > 1e-25L * T[top] && s < top + 10000; ++s, term *= U)
            T[top] += term / s;
    } else {
        T[top] = perPeriod;
        Extended power = 1;
        for (int s = 1; s <= top; ++s) {
            power *= U;
            T[top] -= power / s;
        }
    }
    for (int n = top - 1; n >= 1; --n)
        T[n] = T[n + 1] + std::exp((n + 1) * lnU) / (n + 1);

    std::vector<Extended> a(M + 1, 0.0L);
    // Below c every broken machine is in repair: binomial weights C(M, j) nu^j.
    for (int j = 0; j < c; ++j)
        a[j] = std::exp(LnBinomial(lnFactorial, M, j) + j * std::log(static_cast<Extended>(nu)));
    // reached[j]: what the periods started at c..j-1 put at j, times M - j; at M apart.
    std::vector<Extended> reached(M + 1, 0.0L);
    for (int j = c; j <= M; ++j) {
        const Extended fromBelow = static_cast<Extended>(M - c + 1) * nu * X[j] * a[c - 1];
        if (j < M) {
            // A period started at j stays there with e^(-(M - j) nu / c).
            a[j] = (reached[j] / (M - j) + fromBelow) / std::exp(-(M - j) * perPeriod);
        } else {
            a[j] = reached[j] + fromBelow;
        }
        if (!std::isfinite(a[j]) || a[j] < 0)
            throw NumericalFailure({"The machine repair recursion lost its accuracy"});
        if (j == M) break;
        const int n = M - j;  // working machines while the period runs
        const std::vector<Extended> b = BinomialTerms(lnFactorial, n, r, lnU, -perPeriod);
        Extended above = 0;  // P{binomial(n, U) > i - j}, from the top
        for (int i = M - 1; i > j; --i) {
            above += b[i - j + 1];
            reached[i] += a[j] * n * above;
        }
        reached[M] += a[j] * n * T[n];
        KeepInRange(a, j, reached);
    }
    return Normalised(a);
}

// q(j) = (M - j) p(j) / sum of (M - k) p(k): what a failing machine finds.
std::vector<double> FailureAverage(const std::vector<double>& p) {
    const int M = static_cast<int>(p.size()) - 1;
    long double total = 0;
    for (int j = 0; j <= M; ++j)
        total += static_cast<long double>(M - j) * p[j];
    std::vector<double> q(M + 1, 0.0);
    for (int j = 0; j < M; ++j)
        q[j] = static_cast<double>((M - j) * p[j] / total);
    return q;
}

std::span<const double> Found(const FinSrcSolution& s) {
    return std::span<const double>(s.Q).first(s.M);  // q(M) = 0: a broken machine cannot fail
}

// ---- The run ----

struct FinSrcParameters {
    FinSrcService service;
    int c, M;
    double nu;
    OutputRequest output;
};

const char* ServiceName(FinSrcService service) {
    return service == FinSrcService::Deterministic ? "deterministic" : "exponential";
}

// Writes the header; the Graphs item draws the curve the tab's graph group picks.
FinSrcParameters Parameters(const QueueRun& run, QueueHost& host) {
    const FinSrcService service =
        run.selection.item(0) == 1 ? FinSrcService::Deterministic : FinSrcService::Exponential;
    FinSrcParameters p{service, run.fields.integer("c"), run.fields.integer("M"), run.fields["nu"],
                       run.output};
    WriteReportHeader(host.results(),
                      std::string("Finite-source queue (") + ServiceName(service) + " services)",
                      Format("Parameters: c=%d  M=%d  nu=%.5g", {std::min(p.c, p.M), p.M, p.nu}));
    if (p.output.mode == kGraphs) {
        static constexpr OutputMode kGraphModes[] = {kGraphs, kTimeStateGraph, kCustomerStateGraph};
        p.output.mode = kGraphModes[run.selection.item(1)];
    }
    return p;
}

// What an overloaded system cannot give: the output's name in the two lines that say so.
const char* OverloadedOutputName(OutputMode mode) {
    switch (mode) {
        case kTimeStates:
        case kTimeStateGraph:
            return "time average state probabilities";
        case kCustomerStates:
        case kCustomerStateGraph:
            return "customer average state probabilities";
        default:
            return "waiting time probabilities";
    }
}

void WriteReport(ResultWriter& out, const FinSrcSolution& s, const FinSrcStatistics& st,
                 const OutputRequest& output) {
    const auto g = [](const char* format, double v) { return Format(format, {std::fabs(v)}); };
    std::vector<StatisticText> lines = {{"Pwait", FormatProbTrimmed(st.Pwait)},
                                        {"Pbusy", FormatProbTrimmed(st.Pbusy)},
                                        {"E(Wq)", g("%.5g", st.EWq)},
                                        {"E(Lq)", g("%.5g", st.ELq)}};
    if (!s.overloaded) {
        lines.push_back({"Std(Wq)", FigureOrNone("%.4g", st.StdWq)});
        lines.push_back({"Std(Lq)", g("%.4g", st.StdLq)});
    }
    lines.push_back({"Utilization", g("%.4g", st.Utilization)});
    lines.push_back({"Throughput", g("%.4g", st.Busy)});
    // The overloaded figures are the saturated limit, not the approximating chain's.
    const bool approximate = s.service == FinSrcService::Deterministic && !s.exact;
    const bool chain = approximate && !s.overloaded;
    WriteHeadedStatistics(out, approximate ? "Approximations: " : "Results:        ", lines);
    if (chain) WriteApproximationNote(out);
    if (s.overloaded) {
        if (output.mode != kStatistics) {
            out.AddResultLine(std::string("The ") + OverloadedOutputName(output.mode) +
                              " cannot be computed ");
            out.AddResultLine("accurately enough for this extremely overloaded system.");
        }
    } else {
        SolutionTables tables;
        tables.waitingTail = [&s](double t) { return FinSrcWaitingTail(s, t); };
        tables.timeStates = [&s](const std::vector<int>& n) { return StateRowsOf(s.P, n); };
        tables.customerStates = [&s](const std::vector<int>& n) { return StateRowsOf(s.Q, n); };
        WriteRequestedTable(out, output, tables);
    }
    if (chain)
        WriteApproximationAccuracyCheck(out, std::fabs(st.accuracy));
    else
        WriteAccuracyCheck(out, std::fabs(st.accuracy));
}

// Point 0 is (0, 1); on the logarithmic axis nothing is drawn below 0.001.
ChartPlot LogCurve(std::vector<ChartPoint> points, const char* title, const char* xTitle) {
    points.insert(points.begin(), ChartPoint{0, 1});
    for (ChartPoint& point : points)
        point.y = std::max(point.y, 0.001);
    ChartPlot plot = MarksOrLine(std::move(points));
    plot.graphTitle = title;
    plot.xAxis.title = xTitle;
    return plot;
}

void PlotGraph(QueueHost& host, const FinSrcSolution& s, const FinSrcStatistics& st,
               OutputMode mode) {
    ResultWriter& out = host.results();
    ChartPlot plot;
    if (mode == kGraphs) {
        if (st.Pwait < 1e-6) {
            WriteRunMessage(out, "Pdelay too small for graphs.");
            return;
        }
        std::vector<ChartPoint> waiting =
            ConditionalWaitingCurve([&s](double t) { return FinSrcWaitingTail(s, t); }, st.Pwait);
        if (waiting.empty()) {
            WriteRunMessage(out, "The waiting time is too short to plot");
            return;
        }
        plot = LogCurve(std::move(waiting), "P{Wq > t | Wq > 0}", "Time t");
    } else {
        const bool time = mode == kTimeStateGraph;
        const std::vector<double>& p = time ? s.P : s.Q;
        // Conditioned on L > 0, the curve needs some chance of L > 0: a failing machine may
        // never find another broken, as with a single machine.
        if (1 - p[0] < 1e-12) {
            WriteRunMessage(out, time ? "P{L(time)>0} too small for graphs."
                                      : "P{L(cust)>0} too small for graphs.");
            return;
        }
        plot = time ? LogCurve(StateTailCurve(p), "P{ L(time) > n | L(time) > 0}", "State n")
                    : LogCurve(StateTailCurve(p), "P{ L(cust) > n | L(cust) > 0}", "State n");
    }
    const GraphHandle window = host.createGraphWindow(
        GraphWindowKind::GMC,
        {"Logarithmic graph of the machine repair queue", Format("c = %d", {s.cEff}),
         Format("M = %d", {s.M}), Format("nu = %.4g", {s.nu}),
         s.service == FinSrcService::Deterministic ? "Deterministic services"
                                                   : "Exponential services"});
    host.plot(window, 0, std::move(plot));
}

}  // namespace

std::vector<double> FinSrcExponentialProbabilities(int cEff, int M, double nu) {
    std::vector<Extended> a(M + 1, 0.0L);
    a[0] = 1;
    Extended unused = 0;
    for (int j = 1; j <= M; ++j) {
        a[j] = a[j - 1] * static_cast<Extended>(M - j + 1) * nu / std::min(j, cEff);
        KeepInRange(a, j, unused);
    }
    return Normalised(a);
}

bool FinSrcOverloaded(int cEff, int M, double nu) {
    const std::vector<double> p = FinSrcExponentialProbabilities(cEff, M, nu);
    // The failures that find a repairman free, as a share of all: 1 - R.
    long double free = 0, all = 0;
    for (int j = 0; j <= M; ++j) {
        const long double rate = static_cast<long double>(M - j) * p[j];
        all += rate;
        if (j < cEff) free += rate;
    }
    return free / all < 1e-10L;
}

FinSrcSolution SolveFinSrc(FinSrcService service, int c, int M, double nu) {
    FinSrcSolution s;
    s.service = service;
    s.c = c;
    s.cEff = std::min(c, M);
    s.M = M;
    s.nu = nu;
    if (service == FinSrcService::Exponential) {
        s.P = FinSrcExponentialProbabilities(s.cEff, M, nu);
    } else {
        s.overloaded = FinSrcOverloaded(s.cEff, M, nu);
        if (s.overloaded) return s;
        if (s.cEff == 1) {
            s.exact = std::make_shared<const SingleDeterministicServer>(
                SingleServerArrivals{SingleServerArrivals::Kind::FiniteSource, nu, M});
            const std::vector<long double>& p = s.exact->timeAverage();
            for (const long double x : p)
                if (!std::isfinite(x))
                    throw NumericalFailure(
                        {"The machine repair probabilities could not be normalised"});
            s.P.assign(p.begin(), p.end());
            s.Q = FailureAverage(s.P);
            return s;
        }
        s.P = DeterministicProbabilities(s.cEff, M, nu);
    }
    s.Q = FailureAverage(s.P);
    return s;
}

FinSrcStatistics FinSrcStatisticsOf(const FinSrcSolution& s) {
    FinSrcStatistics st;
    const int c = s.c, cEff = s.cEff, M = s.M;
    const double nu = s.nu;
    if (s.overloaded) {
        st.Pwait = 1;
        st.Pbusy = 1;
        st.Busy = c;
        st.Utilization = 1;
        st.ELq = M - (nu + 1) * c / nu;
        st.EWq = st.ELq / c;
        return st;
    }
    const std::vector<double>& p = s.P;
    long double failures = 0, waiting = 0, busy = 0, busyServers = 0, ELq = 0;
    for (int j = 0; j <= M; ++j) {
        const long double working = static_cast<long double>(M - j) * p[j];
        failures += working;
        if (j >= cEff && j < M) waiting += working;
        if (j >= c) busy += p[j];
        busyServers += static_cast<long double>(std::min(j, cEff)) * p[j];
        if (j > cEff) ELq += static_cast<long double>(j - cEff) * p[j];
    }
    const long double throughput = nu * failures;
    st.Pwait = static_cast<double>(waiting / failures);
    st.Pbusy = static_cast<double>(busy);
    st.Utilization = static_cast<double>(throughput / c);
    st.Busy = static_cast<double>(busyServers);
    st.ELq = static_cast<double>(ELq);
    st.EWq = static_cast<double>(ELq / throughput);
    st.accuracy = static_cast<double>(busyServers - throughput);
    // The variances as sums of squared deviations: positive terms, so a small variance keeps
    // its digits where the second moment less the squared mean would cancel.
    long double VLq = 0;
    for (int j = 0; j <= M; ++j) {
        const long double d = std::max(j - cEff, 0) - ELq;
        VLq += d * d * p[j];
    }
    st.StdLq = static_cast<double>(std::sqrt(VLq));

    if (s.service == FinSrcService::Exponential) {
        // Behind j >= cEff a failing machine waits Erlang(k = j - cEff + 1) at rate cEff: mean
        // k / cEff, variance k / cEff^2.
        const long double rate = cEff;
        long double mean = 0;
        for (int j = cEff; j < M; ++j)
            mean += s.Q[j] * (j - cEff + 1) / rate;
        long double VWq = 0;
        for (int j = 0; j < M; ++j) {
            const long double k = std::max(j - cEff + 1, 0);
            const long double d = k / rate - mean;
            VWq += s.Q[j] * (d * d + k / (rate * rate));
        }
        st.StdWq = static_cast<double>(std::sqrt(VWq));
    } else if (s.exact) {
        st.StdWq = static_cast<double>(std::sqrt(s.exact->waitVariance()));
    } else {
        const long double EWq2 = DeterministicServiceWait(cEff).SecondMoment(Found(s), 1);
        const long double VWq = EWq2 - static_cast<long double>(st.EWq) * st.EWq;
        // The approximation's second moment can fall below the squared mean: no figure then,
        // rather than an impossible one (no wait at all is a deviation of 0).
        st.StdWq = VWq > 1e-12L * EWq2 ? static_cast<double>(std::sqrt(VWq))
                   : EWq2 == 0         ? 0
                                       : kNoFigure;
    }
    return st;
}

double FinSrcWaitingTail(const FinSrcSolution& s, double t) {
    if (s.exact) return static_cast<double>(s.exact->waitingTail(t));
    if (s.service == FinSrcService::Deterministic)
        return DeterministicServiceWait(s.cEff).Tail(Found(s), 1, t);
    return ExponentialServiceTail(Found(s), 1, s.cEff, t);
}

namespace {

void RunFinSrc(const QueueRun& run, QueueHost& host) {
    const FinSrcParameters p = Parameters(run, host);
    const auto busy = host.busy();
    const FinSrcSolution s = SolveFinSrc(p.service, p.c, p.M, p.nu);
    const FinSrcStatistics st = FinSrcStatisticsOf(s);
    WriteReport(host.results(), s, st, p.output);
    const bool graph = p.output.mode == kGraphs || p.output.mode == kTimeStateGraph ||
                       p.output.mode == kCustomerStateGraph;
    if (graph && !s.overloaded) PlotGraph(host, s, st, p.output.mode);
}

constexpr FieldLimit kServerLimits[] = {kFinSrcServersExp, kFinSrcServersDet};
constexpr FieldSpec kFields[] = {
    {"FinSrc_c_Edit", "Number of servers c:", kServerLimits, "c incorrect", "c out of range", 0},
    {"FinSrc_N_Edit", "Number of machines M:", One(kFinSrcMachines), "M incorrect",
     "M out of range"},
    {"FinSrc_nu_edit", "Failure rate nu:", One(kFinSrcFailureRate), "nu incorrect",
     "nu out of range"},
};
constexpr std::string_view kServiceItems[] = {"Exponential services", "Deterministic services"};
constexpr std::string_view kGraphItems[] = {
    "P{ Wq > t  |  Wq > 0 }", "P{ L(time) > n | L(time) > 0 }", "P{ L(cust) > n | L(cust) > 0 }"};
constexpr ChoiceSpec kChoices[] = {
    {.key = "service",
     .objectName = "FinSrc_service_radio_group",
     .title = "Service Type Machine Repair Queue",
     .items = kServiceItems},
    {.key = "graph",
     .objectName = "FinSrc_Graph_Radio_Group",
     .title = "Graphs",
     .items = kGraphItems,
     .shown = [](const Selection& s) { return s.output == 4; }},
};
constexpr OutputSpec kOutputs[] = {{"FinSrc_Output_radio_group", "Output", kFinSrcOutput}};
constexpr LayoutItem kLayout[] = {{Slot::Field, 0},   {Slot::Field, 1}, {Slot::Field, 2},
                                  {Slot::Choice, 0},  {Slot::Outputs},  {Slot::Choice, 1},
                                  {Slot::ValueGroups}};

// The n-values reach M.
std::optional<double> StateUpper(const FieldLookup& field) {
    return field("M");
}

constexpr auto kFigures =
    JoinFigures(kStatisticsFigures,
                std::array{FigureSpec{"Utilization"}, FigureSpec{"Throughput"},
                           FigureSpec{"P{Wq>t}", 'T', true}},
                kAverageStateFigures);

QueueTwin FinSrcTwin(const QueueRun& run) {
    QueueTwin twin;
    twin.servers = run.fields.integer("c");
    twin.sources = run.fields.integer("M");
    twin.failureRate = run.fields["nu"];
    twin.service = run.selection.item(0) == 1 ? DeterministicTime(1) : ExponentialTime(1);
    return twin;
}

}  // namespace

constinit const QueueModelSpec kFinSrcModel{
    .key = "finsrc",
    .caption = "Finite Source",
    .title = "Machine Repair Queue",
    .sheetName = "FinSrc_sheet",
    .prefix = "FinSrc",
    .helpContext = 170,
    .helpPage = "finsrc.html",
    .helpTitle = "Finite Source",
    .summary = "finite-source (machine repair) queue: M machines failing at rate nu, c repairmen",
    .example = "service=0 c=2 M=10 nu=0.1",
    .fields = kFields,
    .choices = kChoices,
    .outputs = kOutputs,
    .groups = kFinSrcGroups,
    .nUpperOf = StateUpper,
    .stackedCaptions = true,
    .layout = kLayout,
    .figures = kFigures,
    .run = RunFinSrc,
    .twin = FinSrcTwin,
};

}  // namespace wachtrix
