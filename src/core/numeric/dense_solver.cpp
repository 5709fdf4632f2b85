#include "core/numeric/dense_solver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/numeric/numerical_failure.h"

namespace wachtrix {
namespace {

// row -= factor * pivot over [from, n): the loop that costs n^3 / 3. Four independent updates
// per step, which the compiler packs into vector instructions.
void SubtractMultiple(double* __restrict row, const double* __restrict pivot, double factor,
                      int from, int n) {
    int j = from;
    for (; j + 4 <= n; j += 4) {
        row[j] -= factor * pivot[j];
        row[j + 1] -= factor * pivot[j + 1];
        row[j + 2] -= factor * pivot[j + 2];
        row[j + 3] -= factor * pivot[j + 3];
    }
    for (; j < n; ++j)
        row[j] -= factor * pivot[j];
}

// Four pivot rows at once, in their order: each entry is loaded and stored once instead of four
// times, and sees the same four subtractions as four SubtractMultiple calls would make.
void SubtractFourMultiples(double* __restrict row, const double* const* pivots,
                           const double* factors, int from, int n) {
    const double* __restrict p0 = pivots[0];
    const double* __restrict p1 = pivots[1];
    const double* __restrict p2 = pivots[2];
    const double* __restrict p3 = pivots[3];
    const double f0 = factors[0], f1 = factors[1], f2 = factors[2], f3 = factors[3];
    int j = from;
    for (; j + 2 <= n; j += 2) {
        double x = row[j], y = row[j + 1];
        x -= f0 * p0[j];
        y -= f0 * p0[j + 1];
        x -= f1 * p1[j];
        y -= f1 * p1[j + 1];
        x -= f2 * p2[j];
        y -= f2 * p2[j + 1];
        x -= f3 * p3[j];
        y -= f3 * p3[j + 1];
        row[j] = x;
        row[j + 1] = y;
    }
    for (; j < n; ++j)
        row[j] = (((row[j] - f0 * p0[j]) - f1 * p1[j]) - f2 * p2[j]) - f3 * p3[j];
}

}  // namespace

ScaledLU DecomposeScaledPivoting(SquareMatrix<double> a, const PivotingCopy& copy) {
    const int n = a.size();
    std::vector<double> scale(n);
    std::vector<int> permutation(n);
    for (int i = 0; i < n; ++i) {
        const double* row = a.row(i);
        long double squares = 0;
        for (int j = 0; j < n; ++j)
            squares += static_cast<long double>(row[j]) * row[j];
        scale[i] = static_cast<double>(std::sqrt(squares));
        permutation[i] = i;
    }
    auto ratio = [&](int i, int k) { return scale[i] > 0 ? std::fabs(a(i, k)) / scale[i] : 0.0; };

    // The elimination runs over panels of kPanel columns: inside a panel only the panel's columns
    // are updated; the columns to its right then receive the panel's updates row by row, while
    // the panel's pivot rows stay in cache. Every entry still sees the same updates in the same
    // order as in the textbook loop, so the result is the same to the bit.
    constexpr int kPanel = 24;
    for (int k0 = 0; k0 < n; k0 += kPanel) {
        const int kEnd = k0 + kPanel < n ? k0 + kPanel : n;
        for (int k = k0; k < kEnd; ++k) {
            int pivot = k;
            double largest = ratio(k, k);
            for (int i = k + 1; i < n; ++i) {
                const double candidate = ratio(i, k);
                if (candidate > largest) {
                    largest = candidate;
                    pivot = i;
                }
            }
            // Tested for the last column too: a zero there would divide by zero in the solve.
            if (!(largest >= copy.singularThreshold))
                throw NumericalFailure({std::string(copy.singularText)});
            if (pivot != k) {
                std::swap_ranges(a.row(k), a.row(k) + n, a.row(pivot));
                std::swap(scale[k], scale[pivot]);
                std::swap(permutation[k], permutation[pivot]);
            }
            const double* pivotRow = a.row(k);
            for (int i = k + 1; i < n; ++i) {
                double* row = a.row(i);
                const double factor = row[k] / pivotRow[k];
                row[k] = factor;
                if (factor != 0) SubtractMultiple(row, pivotRow, factor, k + 1, kEnd);
            }
        }
        // The columns right of the panel, in the panel's rows (in order) and below it. The
        // chains' matrices are sparse below the diagonal: groups of zero factors are skipped.
        for (int i = k0 + 1; i < n; ++i) {
            double* row = a.row(i);
            const int last = i < kEnd ? i : kEnd;
            int k = k0;
            for (; k + 4 <= last; k += 4) {
                if (row[k] == 0 && row[k + 1] == 0 && row[k + 2] == 0 && row[k + 3] == 0) continue;
                const double* pivots[4] = {a.row(k), a.row(k + 1), a.row(k + 2), a.row(k + 3)};
                SubtractFourMultiples(row, pivots, row + k, kEnd, n);
            }
            for (; k < last; ++k)
                if (row[k] != 0) SubtractMultiple(row, a.row(k), row[k], kEnd, n);
        }
    }
    return {std::move(a), std::move(permutation)};
}

std::vector<double> SolveDecomposed(const ScaledLU& factors, const std::vector<double>& b) {
    const SquareMatrix<double>& a = factors.lu;
    const int n = a.size();
    std::vector<double> y(n);
    for (int i = 0; i < n; ++i) {
        const double* row = a.row(i);
        long double sum = b[factors.permutation[i]];
        for (int j = 0; j < i; ++j)
            sum -= static_cast<long double>(row[j]) * y[j];
        y[i] = static_cast<double>(sum);
    }
    std::vector<double> x(n);
    for (int i = n - 1; i >= 0; --i) {
        const double* row = a.row(i);
        long double sum = y[i];
        for (int j = i + 1; j < n; ++j)
            sum -= static_cast<long double>(row[j]) * x[j];
        x[i] = static_cast<double>(sum / row[i]);
    }
    return x;
}

std::vector<double> SolveScaledPivoting(SquareMatrix<double> a, const std::vector<double>& b,
                                        const PivotingCopy& copy) {
    return SolveDecomposed(DecomposeScaledPivoting(std::move(a), copy), b);
}

}  // namespace wachtrix
