#pragma once
// The point rules shared by the models' graphs.
//
// Time graphs: a step of 0.25, 0.5, 1 or 2 times a power of ten, chosen so that about 12 to 100
// steps reach tmax; points t = step, 2 step, ... up to the first t at or beyond tmax.
//   GraphTimeStep(4.6) -> 0.1     GraphTimeStep(150) -> 5     GraphTimeStep(0.5) -> 0.02
//
// State graphs: a point for every n while there are fewer than 500, then every 10th, 100th...;
// the list ends when the conditional probability has fallen to 0.001 (or n reaches 10000) and
// is finally thinned to at most about 50 points.

#include <cmath>
#include <functional>
#include <span>
#include <vector>

#include "core/queue/chart_plot.h"

namespace wachtrix {

double GraphTimeStep(double tmax);

// Y(t) for t = step, 2 step, ... while the previous t was below tmax.
template <class Y>
std::vector<ChartPoint> TimeGraphPoints(double tmax, Y&& y) {
    const double step = GraphTimeStep(tmax);
    std::vector<ChartPoint> points;
    double t = 0;
    while (t < tmax) {
        t += step;
        points.push_back({t, static_cast<double>(y(t))});
    }
    return points;
}

// Collects state-graph points n = 1, 2, ...; `add` takes each n in turn with its conditional
// probability and answers whether the list is complete.
class StateGraphThinning {
public:
    bool add(int n, double y);
    std::vector<ChartPoint> points() const;  // the final thinning applied

private:
    int group() const { return (static_cast<int>(points_.size()) - 1) / 50 + 1; }
    std::vector<ChartPoint> points_;
    int stride_ = 1;
};

// Runs `nextY(n)` for n = 1, 2, ... (each call advances the caller's recursion by one state)
// until the thinning says the list is complete.
template <class NextY>
std::vector<ChartPoint> StateGraphPoints(NextY&& nextY) {
    StateGraphThinning thinning;
    for (int n = 1;; ++n)
        if (thinning.add(n, static_cast<double>(nextY(n)))) break;
    return thinning.points();
}

// The waiting-time curve of the finite models, tail(t) / Pwait: the end t* where the conditional
// tail has fallen to 0.001, by bisection between 1e-10 and the first of 1, 10, 100, ... beyond
// it; then the time-graph points up to t*. t* is 0 when the tail has fallen that far already at
// 1e-10; the curve is then empty (too short to plot).
double ConditionalTailEnd(const std::function<double(double)>& tail, double Pwait);
std::vector<ChartPoint> ConditionalWaitingCurve(const std::function<double(double)>& tail,
                                                double Pwait);

// P{L > n} / P{L > 0} for n = 1, 2, ... from the probabilities p(0..K) (none above K), with the
// state-graph thinning.
std::vector<ChartPoint> StateTailCurve(std::span<const double> p);

}  // namespace wachtrix
