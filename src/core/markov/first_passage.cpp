#include "core/markov/first_passage.h"

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

std::optional<std::vector<double>> RunDiscreteFirstPassage(const SparseMatrix& p, int start,
                                                           ReturnSet set,
                                                           const std::vector<double>& times,
                                                           Progress& progress) {
    std::vector<double> tails(times.size(), 0.0);
    const int last = times.empty() ? 0 : static_cast<int>(times.back());
    std::vector<double> u = OutsideSet(p.size(), set), next;
    std::size_t k = 0;
    StepProgress steps(progress, last);
    for (int t = 0; t <= last; ++t) {
        if (!steps.Continue(t)) return std::nullopt;
        for (; k < times.size() && times[k] == t; ++k)
            tails[k] = u[start];
        if (t == last) break;
        ClearSet(u, set);
        p.MultiplyRight(u, next);
        u.swap(next);
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
    const int last = weights.lastTerm();

    std::vector<double> u = OutsideSet(n, set), next;
    // Started in A, the chain may stay in s through self-transitions of the uniformised chain:
    // those are no jumps of the real chain and so no return.
    const bool startInSet = set.contains(start);
    const double selfLoop = startInSet ? chain.w[start][start] : 0;
    if (startInSet) u[start] = 1;

    StepProgress steps(progress, last);
    for (int m = 0; m <= last; ++m) {
        if (!steps.Continue(m)) return std::nullopt;
        for (int k = static_cast<int>(times.size()) - 1; k >= 0 && weights.lastTerm(k) >= m; --k)
            tails[k] += static_cast<long double>(weights.weight(k)) * u[start];
        if (m == last) break;
        weights.Next();
        const double stayed = u[start];
        ClearSet(u, set);
        w.MultiplyRight(u, next);
        u.swap(next);
        if (startInSet) u[start] += selfLoop * stayed;
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
