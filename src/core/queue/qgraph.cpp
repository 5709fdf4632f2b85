#include "core/queue/qgraph.h"

#include <optional>

#include "core/queue/finqueue.h"
#include "core/text/delphi_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

std::optional<MmcnCurve> Validate(const MmcnForm& form, QueueHost& host) {
    auto refuse = [&](const char* text) {
        host.showError("Error", text);
        return std::nullopt;
    };
    MmcnCurve curve;
    const auto lambda = ParseReal(form.lambda);
    if (!lambda) return refuse("lambda incorrect");
    if (!kMmcnArrival.contains(*lambda)) return refuse("lambda out of range");
    const auto es = ParseReal(form.es);
    if (!es) return refuse("ES incorrect");
    if (!kMmcnServiceTime.contains(*es)) return refuse("ES out of range");
    curve.lambda = *lambda;
    curve.ES = *es;

    // The fixed field and the two bounds, each an integer in its range.
    struct Field {
        const std::string& text;
        const FieldLimit& limit;
        const char *incorrect, *outOfRange;
    };
    const bool varyC = form.xAxis == 0;
    curve.vary = varyC ? MmcnVary::Servers : MmcnVary::Capacity;
    const Field fields[] = {varyC ? Field{form.N, kMmcnCapacity, "N incorrect", "N out of range"}
                                  : Field{form.c, kMmcnServers, "c incorrect", "c out of range"},
                            varyC
                                ? Field{form.cFrom, kMmcnServersFrom, "Lower bound on c incorrect",
                                        "Lower bound on c out of range"}
                                : Field{form.nFrom, kMmcnCapacityFrom, "Lower bound on N incorrect",
                                        "Lower bound on N out of range"},
                            varyC ? Field{form.cTo, kMmcnServersTo, "Upper bound on c incorrect",
                                          "Upper bound on c out of range"}
                                  : Field{form.nTo, kMmcnCapacityTo, "Upper bound on N incorrect",
                                          "Upper bound on N out of range"}};
    int values[3];
    for (int i = 0; i < 3; ++i) {
        const auto v = ParseInt(fields[i].text);
        if (!v) return refuse(fields[i].incorrect);
        if (!fields[i].limit.contains(*v)) return refuse(fields[i].outOfRange);
        values[i] = *v;
    }
    curve.fixed = values[0];
    curve.from = values[1];
    curve.to = values[2];
    if (curve.to < curve.from) return refuse("Upper bound should be greater than lower bound");

    curve.y = form.yAxis == 1 ? MmcnY::Waiting : MmcnY::Rejection;
    if (curve.y == MmcnY::Waiting) {
        const auto t = ParseReal(form.t);
        if (!t) return refuse("t incorrect");
        if (!kMmcnTime.contains(*t)) return refuse("t out of range");
        curve.t = *t;
    }
    return curve;
}

}  // namespace

std::vector<ChartPoint> MmcnPoints(const MmcnCurve& curve) {
    std::vector<ChartPoint> points;
    for (int v = curve.from; v <= curve.to; ++v) {
        const bool varyC = curve.vary == MmcnVary::Servers;
        const int c = varyC ? v : curve.fixed;
        const int N = varyC ? curve.fixed : v;
        const double rho = curve.lambda * curve.ES / c;
        double y = 0;
        if (!FinCapRhoTooSmall(FinCapType::MM, c, rho)) {
            const FinCapSolution s = SolveFinCap(FinCapType::MM, c, rho, N);
            y = curve.y == MmcnY::Rejection ? s.P[c + N] : FinCapWaitingTail(s, curve.t / curve.ES);
        }
        points.push_back({static_cast<double>(v), y});
    }
    return points;
}

ChartPlot MmcnPlot(const MmcnCurve& curve, std::vector<ChartPoint> points) {
    ChartPlot plot;
    plot.graphTitle =
        curve.y == MmcnY::Rejection ? std::string("Prej") : Format("P{Wq>%g}", {curve.t});
    plot.xAxis.title = curve.vary == MmcnVary::Servers ? "Servers c" : "Capacity N";
    plot.yAxis.logScale = false;
    plot.yAxis.autoSizing = false;
    plot.yAxis.min = 0;
    plot.yAxis.max = 1;
    plot.yAxis.autoStepping = true;
    plot.drawPoints = points.size() <= 25;
    plot.drawLine = points.size() > 25;
    plot.points = std::move(points);
    return plot;
}

void RunMMCN(MmcnForm& form, QueueHost& host) {
    RunGuarded(host, [&] {
        const auto curve = Validate(form, host);
        if (!curve) return;
        const bool varyC = curve->vary == MmcnVary::Servers;
        const GraphHandle window = host.createGraphWindow(
            GraphWindowKind::GMC,
            {"Graph of the M/M/c/c+N queue", Format("lambda = %.4g", {curve->lambda}),
             Format("ES = %.4g", {curve->ES}),
             varyC ? Format("N = %d", {curve->fixed}) : Format("c = %d", {curve->fixed}), ""});
        const auto busy = host.busy();
        host.plot(window, 0, MmcnPlot(*curve, MmcnPoints(*curve)));
    });
}

}  // namespace wachtrix
