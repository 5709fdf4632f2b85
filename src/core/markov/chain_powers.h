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
#include <optional>
#include <vector>

namespace wachtrix {

// The short stretch of time of a uniformised chain, in mean jumps, whose matrix the squarings
// of a continuous chain start from, and the terms of its series: the Poisson probability of
// more jumps in it is below 1e-22.
constexpr double kUnitJumps = 0.125;
constexpr int kUnitTerms = 13;

// A continuous chain over `jumps` (at most kUnitJumps) mean jumps of its uniformised chain,
// from A = W - I with the exact diagonal (minus each state's rates out over nu, which 1 - that
// could not hold for a state far slower than nu): E - I = sum over k >= 1 of (jumps A)^k / k!
// and S = sum over k >= 0 of jumps^(k+1) A^k / (k+1)! (S in units of 1 / nu). kUnitTerms
// products; carryOn() is asked before each, and false sets `stopped`. Row by row, 0-based.
struct UnitSeries {
    std::vector<double> e, s;  // E - I and S
};
UnitSeries GeneratorSeries(const std::vector<double>& a, int n, double jumps,
                           const std::function<bool()>& carryOn, bool& stopped);

// True when some state of the uniformised chain w (1-based) leaves at a rate so far below nu
// (under 2^-40 of it) that its self-transition 1 - rate / nu cannot be told from 1 to four
// digits: stepping would lose its rates, and such a chain is squared from its generator.
bool TooSlowForItsSteps(const std::vector<std::vector<double>>& w, int n);

// v := v E and s := v S over `jumps` (below kUnitJumps) for a row vector v (0-based), as series
// in A.
void GeneratorStretch(const std::vector<double>& a, int n, double jumps, std::vector<double>& v,
                      std::vector<double>& s);

class ChainPowers {
public:
    // sum0 empty: no sums. fromIdentity: m0 is M_0 - I, and so are the levels kept (for a
    // matrix so near the identity that I + D would lose D). rowLoss: row i of M_0 sums to
    // 1 - rowLoss(i) (zeros for a stochastic chain; what leaves for states not carried, such
    // as a return set), and each level is held to its own loss, doubled alongside: a squaring
    // doubles the rounding of the row sums, and over the 60 or more levels of a very large nu t
    // that would grow into figures above 1 (or vanishing ones); and a loss far below a row's
    // other rates would vanish in their rounding. The sums are restored from the off-diagonal
    // entries and the loss, which carry no cancellation.
    ChainPowers(std::vector<double> m0, std::vector<double> sum0, int n, bool fromIdentity = false,
                std::optional<std::vector<double>> rowLoss = std::nullopt);

    // Products needed to make the levels up to `level` ready.
    int ProductsFor(int level) const;

    // Marks the levels that Apply(m) will read. Only marked levels are kept: a multiplier near
    // 2^1000 reads no more than 53 of them, and the others are dropped once squared past.
    void Need(double m);

    // Makes the marked levels up to `level` ready; carryOn() is asked before each product, and
    // false ends the work (and this returns false).
    bool Prepare(int level, const std::function<bool()>& carryOn);

    // The highest level that m (a whole number up to 2^1023) needs.
    static int TopLevel(double m);

    // v := v M^m and, with sums, s += v (the sum over the m units); the levels must be ready.
    void Apply(double m, std::vector<double>& v, std::vector<double>* s) const;

private:
    int n_;
    bool sums_;
    bool fromIdentity_;
    std::optional<std::vector<double>> loss_;  // of the last level squared to
    int level_ = 0;                            // the last level squared to
    std::vector<double> power, sum;            // M and S of that level
    std::vector<char> needed_;                 // per level
    std::vector<std::vector<double>> power_;   // M_j where needed
    std::vector<std::vector<double>> sum_;     // S_j where needed
};

}  // namespace wachtrix
