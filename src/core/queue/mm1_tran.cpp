#include "core/queue/mm1_tran.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/numeric/gauss_legendre.h"
#include "core/numeric/safe_math.h"
#include "core/queue/report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

constexpr int kQuadraturePoints = 275;
constexpr long double kNewtonTolerance = 1e-14L;
constexpr int kGraphSteps = 200;

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

MM1TranValidation ValidateMM1Tran(const MM1TranForm& form) {
    auto refuse = [](const char* text) { return MM1TranValidation{std::nullopt, text}; };
    MM1TranParameters p;

    const auto rho = ParseReal(form.rho);
    if (!rho) return refuse("rho incorrect");
    if (!kMM1TranLoad.contains(*rho)) return refuse("rho out of bounds");
    p.rho = std::max(*rho, kMM1TranRhoFloor);

    const auto i = ParseInt(form.i);
    if (!i) return refuse("i incorrect");
    if (*i < 0 || *i > MM1MaxInitialState(p.rho)) return refuse("i out of bounds");
    p.i = *i;

    const bool graph = form.output != 0;
    if (!graph || MM1GraphReadsEndState(MM1GraphKindOfItem(form.output))) {
        const auto j = ParseInt(form.j);
        if (!j) return refuse("j incorrect");
        if (!kMM1TranEndState.contains(*j)) return refuse("j out of bounds");
        p.j = *j;
    }

    if (graph) {
        const auto T = ParseReal(form.T);
        if (!T) return refuse("t incorrect");
        if (!kMM1TranHorizon.contains(*T)) return refuse("t out of range");
        p.T = *T;
    }
    return {p, ""};
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
    return StateProbabilityAt(j_, &Node::p, t);
}

long double MM1Transient::Cumulative(long double t) const {
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

MM1TranMeasures MM1Transient::Measures(long double t) const {
    const long double p = StateProbability(t);
    const auto p0 = j_ == 0 ? std::optional<long double>(p) : std::nullopt;
    return Complete(p, Cumulative(t), QueueSizeAt(t, p0));
}

long double MM1Transient::GraphValue(MM1GraphKind kind, long double t) const {
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
        points.push_back({t, static_cast<double>(model.GraphValue(kind, t))});
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
            break;
        case MM1GraphKind::StdQueue:
            plot.graphTitle = "Std Lq(i,t)";
            break;
    }
    plot.xAxis.title = "Time t";
    plot.xAxis.min = 0;
    plot.xAxis.max = T;
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

void RunMM1Tran(MM1TranForm& form, QueueHost& host) {
    RunGuarded(host, [&] {
        const MM1TranValidation v = ValidateMM1Tran(form);
        if (!v.parameters) {
            host.showError(kMM1TranErrorCaption, v.error);
            return;
        }
        const MM1TranParameters& p = *v.parameters;
        const OutputRequest request =
            ReadOutput(kMM1TranOutput, form.output, {&form.t}, {kMM1TranGroups[0].upper, 0});
        if (request.mode == kMomentTable) {
            const auto busy = host.busy();
            WriteMM1TranReport(host.results(), p, MM1Transient(p.rho, p.i, p.j), request.values);
            return;
        }
        const MM1GraphKind kind = MM1GraphKindOfItem(form.output);
        const GraphHandle graph =
            host.createGraphWindow(GraphWindowKind::GMC, MM1TranGraphLabels(p, kind));
        const auto busy = host.busy();
        const MM1Transient model(p.rho, p.i, p.j);
        host.plot(graph, 0, MM1TranChartPlot(kind, p.T, MM1TranGraphPoints(model, kind, p.T)));
    });
}

}  // namespace wachtrix
