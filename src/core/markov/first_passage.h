#pragma once
// First-passage time probabilities P(T(A) > t | X(0) = s), T(A) the first time n >= 1 at which
// the chain is in the return set A; for s in A the tail of the return time.
//
// Discrete chains iterate u := P_A u with P_A the matrix without the columns of A, so that
// u_t(s) = P(X(1), ..., X(t) all outside A | X(0) = s). Continuous chains run the uniformised
// chain the same way, weighted with the Poisson probabilities of n jumps by time t; a
// self-transition of the uniformised chain in s is not a return. A run stops stepping once u
// certifiably falls away geometrically below 1e-14, or settles on the chance of never reaching
// A; a time point whose steps would cost more is taken by squaring the matrix of the steps.
//
//   two states, q(1,2) = lambda, A = {2}, s = 1: P(T > t) = e^-lambda t
//
//   ==================================
//   FIRST-PASSAGE TIME PROBABILITIES
//   ==================================
//
//   Initial State = 1
//   Return Set = {2}
//
//   P( T({2}) > t | X(0) = 1 )
//
//   At t = 1:       0.50000000

#include <optional>
#include <string>
#include <vector>

#include "core/markov/chain_data.h"
#include "core/markov/markov_report.h"
#include "core/markov/progress.h"
#include "core/markov/sparse_matrix.h"
#include "core/markov/time_analysis_input.h"
#include "core/markov/uniformisation.h"

namespace wachtrix {

// A = {first..last}.
struct ReturnSet {
    int first = 1;
    int last = 1;
    bool contains(int state) const { return state >= first && state <= last; }
};

// {a}, {1..a} or {a..n}.
ReturnSet ReturnSetOf(ReturnSetType type, int a, int n);

// One tail probability per time point (ascending). Nothing when Stop was pressed.
std::optional<std::vector<double>> RunDiscreteFirstPassage(const SparseMatrix& p, int start,
                                                           ReturnSet set,
                                                           const std::vector<double>& times,
                                                           Progress& progress);

// As above for a continuous chain, at any nu t.
std::optional<std::vector<double>> RunContinuousFirstPassage(const UniformisedChain& chain,
                                                             int start, ReturnSet set,
                                                             const std::vector<double>& times,
                                                             Progress& progress);

// The four lines written before the run.
std::vector<std::string> FirstPassageHeader();

// The lines after the header for a finished run.
std::vector<std::string> FirstPassageReportBody(ChainKind kind, const FirstPassageOptions& options,
                                                int n, const std::vector<double>& times,
                                                const std::vector<double>& tails);

// Runs the analysis on the chain and writes the whole report.
MarkovReport FirstPassageAnalysis(const ChainData& chain, const FirstPassageOptions& options,
                                  Progress& progress);

}  // namespace wachtrix
