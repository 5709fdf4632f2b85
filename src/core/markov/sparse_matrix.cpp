#include "core/markov/sparse_matrix.h"

namespace wachtrix {
namespace {

// The kernels below are built twice where the loader can choose: for AVX2 and for any x86-64.
// Their results do not depend on the choice: each sum is formed in the order the code states.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define WACHTRIX_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define WACHTRIX_VECTOR_CLONES
#endif

// Below this mean stretch length the loop set-up of each stretch costs more than it saves.
constexpr int kShortestMeanRun = 4;

// out[k] += x * v[k], k < length.
WACHTRIX_VECTOR_CLONES void AddScaled(double* __restrict out, const double* __restrict v,
                                      int length, double x) {
    for (int k = 0; k < length; ++k)
        out[k] += x * v[k];
}

// The same for four rows of `length` values each, one after the other in v: out is read and
// written once for the four.
WACHTRIX_VECTOR_CLONES void AddScaled4(double* __restrict out, const double* __restrict v,
                                       int length, const double* __restrict x) {
    const double* const v1 = v + length;
    const double* const v2 = v1 + length;
    const double* const v3 = v2 + length;
    for (int k = 0; k < length; ++k)
        out[k] += (x[0] * v[k] + x[1] * v1[k]) + (x[2] * v2[k] + x[3] * v3[k]);
}

// sum of v[k] * x[k], k < length: four partial sums (k mod 4) so that the additions overlap.
WACHTRIX_VECTOR_CLONES double Dot(const double* __restrict v, const double* __restrict x,
                                  int length) {
    double s[4] = {0, 0, 0, 0};
    int k = 0;
    for (; k + 4 <= length; k += 4)
        for (int j = 0; j < 4; ++j)
            s[j] += v[k + j] * x[k + j];
    for (; k < length; ++k)
        s[0] += v[k] * x[k];
    return (s[0] + s[1]) + (s[2] + s[3]);
}

// Dot for four rows of `length` values each, one after the other in v, sharing the reads of x;
// each row's sum is formed as Dot forms it.
WACHTRIX_VECTOR_CLONES void Dot4(const double* __restrict v, const double* __restrict x, int length,
                                 double* __restrict sums) {
    const double* const v1 = v + length;
    const double* const v2 = v1 + length;
    const double* const v3 = v2 + length;
    double s0[4] = {0, 0, 0, 0}, s1[4] = {0, 0, 0, 0}, s2[4] = {0, 0, 0, 0}, s3[4] = {0, 0, 0, 0};
    int k = 0;
    for (; k + 4 <= length; k += 4) {
        for (int j = 0; j < 4; ++j) {
            s0[j] += v[k + j] * x[k + j];
            s1[j] += v1[k + j] * x[k + j];
            s2[j] += v2[k + j] * x[k + j];
            s3[j] += v3[k + j] * x[k + j];
        }
    }
    for (; k < length; ++k) {
        s0[0] += v[k] * x[k];
        s1[0] += v1[k] * x[k];
        s2[0] += v2[k] * x[k];
        s3[0] += v3[k] * x[k];
    }
    sums[0] = (s0[0] + s0[1]) + (s0[2] + s0[3]);
    sums[1] = (s1[0] + s1[1]) + (s1[2] + s1[3]);
    sums[2] = (s2[0] + s2[1]) + (s2[2] + s2[3]);
    sums[3] = (s3[0] + s3[1]) + (s3[2] + s3[3]);
}

}  // namespace

SparseMatrix::SparseMatrix(const Matrix& m, int n) : n_(n) {
    // Sized once: growing by copies would touch twice the memory, which costs more than the
    // counting pass.
    std::size_t entries = 0, runs = 0;
    for (int i = 1; i <= n; ++i) {
        bool previous = false;
        for (int j = 1; j <= n; ++j) {
            const bool positive = m[i][j] > 0;
            entries += positive;
            runs += positive && !previous;
            previous = positive;
        }
    }
    column_.reserve(entries);
    value_.reserve(entries);
    runColumn_.reserve(runs);
    runEntry_.reserve(runs + 1);
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

    // Bands: four rows in a row that are each one stretch over the same columns.
    bandAt_.assign(n + 2, 0);
    const auto singleRun = [&](int i) {
        return rowInRuns_[i] && runStart_[i + 1] - runStart_[i] == 1;
    };
    const auto sameRun = [&](int i, int k) {
        return runColumn_[runStart_[i]] == runColumn_[runStart_[k]] &&
               rowStart_[i + 1] - rowStart_[i] == rowStart_[k + 1] - rowStart_[k];
    };
    for (int i = 1; i + kBandRows - 1 <= n;) {
        bool band = singleRun(i);
        for (int r = 1; band && r < kBandRows; ++r)
            band = singleRun(i + r) && sameRun(i, i + r);
        if (band) {
            bandAt_[i] = 1;
            i += kBandRows;
        } else {
            ++i;
        }
    }
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
    for (int i = 1; i <= n_;) {
        if (bandAt_[i]) {
            const int r = runStart_[i];
            AddScaled4(o + runColumn_[r], v + runEntry_[r], runEntry_[r + 1] - runEntry_[r],
                       in.data() + i);
            i += kBandRows;
            continue;
        }
        const double x = in[i];
        if (x == 0) {
            // A state not reached adds nothing.
        } else if (rowInRuns_[i]) {
            for (int r = runStart_[i]; r < runStart_[i + 1]; ++r)
                AddScaled(o + runColumn_[r], v + runEntry_[r], runEntry_[r + 1] - runEntry_[r], x);
        } else {
            for (int e = rowStart_[i]; e < rowStart_[i + 1]; ++e)
                o[column_[e]] += x * v[e];
        }
        ++i;
    }
}

void SparseMatrix::MultiplyRight(const std::vector<double>& in, std::vector<double>& out) const {
    out.assign(n_ + 1, 0.0);
    const double* const x = in.data();
    const double* const v = value_.data();
    for (int i = 1; i <= n_;) {
        if (bandAt_[i]) {
            const int r = runStart_[i];
            Dot4(v + runEntry_[r], x + runColumn_[r], runEntry_[r + 1] - runEntry_[r],
                 out.data() + i);
            i += kBandRows;
            continue;
        }
        double sum = 0;
        if (rowInRuns_[i]) {
            for (int r = runStart_[i]; r < runStart_[i + 1]; ++r)
                sum += Dot(v + runEntry_[r], x + runColumn_[r], runEntry_[r + 1] - runEntry_[r]);
        } else {
            for (int e = rowStart_[i]; e < rowStart_[i + 1]; ++e)
                sum += v[e] * x[column_[e]];
        }
        out[i] = sum;
        ++i;
    }
}

}  // namespace wachtrix
