#include "core/markov/transient.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/markov/chain_powers.h"
#include "core/markov/poisson_weights.h"
#include "core/markov/settling.h"
#include "core/markov/step_progress.h"
#include "core/numeric/matrix_power.h"

namespace wachtrix {
namespace {

// From this many steps on, the stop test and the progress come once per block of steps.
constexpr int kFirstBlockedRun = 101;
constexpr int kBlockSteps = 10;

// Below this many multiply-adds a run is stepped through whatever squaring would cost: it takes
// no noticeable time, and keeps the step-by-step progress of short runs.
constexpr double kSmallRun = 2e6;

// to[j] += x * from[j] for every state j.
void AddScaled(std::vector<double>& to, const std::vector<double>& from, double x) {
    for (std::size_t j = 1; j < to.size(); ++j)
        to[j] += x * from[j];
}

// sum over j of |a(j) - b(j)|.
double Distance(const std::vector<double>& a, const std::vector<double>& b) {
    double d = 0;
    for (std::size_t j = 1; j < a.size(); ++j)
        d += std::fabs(a[j] - b[j]);
    return d;
}

TransientRun EmptyRun(const std::vector<double>& times, int n) {
    TransientRun run;
    run.times = times;
    run.probabilities.assign(times.size(), std::vector<double>(n + 1, 0.0));
    run.sojourn.assign(times.size(), std::vector<double>(n + 1, 0.0));
    return run;
}

std::vector<double> UnitVector(int n, int state) {
    std::vector<double> v(n + 1, 0.0);
    v[state] = 1;
    return v;
}

// The work of one step: the product and the bookkeeping of a vector.
double StepCost(const SparseMatrix& p) {
    return static_cast<double>(p.entries()) + 2.0 * p.size();
}

// The matrix of p row by row, 0-based.
std::vector<double> DenseOf(const SparseMatrix& p) {
    const int n = p.size();
    std::vector<double> dense(static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 1; i <= n; ++i) {
        const auto columns = p.columns(i);
        const auto values = p.values(i);
        for (std::size_t e = 0; e < columns.size(); ++e)
            dense[static_cast<std::size_t>(i - 1) * n + columns[e] - 1] = values[e];
    }
    return dense;
}

// A = W - I row by row (0-based), its diagonal as minus the rates out over nu.
std::vector<double> GeneratorOf(const Matrix& w, int n) {
    std::vector<double> a(static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 0; i < n; ++i) {
        double out = 0;
        for (int j = 0; j < n; ++j) {
            if (j == i) continue;
            a[static_cast<std::size_t>(i) * n + j] = w[i + 1][j + 1];
            out += w[i + 1][j + 1];
        }
        a[static_cast<std::size_t>(i) * n + i] = -out;
    }
    return a;
}

// The certificate of settling as a run steps: the cheap bound of tau first, the exact tau once
// the steps have cost as much as computing it. Which one holds at a step depends on nothing but
// the chain and the step, so that a time point comes out the same in any run.
class Settling {
public:
    explicit Settling(const SparseMatrix& p)
        : p_(p),
          tau_(DoeblinCoefficient(p)),
          exactAt_(static_cast<long long>(ErgodicCoefficientCost(p) / StepCost(p)) + 1) {}

    // After step `step`, which changed the distribution by `change`: whether what is still to
    // come stays below kSettled.
    bool Settled(long long step, double change) {
        if (tau_ > kUsefulTau && !exact_ && step >= exactAt_) {
            tau_ = ErgodicCoefficient(p_);
            exact_ = true;
        }
        return SettledBound(tau_, change) <= kSettled;
    }

private:
    // Beyond this the bound, a multiple 1 / (1 - tau) of the last change, is of no use.
    static constexpr double kUsefulTau = 0.9;

    const SparseMatrix& p_;
    double tau_;
    long long exactAt_;
    bool exact_ = false;
};

}  // namespace

std::optional<TransientRun> RunDiscreteTransient(const SparseMatrix& p, int initial,
                                                 const std::vector<double>& times,
                                                 Progress& progress) {
    const int n = p.size();
    TransientRun run = EmptyRun(times, n);
    const int last = times.empty() ? 0 : static_cast<int>(times.back());
    // Stepping costs a step per period; squaring, two products of n x n matrices for each
    // binary digit of the largest time point the chain allows. A time point beyond the steps
    // that squaring would cost is stepped to only as far as that, and squared to unless the
    // distribution has settled by then.
    constexpr int kMostPeriods = 5000;
    const int squaringProducts = 2 * (ChainPowers::TopLevel(kMostPeriods) + 1);
    const double squaringCost = std::max(kSmallRun, 1.0 * squaringProducts * n * n * n);
    const auto stepBudget = static_cast<long long>(squaringCost / StepCost(p));
    const long long lastStep = std::min<long long>(last, stepBudget);
    // The bar counts the steps, then the matrix products.
    const int products = last > lastStep ? squaringProducts : 0;

    std::vector<double> state = UnitVector(n, initial), next, visits(n + 1, 0.0);
    std::size_t k = 0;
    Settling settling(p);
    StepProgress steps(progress, lastStep + products);
    for (long long t = 1; t <= lastStep; ++t) {
        if (!steps.Continue(t)) return std::nullopt;
        p.MultiplyLeft(state, next);
        const double change = Distance(next, state);
        state.swap(next);
        AddScaled(visits, state, 1);
        for (; k < times.size() && times[k] == t; ++k) {
            run.probabilities[k] = state;
            run.sojourn[k] = visits;
        }
        if (k < times.size() && settling.Settled(t, change)) {
            // Every later distribution is this one to within kSettled.
            for (; k < times.size(); ++k) {
                run.probabilities[k] = state;
                run.sojourn[k] = visits;
                AddScaled(run.sojourn[k], state, times[k] - static_cast<double>(t));
            }
            break;
        }
    }
    if (k < times.size()) {
        // P^t and P + ... + P^t by squaring, from the start.
        ChainPowers powers(DenseOf(p), DenseOf(p), n, false, std::vector<double>(n, 0.0));
        const int top = ChainPowers::TopLevel(times.back());
        for (std::size_t j = k; j < times.size(); ++j)
            powers.Need(times[j]);
        long long done = lastStep;
        const auto carryOn = [&] { return steps.Continue(++done); };
        if (!powers.Prepare(top, carryOn)) return std::nullopt;
        for (; k < times.size(); ++k) {
            std::vector<double> v(n, 0.0), s(n, 0.0);
            v[initial - 1] = 1;
            powers.Apply(times[k], v, &s);
            for (int j = 1; j <= n; ++j) {
                run.probabilities[k][j] = v[j - 1];
                run.sojourn[k][j] = s[j - 1];
            }
        }
    }
    steps.Done();
    return run;
}

std::optional<TransientRun> RunContinuousTransient(const UniformisedChain& chain, int initial,
                                                   const std::vector<double>& times,
                                                   Progress& progress) {
    const int n = static_cast<int>(chain.w.size()) - 1;
    const SparseMatrix w(chain.w, n);
    TransientRun run = EmptyRun(times, n);
    if (times.empty()) return run;
    PoissonWeights weights(chain.nu, times);
    const int count = static_cast<int>(times.size());
    // Each time point is stepped through its series, or as far as squaring would cost: the
    // series of the unit and two products per binary digit of nu t / unit.
    std::vector<double> lambda(count);
    std::vector<long long> lastStep(count);
    std::vector<char> squared(count, 0);
    const double stepCost = StepCost(w);
    int top = -1;  // the highest level of squaring a time point may need
    for (int k = 0; k < count; ++k) {
        lambda[k] = chain.nu * times[k];
        const int level = ChainPowers::TopLevel(std::floor(lambda[k] / kUnitJumps));
        const double products = kUnitTerms + 2.0 * (level + 1);
        const double budget = std::max(kSmallRun, products * n * n * n) / stepCost;
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
    // The bar counts the steps, then the matrix products.
    const int products = top >= 0 ? kUnitTerms + 2 * (top + 1) : 0;

    std::vector<double> state = UnitVector(n, initial), next;
    // sojourn[k] collects B_k = sum over n of (1 - F_k(n)) p_n; divided by nu at the end. Until
    // the Poisson weights of a time point leave 0 every term is p_n itself, so the time points
    // share one plain sum of the p_n up to then, and each takes a copy of it when its weights
    // start: the same additions in the same order, done once instead of once per time point.
    std::vector<double> plainSum(n + 1, 0.0);
    std::vector<char> started(count, 0), finished(count, 0);
    const bool blocks = last >= kFirstBlockedRun;
    Settling settling(w);
    StepProgress steps(progress, last + products);
    for (long long m = 0; m <= last; ++m) {
        if ((!blocks || m % kBlockSteps == 0) && !steps.Continue(m)) return std::nullopt;
        bool allStarted = true;
        for (int k = count - 1; k >= 0; --k) {
            if (finished[k] || lastStep[k] < m) continue;
            if (!started[k]) {
                if (weights.cumulative(k) == 0 && m < lastStep[k]) {
                    allStarted = false;
                    continue;
                }
                run.sojourn[k] = plainSum;
                started[k] = 1;
            }
            if (weights.weight(k) > 0) AddScaled(run.probabilities[k], state, weights.weight(k));
            AddScaled(run.sojourn[k], state, 1 - weights.cumulative(k));
        }
        if (!allStarted) AddScaled(plainSum, state, 1);
        if (m == last) break;
        weights.Next();
        w.MultiplyLeft(state, next);
        const double change = Distance(next, state);
        state.swap(next);
        // Terms m + 1 on: once the distribution has settled, every later p_j is this one, and
        // the rest of each series is its tail weight times it: sum over j > m of w_j, and of
        // P(N > j), which is E (N - a)^+ = (lambda - a) P(N > a) + lambda w_a for a = m + 1.
        // Only time points whose series reach that far and lie beyond the mean take it; the
        // others end their series as before.
        const long long a = m + 1;
        bool pending = false;
        for (int k = 0; k < count; ++k)
            pending = pending || (!finished[k] && lastStep[k] >= a && a < lambda[k]);
        if (!pending || !settling.Settled(a, change)) continue;
        for (int k = 0; k < count; ++k) {
            if (finished[k] || lastStep[k] < a || !(a < lambda[k])) continue;
            if (!started[k]) run.sojourn[k] = plainSum;
            const double beyond = 1 - weights.cumulative(k);  // P(N > a)
            const long double remaining = (static_cast<long double>(lambda[k]) - a) * beyond +
                                          static_cast<long double>(lambda[k]) * weights.weight(k);
            AddScaled(run.probabilities[k], state, beyond + weights.weight(k));
            AddScaled(run.sojourn[k], state, static_cast<double>(remaining));
            started[k] = finished[k] = 1;
            squared[k] = 0;
        }
        bool open = false;
        for (int k = 0; k < count; ++k)
            open = open || (!finished[k] && lastStep[k] > m);
        if (!open) break;
    }
    // The time points that squaring serves: nu t = m units + a short stretch.
    bool anySquared = false;
    for (int k = 0; k < count; ++k)
        anySquared = anySquared || squared[k];
    if (anySquared) {
        const std::vector<double> a = GeneratorOf(chain.w, n);
        long long done = last;
        const auto carryOn = [&] { return steps.Continue(++done); };
        bool stopped = false;
        UnitSeries unit = GeneratorSeries(a, n, kUnitJumps, carryOn, stopped);
        if (stopped) return std::nullopt;
        ChainPowers powers(std::move(unit.e), std::move(unit.s), n, true,
                           std::vector<double>(n, 0.0));
        for (int k = 0; k < count; ++k)
            if (squared[k]) powers.Need(std::floor(lambda[k] / kUnitJumps));
        if (!powers.Prepare(top, carryOn)) return std::nullopt;
        for (int k = 0; k < count; ++k) {
            if (!squared[k]) continue;
            const double units = std::floor(lambda[k] / kUnitJumps);
            const double rest = lambda[k] - units * kUnitJumps;
            std::vector<double> v(n, 0.0), s;
            v[initial - 1] = 1;
            GeneratorStretch(a, n, rest, v, s);
            powers.Apply(units, v, &s);
            for (int j = 1; j <= n; ++j) {
                run.probabilities[k][j] = v[j - 1];
                run.sojourn[k][j] = s[j - 1];
            }
        }
    }
    steps.Done();
    for (auto& sojourn : run.sojourn)
        for (double& s : sojourn)
            s /= chain.nu;
    return run;
}

}  // namespace wachtrix
