#include "core/markov/lu_decomposition.h"

#include <cmath>
#include <utility>

namespace wachtrix {

std::optional<LUFactors> DecomposeLU(Matrix a, int n, double tolerance) {
    std::vector<long double> scale(n + 1, 0);
    std::vector<int> permutation(n + 1, 0);
    for (int i = 1; i <= n; ++i) {
        long double squares = 0;
        for (int j = 1; j <= n; ++j)
            squares += static_cast<long double>(a[i][j]) * a[i][j];
        scale[i] = std::sqrt(squares);
        permutation[i] = i;
    }
    auto ratio = [&](int r, int k) {
        return scale[r] > 0 ? std::fabs(static_cast<long double>(a[r][k])) / scale[r] : 0.0L;
    };
    for (int k = 1; k <= n; ++k) {
        int pivot = k;
        long double largest = ratio(k, k);
        for (int r = k + 1; r <= n; ++r) {
            const long double candidate = ratio(r, k);
            if (candidate > largest) {
                largest = candidate;
                pivot = r;
            }
        }
        // A zero last pivot would otherwise end in a division by zero in the solve.
        if (!(largest >= tolerance)) return std::nullopt;
        if (pivot != k) {
            std::swap(a[k], a[pivot]);
            std::swap(permutation[k], permutation[pivot]);
        }
        for (int r = k + 1; r <= n; ++r) {
            const double m = a[r][k] / a[k][k];
            a[r][k] = m;
            for (int j = k + 1; j <= n; ++j)
                a[r][j] -= m * a[k][j];
        }
    }
    return LUFactors{std::move(a), std::move(permutation)};
}

std::vector<double> SolveLU(const LUFactors& lu, const std::vector<double>& b) {
    const int n = static_cast<int>(lu.permutation.size()) - 1;
    const Matrix& a = lu.a;
    std::vector<double> y(n + 1, 0.0);
    for (int k = 1; k <= n; ++k) {
        long double sum = b[lu.permutation[k]];
        for (int j = 1; j < k; ++j)
            sum -= static_cast<long double>(a[k][j]) * y[j];
        y[k] = static_cast<double>(sum);
    }
    std::vector<double> x(n + 1, 0.0);
    for (int k = n; k >= 1; --k) {
        long double sum = y[k];
        for (int j = k + 1; j <= n; ++j)
            sum -= static_cast<long double>(a[k][j]) * x[j];
        x[k] = static_cast<double>(sum / a[k][k]);
    }
    return x;
}

}  // namespace wachtrix
