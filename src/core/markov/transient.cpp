#include "core/markov/transient.h"

#include "core/markov/poisson_weights.h"
#include "core/markov/step_progress.h"

namespace wachtrix {
namespace {

// From this many steps on, the stop test and the progress come once per block of steps.
constexpr int kFirstBlockedRun = 101;
constexpr int kBlockSteps = 10;

// to[j] += x * from[j] for every state j.
void AddScaled(std::vector<double>& to, const std::vector<double>& from, double x) {
    for (std::size_t j = 1; j < to.size(); ++j)
        to[j] += x * from[j];
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

}  // namespace

std::optional<TransientRun> RunDiscreteTransient(const SparseMatrix& p, int initial,
                                                 const std::vector<double>& times,
                                                 Progress& progress) {
    const int n = p.size();
    TransientRun run = EmptyRun(times, n);
    const int last = times.empty() ? 0 : static_cast<int>(times.back());
    std::vector<double> state = UnitVector(n, initial), next, visits(n + 1, 0.0);
    std::size_t k = 0;
    StepProgress steps(progress, last);
    for (int t = 1; t <= last; ++t) {
        if (!steps.Continue(t)) return std::nullopt;
        p.MultiplyLeft(state, next);
        state.swap(next);
        AddScaled(visits, state, 1);
        for (; k < times.size() && times[k] == t; ++k) {
            run.probabilities[k] = state;
            run.sojourn[k] = visits;
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
    const int last = weights.lastTerm();
    std::vector<double> state = UnitVector(n, initial), next;
    // sojourn[k] collects B_k = sum over n of (1 - F_k(n)) p_n; divided by nu at the end. Until
    // the Poisson weights of a time point leave 0 every term is p_n itself, so the time points
    // share one plain sum of the p_n up to then, and each takes a copy of it when its weights
    // start: the same additions in the same order, done once instead of once per time point.
    std::vector<double> plainSum(n + 1, 0.0);
    std::vector<char> started(times.size(), 0);
    const bool blocks = last >= kFirstBlockedRun;
    StepProgress steps(progress, last);
    for (int m = 0; m <= last; ++m) {
        if ((!blocks || m % kBlockSteps == 0) && !steps.Continue(m)) return std::nullopt;
        // Time points are ascending and so are their truncation points.
        bool allStarted = true;
        for (int k = static_cast<int>(times.size()) - 1; k >= 0 && weights.lastTerm(k) >= m; --k) {
            if (!started[k]) {
                if (weights.cumulative(k) == 0 && m < weights.lastTerm(k)) {
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
        state.swap(next);
    }
    steps.Done();
    for (auto& sojourn : run.sojourn)
        for (double& s : sojourn)
            s /= chain.nu;
    return run;
}

}  // namespace wachtrix
