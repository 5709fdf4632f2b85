#include "core/markov/time_analysis_input.h"

#include <algorithm>

#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

constexpr double kFirstTimePoint = 1;
constexpr double kLastTimePoint = 5000;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

Checked<std::vector<double>> CheckTimePoints(const std::vector<std::string>& texts,
                                             ChainKind kind) {
    Checked<std::vector<double>> result;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const std::string& text = texts[k];
        const InputPlace place{ChoiceInput::TimePoints, static_cast<int>(k)};
        const std::string which = "Time point " + std::to_string(k + 1);
        std::optional<double> t;
        if (kind == ChainKind::Discrete) {
            if (const auto whole = ParseInt(text)) t = *whole;
        } else {
            t = ParseReal(text);
        }
        if (!t) return {{}, "Illegal value for time point \n" + which + ".", place};
        if (*t < kFirstTimePoint || *t > kLastTimePoint) {
            return {
                {},
                "Time points must be between 1 and 5000\n" + which + " is " + Trimmed(text) + ".",
                place};
        }
        // Each value goes before the first stored value that is not smaller.
        const auto at = std::lower_bound(result.value.begin(), result.value.end(), *t);
        result.value.insert(at, *t);
    }
    return result;
}

bool IsState(int state, int n) {
    return state >= 1 && state <= n;
}

}  // namespace

Checked<TransientOptions> CheckTransientInput(const TransientInput& input, int n, ChainKind kind) {
    Checked<TransientOptions> result;
    TransientOptions& options = result.value;
    constexpr InputPlace kInitial{ChoiceInput::InitialState, 0};
    const auto initial = ParseInt(input.initialState);
    if (!initial) return {{}, "Illegal value for initial state ", kInitial};
    if (!IsState(*initial, n)) return {{}, "Initial state doesn't exist ", kInitial};
    options.initialState = *initial;
    auto times = CheckTimePoints(input.timePoints, kind);
    if (!times.ok()) return {{}, times.error, times.place};
    options.timePoints = std::move(times.value);
    options.choice = input.choice;
    if (input.choice != TransientChoice::Costs) {
        for (std::size_t k = 0; k < input.endStates.size(); ++k) {
            const InputPlace place{ChoiceInput::EndStates, static_cast<int>(k)};
            const std::string which = "End state " + std::to_string(k + 1);
            const auto state = ParseInt(input.endStates[k]);
            if (!state) return {{}, "Illegal value for end state \n" + which + ".", place};
            if (!IsState(*state, n)) return {{}, which + " doesn't exist.", place};
            options.endStates.push_back(*state);
        }
    }
    return result;
}

Checked<FirstPassageOptions> CheckFirstPassageInput(const FirstPassageInput& input, int n,
                                                    ChainKind kind) {
    Checked<FirstPassageOptions> result;
    FirstPassageOptions& options = result.value;
    constexpr InputPlace kStart{ChoiceInput::InitialState, 0};
    constexpr InputPlace kStateA{ChoiceInput::StateA, 0};
    const auto start = ParseInt(input.startingState);
    if (!start) return {{}, "Illegal value for initial state ", kStart};
    if (!IsState(*start, n)) return {{}, "Starting state doesn't exist ", kStart};
    options.startingState = *start;
    auto times = CheckTimePoints(input.timePoints, kind);
    if (!times.ok()) return {{}, times.error, times.place};
    options.timePoints = std::move(times.value);
    options.returnSet = input.returnSet;
    const auto a = ParseInt(input.stateA);
    if (!a) return {{}, "Illegal value for state a.", kStateA};
    if (!IsState(*a, n)) return {{}, "State a doesn't exist.", kStateA};
    options.stateA = *a;
    return result;
}

}  // namespace wachtrix
