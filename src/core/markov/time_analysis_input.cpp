#include "core/markov/time_analysis_input.h"

#include <algorithm>

#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

constexpr double kFirstTimePoint = 1;
constexpr double kLastTimePoint = 5000;

Checked<std::vector<double>> CheckTimePoints(const std::vector<std::string>& texts,
                                             ChainKind kind) {
    Checked<std::vector<double>> result;
    for (const auto& text : texts) {
        std::optional<double> t;
        if (kind == ChainKind::Discrete) {
            if (const auto whole = ParseInt(text)) t = *whole;
        } else {
            t = ParseReal(text);
        }
        if (!t) return {{}, "Illegal value for time point "};
        if (*t < kFirstTimePoint || *t > kLastTimePoint) {
            return {{}, "Time points must be between 1 and 5000"};
        }
        // Each value goes before the first stored value that is not smaller.
        const auto place = std::lower_bound(result.value.begin(), result.value.end(), *t);
        result.value.insert(place, *t);
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
    const auto initial = ParseInt(input.initialState);
    if (!initial) return {{}, "Illegal value for initial state "};
    if (!IsState(*initial, n)) return {{}, "Initial state doesn't exist "};
    options.initialState = *initial;
    auto times = CheckTimePoints(input.timePoints, kind);
    if (!times.ok()) return {{}, times.error};
    options.timePoints = std::move(times.value);
    options.choice = input.choice;
    if (input.choice != TransientChoice::Costs) {
        for (std::size_t k = 0; k < input.endStates.size(); ++k) {
            const auto state = ParseInt(input.endStates[k]);
            if (!state) return {{}, "Illegal value for end state "};
            if (!IsState(*state, n)) {
                return {{}, "End state " + std::to_string(k + 1) + " doesn't exist."};
            }
            options.endStates.push_back(*state);
        }
    }
    return result;
}

Checked<FirstPassageOptions> CheckFirstPassageInput(const FirstPassageInput& input, int n,
                                                    ChainKind kind) {
    Checked<FirstPassageOptions> result;
    FirstPassageOptions& options = result.value;
    const auto start = ParseInt(input.startingState);
    if (!start) return {{}, "Illegal value for initial state "};
    if (!IsState(*start, n)) return {{}, "Starting state doesn't exist "};
    options.startingState = *start;
    auto times = CheckTimePoints(input.timePoints, kind);
    if (!times.ok()) return {{}, times.error};
    options.timePoints = std::move(times.value);
    options.returnSet = input.returnSet;
    const auto a = ParseInt(input.stateA);
    if (!a) return {{}, "Illegal value for state a."};
    if (!IsState(*a, n)) return {{}, "State a doesn't exist."};
    options.stateA = *a;
    return result;
}

}  // namespace wachtrix
