#include "core/markov/sparse_matrix.h"

namespace wachtrix {
namespace {

// Below this mean stretch length the loop set-up of each stretch costs more than it saves.
constexpr int kShortestMeanRun = 4;

// out[k] += x * v[k], k < length: contiguous, so vectorised.
void AddScaled(double* __restrict out, const double* __restrict v, int length, double x) {
    for (int k = 0; k < length; ++k)
        out[k] += x * v[k];
}

// sum of v[k] * x[k], k < length, in four independent sums so that the additions overlap.
double Dot(const double* __restrict v, const double* __restrict x, int length) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int k = 0;
    for (; k + 4 <= length; k += 4) {
        s0 += v[k] * x[k];
        s1 += v[k + 1] * x[k + 1];
        s2 += v[k + 2] * x[k + 2];
        s3 += v[k + 3] * x[k + 3];
    }
    for (; k < length; ++k)
        s0 += v[k] * x[k];
    return (s0 + s1) + (s2 + s3);
}

}  // namespace

SparseMatrix::SparseMatrix(const Matrix& m, int n) : n_(n) {
    rowStart_.assign(n + 2, 0);
    runStart_.assign(n + 2, 0);
    rowInRuns_.assign(n + 1, 0);
    for (int i = 1; i <= n; ++i) {
        rowStart_[i] = static_cast<int>(column_.size());
        runStart_[i] = static_cast<int>(runColumn_.size());
        for (int j = 1; j <= n; ++j) {
            if (!(m[i][j] > 0)) continue;
            const bool continues =
                static_cast<int>(column_.size()) > rowStart_[i] && column_.back() == j - 1;
            if (!continues) {
                runColumn_.push_back(j);
                runEntry_.push_back(static_cast<int>(column_.size()));
            }
            column_.push_back(j);
            value_.push_back(m[i][j]);
        }
        const int entries = static_cast<int>(column_.size()) - rowStart_[i];
        const int runs = static_cast<int>(runColumn_.size()) - runStart_[i];
        rowInRuns_[i] = runs > 0 && entries >= kShortestMeanRun * runs;
    }
    rowStart_[n + 1] = static_cast<int>(column_.size());
    runStart_[n + 1] = static_cast<int>(runColumn_.size());
    runEntry_.push_back(static_cast<int>(column_.size()));
}

std::span<const int> SparseMatrix::columns(int row) const {
    return {column_.data() + rowStart_[row], column_.data() + rowStart_[row + 1]};
}

std::span<const double> SparseMatrix::values(int row) const {
    return {value_.data() + rowStart_[row], value_.data() + rowStart_[row + 1]};
}

void SparseMatrix::MultiplyLeft(const std::vector<double>& in, std::vector<double>& out) const {
    out.assign(n_ + 1, 0.0);
    double* const o = out.data();
    const double* const v = value_.data();
    for (int i = 1; i <= n_; ++i) {
        const double x = in[i];
        if (x == 0) continue;  // states not reached add nothing
        if (rowInRuns_[i]) {
            for (int r = runStart_[i]; r < runStart_[i + 1]; ++r)
                AddScaled(o + runColumn_[r], v + runEntry_[r], runEntry_[r + 1] - runEntry_[r], x);
        } else {
            for (int e = rowStart_[i]; e < rowStart_[i + 1]; ++e)
                o[column_[e]] += x * v[e];
        }
    }
}

void SparseMatrix::MultiplyRight(const std::vector<double>& in, std::vector<double>& out) const {
    out.assign(n_ + 1, 0.0);
    const double* const x = in.data();
    const double* const v = value_.data();
    for (int i = 1; i <= n_; ++i) {
        double sum = 0;
        if (rowInRuns_[i]) {
            for (int r = runStart_[i]; r < runStart_[i + 1]; ++r)
                sum += Dot(v + runEntry_[r], x + runColumn_[r], runEntry_[r + 1] - runEntry_[r]);
        } else {
            for (int e = rowStart_[i]; e < rowStart_[i + 1]; ++e)
                sum += v[e] * x[column_[e]];
        }
        out[i] = sum;
    }
}

}  // namespace wachtrix
