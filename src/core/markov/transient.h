#pragma once
// State probabilities and expected sojourn times of a chain at a set of time points, started in
// one state.
//
// Discrete chains step p := p P once per period; the sojourn of state j by time t is the
// expected number of periods 1..t spent in j. Continuous chains are uniformised (rate nu,
// matrix W) and weighted with the Poisson probabilities of n jumps by time t:
//   P(t) = sum over n of w_n(t) p_n,   S(t) = (1/nu) sum over n of (1 - F_n(t)) p_n
// with p_n = p_0 W^n, w_n the Poisson weights and F_n their running sum; S(t) is the expected
// time spent in j during [0, t].
//
// A run steps only as long as it must: once the coefficient of ergodicity certifies that the
// distribution has settled to within 1e-14 (settling.h), the later terms are that distribution
// (times the rest of the Poisson weights); and a time point whose steps would cost more than
// squaring is taken by powers of the matrix by repeated squaring (chain_powers.h), which works
// at any nu t.
//
//   two states, q(1,2) = lambda, q(2,1) = mu: P_11(t) = mu/(lambda+mu)
//                                             + lambda/(lambda+mu) e^-(lambda+mu)t

#include <optional>
#include <vector>

#include "core/markov/progress.h"
#include "core/markov/sparse_matrix.h"
#include "core/markov/uniformisation.h"

namespace wachtrix {

struct TransientRun {
    std::vector<double> times;                       // ascending, duplicates kept
    std::vector<std::vector<double>> probabilities;  // per time point, 1-based states
    std::vector<std::vector<double>> sojourn;        // per time point, 1-based states
};

// times: whole numbers 1..5000, ascending. Nothing when Stop was pressed.
std::optional<TransientRun> RunDiscreteTransient(const SparseMatrix& p, int initial,
                                                 const std::vector<double>& times,
                                                 Progress& progress);

// times: reals from 1 on, ascending. Nothing when Stop was pressed.
std::optional<TransientRun> RunContinuousTransient(const UniformisedChain& chain, int initial,
                                                   const std::vector<double>& times,
                                                   Progress& progress);

}  // namespace wachtrix
