#include "core/markov/steady_state.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/markov/chain_structure.h"
#include "core/markov/uniformisation.h"
#include "core/text/markov_format.h"

namespace wachtrix {
namespace {

using Real = long double;

constexpr Real kLargeWeight = 1e4000L;

// Grassmann-Taksar-Heyman reduction of the chain a restricted to states, a closed class: the
// last state is censored out (its transitions redistributed over the states below it in
// proportion to where it leaves to), then the next, down to the first. Diagonal entries never
// enter, so probabilities and rates are treated alike. Nothing when the class turns out not to
// be irreducible in the numbers (a censored exit too small for extended precision).
std::optional<std::vector<Real>> ReduceStates(const Matrix& a, const std::vector<int>& states) {
    const int m = static_cast<int>(states.size());
    std::vector<std::vector<Real>> r(m, std::vector<Real>(m, 0.0L));
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j)
            if (i != j) r[i][j] = a[states[i]][states[j]];
    std::vector<Real> leave(m, 0.0L);  // out of state k to the states below it, when censored
    for (int k = m - 1; k > 0; --k) {
        for (int j = 0; j < k; ++j)
            leave[k] += r[k][j];
        if (!(leave[k] > 0)) return std::nullopt;
        for (int i = 0; i < k; ++i) {
            const Real toK = r[i][k];
            if (toK == 0) continue;
            for (int j = 0; j < k; ++j)
                if (j != i) r[i][j] += toK * (r[k][j] / leave[k]);
        }
    }
    std::vector<Real> x(m, 0.0L);
    x[0] = 1;
    Real total = 1;
    for (int k = 1; k < m; ++k) {
        Real inflow = 0;
        for (int i = 0; i < k; ++i)
            inflow += x[i] * r[i][k];
        x[k] = inflow / leave[k];
        total += x[k];
        // Weights spread beyond the range of numbers: the smallest are lost, not the largest.
        if (total > kLargeWeight) {
            for (int i = 0; i <= k; ++i)
                x[i] /= total;
            total = 1;
        }
    }
    if (!(total > 0 && std::isfinite(total))) return std::nullopt;
    for (Real& v : x)
        v /= total;
    return x;
}

// structure: the matrix whose positive entries decide the recurrent class; a: the one reduced.
SteadyState Solve(const Matrix& structure, const Matrix& a, int n) {
    SteadyState result;
    const ChainStructure classes = ClassifyChain(structure, n);
    result.unichained = classes.subchains.size() <= 1;
    if (!result.unichained || classes.subchains.empty()) return result;
    const std::vector<int>& states = classes.subchains.front().states;
    const auto x = ReduceStates(a, states);
    if (!x) return result;
    result.x.assign(n + 1, 0.0);
    for (std::size_t k = 0; k < states.size(); ++k)
        result.x[states[k]] = static_cast<double>((*x)[k]);
    result.solved = true;
    return result;
}

}  // namespace

SteadyState SolveSteadyState(const Matrix& p, int n) {
    SteadyState result = Solve(p, p, n);
    if (result.solved) result.accuracy = BalanceResidual(p, n, result.x);
    return result;
}

SteadyState SolveContinuousSteadyState(const Matrix& q, int n) {
    SteadyState result = Solve(Uniformise(q, n).w, q, n);
    if (result.solved) result.accuracy = RateBalanceResidual(q, n, result.x);
    return result;
}

double BalanceResidual(const Matrix& p, int n, const std::vector<double>& x) {
    Real largest = 0;
    for (int j = 1; j <= n; ++j) {
        Real inflow = 0;
        for (int i = 1; i <= n; ++i)
            inflow += static_cast<Real>(x[i]) * p[i][j];
        largest = std::max(largest, std::fabs(inflow - x[j]));
    }
    return static_cast<double>(largest);
}

double RateBalanceResidual(const Matrix& q, int n, const std::vector<double>& x) {
    std::vector<Real> out(n + 1, 0.0L);
    Real scale = 0;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            if (j != i) out[i] += q[i][j];
        scale = std::max(scale, out[i]);
    }
    if (scale == 0) return 0;
    Real largest = 0;
    for (int j = 1; j <= n; ++j) {
        Real inflow = 0;
        for (int i = 1; i <= n; ++i)
            if (i != j) inflow += static_cast<Real>(x[i]) * q[i][j];
        largest = std::max(largest, std::fabs(inflow - x[j] * out[j]) / scale);
    }
    return static_cast<double>(largest);
}

long double AverageCost(const std::vector<double>& x, const std::vector<double>& cost) {
    Real g = 0;
    for (std::size_t i = 1; i < x.size() && i < cost.size(); ++i)
        g += static_cast<Real>(cost[i]) * x[i];
    return g;
}

std::vector<std::string> SteadyStateReport(const ChainData& chain) {
    if (!chain.DataLoaded) return {};
    const int n = chain.StateCount;
    const bool continuous = chain.Kind == ChainKind::Continuous;
    const std::vector<double> cost = StateCosts(chain);
    const SteadyState state = continuous ? SolveContinuousSteadyState(chain.TransitionMatrix, n)
                                         : SolveSteadyState(chain.TransitionMatrix, n);

    std::vector<std::string> lines{"============================", "   STEADY-STATE BEHAVIOUR",
                                   "============================", " "};
    if (!state.unichained) {
        lines.push_back("This Markov chain is not unichained");
        lines.push_back("and thus has no unique equilibrium distribution.");
        return lines;
    }
    if (!state.solved) {
        // There is no solution to print, nor a cost or a check of it.
        lines.push_back("Problem ill-conditioned.");
        return lines;
    }
    lines.push_back("The solution is: ");
    lines.push_back(" ");
    for (int i = 1; i <= n; ++i) {
        const std::string label =
            continuous ? ": p[" + std::to_string(i) + "] = " : ": pi[" + std::to_string(i) + "] = ";
        lines.push_back("State " + std::to_string(i) + label +
                        FormatSignificant(std::fabs(state.x[i]), 10));
    }
    if (chain.CostVectorRead) {
        lines.push_back("");
        lines.push_back("Average cost per unit time: " +
                        FormatFixedPrecision(AverageCost(state.x, cost), 14, 10));
    }
    lines.push_back(" ");
    lines.push_back("Accuracy check: " + FormatFixedPrecision(state.accuracy, 11, 10));
    return lines;
}

}  // namespace wachtrix
