#include "core/markov/steady_state.h"

#include <cmath>
#include <utility>

#include "core/markov/chain_structure.h"
#include "core/markov/lu_decomposition.h"
#include "core/markov/uniformisation.h"
#include "core/text/markov_format.h"

namespace wachtrix {
namespace {

constexpr double kPivotTolerance = 1e-20;

// Row j < n: sum over i of x(i) (p(i,j) - [i = j]) = 0; row n: sum of x(i) = 1.
Matrix BalanceSystem(const Matrix& p, int n) {
    Matrix a(n + 1, std::vector<double>(n + 1, 0.0));
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j < n; ++j)
            a[j][i] = p[i][j] - (i == j ? 1 : 0);
        a[n][i] = 1;
    }
    return a;
}

double BalanceResidual(const Matrix& p, int n, const std::vector<double>& x) {
    long double inflow = 0;
    for (int i = 1; i <= n; ++i)
        inflow += static_cast<long double>(x[i]) * p[i][n];
    return static_cast<double>(std::fabs(x[n] - inflow));
}

}  // namespace

SteadyState SolveSteadyState(const Matrix& p, int n) {
    SteadyState result;
    result.unichained = IsUnichained(p, n);
    if (!result.unichained) return result;
    if (n == 1) {
        result.x = {0.0, 1.0};
    } else {
        const auto lu = DecomposeLU(BalanceSystem(p, n), n, kPivotTolerance);
        if (!lu) return result;
        std::vector<double> b(n + 1, 0.0);
        b[n] = 1;
        result.x = SolveLU(*lu, b);
    }
    result.solved = true;
    result.accuracy = BalanceResidual(p, n, result.x);
    return result;
}

double AverageCost(const std::vector<double>& x, const std::vector<double>& cost) {
    long double g = 0;
    for (std::size_t i = 1; i < x.size() && i < cost.size(); ++i)
        g += static_cast<long double>(cost[i]) * x[i];
    return static_cast<double>(g);
}

std::vector<std::string> SteadyStateReport(const ChainData& chain) {
    if (!chain.DataLoaded) return {};
    const int n = chain.StateCount;
    const bool continuous = chain.Kind == ChainKind::Continuous;
    std::vector<double> cost(n + 1, 0.0);
    Matrix p;
    if (continuous) {
        p = Uniformise(chain.TransitionMatrix, n).w;
        cost = ContinuousCostRates(chain);
    } else {
        p = chain.TransitionMatrix;
        for (int i = 1; i <= n; ++i)
            cost[i] = chain.CostMatrix[i][1];
    }
    const SteadyState state = SolveSteadyState(p, n);

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
