// The chain-file reader on arbitrary text, then what the Markov module does with a chain it
// read: validation, every analysis (those over time within a budget of steps), none of them
// printing a figure that is no number, and a save-then-open round trip that must give the same
// chain.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/markov/chain_file.h"
#include "core/markov/chain_input.h"
#include "core/markov/markov_analysis.h"
#include "core/markov/progress.h"
#include "fuzz_support.h"

namespace {

// Stops an analysis over time after a few hundred progress calls: every input runs quickly.
class Budget : public wachtrix::Progress {
public:
    void reset() override {}
    void show() override {}
    void position(int) override {}
    void processEvents() override { ++calls_; }
    bool stopRequested() const override { return calls_ > 200; }
    void hide() override {}

private:
    int calls_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wachtrix::fuzz::TrapInvalidArithmetic();
    return 0;
}

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
    const int n = chainData.StateCount;
    const auto sound = [&](const MarkovRequest& request) {
        Budget budget;
        if (fuzz::PrintsNonNumber(RunMarkovAnalysis(request, chainData, budget).lines))
            std::abort();
    };
    for (const MarkovAnalysis analysis :
         {MarkovAnalysis::ChainStructure, MarkovAnalysis::SteadyState,
          MarkovAnalysis::MeanPassage}) {
        MarkovRequest request;
        request.analysis = analysis;
        sound(request);
    }
    // Over time, with time points and states the input's own bytes pick.
    MarkovChoice choice;
    const auto pick = [&](std::size_t k, int range) {
        return 1 + (size > k ? data[size - 1 - k] : 0) % range;
    };
    const std::vector<std::string> times = {std::to_string(pick(0, 5000)),
                                            std::to_string(pick(1, 50)), "5000"};
    choice.analysis = MarkovAnalysis::Transient;
    choice.transient.initialState = std::to_string(pick(2, n));
    choice.transient.timePoints = times;
    choice.transient.endStates = {"1", std::to_string(n)};
    choice.transient.choice = static_cast<TransientChoice>(pick(3, 3) - 1);
    if (const auto request = CheckMarkovChoice(choice, chainData); request.ok())
        sound(request.value);
    choice.analysis = MarkovAnalysis::FirstPassage;
    choice.firstPassage.startingState = std::to_string(pick(4, n));
    choice.firstPassage.timePoints = times;
    choice.firstPassage.returnSet = static_cast<ReturnSetType>(pick(5, 3) - 1);
    choice.firstPassage.stateA = std::to_string(pick(6, n));
    if (const auto request = CheckMarkovChoice(choice, chainData); request.ok())
        sound(request.value);
    return 0;
}
