#include "core/markov/markov_analysis.h"

#include "core/markov/chain_file.h"
#include "core/markov/chain_input.h"
#include "core/markov/chain_structure.h"
#include "core/markov/first_passage.h"
#include "core/markov/mean_passage_report.h"
#include "core/markov/steady_state.h"
#include "core/markov/transient_report.h"
#include "core/numeric/numerical_failure.h"

namespace wachtrix {
namespace {

MarkovReport Analyse(const MarkovRequest& request, const ChainData& chain, Progress& progress) {
    switch (request.analysis) {
        case MarkovAnalysis::ChainStructure:
            return {ChainStructureReport(chain), false, {}};
        case MarkovAnalysis::SteadyState:
            return {SteadyStateReport(chain), false, {}};
        case MarkovAnalysis::Transient:
            return TransientAnalysis(chain, request.transient, progress);
        case MarkovAnalysis::FirstPassage:
            return FirstPassageAnalysis(chain, request.firstPassage, progress);
        case MarkovAnalysis::MeanPassage:
            return {MeanPassageReport(chain), false, {}};
    }
    return {};
}

std::vector<std::string> Header(MarkovAnalysis analysis) {
    switch (analysis) {
        case MarkovAnalysis::Transient:
            return TransientHeader();
        case MarkovAnalysis::FirstPassage:
            return FirstPassageHeader();
        case MarkovAnalysis::MeanPassage:
            return MeanPassageHeader();
        default:
            return {};
    }
}

}  // namespace

std::optional<MarkovAnalysis> MarkovAnalysisNamed(std::string_view name) {
    if (name == "structure") return MarkovAnalysis::ChainStructure;
    if (name == "steady") return MarkovAnalysis::SteadyState;
    if (name == "transient") return MarkovAnalysis::Transient;
    if (name == "passage") return MarkovAnalysis::FirstPassage;
    if (name == "means") return MarkovAnalysis::MeanPassage;
    return std::nullopt;
}

Checked<MarkovRequest> CheckMarkovChoice(const MarkovChoice& choice, const ChainData& chain) {
    Checked<MarkovRequest> result;
    result.value.analysis = choice.analysis;
    if (choice.analysis == MarkovAnalysis::Transient) {
        auto options = CheckTransientInput(choice.transient, chain.StateCount, chain.Kind);
        if (!options.ok()) return {{}, options.error, options.place};
        result.value.transient = std::move(options.value);
    } else if (choice.analysis == MarkovAnalysis::FirstPassage) {
        auto options = CheckFirstPassageInput(choice.firstPassage, chain.StateCount, chain.Kind);
        if (!options.ok()) return {{}, options.error, options.place};
        result.value.firstPassage = std::move(options.value);
    }
    return result;
}

MarkovReport RunMarkovAnalysis(const MarkovRequest& request, const ChainData& chain,
                               Progress& progress) {
    if (!chain.DataLoaded) return {};
    try {
        return Analyse(request, chain, progress);
    } catch (const NumericalFailure& failure) {
        // The analyses over time, before or while they step, and the mean passage times, when
        // they leave the range of numbers.
        MarkovReport report{Header(request.analysis), false, failure.lines()};
        report.lines.push_back(NumericalFailureNotice(failure.lines()));
        return report;
    }
}

MarkovFileReport RunMarkovFile(const std::string& path, const MarkovChoice& choice) {
    // Read straight into numbers: the same values and checks as Open and Run in the dialog.
    ChainNumbersReading reading = ReadChainNumbersWithReason(path);
    // The window's box says only the first line; a script's user also needs to know why.
    if (!reading.chain) return {{}, "Cannot read file " + path + "\n" + reading.reason, {}};
    if (const auto fault = ValidateChainNumbers(*reading.chain)) return {{}, *fault, {}};
    const ChainData chain = ChainDataFromNumbers(std::move(*reading.chain));
    const auto request = CheckMarkovChoice(choice, chain);
    if (!request.ok()) return {{}, request.error, {}};
    NoProgress progress;
    MarkovReport report = RunMarkovAnalysis(request.value, chain, progress);
    return {std::move(report.lines), {}, std::move(report.failure)};
}

}  // namespace wachtrix
