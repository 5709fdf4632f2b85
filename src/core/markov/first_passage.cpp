#include "core/markov/first_passage.h"

#include <algorithm>
#include <cmath>

#include "core/markov/chain_powers.h"
#include "core/markov/poisson_weights.h"
#include "core/markov/step_progress.h"
#include "core/text/markov_format.h"
#include "core/text/padding.h"

namespace wachtrix {
namespace {

// u = 1 outside A and 0 on A.
std::vector<double> OutsideSet(int n, ReturnSet set) {
    std::vector<double> u(n + 1, 1.0);
    u[0] = 0;
    for (int i = set.first; i <= set.last; ++i)
        u[i] = 0;
    return u;
}

void ClearSet(std::vector<double>& u, ReturnSet set) {
    for (int i = set.first; i <= set.last; ++i)
        u[i] = 0;
}

std::string SetText(ReturnSetType type, int a, int n) {
    switch (type) {
        case ReturnSetType::Single:
            return "{" + std::to_string(a) + "}";
        case ReturnSetType::FromOne:
            return "{1.." + std::to_string(a) + "}";
        case ReturnSetType::ToLast:
            return "{" + std::to_string(a) + ".." + std::to_string(n) + "}";
    }
    return {};
}

}  // namespace

ReturnSet ReturnSetOf(ReturnSetType type, int a, int n) {
    switch (type) {
        case ReturnSetType::Single:
            return {a, a};
        case ReturnSetType::FromOne:
            return {1, a};
        case ReturnSetType::ToLast:
            return {a, n};
    }
    return {a, a};
}

namespace {

// Below this many multiply-adds a run is stepped through whatever squaring would cost.
constexpr double kSmallRun = 2e6;

// A tail below this is far below the last printed digit (1e-8).
constexpr double kNegligible = 1e-14;

double StepCost(const SparseMatrix& m) {
    return static_cast<double>(m.entries()) + 2.0 * m.size();
}

// What the steps of u := M u (M nonnegative, rows summing to at most 1) tell about all later
// ones, on the states that carry u on (the others are cleared before each step). u never grows:
// the chance to stay outside A can only fall. With u' = M u:
// - decay: u' <= r u with r < 1 on those states (and u' = 0 where u = 0) gives, M being
//   nonnegative, u_{j+1} <= r u_j for every later j: the tails fall at least geometrically;
// - settling: with d = u - u' and the change before, d_before, d <= r d_before gives
//   d_{j+1} <= r d_j later on, so that u stays within d r / (1 - r) of u' for good.
struct Ratios {
    double decay = 1;   // the largest u'/u (1: no certificate)
    double settle = 1;  // the largest d / d_before
    double change = 0;  // the largest d
};

Ratios Compare(const std::vector<double>& before, const std::vector<double>& u,
               const std::vector<double>& after, const std::vector<char>& carried) {
    Ratios r{0, 0, 0};
    for (std::size_t i = 1; i < u.size(); ++i) {
        if (!carried[i]) continue;
        if (u[i] > 0) {
            r.decay = std::max(r.decay, after[i] / u[i]);
        } else if (after[i] > 0) {
            r.decay = 1;
        }
        const double d = u[i] - after[i];
        const double dBefore = before[i] - u[i];
        r.change = std::max(r.change, d);
        if (dBefore > 0) {
            r.settle = std::max(r.settle, d / dBefore);
        } else if (d > 0) {
            r.settle = 1;
        }
    }
    r.decay = std::min(r.decay, 1.0);
    r.settle = std::min(r.settle, 1.0);
    return r;
}

// The matrix of the steps, row by row (0-based), and the states it carries on: the entries into
// A are dropped; a continuous chain started in A keeps the self-transition of its start.
std::vector<double> StepMatrix(const Matrix& w, int n, ReturnSet set, int keep, double selfLoop) {
    std::vector<double> dense(static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (!set.contains(j)) dense[static_cast<std::size_t>(i - 1) * n + j - 1] = w[i][j];
    if (keep > 0) dense[static_cast<std::size_t>(keep - 1) * n + keep - 1] = selfLoop;
    return dense;
}

// The 1-based matrix of p.
Matrix RowsOf(const SparseMatrix& p) {
    const int n = p.size();
    Matrix rows(n + 1, std::vector<double>(n + 1, 0.0));
    for (int i = 1; i <= n; ++i) {
        const auto columns = p.columns(i);
        const auto values = p.values(i);
        for (std::size_t e = 0; e < columns.size(); ++e)
            rows[i][columns[e]] = values[e];
    }
    return rows;
}

}  // namespace

std::optional<std::vector<double>> RunDiscreteFirstPassage(const SparseMatrix& p, int start,
                                                           ReturnSet set,
                                                           const std::vector<double>& times,
                                                           Progress& progress) {
    const int n = p.size();
    std::vector<double> tails(times.size(), 0.0);
    const int last = times.empty() ? 0 : static_cast<int>(times.back());
    // As the transient run: stepped as far as squaring would cost, then squared.
    constexpr int kMostPeriods = 5000;
    const int squaringProducts = ChainPowers::TopLevel(kMostPeriods) + 1;
    const double squaringCost = std::max(kSmallRun, 1.0 * squaringProducts * n * n * n);
    const long long lastStep =
        std::min<long long>(last, static_cast<long long>(squaringCost / StepCost(p)));
    const int products = last > lastStep ? squaringProducts : 0;

    std::vector<char> carried(n + 1, 0);
    for (int i = 1; i <= n; ++i)
        carried[i] = !set.contains(i);
    std::vector<double> u = OutsideSet(n, set), next, before = u;
    std::size_t k = 0;
    StepProgress steps(progress, lastStep + products);
    for (long long t = 0; t <= lastStep; ++t) {
        if (!steps.Continue(t)) return std::nullopt;
        for (; k < times.size() && times[k] == t; ++k)
            tails[k] = u[start];
        if (t == lastStep || k == times.size()) break;
        ClearSet(u, set);
        p.MultiplyRight(u, next);
        // The tails from t + 1 on, from u_t (cleared on A) and u_{t+1}.
        const Ratios r = Compare(before, u, next, carried);
        before = u;
        u.swap(next);
        double largest = 0;  // of u_{t+1} on the states carried on
        for (int i = 1; i <= n; ++i)
            if (carried[i]) largest = std::max(largest, u[i]);
        // Started in A, the tail is one step behind the states carried on.
        const double own = carried[start] ? u[start] : largest;
        if (r.decay < 1 && own <= kNegligible) {
            // Every later tail is smaller still.
            for (; k < times.size(); ++k)
                tails[k] = times[k] == t + 1 ? u[start] : 0;
            break;
        }
        if (t > 0 && r.settle < 1 && r.change * r.settle / (1 - r.settle) <= kNegligible) {
            // Every later u is this one; a start in A takes one more step of it.
            double settled = u[start];
            if (!carried[start]) {
                std::vector<double> cleared = u;
                ClearSet(cleared, set);
                p.MultiplyRight(cleared, next);
                settled = next[start];
            }
            for (; k < times.size(); ++k)
                tails[k] = times[k] == t + 1 ? u[start] : settled;
            break;
        }
    }
    if (k < times.size()) {
        // The taboo matrix's powers from the start: P(T > t) = e_s M^t u_0.
        ChainPowers powers(StepMatrix(RowsOf(p), n, set, 0, 0), {}, n);
        for (std::size_t j = k; j < times.size(); ++j)
            powers.Need(times[j]);
        long long done = lastStep;
        if (!powers.Prepare(ChainPowers::TopLevel(times.back()),
                            [&] { return steps.Continue(++done); }))
            return std::nullopt;
        for (; k < times.size(); ++k) {
            std::vector<double> v(n, 0.0);
            v[start - 1] = 1;
            powers.Apply(times[k], v, nullptr);
            long double tail = 0;
            for (int j = 1; j <= n; ++j)
                if (!set.contains(j)) tail += v[j - 1];
            tails[k] = static_cast<double>(tail);
        }
    }
    steps.Done();
    return tails;
}

std::optional<std::vector<double>> RunContinuousFirstPassage(const UniformisedChain& chain,
                                                             int start, ReturnSet set,
                                                             const std::vector<double>& times,
                                                             Progress& progress) {
    const int n = static_cast<int>(chain.w.size()) - 1;
    const SparseMatrix w(chain.w, n);
    std::vector<long double> tails(times.size(), 0.0L);
    if (times.empty()) return std::vector<double>();
    PoissonWeights weights(chain.nu, times);
    const int count = static_cast<int>(times.size());

    std::vector<double> u = OutsideSet(n, set), next, before;
    // Started in A, the chain may stay in s through self-transitions of the uniformised chain:
    // those are no jumps of the real chain and so no return.
    const bool startInSet = set.contains(start);
    const double selfLoop = startInSet ? chain.w[start][start] : 0;
    if (startInSet) u[start] = 1;
    before = u;
    std::vector<char> carried(n + 1, 0);
    for (int i = 1; i <= n; ++i)
        carried[i] = !set.contains(i) || i == start;

    // Each time point is stepped through its series, or as far as squaring would cost.
    std::vector<double> lambda(count);
    std::vector<long long> lastStep(count);
    std::vector<char> squared(count, 0), finished(count, 0);
    const double stepCost = StepCost(w);
    int top = -1;
    for (int k = 0; k < count; ++k) {
        lambda[k] = chain.nu * times[k];
        const int level = ChainPowers::TopLevel(std::floor(lambda[k] / kUnitJumps));
        const double budget =
            std::max(kSmallRun, (kUnitTerms + level + 1.0) * n * n * n) / stepCost;
        squared[k] = static_cast<double>(weights.lastTerm(k)) > budget;
        lastStep[k] = squared[k] ? static_cast<long long>(budget) : weights.lastTerm(k);
        if (squared[k]) top = std::max(top, level);
    }
    if (TooSlowForItsSteps(chain.w, n)) {
        // The steps would lose a state's rates: every time point is squared.
        for (int k = 0; k < count; ++k) {
            squared[k] = 1;
            lastStep[k] = 0;
            top = std::max(top, ChainPowers::TopLevel(std::floor(lambda[k] / kUnitJumps)));
        }
    }
    long long last = 0;
    for (const long long s : lastStep)
        last = std::max(last, s);
    const int products = top >= 0 ? kUnitTerms + top + 1 : 0;

    StepProgress steps(progress, last + products);
    for (long long m = 0; m <= last; ++m) {
        if (!steps.Continue(m)) return std::nullopt;
        bool open = false;
        for (int k = count - 1; k >= 0; --k) {
            if (finished[k] || lastStep[k] < m) continue;
            tails[k] += static_cast<long double>(weights.weight(k)) * u[start];
            open = open || lastStep[k] > m;
        }
        if (m == last || !open) break;
        weights.Next();
        const double stayed = u[start];
        ClearSet(u, set);
        w.MultiplyRight(u, next);
        if (startInSet) next[start] += selfLoop * stayed;
        if (startInSet) u[start] = stayed;
        const Ratios r = Compare(before, u, next, carried);
        before = u;
        u.swap(next);
        // Terms m + 1 on, with u_{m+1} in hand: decaying by r, they add at most
        // u(s) sum over j > m of w_j r^(j-m-1) <= u(s) min(P(N > m), r^-(m+1) E r^N), and
        // E r^N = e^-lambda (1 - r); settled, they add P(N > m) u(s) to within that times the
        // change still to come.
        for (int k = 0; k < count; ++k) {
            if (finished[k] || lastStep[k] <= m) continue;
            const double beyond = 1 - weights.cumulative(k) + weights.weight(k);  // P(N > m)
            if (r.decay < 1) {
                double factor = beyond;
                if (r.decay > 0) {
                    const double exponent =
                        -static_cast<double>(m + 1) * std::log(r.decay) - lambda[k] * (1 - r.decay);
                    factor = std::min(factor, std::exp(exponent));
                }
                if (u[start] * factor <= kNegligible) {
                    finished[k] = 1;
                    squared[k] = 0;
                    continue;
                }
            }
            if (m > 0 && r.settle < 1 && r.change * r.settle / (1 - r.settle) <= kNegligible) {
                tails[k] += static_cast<long double>(beyond) * u[start];
                finished[k] = 1;
                squared[k] = 0;
            }
        }
    }
    bool anySquared = false;
    for (int k = 0; k < count; ++k)
        anySquared = anySquared || squared[k];
    if (anySquared) {
        // P(T > t) = e_s E(nu t) u_0 with E the exponential of the step matrix less the
        // identity, squared; the diagonal of a state carried on is minus its rates out over nu.
        std::vector<double> a = StepMatrix(chain.w, n, set, startInSet ? start : 0, selfLoop);
        // leaving[i]: the rates (over nu) from i into the set, which the step matrix drops;
        // summed apart, so that a slow one is not lost beside fast rates in the diagonal.
        std::vector<double> leaving(n, 0.0);
        for (int i = 1; i <= n; ++i) {
            double& diagonal = a[static_cast<std::size_t>(i - 1) * n + i - 1];
            if (!carried[i]) {
                diagonal -= 1;
                continue;
            }
            double out = 0;
            long double lost = 0;
            for (int j = 1; j <= n; ++j) {
                if (j == i) continue;
                out += chain.w[i][j];
                lost += chain.w[i][j] - a[static_cast<std::size_t>(i - 1) * n + j - 1];
            }
            diagonal = -out;
            leaving[i - 1] = static_cast<double>(lost);
        }
        long long done = last;
        const auto carryOn = [&] { return steps.Continue(++done); };
        bool stopped = false;
        UnitSeries unit = GeneratorSeries(a, n, kUnitJumps, carryOn, stopped);
        if (stopped) return std::nullopt;
        // Lost within the unit: its integral S (in units of 1 / nu) times the rates lost.
        std::vector<double> lost(n);
        for (int i = 0; i < n; ++i) {
            long double total = 0;
            for (int j = 0; j < n; ++j)
                total += static_cast<long double>(unit.s[static_cast<std::size_t>(i) * n + j]) *
                         leaving[j];
            lost[i] = std::max(0.0, static_cast<double>(total));
        }
        ChainPowers powers(std::move(unit.e), {}, n, true, std::move(lost));
        for (int k = 0; k < count; ++k)
            if (squared[k]) powers.Need(std::floor(lambda[k] / kUnitJumps));
        if (!powers.Prepare(top, carryOn)) return std::nullopt;
        for (int k = 0; k < count; ++k) {
            if (!squared[k]) continue;
            const double units = std::floor(lambda[k] / kUnitJumps);
            std::vector<double> v(n, 0.0), ignored;
            v[start - 1] = 1;
            GeneratorStretch(a, n, lambda[k] - units * kUnitJumps, v, ignored);
            powers.Apply(units, v, nullptr);
            long double tail = 0;
            for (int j = 1; j <= n; ++j)
                if (carried[j]) tail += v[j - 1];
            tails[k] = tail;
        }
    }
    steps.Done();
    return std::vector<double>(tails.begin(), tails.end());
}

std::vector<std::string> FirstPassageHeader() {
    return {"==================================", "FIRST-PASSAGE TIME PROBABILITIES",
            "==================================", " "};
}

std::vector<std::string> FirstPassageReportBody(ChainKind kind, const FirstPassageOptions& options,
                                                int n, const std::vector<double>& times,
                                                const std::vector<double>& tails) {
    const std::string set = SetText(options.returnSet, options.stateA, n);
    std::vector<std::string> lines{
        "Initial State = " + std::to_string(options.startingState), "Return Set = " + set, "",
        "P( T(" + set + ") > t | X(0) = " + std::to_string(options.startingState) + " )", ""};
    const bool discrete = kind == ChainKind::Discrete;
    for (std::size_t k = 0; k < times.size(); ++k) {
        const std::string time = discrete ? std::to_string(static_cast<int>(times[k]))
                                          : FormatFixedPrecision(times[k], 5, 3);
        lines.push_back(PadRight("At t = " + time + ": ", discrete ? 16 : 18) +
                        FormatFixedPrecision(tails[k], 9, 8) + " ");
    }
    return lines;
}

MarkovReport FirstPassageAnalysis(const ChainData& chain, const FirstPassageOptions& options,
                                  Progress& progress) {
    MarkovReport report{FirstPassageHeader(), false, {}};
    const int n = chain.StateCount;
    const ReturnSet set = ReturnSetOf(options.returnSet, options.stateA, n);
    const auto tails =
        chain.Kind == ChainKind::Discrete
            ? RunDiscreteFirstPassage(SparseMatrix(chain.TransitionMatrix, n),
                                      options.startingState, set, options.timePoints, progress)
            : RunContinuousFirstPassage(Uniformise(chain.TransitionMatrix, n),
                                        options.startingState, set, options.timePoints, progress);
    if (!tails) {
        report.stopped = true;
        return report;
    }
    const auto body = FirstPassageReportBody(chain.Kind, options, n, options.timePoints, *tails);
    report.lines.insert(report.lines.end(), body.begin(), body.end());
    return report;
}

}  // namespace wachtrix
