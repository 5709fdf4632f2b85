#include "core/markov/markov_analysis.h"

#include "core/markov/chain_file.h"
#include "core/markov/chain_input.h"
#include "core/markov/chain_structure.h"
#include "core/markov/steady_state.h"

namespace wachtrix {

std::optional<MarkovAnalysis> MarkovAnalysisNamed(std::string_view name) {
    if (name == "structure") return MarkovAnalysis::ChainStructure;
    if (name == "steady") return MarkovAnalysis::SteadyState;
    return std::nullopt;
}

std::vector<std::string> RunMarkovAnalysis(const ChainData& chain, ChainKind kind,
                                           MarkovAnalysis analysis) {
    switch (analysis) {
        case MarkovAnalysis::ChainStructure:
            return ChainStructureReport(chain, kind);
        case MarkovAnalysis::SteadyState:
            return SteadyStateReport(chain, kind);
    }
    return {};
}

MarkovFileReport RunMarkovFile(const std::string& path, MarkovAnalysis analysis) {
    const ChainFileReading reading = ReadChainFileWithReason(path);
    // The window's box says only the first line; a script's user also needs to know why.
    if (!reading.chain) return {{}, "Cannot read file " + path + "\n" + reading.reason};
    const auto& input = reading.chain;
    if (const auto fault = ValidateChainInput(*input)) return {{}, *fault};
    return {RunMarkovAnalysis(ChainDataFromInput(*input), input->kind, analysis), {}};
}

}  // namespace wachtrix
