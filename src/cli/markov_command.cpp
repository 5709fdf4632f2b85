#include "cli/commands.h"
#include "core/markov/markov_analysis.h"

namespace wachtrix::cli {
namespace {

// The dialog's limits: the time-point and end-state grids.
constexpr std::size_t kMostTimePoints = 25;
constexpr std::size_t kMostEndStates = 4;

TransientChoice TransientChoiceNamed(const std::string& name) {
    if (name.empty() || name == "probabilities") return TransientChoice::Probabilities;
    if (name == "sojourn") return TransientChoice::SojournTimes;
    if (name == "costs") return TransientChoice::Costs;
    throw UsageError("choice must be probabilities, sojourn or costs");
}

// The edit's text, or the dialog's default when the key is absent.
std::string TextOr(const Arguments& args, const std::string& key, const std::string& preset) {
    return args.keys.count(key) ? Text(args, key) : preset;
}

std::vector<std::string> TimePoints(const Arguments& args) {
    auto times = Values(args, "times", kMostTimePoints);
    if (times.empty()) throw UsageError("times= needs 1 to 25 time points");
    return times;
}

MarkovChoice ChoiceOf(const Arguments& args) {
    MarkovChoice choice;
    const auto analysis = MarkovAnalysisNamed(Text(args, "analysis"));
    if (!analysis)
        throw UsageError("analysis must be structure, steady, transient, passage or means");
    choice.analysis = *analysis;
    if (choice.analysis == MarkovAnalysis::Transient) {
        TransientInput& t = choice.transient;
        t.initialState = TextOr(args, "initial", "1");
        t.timePoints = TimePoints(args);
        t.choice = TransientChoiceNamed(Text(args, "choice"));
        if (t.choice != TransientChoice::Costs) {
            t.endStates = Values(args, "end", kMostEndStates);
            if (t.endStates.empty()) throw UsageError("end= needs 1 to 4 end states");
        }
    } else if (choice.analysis == MarkovAnalysis::FirstPassage) {
        FirstPassageInput& f = choice.firstPassage;
        f.startingState = TextOr(args, "start", "1");
        f.timePoints = TimePoints(args);
        f.returnSet = static_cast<ReturnSetType>(Choice(args, "set", 3));
        f.stateA = Text(args, "a");
    }
    return choice;
}

}  // namespace

ModelCommand MarkovCommand() {
    return {"markov",
            "Markov chain analyses of a chain file (as saved by the Markov module)",
            "FILE analysis=structure|steady|transient|passage|means [KEY=VALUE...]",
            {{"analysis",
              "structure (recurrent subchains and transient states), steady (equilibrium "
              "distribution, average cost), transient (behaviour over time), passage "
              "(first-passage time probabilities) or means (mean first-passage times, or "
              "absorption probabilities, times, visits and costs until absorption)"},
             {"initial", "transient: the initial state (default 1)"},
             {"times", "transient, passage: 1 to 25 time points from 1 to 5000"},
             {"choice", "transient: probabilities (default), sojourn or costs"},
             {"end", "transient probabilities and sojourn times: 1 to 4 end states"},
             {"start", "passage: the starting state (default 1)"},
             {"set", "passage: the return set A, 0 = {a}, 1 = {1..a}, 2 = {a..N} (default 0)"},
             {"a", "passage: the state a of the return set"}},
            1,
            [](const Arguments& args) {
                MarkovFileReport report = RunMarkovFile(args.positional.at(0), ChoiceOf(args));
                CommandResult result;
                if (!report.error.empty()) {
                    result.errors.push_back(report.error);
                    return result;
                }
                result.styles.assign(report.lines.size(), 'N');
                result.lines = std::move(report.lines);
                result.failed = !report.failure.empty();
                result.failure = std::move(report.failure);
                return result;
            }};
}

}  // namespace wachtrix::cli
