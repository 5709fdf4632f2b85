#include "core/queue/graph_points.h"

#include "core/numeric/root_finders.h"
#include "core/numeric/safe_math.h"
#include "core/queue/state_tails.h"

namespace wachtrix {

double GraphTimeStep(double tmax) {
    const double L = std::log10(tmax);
    const int e = L > 0 ? static_cast<int>(std::trunc(L + 1e-10)) - 1
                        : static_cast<int>(std::trunc(L - 1e-10)) - 2;
    const double unit = std::pow(10.0, e);
    const int m = static_cast<int>(std::trunc(tmax / unit + 1e-10)) + 1;
    if (m > 50) return 2 * unit;
    if (m > 25) return unit;
    if (m > 12) return 0.5 * unit;
    return 0.25 * unit;
}

int GeometricGraphStep(double busy, const GeometricStateTail& g) {
    // P{L > n} = anchor ratio^(n + 1 - anchorState) / (1 - ratio) = 0.001 busy at n = v.
    const double v =
        std::log(busy * 0.001 * (1 - g.ratio) / g.anchor) / std::log(g.ratio) + g.anchorState - 1;
    if (std::isnan(v) || v < 0) return 1;  // no tail left to show (an anchor of 0 or below)
    if (v >= 10000) return 200;            // n_max = trunc(v) + 1 beyond 10000
    return static_cast<int>(std::trunc(v)) / 50 + 1;
}

std::vector<ChartPoint> ExponentialWaitingGraphPoints(double Pwait, double decay) {
    const double tmax = (std::log(Pwait) - std::log(0.001 * Pwait)) / decay;
    return TimeGraphPoints(tmax, [&](double t) { return SafeExp(-decay * t); });
}

bool StateGraphThinning::add(int n, double y) {
    if (n % stride_ == 0) {
        points_.push_back({static_cast<double>(n), y});
        if (points_.size() == 500) {
            stride_ *= 10;
            std::vector<ChartPoint> thinned;
            for (int i = 1; i <= 50; ++i)
                thinned.push_back({static_cast<double>(i) * stride_, points_[10 * i - 1].y});
            points_ = std::move(thinned);
        }
    }
    const int k = static_cast<int>(points_.size());
    if (k % group() != 0) return false;
    const bool fallen = k > 0 && points_.back().y <= 0.001;
    return fallen || n >= 10000;
}

std::vector<ChartPoint> StateGraphThinning::points() const {
    const int g = group();
    const int count = static_cast<int>(points_.size()) / g;
    std::vector<ChartPoint> out;
    for (int i = 1; i <= count; ++i)
        out.push_back(points_[i * g - 1]);
    return out;
}

}  // namespace wachtrix

namespace wachtrix {
namespace {

// The bisection halves a step that starts at most 1e15 wide down to 1e-10: some 85 halvings.
constexpr RootFinderCopy kTailEndBisection{
    10000, {"The waiting-time tail could not be bracketed", ""}, {"Too many bisections", ""}};

}  // namespace

double ConditionalTailEnd(const std::function<double(double)>& tail, double Pwait) {
    const auto f = [&](double t) { return 0.001 * Pwait - tail(t); };
    constexpr double lo = 1e-10;
    if (f(lo) >= 0) return 0;
    double hi = 1;
    while (f(hi) <= 0) {
        hi *= 10;
        if (hi > 1e15) throw NumericalFailure(kTailEndBisection.notBracketed.lines());
    }
    return RTBIS<double>(f, lo, hi, 1e-10, kTailEndBisection);
}

std::vector<ChartPoint> ConditionalWaitingCurve(const std::function<double(double)>& tail,
                                                double Pwait) {
    const double end = ConditionalTailEnd(tail, Pwait);
    if (end <= 0) return {};
    return TimeGraphPoints(end, [&](double t) { return tail(t) / Pwait; });
}

std::vector<ChartPoint> WholeChainTailGraphPoints(std::span<const double> tails) {
    const int N = static_cast<int>(tails.size()) - 1;
    if (N < 1 || !(tails[0] > 0)) return {};
    const double busy = tails[0];
    int nMax = 1;
    while (nMax < N && tails[nMax] / busy > 0.001)
        ++nMax;
    const int step = (nMax - 1) / 50 + 1;
    std::vector<ChartPoint> points;
    for (int n = step; n <= N; n += step) {
        points.push_back({static_cast<double>(n), tails[n] / busy});
        if (points.back().y <= 0.001) break;
    }
    return points;
}

std::vector<ChartPoint> StateTailCurve(std::span<const double> p) {
    // The tails summed from above where they are small, so that the curve neither rises nor
    // leaves [0, 1] by rounding.
    const std::vector<double> tails = StateTails({p.begin(), p.end()}, 0);
    const int K = static_cast<int>(p.size()) - 1;
    const long double busy = tails[0];
    return StateGraphPoints([&](int n) { return n <= K ? tails[n] / busy : 0.0L; });
}

}  // namespace wachtrix
