#include "core/markov/subtraction_free_solver.h"

#include <cmath>

#include "core/numeric/numerical_failure.h"

namespace wachtrix {

SubtractionFreeSolver::SubtractionFreeSolver(const Matrix& a, const std::vector<int>& free) {
    const int m = static_cast<int>(free.size());
    const int n = static_cast<int>(a.size()) - 1;
    std::vector<char> inside(n + 1, 0);
    for (int s : free)
        inside[s] = 1;
    a_.assign(m, std::vector<Real>(m, 0.0L));
    std::vector<Real> exit(m, 0.0L);  // to the states outside S
    for (int i = 0; i < m; ++i) {
        const int s = free[i];
        for (int j = 0; j < m; ++j)
            if (j != i) a_[i][j] = a[s][free[j]];
        for (int t = 1; t <= n; ++t)
            if (t != s && !inside[t]) exit[i] += a[s][t];
    }
    out_.assign(m, 0.0L);
    for (int k = 0; k < m; ++k) {
        Real out = exit[k];
        for (int j = k + 1; j < m; ++j)
            out += a_[k][j];
        if (!(out > 0) || !std::isfinite(out))
            throw NumericalFailure({"A state's way out is too small or too large to compute"});
        out_[k] = out;
        // Whatever went from i to k now goes where k goes, in proportion.
        for (int i = k + 1; i < m; ++i) {
            const Real toK = a_[i][k];
            if (toK == 0) continue;
            const Real share = toK / out;
            a_[i][k] = share;
            // The diagonal slot (j = i) collects the loop back to i, which is never read.
            Real* row = a_[i].data();
            const Real* from = a_[k].data();
            for (int j = k + 1; j < m; ++j)
                row[j] += share * from[j];
            exit[i] += share * exit[k];
        }
    }
}

std::vector<SubtractionFreeSolver::Real> SubtractionFreeSolver::Solve(std::vector<Real> b) const {
    const int m = size();
    for (int k = 0; k < m; ++k)
        for (int i = k + 1; i < m; ++i)
            if (a_[i][k] != 0) b[i] += a_[i][k] * b[k];
    std::vector<Real> x(m, 0.0L);
    for (int k = m - 1; k >= 0; --k) {
        Real sum = b[k];
        for (int j = k + 1; j < m; ++j)
            sum += a_[k][j] * x[j];
        x[k] = sum / out_[k];
    }
    return x;
}

}  // namespace wachtrix
