#include "core/queue/erlang_a.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "core/numeric/root_finders.h"
#include "core/numeric/safe_math.h"
#include "core/queue/graph_points.h"
#include "core/queue/output_tables.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/queue/state_tails.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix {
namespace {

// Weights below 2^-8000 of the mode's are scaled up by 2^8000 and counted in a level, so that
// their logarithms survive where the numbers themselves would leave the long doubles (an
// overloaded chain with slow abandonment has its bulk e^30000 above state c).
constexpr long double kRescale = 0x1p8000L;
constexpr long double kLnRescale = 8000 * std::numbers::ln2_v<long double>;
// The chain is cut where the probability above is below this share of Pwait.
constexpr long double kTruncation = 1e-20L;
// An offered-wait sum stops where the rest is below this share of what it holds.
constexpr double kSumTail = 1e-18;

constexpr RootFinderCopy kPercentileBrent{
    200,
    {"The M/M/c+M waiting-time percentile could not be bracketed", ""},
    {"Too many iterations for the M/M/c+M waiting-time percentile", ""},
    1e-14};

long double LnState(const ErlangASolution& s, int n) {
    const long double w = s.weight[static_cast<std::size_t>(n)];
    if (w <= 0) return -std::numeric_limits<long double>::infinity();
    return std::log(w) - s.level[static_cast<std::size_t>(n)] * kLnRescale - s.lnTotal;
}

// ln P{V > t}: with z = e^(-theta t) and u = x z the terms P{L = c + j} z^j are proportional to
// u^j / ((y + 1)...(y + j)), y = c / theta, largest at j = u - y; summed outward from there.
long double LnOfferedTail(const ErlangASolution& s, double t) {
    if (s.waiting <= 0) return -std::numeric_limits<long double>::infinity();
    if (t <= 0) return std::log(s.waiting);
    const int J = s.top - s.c;
    const long double theta = s.theta;
    const long double x = s.lambda / theta, y = s.c / theta;
    const long double u = x * std::exp(-theta * t);
    const int peak = u - y <= 0 ? 0 : static_cast<int>(std::min<long double>(std::floor(u - y), J));
    const long double lnPeak =
        LnState(s, s.c + peak) - (s.c + peak * theta) * t - x * std::expm1(-theta * t);
    const double ud = static_cast<double>(u);
    double sum = 1, term = 1;
    for (int j = peak + 1; j <= J; ++j) {
        const double r = ud * s.inverseRate[static_cast<std::size_t>(j)];
        term *= r;
        sum += term;
        // The ratios fall beyond the peak: the rest is below term r / (1 - r).
        if (r < 1 && term * r < kSumTail * sum * (1 - r)) break;
    }
    term = 1;
    const double yd = static_cast<double>(y);
    for (int j = peak - 1; j >= 0; --j) {
        const double q = (yd + j + 1) / ud;
        term *= q;
        sum += term;
        if (q < 1 && term * q < kSumTail * sum * (1 - q)) break;
    }
    return lnPeak + std::log(static_cast<long double>(sum));
}

long double LnWaitingTail(const ErlangASolution& s, double t) {
    return LnOfferedTail(s, t) - s.theta * static_cast<long double>(std::max(t, 0.0));
}

// The long loops over the chain run in functions of their own (noinline), without calls: GCC keeps
// a long double that lives across a call in memory, storing and reloading it at every step, which
// over the 250000 states at c = 2500, theta = 0.01 took most of the run.

// The weights of the states held (level 0) from..to - 1, summed upward.
[[gnu::noinline]] long double SumHeld(const long double* w, const int* level, int from, int to) {
    long double sum = 0;
    for (int n = from; n < to; ++n)
        if (level[n] == 0) sum += w[n];
    return sum;
}

// A customer who finds j waiting leaves state j (those ahead of it) at rate c + j theta + theta:
// into j - 1 with probability (c + j theta) / (c + (j + 1) theta), else abandoning. First and
// second moments of its wait, and the mean wait of a served one, by j; served with probability
// c / (c + (j + 1) theta).
struct WaitMoments {
    int c;
    double theta;
    long double m1 = 0, m2 = 0, servedWait = 0, stay = 0;  // at j - 1

    // From j - 1 to j; theta / (c + j theta), theta times the mean stay at j - 1, into
    // inverseRate[j].
    void step(int j, double* inverseRate) {
        const long double ahead = c + j * static_cast<long double>(theta);
        inverseRate[j] = static_cast<double>(j == 0 ? theta / ahead : theta * stay);
        const long double servedBefore = j == 0 ? 1 : served();
        stay = 1 / (ahead + theta);
        const long double move = ahead * stay;
        m2 = 2 * stay * stay + move * (2 * stay * m1 + m2);
        m1 = stay + move * m1;
        servedWait = move * (servedBefore * stay + servedWait);
    }
    long double served() const { return c * stay; }

    // Steps from..to - 1; with no sums beside them the moments stay in registers.
    [[gnu::noinline]] void carry(int from, int to, double* inverseRate) {
        for (int j = from; j < to; ++j)
            step(j, inverseRate);
    }
};

struct ChainSums {
    long double total = 0, below = 0, busyBelow = 0;  // the weights; below c; busy servers
    // By the customers who find c + j: their number, queue, wait moments, mean wait if served,
    // chance of service, abandonments, and the queue's spread about its mean.
    long double queue = 0, lq = 0, m1 = 0, m2 = 0, servedWait = 0, served = 0, abandoned = 0,
                spread = 0;
};

// w, level: the weights 0..top; fills p (zeros, 0..top) and inverseRate (0..top - c).
[[gnu::noinline]] ChainSums SumChain(const long double* w, const int* level, int top, int c,
                                     double theta, double* p, double* inverseRate) {
    // The states below 2^-8000 of the mode's hold 0 and add nothing; the levels only grow
    // downward, so they are the lowest ones.
    const auto at = [&](int n) { return level[n] == 0 ? w[n] : 0.0L; };
    const long double total = SumHeld(w, level, 0, top + 1);
    long double below = 0, busyBelow = 0;
    for (int n = 0; n < c && n <= top; ++n) {
        below += at(n);
        busyBelow += n * at(n);
    }
    for (int n = 0; n <= top; ++n)
        if (level[n] == 0) p[n] = static_cast<double>(w[n] / total);

    const int J = top - c;
    WaitMoments moments{c, theta};
    // Below the states held the moments only carry on to those above.
    int j = 0;
    while (j <= J && level[c + j] != 0)
        ++j;
    const int firstHeld = j;
    moments.carry(0, firstHeld, inverseRate);
    long double queue = 0, lq = 0, sumM1 = 0, sumM2 = 0, sumServedWait = 0, sumServed = 0,
                abandoned = 0;
    for (; j <= J; ++j) {
        moments.step(j, inverseRate);
        const long double q = w[c + j];
        queue += q;
        lq += j * q;
        sumM1 += q * moments.m1;
        sumM2 += q * moments.m2;
        sumServedWait += q * moments.servedWait;
        sumServed += q * moments.served();
        abandoned += q * ((j + 1) * static_cast<long double>(theta) * moments.stay);
    }
    const long double ELq = lq / total;
    long double spread = below * ELq * ELq;  // no queue below c
    for (j = firstHeld; j <= J; ++j)
        spread += w[c + j] * (j - ELq) * (j - ELq);
    return {total, below,         busyBelow, queue,     lq,    sumM1,
            sumM2, sumServedWait, sumServed, abandoned, spread};
}

}  // namespace

bool ErlangARhoTooSmall(int c, double rho) {
    // B(k, a) falls as k grows, so the first k below the bound settles it.
    const long double a = static_cast<long double>(c) * rho;
    // B(c, a) is at least the Poisson term e^-a a^c / c!: far above the bound, the steps would
    // find nothing (c divisions, where staffing asks at every c up to 2500).
    if (-a + c * std::log(a) - std::lgamma(c + 1.0L) > -540) return false;
    long double B = 1;
    for (int k = 1; k <= c; ++k) {
        B = a * B / (k + a * B);
        if (B < 1e-250L) return true;
    }
    return false;
}

ErlangASolution SolveErlangA(int c, double rho, double theta) {
    ErlangASolution s;
    s.c = c;
    s.rho = rho;
    s.theta = theta;
    const long double lambda = static_cast<long double>(c) * rho;
    s.lambda = lambda;
    const auto mu = [&](int n) -> long double {
        return n <= c ? n : c + static_cast<long double>(n - c) * theta;
    };
    // The most likely state: the last whose death rate does not pass lambda.
    const int mode = lambda <= c ? static_cast<int>(std::floor(lambda))
                                 : c + static_cast<int>(std::floor((lambda - c) / theta));
    std::vector<long double>& w = s.weight;
    std::vector<int>& level = s.level;
    w.assign(static_cast<std::size_t>(mode) + 1, 0);
    level.assign(static_cast<std::size_t>(mode) + 1, 0);
    w[mode] = 1;
    const long double perArrival = 1 / lambda;
    // The weight and its level carried in locals, not read back from the vectors each step.
    long double weight = 1;
    int scaled = 0;
    for (int n = mode; n > 0; --n) {
        weight *= mu(n) * perArrival;
        if (weight < 1 / kRescale) {
            weight *= kRescale;
            ++scaled;
        }
        w[n - 1] = weight;
        level[n - 1] = scaled;
    }
    // Upward the weights fall from the mode on; the state where the geometric bound on what lies
    // above (ratios lambda / mu fall) is below kTruncation Pwait is the last.
    long double waiting = SumHeld(w.data(), level.data(), c, mode + 1);
    for (int n = mode + 1;; ++n) {
        const long double next = w.back() * (lambda / mu(n));
        w.push_back(next);
        level.push_back(0);
        if (n < c) continue;
        waiting += next;
        const long double r = lambda / mu(n + 1);
        if (next == 0 || (r < 1 && next * r < kTruncation * waiting * (1 - r))) break;
    }
    s.top = static_cast<int>(w.size()) - 1;
    s.p.resize(w.size());
    s.inverseRate.resize(static_cast<std::size_t>(s.top - c) + 1);
    const ChainSums sums =
        SumChain(w.data(), level.data(), s.top, c, theta, s.p.data(), s.inverseRate.data());
    s.lnTotal = std::log(sums.total);
    s.greater = StateTails(s.p, 0);
    const long double total = sums.total, queue = sums.queue, ELq = sums.lq / total;
    s.waiting = queue / total;
    const long double EWq = sums.m1 / total;
    const long double Pab = sums.abandoned / total;
    const long double busy = (sums.busyBelow + c * queue) / total;

    QueueStatistics& st = s.statistics;
    st.Pwait = static_cast<double>(s.waiting);
    st.ELq = static_cast<double>(ELq);
    st.EWq = static_cast<double>(EWq);
    st.StdWq = static_cast<double>(std::sqrt(std::fabs(sums.m2 / total - EWq * EWq)));
    st.StdLq = static_cast<double>(std::sqrt(sums.spread / total));
    // Flow balance of the chain (arrivals = services + abandonments) and the abandonments as
    // arriving customers meet them against theta E(Lq).
    st.accuracy = static_cast<double>(std::fabs(lambda - busy - theta * ELq) +
                                      std::fabs(lambda * Pab - theta * ELq));
    s.Pab = static_cast<double>(Pab);
    s.EWqServed = static_cast<double>(sums.servedWait / (sums.below + sums.served));
    return s;
}

double ErlangAOfferedTail(const ErlangASolution& s, double t) {
    return static_cast<double>(std::exp(LnOfferedTail(s, t)));
}

double ErlangAWaitingTail(const ErlangASolution& s, double t) {
    return static_cast<double>(std::exp(LnWaitingTail(s, t)));
}

double ErlangAPercentile(const ErlangASolution& s, double p) {
    if (1 - s.statistics.Pwait >= p) return -1;
    const long double target = std::log1p(-static_cast<long double>(p));
    const auto f = [&](long double x) { return LnWaitingTail(s, static_cast<double>(x)) - target; };
    long double hi = 1;
    for (int doubling = 0; f(hi) > 0; ++doubling) {
        if (doubling == 60) throw NumericalFailure(kPercentileBrent.notBracketed.lines());
        hi *= 2;
    }
    return static_cast<double>(ZBRENT<long double>(f, 0, hi, 1e-15L, kPercentileBrent));
}

StateProbability ErlangAState(const ErlangASolution& s, int n) {
    if (n < 0 || n > s.top) return {0, 0};
    return {s.p[static_cast<std::size_t>(n)], s.greater[static_cast<std::size_t>(n)]};
}

ErlangAWaitingCurves ErlangAWaitingGraphPoints(const ErlangASolution& s) {
    ErlangAWaitingCurves curves;
    // P{V > t} comes from its own sum, which can round a hair above P{V > 0} = Pwait when
    // nearly every customer waits; the conditional curve never rises above 1.
    const double Pwait = s.statistics.Pwait;
    curves.offered = ConditionalWaitingCurve(
        [&s, Pwait](double t) { return std::min(ErlangAOfferedTail(s, t), Pwait); }, Pwait);
    // P{Wq > t} = e^(-theta t) P{V > t}, and P{Wq > 0} = P{V > 0}.
    for (const ChartPoint& point : curves.offered) {
        curves.waiting.push_back({point.x, std::exp(-s.theta * point.x) * point.y});
        if (curves.waiting.back().y <= 0.001) break;
    }
    return curves;
}

std::vector<ChartPoint> ErlangAQueueGraphPoints(const ErlangASolution& s) {
    return WholeChainTailGraphPoints(s.greater);
}

namespace {

void WriteReport(ResultWriter& out, const ErlangASolution& s, const OutputRequest& request) {
    const QueueStatistics& st = s.statistics;
    WriteReportHeader(out, "M/M/c+M queue",
                      Format("Parameters: c=%d  rho=%.6g  theta=%.6g", {s.c, s.rho, s.theta}));
    WriteStatistics(out, {{"Pwait", "%.6g", st.Pwait},
                          {"Pab", "%.6g", s.Pab},
                          {"E(Wq)", "%.5g", st.EWq},
                          {"E(Wq|served)", "%.5g", s.EWqServed},
                          {"E(Lq)", "%.5g", st.ELq},
                          {"Std(Wq)", "%.4g", st.StdWq},
                          {"Std(Lq)", "%.4g", st.StdLq}});
    if (request.mode == kWaitingTable) {
        std::vector<std::string> rows;
        for (int i = 1; i <= request.values.Count; ++i) {
            const double t = request.values[i];
            rows.push_back(Format("%10.5g  %10s  %10s", {t, FormatProb(ErlangAOfferedTail(s, t)),
                                                         FormatProb(ErlangAWaitingTail(s, t))}));
        }
        WriteResultTable(out, Format("%10s  %10s  %10s", {"t", "P{V>t}", "P{Wq>t}"}), rows);
    } else {
        SolutionTables tables;
        tables.percentile = [&s](double p) { return ErlangAPercentile(s, p); };
        tables.states = [&s](const std::vector<int>& n) {
            StateTable table;
            for (const int k : n)
                table.rows.push_back(ErlangAState(s, k));
            return table;
        };
        WriteRequestedTable(out, request, tables);
    }
    WriteAccuracyCheck(out, st.accuracy);
}

void PlotGraphs(QueueHost& host, GraphHandle window, const ErlangASolution& s) {
    if (!IsSignificant(s.statistics.Pwait)) {
        WriteRunMessage(host.results(), "Pwait too small for graphs");
        return;
    }
    const ErlangAWaitingCurves curves = ErlangAWaitingGraphPoints(s);
    ChartPlot waiting = MarksOrLine(curves.waiting);
    waiting.graphTitle = "P(Wq>t | Wq>0) and P(V>t | V>0)";
    waiting.seriesName = "P(Wq>t | Wq>0)";
    host.plot(window, 0, waiting);
    ChartPlot offered = MarksOrLine(curves.offered);
    offered.series = 2;
    offered.seriesName = "P(V>t | V>0)";
    offered.color = kChartRed;
    host.plot(window, 0, offered);
    host.plot(window, 1, MarksOrLine(ErlangAQueueGraphPoints(s)));
}

void RunErlangA(const QueueRun& run, QueueHost& host) {
    const int c = run.fields.integer("c");
    const double rho = run.fields["rho"], theta = run.fields["theta"];
    GraphHandle graph = kNoGraph;
    if (run.output.mode == kGraphs)
        graph = host.createGraphWindow(
            GraphWindowKind::MG1,
            {"Logarithmic Graphs of the M/M/c+M queue", Format("c = %4d", {c}),
             Format("rho = %.4g", {rho}), Format("theta = %.4g", {theta})});
    ResultWriter& out = host.results();
    if (ErlangARhoTooSmall(c, rho)) {
        WriteRunMessage(out, "Rho too small for reliable results.");
        return;
    }
    const auto busy = host.busy();
    const ErlangASolution s = SolveErlangA(c, rho, theta);
    WriteReport(out, s, run.output);
    if (run.output.mode == kGraphs) PlotGraphs(host, graph, s);
}

constexpr FieldSpec kFields[] = {
    {"MMCM_C_edit", "C:", One(kErlangAServers), "c incorrect", "c out of range"},
    {"MMCM_Rho_edit", "Rho:", One(kErlangALoad), "Rho incorrect", "Rho out of range"},
    {.editName = "MMCM_Theta_edit",
     .caption = "Theta:",
     .limits = One(kErlangAPatience),
     .incorrect = "Theta incorrect",
     .outOfRange = "Theta out of range",
     .editHint = "Enter theta = E(s) / mean patience",
     .labelHint = "The rate at which a waiting customer gives up, per mean service time"},
};
constexpr OutputSpec kOutputs[] = {{"MMCM_Output_RadioGroup", "Output", kStandardOutput}};
constexpr auto kFigures = JoinFigures(
    std::array{FigureSpec{"Pwait", 0, true}, FigureSpec{"Pab", 0, true}, FigureSpec{"E(Wq)"},
               FigureSpec{"E(Wq|served)"}, FigureSpec{"E(Lq)"}, FigureSpec{"Std(Wq)"},
               FigureSpec{"Std(Lq)"}, FigureSpec{"P{V>t}", 'T', true}},
    kWaitingFigures, kStateFigures);

QueueTwin ErlangATwin(const QueueRun& run) {
    QueueTwin twin;
    twin.servers = run.fields.integer("c");
    twin.arrivals = ExponentialTime(twin.servers * run.fields["rho"]);
    twin.service = ExponentialTime(1);
    twin.abandonment = run.fields["theta"];
    return twin;
}

}  // namespace

constinit const QueueModelSpec kErlangAModel{
    .key = "erlanga",
    .caption = "M/M/c+M",
    .title = "M/M/c+M Queue",
    .sheetName = "MMCM_TabSheet",
    .prefix = "MMCM",
    .helpContext = 210,
    .helpPage = "erlanga.html",
    .helpTitle = "M/M/c+M (Erlang A)",
    .summary =
        "M/M/c+M queue (Erlang A): M/M/c with customers who abandon after an exponential "
        "patience",
    .example = "c=10 rho=0.95 theta=0.5",
    .fields = kFields,
    .outputs = kOutputs,
    .groups = kErlangAGroups,
    .figures = kFigures,
    .run = RunErlangA,
    .twin = ErlangATwin,
};

}  // namespace wachtrix
