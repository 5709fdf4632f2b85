#include "core/queue/mm1_tran.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/numeric/gauss_legendre.h"
#include "core/numeric/safe_math.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix {
namespace {

constexpr int kQuadraturePoints = 275;
constexpr long double kNewtonTolerance = 1e-14L;
constexpr int kGraphSteps = 200;
// Up to this many expected jumps the distribution comes by uniformisation.
constexpr long double kUniformisedSpan = 200;

}  // namespace

int MM1MaxInitialState(double rho) {
    const int cap = static_cast<int>(kMM1TranInitialState.upper);
    if (rho >= 1) return cap;
    const double n = -16 * std::log(10.0) / std::log(std::max(rho, kMM1TranRhoFloor));
    return n > cap ? cap : static_cast<int>(std::trunc(n));
}

MM1GraphKind MM1GraphKindOfItem(int item) {
    switch (item) {
        case 1:
            return MM1GraphKind::StateProbability;
        case 2:
            return MM1GraphKind::Cumulative;
        case 3:
            return MM1GraphKind::MeanQueue;
        default:
            return MM1GraphKind::StdQueue;
    }
}

bool MM1GraphReadsEndState(MM1GraphKind kind) {
    return kind == MM1GraphKind::StateProbability || kind == MM1GraphKind::Cumulative;
}
MM1Transient::MM1Transient(double rho, int i, int j)
    : rho_(rho), lnRho_(std::log(static_cast<long double>(rho))), i_(i), j_(j) {
    const long double pi = std::numbers::pi_v<long double>;
    const QuadratureRule<long double> rule =
        GaussLegendre<long double>(kQuadraturePoints, 0, pi, kNewtonTolerance);
    const long double s = std::sqrt(rho_);
    nodes_.reserve(rule.nodes.size());
    for (std::size_t k = 0; k < rule.nodes.size(); ++k) {
        const long double y = rule.nodes[k];
        const long double g = 1 + rho_ - 2 * s * std::cos(y);
        // (sin(n y) - s sin((n+1) y)) for the initial and the end state.
        const long double a = std::sin(i * y) - s * std::sin((i + 1) * y);
        const long double b = std::sin(j * y) - s * std::sin((j + 1) * y);
        const long double sinY = std::sin(y);
        nodes_.push_back({2 / pi * rule.weights[k], g, std::log(g), a * b, a * (-s * sinY),
                          -std::sin((j + 1) * y) * a, sinY * a});
    }
}

long double MM1Transient::Integral(long double offset, int lnGPower, Factor factor,
                                   long double t) const {
    long double sum = 0;
    for (const Node& n : nodes_)
        sum += n.weight * SafeExp(offset - t * n.g - lnGPower * n.lnG) * (n.*factor);
    return sum;
}

long double MM1Transient::StateProbabilityAt(int j, Factor factor, long double t) const {
    return Integral((j - i_) / 2.0L * lnRho_, 1, factor, t) + (1 - rho_) * SafePower(rho_, j);
}

long double MM1Transient::StateProbability(long double t) const {
    if (const auto d = Uniformised(t)) return FromDistribution(*d, j_).p;
    return StateProbabilityAt(j_, &Node::p, t);
}

long double MM1Transient::Cumulative(long double t) const {
    if (const auto d = Uniformised(t)) return FromDistribution(*d, j_).P;
    return Integral((j_ - i_ + 1) / 2.0L * lnRho_, 1, &Node::P, t) + 1 - SafePower(rho_, j_ + 1);
}

MM1Transient::QueueSize MM1Transient::QueueSizeAt(long double t,
                                                  std::optional<long double> p0) const {
    const long double offset = (1 - i_) / 2.0L * lnRho_;
    const long double EL = Integral(offset, 2, &Node::moment, t) + rho_ / (1 - rho_);
    const long double EL2 = 2 * (1 - rho_) * Integral(offset, 3, &Node::moment, t) - EL +
                            2 * rho_ / ((1 - rho_) * (1 - rho_));
    return {EL, EL2, p0 ? *p0 : StateProbabilityAt(0, &Node::p0, t)};
}

MM1TranMeasures MM1Transient::Complete(long double p, long double P, QueueSize q) {
    MM1TranMeasures m;
    m.p = p;
    m.P = P;
    m.EL = q.EL;
    m.EL2 = q.EL2;
    m.StdL = std::sqrt(std::fabs(q.EL2 - q.EL * q.EL));
    m.ELq = q.EL - (1 - q.p0);
    // E Lq^2 = E L^2 - 2 E L + P{L > 0}.
    m.StdLq = std::sqrt(std::fabs((1 - q.p0) + q.EL2 - 2 * q.EL - m.ELq * m.ELq));
    return m;
}

std::optional<std::vector<long double>> MM1Transient::Uniformised(long double t) const {
    const long double rate = 1 + rho_, mean = rate * t;
    if (!(mean <= kUniformisedSpan)) return std::nullopt;
    // Poisson weights past the mode until a term is below 1e-36: the terms then fall by a factor
    // mean / n < 1 each, so what is left stays under the figures' floor of 1e-30.
    std::vector<long double> weight{std::exp(-mean)};
    while (weight.back() > 1e-36L || weight.size() <= 2 * mean) {
        const long double n = static_cast<long double>(weight.size());
        weight.push_back(weight.back() * mean / n);
    }
    const int steps = static_cast<int>(weight.size()) - 1;
    const long double up = rho_ / rate, down = 1 / rate;
    std::vector<long double> v(i_ + steps + 2, 0.0L), next(v.size()), d(v.size(), 0.0L);
    v[i_] = 1;
    for (int n = 0;; ++n) {
        const int low = std::max(i_ - n, 0), high = i_ + n;
        for (int k = low; k <= high; ++k)
            d[k] += weight[n] * v[k];
        if (n == steps) break;
        std::fill(next.begin() + std::max(low - 1, 0), next.begin() + high + 2, 0.0L);
        for (int k = low; k <= high; ++k) {
            next[k + 1] += up * v[k];
            next[k == 0 ? 0 : k - 1] += down * v[k];
        }
        v.swap(next);
    }
    return d;
}

MM1TranMeasures MM1Transient::FromDistribution(const std::vector<long double>& d, int j) {
    MM1TranMeasures m;
    const int top = static_cast<int>(d.size()) - 1;
    m.p = j <= top ? d[j] : 0;
    long double below = 0, above = 0;
    for (int k = 0; k <= top; ++k)
        (k <= j ? below : above) += d[k];
    // The smaller of the two sums is the one that keeps its digits.
    m.P = below <= above ? below : 1 - above;
    for (int k = 1; k <= top; ++k) {
        m.EL += k * d[k];
        m.EL2 += static_cast<long double>(k) * k * d[k];
        m.ELq += (k - 1) * d[k];
    }
    long double VL = 0, VLq = 0;
    for (int k = 0; k <= top; ++k) {
        const long double a = k - m.EL, b = std::max(k - 1, 0) - m.ELq;
        VL += a * a * d[k];
        VLq += b * b * d[k];
    }
    m.StdL = std::sqrt(VL);
    m.StdLq = std::sqrt(VLq);
    return m;
}

MM1TranMeasures MM1Transient::Measures(long double t) const {
    if (const auto d = Uniformised(t)) return FromDistribution(*d, j_);
    const long double p = StateProbability(t);
    const auto p0 = j_ == 0 ? std::optional<long double>(p) : std::nullopt;
    return Complete(p, Cumulative(t), QueueSizeAt(t, p0));
}

long double MM1Transient::GraphValue(MM1GraphKind kind, long double t) const {
    if (const auto d = Uniformised(t)) {
        const MM1TranMeasures m = FromDistribution(*d, j_);
        switch (kind) {
            case MM1GraphKind::StateProbability:
                return m.p;
            case MM1GraphKind::Cumulative:
                return m.P;
            case MM1GraphKind::MeanQueue:
                return m.ELq;
            case MM1GraphKind::StdQueue:
                return m.StdLq;
        }
    }
    switch (kind) {
        case MM1GraphKind::StateProbability:
            return StateProbability(t);
        case MM1GraphKind::Cumulative:
            return Cumulative(t);
        case MM1GraphKind::MeanQueue:
            return Complete(0, 0, QueueSizeAt(t, std::nullopt)).ELq;
        case MM1GraphKind::StdQueue:
            return Complete(0, 0, QueueSizeAt(t, std::nullopt)).StdLq;
    }
    return 0;
}

std::vector<ChartPoint> MM1TranGraphPoints(const MM1Transient& model, MM1GraphKind kind, double T) {
    std::vector<ChartPoint> points;
    points.reserve(kGraphSteps + 1);
    for (int k = 0; k <= kGraphSteps; ++k) {
        const double t = k * T / kGraphSteps;
        // As the table prints them: magnitudes, so that a round-off of -1e-16 for a probability
        // of 0 does not send the axis below zero.
        points.push_back({t, static_cast<double>(std::fabs(model.GraphValue(kind, t)))});
    }
    return points;
}

std::vector<std::string> MM1TranGraphLabels(const MM1TranParameters& p, MM1GraphKind kind) {
    // The queue-size graphs do not depend on j, so their label leaves it out.
    const std::string states =
        MM1GraphReadsEndState(kind) ? Format("i=%d j=%d", {p.i, p.j}) : Format("i=%d", {p.i});
    return {"Transient M/M/1 queue", Format("rho = %.4g", {p.rho}), states,
            Format("t <= %.4g", {p.T}), ""};
}

ChartPlot MM1TranChartPlot(MM1GraphKind kind, double T, std::vector<ChartPoint> points) {
    ChartPlot plot;
    switch (kind) {
        case MM1GraphKind::StateProbability:
            plot.graphTitle = "p{i,j,t}";
            break;
        case MM1GraphKind::Cumulative:
            plot.graphTitle = "P{i,j,t} (cumulative)";
            break;
        case MM1GraphKind::MeanQueue:
            plot.graphTitle = "ELq(i,t)";
            plot.yAxis.title = "ELq(i,t)";  // a queue size, not a probability
            break;
        case MM1GraphKind::StdQueue:
            plot.graphTitle = "Std Lq(i,t)";
            plot.yAxis.title = "Std Lq(i,t)";
            break;
    }
    plot.xAxis.title = "Time t";
    // The time axis runs over the times asked for, 0..T, not rounded out to whole steps.
    plot.xAxis.min = 0;
    plot.xAxis.max = T;
    plot.xAxis.autoSizing = false;
    plot.yAxis.logScale = false;
    plot.yAxis.autoSizing = true;
    plot.yAxis.autoStepping = true;
    plot.drawPoints = false;
    plot.drawLine = true;
    plot.color = kChartBlue;
    plot.points = std::move(points);
    return plot;
}

std::string MM1TranTableHeader() {
    return Format("%6s%9s%9s%9s%9s", {"t", "p(i,j,t)", "P(i,j,t)", "ELq(i,t)", "Std Lq(i,t)"});
}

std::string MM1TranTableRow(double t, const MM1TranMeasures& m) {
    return Format(
        "%6s %8s %8s %8s %8s",
        {FormatSig(6, 4, t), FormatFixed(6, 6, std::fabs(m.p)), FormatFixed(6, 6, std::fabs(m.P)),
         FormatSig(8, 5, std::fabs(m.ELq)), FormatSig(8, 4, std::fabs(m.StdLq))});
}

void WriteMM1TranReport(ResultWriter& out, const MM1TranParameters& p, const MM1Transient& model,
                        const ValueList& t) {
    WriteReportHeader(out, "Transient M/M/1 queue",
                      Format("Parameters: rho=%.6g  i=%d  j=%d", {p.rho, p.i, p.j}));
    out.AddResultLine("");
    std::vector<std::string> rows;
    for (int k = 1; k <= t.Count; ++k)
        rows.push_back(MM1TranTableRow(t[k], model.Measures(t[k])));
    WriteResultTable(out, MM1TranTableHeader(), rows);
    out.AddResultLine("");
}

namespace {

void RunMM1Tran(const QueueRun& run, QueueHost& host) {
    const int item = run.selection.output;
    MM1TranParameters p{std::max(run.fields["rho"], kMM1TranRhoFloor), run.fields.integer("i"),
                        static_cast<int>(run.fields.find("j").value_or(0)),
                        run.fields.find("T").value_or(0)};
    if (run.output.mode == kMomentTable) {
        const auto busy = host.busy();
        WriteMM1TranReport(host.results(), p, MM1Transient(p.rho, p.i, p.j), run.output.values);
        return;
    }
    const MM1GraphKind kind = MM1GraphKindOfItem(item);
    const GraphHandle graph =
        host.createGraphWindow(GraphWindowKind::GMC, MM1TranGraphLabels(p, kind));
    const auto busy = host.busy();
    const MM1Transient model(p.rho, p.i, p.j);
    host.plot(graph, 0, MM1TranChartPlot(kind, p.T, MM1TranGraphPoints(model, kind, p.T)));
}

// The end state belongs to the table and to both probability graphs (the cumulative one
// included); the horizon T to the graphs.
bool ReadsEndState(const Selection& s) {
    return s.output == 0 || MM1GraphReadsEndState(MM1GraphKindOfItem(s.output));
}
bool ReadsHorizon(const Selection& s) {
    return s.output != 0;
}

const char* InitialStateCheck(double i, const FieldValues& before) {
    return i > MM1MaxInitialState(std::max(before["rho"], kMM1TranRhoFloor)) ? "i out of bounds"
                                                                             : nullptr;
}

std::string InitialStateLabel(const FieldLookup& field) {
    const auto rho = field("rho");
    return rho ? MM1InitialStateRangeLabel(*rho) : std::string();
}

constexpr FieldSpec kFields[] = {
    {"MM1_Rho_edit", "Rho:", One(kMM1TranLoad), "rho incorrect", "rho out of bounds"},
    {.editName = "MM1_initial_state_edit",
     .caption = "Initial state i:",
     .limits = One(kMM1TranInitialState),
     .incorrect = "i incorrect",
     .outOfRange = "i out of bounds",
     .check = InitialStateCheck,
     .rangeLabelOf = InitialStateLabel},
    {.editName = "MM1_end_state_edit",
     .caption = "End state j:",
     .limits = One(kMM1TranEndState),
     .incorrect = "j incorrect",
     .outOfRange = "j out of bounds",
     .shown = ReadsEndState},
    {.editName = "MM1_t_edit",
     .caption = "t:",
     .limits = One(kMM1TranHorizon),
     .incorrect = "t incorrect",
     .outOfRange = "t out of range",
     .shown = ReadsHorizon},
};
constexpr OutputSpec kOutputs[] = {{"MM1_Output_radio_group", "Output", kMM1TranOutput}};

// The table at one time t.
constexpr FigureSpec kFigures[] = {
    {"p(i,j,t)", 'T', true}, {"P(i,j,t)", 'T', true}, {"ELq(i,t)", 'T'}, {"Std Lq(i,t)", 'T'}};

// The load is raised to the floor the analysis computes with.
QueueTwin MM1TranTwin(const QueueRun& run) {
    QueueTwin twin;
    twin.kind = QueueTwin::Kind::TransientMM1;
    twin.rho = std::max(run.fields["rho"], kMM1TranRhoFloor);
    twin.initial = run.fields.integer("i");
    twin.endState = static_cast<int>(run.fields.find("j").value_or(0));
    return twin;
}

}  // namespace

std::string MM1InitialStateRangeLabel(double rho) {
    if ((rho > 0.99 && rho < 1.01) || rho > 10) return std::string();
    return "<= " + std::to_string(MM1MaxInitialState(rho));
}

constinit const QueueModelSpec kMM1TranModel{
    .key = "mm1tran",
    .caption = "Transient M/M/1",
    .title = "Transient M/M/1 Queue",
    .sheetName = "Trans_MM1_sheet",
    .prefix = "MM1",
    .helpContext = 180,
    .helpPage = "mm1tran.html",
    .helpTitle = "Transient M/M/1",
    .summary = "Transient M/M/1 queue from i customers: p, P and queue size moments at time t",
    .example = "rho=0.5 i=3 j=1 t=1,2",
    .fields = kFields,
    .outputs = kOutputs,
    .groups = kMM1TranGroups,
    .refusalTitle = "ERROR",
    .figures = kFigures,
    .run = RunMM1Tran,
    .twin = MM1TranTwin,
};

}  // namespace wachtrix
