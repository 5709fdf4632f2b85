#include "core/markov/mean_passage.h"

#include <algorithm>
#include <cmath>

#include "core/markov/censoring.h"
#include "core/markov/steady_state.h"
#include "core/markov/subtraction_free_solver.h"
#include "core/numeric/matrix_power.h"
#include "core/numeric/numerical_failure.h"

namespace wachtrix {
namespace {

using Real = long double;

// Sum over j != i of a(i,j): the rate (probability) of leaving i.
Real OutOf(const Matrix& a, int n, int i) {
    Real out = 0;
    for (int j = 1; j <= n; ++j)
        if (j != i) out += a[i][j];
    return out;
}

// The results are handed over as doubles.
void RequireFinite(Real value) {
    if (!std::isfinite(static_cast<double>(value)))
        throw NumericalFailure({"The mean times are beyond the range of numbers"});
}

}  // namespace

double MeanTimeResidual(const Matrix& a, int n, ChainKind kind, const std::vector<int>& free,
                        const std::vector<long double>& x) {
    const bool continuous = kind == ChainKind::Continuous;
    Real largest = 0;
    for (int i : free) {
        Real rest = 1;
        for (int j = 1; j <= n; ++j)
            if (j != i || !continuous) rest += a[i][j] * x[j];
        const Real own = continuous ? OutOf(a, n, i) * x[i] : x[i];
        if (own > 0) largest = std::max(largest, std::fabs(own - rest) / own);
    }
    return static_cast<double>(largest);
}

namespace {

// The largest relative residual of the equations of every target j (those of MeanTimeResidual)
// for the times m (1-based, m(j,j) the return time, which the equations of j do not use), in
// doubles: m's digits beyond them are not printed.
double MeanTimesResidual(const Matrix& a, int n, ChainKind kind, const Matrix& m) {
    const bool continuous = kind == ChainKind::Continuous;
    std::vector<double> weights(static_cast<std::size_t>(n) * n, 0.0), times(weights.size(), 0.0);
    std::vector<double> out(n, 0.0);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (i != j || !continuous) weights[i * n + j] = a[i + 1][j + 1];
            if (i != j) {
                times[i * n + j] = m[i + 1][j + 1];
                out[i] += a[i + 1][j + 1];
            }
        }
    }
    const std::vector<double> onward = MultiplyDense(weights, times, n);
    double largest = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (i == j) continue;
            const double own = continuous ? out[i] * times[i * n + j] : times[i * n + j];
            const double rest = 1 + onward[i * n + j];
            if (own > 0) largest = std::max(largest, std::fabs(own - rest) / own);
        }
    }
    return largest;
}

// One system per target in extended precision: for weights beyond the range of double-double
// numbers.
PassageTimes MeanPassageTimesByTarget(const Matrix& a, int n, ChainKind kind) {
    const bool continuous = kind == ChainKind::Continuous;
    PassageTimes result;
    result.m.assign(n + 1, std::vector<double>(n + 1, 0.0));
    Real accuracy = 0;
    std::vector<Real> returnTime(n + 1, 0.0L);
    for (int j = 1; j <= n; ++j) {
        std::vector<int> others;
        for (int i = 1; i <= n; ++i)
            if (i != j) others.push_back(i);
        const SubtractionFreeSolver solver(a, others);
        const std::vector<Real> x = solver.Solve(std::vector<Real>(others.size(), 1.0L));
        std::vector<Real> column(n + 1, 0.0L);
        for (std::size_t k = 0; k < others.size(); ++k) {
            RequireFinite(x[k]);
            column[others[k]] = x[k];
            result.m[others[k]][j] = static_cast<double>(x[k]);
        }
        accuracy = std::max<Real>(accuracy, MeanTimeResidual(a, n, kind, others, column));
        // Back to j: one step (or the stay in j) and then the passage from where it went.
        Real back = 1;
        for (int k = 1; k <= n; ++k)
            if (k != j) back += a[j][k] * column[k];
        if (continuous) {
            const Real out = OutOf(a, n, j);
            if (!(out > 0)) continue;  // a single state that is never left never returns
            back /= out;
        }
        RequireFinite(back);
        returnTime[j] = back;
        result.m[j][j] = static_cast<double>(back);
    }
    // The return times against the equilibrium distribution found by state reduction.
    const SteadyState steady =
        continuous ? SolveContinuousSteadyState(a, n) : SolveSteadyState(a, n);
    if (steady.solved) {
        for (int j = 1; j <= n; ++j) {
            if (returnTime[j] == 0) continue;
            const Real frequency = continuous ? steady.x[j] * OutOf(a, n, j) : steady.x[j];
            accuracy = std::max(accuracy, std::fabs(frequency * returnTime[j] - 1));
        }
    }
    result.accuracy = static_cast<double>(accuracy);
    return result;
}

Absorption SolveAbsorptionInExtended(const Matrix& a, int n, ChainKind kind,
                                     const ChainStructure& classes,
                                     const std::vector<double>& cost) {
    Absorption result;
    result.transient = classes.transientStates;
    const std::vector<int>& free = result.transient;
    const std::size_t m = free.size();
    const std::size_t classCount = classes.subchains.size();
    const SubtractionFreeSolver solver(a, free);

    Real accuracy = 0;
    result.probability.assign(m, std::vector<double>(classCount, 0.0));
    std::vector<Real> total(m, 0.0L);
    for (std::size_t c = 0; c < classCount; ++c) {
        std::vector<Real> into(m, 0.0L);
        for (std::size_t i = 0; i < m; ++i)
            for (int s : classes.subchains[c].states)
                into[i] += a[free[i]][s];
        const std::vector<Real> x = solver.Solve(std::move(into));
        for (std::size_t i = 0; i < m; ++i) {
            RequireFinite(x[i]);
            result.probability[i][c] = static_cast<double>(x[i]);
            total[i] += x[i];
        }
    }
    for (Real sum : total)
        accuracy = std::max(accuracy, std::fabs(sum - 1));

    const std::vector<Real> time = solver.Solve(std::vector<Real>(m, 1.0L));
    std::vector<Real> timeOfState(n + 1, 0.0L);
    for (std::size_t i = 0; i < m; ++i) {
        RequireFinite(time[i]);
        result.time.push_back(static_cast<double>(time[i]));
        timeOfState[free[i]] = time[i];
    }
    accuracy = std::max<Real>(accuracy, MeanTimeResidual(a, n, kind, free, timeOfState));

    result.visits.assign(m, std::vector<double>(m, 0.0));
    for (std::size_t j = 0; j < m; ++j) {
        std::vector<Real> unit(m, 0.0L);
        unit[j] = 1;
        const std::vector<Real> x = solver.Solve(std::move(unit));
        for (std::size_t i = 0; i < m; ++i) {
            RequireFinite(x[i]);
            result.visits[i][j] = static_cast<double>(x[i]);
        }
    }

    std::vector<Real> rate(m, 0.0L);
    for (std::size_t i = 0; i < m; ++i)
        rate[i] = cost[free[i]];
    for (Real c : solver.Solve(std::move(rate)))
        result.cost.push_back(static_cast<double>(c));

    result.accuracy = static_cast<double>(accuracy);
    return result;
}

}  // namespace

PassageTimes MeanPassageTimes(const Matrix& a, int n, ChainKind kind) {
    if (!WithinDoubleDoubleRange(a, n)) return MeanPassageTimesByTarget(a, n, kind);
    const bool continuous = kind == ChainKind::Continuous;
    PassageTimes result;
    result.m.assign(n + 1, std::vector<double>(n + 1, 0.0));
    if (n == 1) {
        if (!continuous) result.m[1][1] = 1;  // a single state that is never left never returns
        return result;
    }
    // One reward per step, or per unit of time: the mean times themselves.
    const ExtendedMatrix x = PassageRewards(a, n, std::vector<double>(n, 1.0));
    std::vector<DoubleDouble> out(n + 1);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (j != i) out[i] += a[i][j];
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (i == j) continue;
            RequireFinite(x.at(i, j).hi);
            result.m[i + 1][j + 1] = static_cast<double>(x.at(i, j));
        }
    }
    // Back to j: one step (or the stay in j) and then the passage from where it went.
    std::vector<DoubleDouble> returnTime(n + 1);
    for (int j = 1; j <= n; ++j) {
        DoubleDouble back = 1;
        for (int k = 1; k <= n; ++k)
            if (k != j && a[j][k] != 0) back += DoubleDouble(a[j][k]) * x.at(k - 1, j - 1);
        if (continuous) back = back / out[j];
        RequireFinite(back.hi);
        returnTime[j] = back;
        result.m[j][j] = static_cast<double>(back);
    }
    // The equations against the times as printed, and the return times against the equilibrium
    // found by state reduction.
    Real accuracy = MeanTimesResidual(a, n, kind, result.m);
    const std::vector<DoubleDouble> pi = ReducedEquilibrium(a, n);
    for (int j = 1; j <= n; ++j) {
        const DoubleDouble frequency = continuous ? pi[j - 1] * out[j] : pi[j - 1];
        const DoubleDouble product = frequency * returnTime[j];
        accuracy = std::max<Real>(accuracy, std::fabs((product + DoubleDouble(-1.0)).extended()));
    }
    result.accuracy = static_cast<double>(accuracy);
    return result;
}

Absorption SolveAbsorption(const Matrix& a, int n, ChainKind kind, const ChainStructure& classes,
                           const std::vector<double>& cost) {
    if (!WithinDoubleDoubleRange(a, n)) return SolveAbsorptionInExtended(a, n, kind, classes, cost);
    Absorption result;
    result.transient = classes.transientStates;
    const std::vector<int>& free = result.transient;
    const int m = static_cast<int>(free.size());
    const int classCount = static_cast<int>(classes.subchains.size());
    // Right-hand sides: into each class, one per step (the time), the cost; then the unit
    // vectors (the visits).
    ExtendedMatrix rhs(m, classCount + 2);
    for (int i = 0; i < m; ++i) {
        for (int c = 0; c < classCount; ++c) {
            DoubleDouble into;
            for (int s : classes.subchains[c].states)
                into += a[free[i]][s];
            rhs.set(i, c, into);
        }
        rhs.set(i, classCount, 1.0);
        rhs.set(i, classCount + 1, cost[free[i]]);
    }
    const ExtendedMatrix solved = SolveOpen(a, free, rhs, true);
    const auto x = [&](int i, int c) { return solved.at(i, m + 1 + c); };

    Real accuracy = 0;
    result.probability.assign(m, std::vector<double>(classCount, 0.0));
    for (int i = 0; i < m; ++i) {
        DoubleDouble total;
        for (int c = 0; c < classCount; ++c) {
            RequireFinite(x(i, c).hi);
            result.probability[i][c] = static_cast<double>(x(i, c));
            total += x(i, c);
        }
        accuracy = std::max<Real>(accuracy, std::fabs((total + DoubleDouble(-1.0)).extended()));
    }
    std::vector<long double> timeOfState(n + 1, 0.0L);
    for (int i = 0; i < m; ++i) {
        const DoubleDouble time = x(i, classCount);
        RequireFinite(time.hi);
        result.time.push_back(static_cast<double>(time));
        timeOfState[free[i]] = result.time.back();
    }
    accuracy = std::max<Real>(accuracy, MeanTimeResidual(a, n, kind, free, timeOfState));
    result.visits.assign(m, std::vector<double>(m, 0.0));
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j) {
            const DoubleDouble v = x(i, classCount + 2 + j);
            RequireFinite(v.hi);
            result.visits[i][j] = static_cast<double>(v);
        }
    }
    // A cost may leave the range of numbers: it is printed as such.
    for (int i = 0; i < m; ++i)
        result.cost.push_back(static_cast<double>(x(i, classCount + 1)));
    result.accuracy = static_cast<double>(accuracy);
    return result;
}

}  // namespace wachtrix
