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
//
// State graphs of the multi-server models whose queue has a geometric tail: the step is fixed
// beforehand from where the conditional tail reaches 0.001, so that about 50 points cover it.

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

// P{Wq > t | Wq > 0} = e^(-decay t) for a delayed customer's exponential wait, up to tmax where
// P{Wq > t} = Pwait e^(-decay t) has fallen to 0.001 Pwait.
std::vector<ChartPoint> ExponentialWaitingGraphPoints(double Pwait, double decay);

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

// P{L = n} = anchor ratio^(n - anchorState) for every n >= anchorState.
struct GeometricStateTail {
    double anchor;
    int anchorState;
    double ratio;
};

// The step when n_max is where the geometric tail reaches 0.001 busy.
int GeometricGraphStep(double busy, const GeometricStateTail& g);

// The step of a multi-server state graph. When the conditional tail tail(n) / busy is already
// below 0.001 at n = c - 1, n_max is the first n >= 1 where it is (at most c - 1); otherwise n_max
// is where the geometric tail reaches 0.001 busy. The step is (n_max - 1) div 50 + 1, or 200
// when n_max is beyond 10000.
template <class Tail>
int ServerStateGraphStep(int c, double busy, const GeometricStateTail& g, Tail&& tail) {
    if (static_cast<double>(tail(c - 1)) / busy < 0.001) {
        int nMax = c - 1;
        for (int n = 1; n < c - 1; ++n) {
            if (static_cast<double>(tail(n)) / busy < 0.001) {
                nMax = n;
                break;
            }
        }
        return (nMax - 1) / 50 + 1;
    }
    return GeometricGraphStep(busy, g);
}

// P{L > n | L > 0} = tail(n) / busy at n = step, 2 step, ... up to the first point at or below
// 0.001, or n = 10000, with the step of ServerStateGraphStep.
template <class Tail>
std::vector<ChartPoint> ServerStateGraphPoints(int c, double busy, const GeometricStateTail& g,
                                               Tail&& tail) {
    const int step = ServerStateGraphStep(c, busy, g, tail);
    std::vector<ChartPoint> points;
    for (int n = step; n <= 10000; n += step) {
        const double y = static_cast<double>(tail(n)) / busy;
        points.push_back({static_cast<double>(n), y});
        if (y <= 0.001) break;
    }
    return points;
}

// P{L > n | L > 0} = tails[n] / tails[0] for a chain kept whole in `tails` (P{L > n}, n = 0..N,
// nothing above N), at n = step, 2 step, ... up to the first point at or below 0.001, or N; the
// step is (n_max - 1) div 50 + 1 for the first n_max >= 1 where the conditional tail is at or
// below 0.001, so that about 50 points cover it wherever the chain's bulk lies.
//   tails {1, 0.5, 0.0005} -> (1, 0.5), (2, 0.0005)
std::vector<ChartPoint> WholeChainTailGraphPoints(std::span<const double> tails);

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
