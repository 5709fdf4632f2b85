#pragma once
// The "TRANSIENT BEHAVIOUR" report: state probabilities or expected sojourn times of chosen end
// states, or expected total and average costs, at each time point, with an accuracy check.
//
//   discrete, absorbing initial state 1, end states 1 and 2, t = 1 and 3:
//                 State 1       State 2
//   At t = 1     1.000000000   0.000000000
//   At t = 3     1.000000000   0.000000000

#include <string>
#include <vector>

#include "core/markov/chain_data.h"
#include "core/markov/markov_report.h"
#include "core/markov/progress.h"
#include "core/markov/time_analysis_input.h"
#include "core/markov/transient.h"

namespace wachtrix {

// The four lines written before the run.
std::vector<std::string> TransientHeader();

// The lines after the header for a finished run; costRates (1-based) are the cost per period
// (discrete) or per unit time (continuous) of each state.
std::vector<std::string> TransientReportBody(ChainKind kind, const TransientOptions& options,
                                             const TransientRun& run,
                                             const std::vector<double>& costRates);

// Runs the analysis on the chain and writes the whole report.
MarkovReport TransientAnalysis(const ChainData& chain, const TransientOptions& options,
                               Progress& progress);

}  // namespace wachtrix
