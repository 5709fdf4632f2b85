#pragma once
// Censoring (state reduction) of a chain in double-double arithmetic, for the analyses that need
// every target or many right-hand sides at once. Like SubtractionFreeSolver, each state is
// eliminated by sending what went into it where it goes, in proportion, and each new way out is
// a sum of what a state still leaves to, never a difference: every intermediate value is a sum
// of nonnegative terms, so nothing cancels however nearly the chain falls apart. The weights
// a(i,j) are probabilities or rates alike; the diagonal is never read.
//
//   a(1,2) = 1, a(2,1) = 1, a(2,3) = 1, a(3,1) = 1: from 1 to 3 takes 1 + 1 + ... = 3 visits'
//   worth of reward 1 (1 -> 2 -> 3 or 1 -> 2 -> 1 -> ...), PassageRewards()[0][2] = 3
//
// Matrices here are 0-based.

#include <vector>

#include "core/markov/chain_data.h"
#include "core/numeric/double_double.h"

namespace wachtrix {

// A dense matrix of double-double numbers, row by row, high and low parts apart.
class ExtendedMatrix {
public:
    ExtendedMatrix() = default;
    ExtendedMatrix(int rows, int columns)
        : rows_(rows),
          columns_(columns),
          hi_(static_cast<std::size_t>(rows) * columns, 0.0),
          lo_(static_cast<std::size_t>(rows) * columns, 0.0) {}

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    DoubleDouble at(int i, int j) const { return {hi_[Index(i, j)], lo_[Index(i, j)]}; }
    void set(int i, int j, DoubleDouble v) {
        hi_[Index(i, j)] = v.hi;
        lo_[Index(i, j)] = v.lo;
    }
    double* hi(int i) { return hi_.data() + Index(i, 0); }
    double* lo(int i) { return lo_.data() + Index(i, 0); }
    const double* hi(int i) const { return hi_.data() + Index(i, 0); }
    const double* lo(int i) const { return lo_.data() + Index(i, 0); }

private:
    std::size_t Index(int i, int j) const { return static_cast<std::size_t>(i) * columns_ + j; }

    int rows_ = 0;
    int columns_ = 0;
    std::vector<double> hi_, lo_;
};

// True when the positive weights lie where double-double products and quotients of them keep
// their digits (2^-450 to 2^450); the analyses fall back to extended precision otherwise.
bool WithinDoubleDoubleRange(const Matrix& a, int n);

// For an irreducible chain (1-based weights a, n >= 2 states) and a reward per visit of each
// state (0-based; the expected reward of one stay), x[i][j] = the expected reward collected from
// i until the first visit of j, for every pair i != j; 0 on the diagonal. Every target is served
// by one divide-and-conquer censoring: the states are split in halves, each half is censored out
// once for all targets in the other half, and the halves recurse, O(n^3) in all.
// NumericalFailure when a state's way out vanishes.
ExtendedMatrix PassageRewards(const Matrix& a, int n, const std::vector<double>& reward);

// The equilibrium distribution of an irreducible chain on its weights (0-based, summing to 1).
std::vector<DoubleDouble> ReducedEquilibrium(const Matrix& a, int n);

// The systems of SubtractionFreeSolver on the states `free` for the right-hand sides in the
// columns of rhs (rows in the order of free), and, when `identity` is set, also for the unit
// vectors, whose solutions follow as the last free.size() columns: one censoring for all. The
// solutions stand in the columns from free.size() + 1 on of what comes back (in the order of
// the right-hand sides). NumericalFailure when a state of free would never leave it.
ExtendedMatrix SolveOpen(const Matrix& a, const std::vector<int>& free, const ExtendedMatrix& rhs,
                         bool identity);

}  // namespace wachtrix
