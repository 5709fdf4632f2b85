#pragma once
// The one entry to the Markov analyses, for the dialog and the batch tool: the output choice
// is checked against the chain, then the chosen analysis runs on the chain (of either kind) and
// hands back its report's lines.
//
//   RunMarkovFile("chain.txt", {MarkovAnalysis::SteadyState})
//     -> lines "============================", "   STEADY-STATE BEHAVIOUR", ...
//   RunMarkovFile("missing.txt", ...) -> error "Cannot read file missing.txt\nthe file cannot
//   be opened" (the box text, then why)

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/markov/chain_data.h"
#include "core/markov/markov_report.h"
#include "core/markov/progress.h"
#include "core/markov/time_analysis_input.h"

namespace wachtrix {

// In the order of the dialog's choices.
enum class MarkovAnalysis {
    ChainStructure = 0,
    SteadyState = 1,
    Transient = 2,
    FirstPassage = 3,
    MeanPassage = 4,
};

// "structure", "steady", "transient", "passage" or "means".
std::optional<MarkovAnalysis> MarkovAnalysisNamed(std::string_view name);

// What the output-choice page holds, as texts; only the chosen analysis's inputs are read.
struct MarkovChoice {
    MarkovAnalysis analysis = MarkovAnalysis::ChainStructure;
    TransientInput transient;
    FirstPassageInput firstPassage;
};

// The checked choice: the analysis with its options.
struct MarkovRequest {
    MarkovAnalysis analysis = MarkovAnalysis::ChainStructure;
    TransientOptions transient;
    FirstPassageOptions firstPassage;
};

// The chosen analysis's inputs checked against the chain; the error is the dialog's message.
Checked<MarkovRequest> CheckMarkovChoice(const MarkovChoice& choice, const ChainData& chain);

// Runs the analysis. The analyses over time show their progress and may be stopped; a
// computation that gives up ends the report with a notice and hands its lines over.
MarkovReport RunMarkovAnalysis(const MarkovRequest& request, const ChainData& chain,
                               Progress& progress);

struct MarkovFileReport {
    std::vector<std::string> lines;
    std::string error;                 // the dialog's message, a line saying why; empty on success
    std::vector<std::string> failure;  // the lines of a computation that gave up
};

// Reads the chain file, checks it and the choice as the dialog does, and runs the analysis.
MarkovFileReport RunMarkovFile(const std::string& path, const MarkovChoice& choice);

}  // namespace wachtrix
