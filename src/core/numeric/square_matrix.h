#pragma once
// A dense n x n matrix stored row by row in one block, so that the solvers' inner loops run over
// contiguous memory without bounds checks. Indices count from 0.

#include <cstddef>
#include <vector>

namespace wachtrix {

template <class Real>
class SquareMatrix {
public:
    explicit SquareMatrix(int n = 0) : n_(n), a_(static_cast<std::size_t>(n) * n, Real(0)) {}

    int size() const { return n_; }
    Real& operator()(int i, int j) { return a_[Index(i, j)]; }
    const Real& operator()(int i, int j) const { return a_[Index(i, j)]; }
    Real* row(int i) { return a_.data() + Index(i, 0); }
    const Real* row(int i) const { return a_.data() + Index(i, 0); }

private:
    std::size_t Index(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(n_) +
               static_cast<std::size_t>(j);
    }
    int n_;
    std::vector<Real> a_;
};

}  // namespace wachtrix
