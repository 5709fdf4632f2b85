#pragma once
// One entry to the analyses that need nothing but the chain, for the dialog and the batch tool:
// a validated chain (or a chain file) in, the report's lines out.
//
//   RunMarkovFile("chain.txt", MarkovAnalysis::SteadyState)
//     -> lines "============================", "   STEADY-STATE BEHAVIOUR", ...
//   RunMarkovFile("missing.txt", ...) -> error "Cannot read file missing.txt\nthe file cannot
//   be opened" (the box text, then why)

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

enum class MarkovAnalysis { ChainStructure, SteadyState };

// "structure" or "steady".
std::optional<MarkovAnalysis> MarkovAnalysisNamed(std::string_view name);

std::vector<std::string> RunMarkovAnalysis(const ChainData& chain, ChainKind kind,
                                           MarkovAnalysis analysis);

struct MarkovFileReport {
    std::vector<std::string> lines;
    std::string error;  // the dialog's message, a line saying why; empty on success
};

// Reads the chain file, validates it as the dialog does and runs the analysis.
MarkovFileReport RunMarkovFile(const std::string& path, MarkovAnalysis analysis);

}  // namespace wachtrix
