#pragma once
// Powers of a chain's matrix by repeated squaring, for runs with more steps than are worth
// taking one by one: with M_0 the matrix of one unit (one period, or a short time of the
// uniformised chain) and S_0 its sum matrix, M_{j+1} = M_j M_j and S_{j+1} = S_j + M_j S_j (the
// doubling of sums: S(2m) = S(m) + M^m S(m)), so that a row vector v and its sum s are carried
// over any whole number m of units in log2 m products:
//
//   m = 5 = 1 + 4: s += v S_0, v = v M_0; s += v S_2, v = v M_2
//
// For a discrete chain S_0 = P (the sum P + ... + P^m); for a continuous one S_0 is the
// integral of the unit, so that s collects the expected time spent in each state. Matrices are
// row by row, n x n; vectors 0-based.

#include <functional>
#include <vector>

namespace wachtrix {

class SparseMatrix;

// The short stretch of time of a uniformised chain, in mean jumps, whose matrix the squarings
// of a continuous chain start from, and the terms of its series: the Poisson probability of
// more jumps in it is below 1e-22.
constexpr double kUnitJumps = 0.125;
constexpr int kUnitTerms = 13;

// The uniformised matrix M over `jumps` (at most kUnitJumps) mean jumps and its sum, as series
// in its powers: E = sum over n of w_n M^n and S = sum over n of P(N > n) M^n, N Poisson of
// mean `jumps` (S in units of 1 / nu). kUnitTerms products; carryOn() is asked before each, and
// false sets `stopped`.
struct UnitSeries {
    std::vector<double> e, s;
};
UnitSeries UniformisedSeries(const std::vector<double>& m, int n, double jumps,
                             const std::function<bool()>& carryOn, bool& stopped);

// v := v E and s := v S over `jumps` (below kUnitJumps) for a row vector v (0-based), as vector
// series through m.
void ShortStretch(const SparseMatrix& m, double jumps, std::vector<double>& v,
                  std::vector<double>& s);

class ChainPowers {
public:
    // sum0 empty: no sums.
    ChainPowers(std::vector<double> m0, std::vector<double> sum0, int n);

    // Products needed to make the levels up to `level` ready.
    int ProductsFor(int level) const;

    // Makes the levels up to `level` ready; carryOn() is asked before each product, and false
    // ends the work (and this returns false).
    bool Prepare(int level, const std::function<bool()>& carryOn);

    // The highest level that m (a whole number up to 2^1023) needs.
    static int TopLevel(double m);

    // v := v M^m and, with sums, s += v (the sum over the m units); the levels must be ready.
    void Apply(double m, std::vector<double>& v, std::vector<double>* s) const;

private:
    int n_;
    bool sums_;
    std::vector<std::vector<double>> power_;  // M_j
    std::vector<std::vector<double>> sum_;    // S_j
};

}  // namespace wachtrix
