#pragma once
// The inputs of the two analyses over time as the dialog holds them (texts), checked in the
// dialog's order into options. The first fault is the message the dialog shows, with the input
// it concerns; a fault in a list names the entry on a second line.
//
//   discrete, time points {"5","1","5"} -> {1, 5, 5}
//   continuous, time point "0.5"        -> "Time points must be between 1 and 5000
//                                           Time point 1 is 0.5.", {TimePoint, row 0}

#include <string>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

// Which input of the output-choice page a fault concerns, and the entry of a list (0-based).
enum class ChoiceInput { None, InitialState, TimePoints, EndStates, StateA };
struct InputPlace {
    ChoiceInput input = ChoiceInput::None;
    int row = 0;
    bool operator==(const InputPlace&) const = default;
};

// A checked value, or the message of the first fault and where it is.
template <class T>
struct Checked {
    T value{};
    std::string error;
    InputPlace place{};
    bool ok() const { return error.empty(); }
};

enum class TransientChoice { Probabilities = 0, SojournTimes = 1, Costs = 2 };

struct TransientInput {
    std::string initialState;
    std::vector<std::string> timePoints;  // the spin edit's count of grid values
    TransientChoice choice = TransientChoice::Probabilities;
    std::vector<std::string> endStates;  // the spin edit's count of grid values
};

struct TransientOptions {
    int initialState = 1;
    std::vector<double> timePoints;  // ascending, duplicates kept
    TransientChoice choice = TransientChoice::Probabilities;
    std::vector<int> endStates;  // empty for the costs
};

enum class ReturnSetType { Single = 0, FromOne = 1, ToLast = 2 };  // {a}, {1..a}, {a..N}

struct FirstPassageInput {
    std::string startingState;
    std::vector<std::string> timePoints;
    ReturnSetType returnSet = ReturnSetType::Single;
    std::string stateA;
};

struct FirstPassageOptions {
    int startingState = 1;
    std::vector<double> timePoints;  // ascending, duplicates kept
    ReturnSetType returnSet = ReturnSetType::Single;
    int stateA = 1;
};

// Time points are whole numbers 1..5000 for a discrete chain and reals in [1, 5000] for a
// continuous one; states lie in 1..n.
Checked<TransientOptions> CheckTransientInput(const TransientInput& input, int n, ChainKind kind);
Checked<FirstPassageOptions> CheckFirstPassageInput(const FirstPassageInput& input, int n,
                                                    ChainKind kind);

}  // namespace wachtrix
