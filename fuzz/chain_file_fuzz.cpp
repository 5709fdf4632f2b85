// The chain-file reader on arbitrary text, then what the Markov module does with a chain it
// read: validation, the analyses that need no further input (structure, steady state, mean
// passage and absorption), and a save-then-open round trip that must give the same chain.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/markov/chain_file.h"
#include "core/markov/chain_input.h"
#include "core/markov/markov_analysis.h"
#include "core/markov/progress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wachtrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ChainFileReading reading = ParseChainFileTextWithReason(text);
    if (!reading.chain) {
        if (reading.reason.empty()) std::abort();  // every refusal says why
        return 0;
    }
    const ChainInput& chain = *reading.chain;
    const auto again = ParseChainFileText(ChainFileText(chain));
    if (!again || again->kind != chain.kind || again->matrix != chain.matrix ||
        again->costs != chain.costs)
        std::abort();
    if (ValidateChainInput(chain)) return 0;
    const ChainData chainData = ChainDataFromInput(chain);
    NoProgress progress;
    for (const MarkovAnalysis analysis :
         {MarkovAnalysis::ChainStructure, MarkovAnalysis::SteadyState,
          MarkovAnalysis::MeanPassage}) {
        MarkovRequest request;
        request.analysis = analysis;
        (void)RunMarkovAnalysis(request, chainData, progress);
    }
    return 0;
}
