#pragma once
// A transition matrix kept row by row with only its positive entries, each row in increasing
// column order, for the analyses that multiply by it thousands of times.
//
//   rows {0.5, 0.5}, {0, 1} -> row 1: (1, 0.5), (2, 0.5); row 2: (2, 1)
//   (0.2, 0.8) x that matrix -> (0.1, 0.9);  that matrix x (1, 0)^T -> (0.5, 0)^T
//
// Vectors are 1-based like the chain data: entry 0 is unused.

#include <span>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

class SparseMatrix {
public:
    // The positive entries of the 1-based n x n matrix m.
    SparseMatrix(const Matrix& m, int n);

    int size() const { return n_; }
    int entries() const { return static_cast<int>(column_.size()); }
    std::span<const int> columns(int row) const;
    std::span<const double> values(int row) const;

    // out(j) = sum over i of in(i) m(i,j): one step of a row vector of state probabilities.
    // out is resized to n + 1 and may not be in.
    void MultiplyLeft(const std::vector<double>& in, std::vector<double>& out) const;

    // out(i) = sum over j of m(i,j) in(j): one step of a column vector of functions of the
    // next state. out is resized to n + 1 and may not be in.
    void MultiplyRight(const std::vector<double>& in, std::vector<double>& out) const;

private:
    int n_;
    std::vector<int> rowStart_;  // entries of row i at rowStart_[i] .. rowStart_[i+1]-1
    std::vector<int> column_;
    std::vector<double> value_;
    // Stretches of consecutive columns within a row. Their values lie side by side in value_,
    // so a dense stretch is a plain loop over contiguous memory that the compiler vectorises;
    // rows made of short stretches go entry by entry instead.
    std::vector<int> runStart_;    // runs of row i at runStart_[i] .. runStart_[i+1]-1
    std::vector<int> runColumn_;   // first column of each run
    std::vector<int> runEntry_;    // first entry of each run, one more at the end
    std::vector<char> rowInRuns_;  // row i is worked run by run
    // Four consecutive rows that are each one stretch over the same columns are worked
    // together: the vector they update, or read, is then gone through once for the four.
    static constexpr int kBandRows = 4;
    std::vector<char> bandAt_;  // a band starts at row i
};

}  // namespace wachtrix
