#include "core/markov/time_analysis_input.h"

#include <gtest/gtest.h>

namespace wachtrix {
namespace {

// The rules one by one. Sorted time points with their duplicates, reals from 1 on for a
// continuous chain and costs without end states are seen whole in the golden reports and the
// Markov dialog's runs.

TransientInput Transient(std::vector<std::string> times, std::vector<std::string> ends = {"1"}) {
    return {"1", std::move(times), TransientChoice::Probabilities, std::move(ends)};
}

TEST(CheckTransientInput, DiscreteTimePointsAreWholeNumbersUpTo5000) {
    struct Case {
        const char* text;
        const char* error;
    };
    // The second line names the entry, the list's second here.
    for (const Case c :
         {Case{"1", ""}, Case{"5000", ""},
          Case{"0", "Time points must be between 1 and 5000\nTime point 2 is 0."},
          Case{" 5001 ", "Time points must be between 1 and 5000\nTime point 2 is 5001."},
          Case{"2.5", "Illegal value for time point \nTime point 2."},
          Case{"", "Illegal value for time point \nTime point 2."}}) {
        const auto checked = CheckTransientInput(Transient({"3", c.text}), 2, ChainKind::Discrete);
        EXPECT_EQ(checked.error, c.error) << c.text;
        if (!checked.ok()) {
            EXPECT_EQ(checked.place, (InputPlace{ChoiceInput::TimePoints, 1}));
        }
    }
}

TEST(CheckTransientInput, ContinuousTimePointsAreRealsFromOneTo5000) {
    EXPECT_TRUE(CheckTransientInput(Transient({"5000"}), 2, ChainKind::Continuous).ok());
    EXPECT_EQ(CheckTransientInput(Transient({"5000.01"}), 2, ChainKind::Continuous).error,
              "Time points must be between 1 and 5000\nTime point 1 is 5000.01.");
    EXPECT_EQ(CheckTransientInput(Transient({"t"}), 2, ChainKind::Continuous).error,
              "Illegal value for time point \nTime point 1.");
}

TEST(CheckTransientInput, StatesMustExistInTheChain) {
    TransientInput input = Transient({"1"}, {"1", "4"});
    EXPECT_EQ(CheckTransientInput(input, 3, ChainKind::Discrete).error,
              "End state 2 doesn't exist.");
    EXPECT_EQ(CheckTransientInput(input, 3, ChainKind::Discrete).place,
              (InputPlace{ChoiceInput::EndStates, 1}));
    input.endStates = {"x"};
    EXPECT_EQ(CheckTransientInput(input, 3, ChainKind::Discrete).error,
              "Illegal value for end state \nEnd state 1.");
    input.endStates = {"3", "1"};
    const auto fine = CheckTransientInput(input, 3, ChainKind::Discrete);
    ASSERT_TRUE(fine.ok());
    EXPECT_EQ(fine.value.endStates, (std::vector<int>{3, 1})) << "in the order entered";

    input.initialState = "4";
    EXPECT_EQ(CheckTransientInput(input, 3, ChainKind::Discrete).error,
              "Initial state doesn't exist ");
    input.initialState = "one";
    input.timePoints = {"0"};
    EXPECT_EQ(CheckTransientInput(input, 3, ChainKind::Discrete).error,
              "Illegal value for initial state ")
        << "the initial state is checked first";
}

TEST(CheckFirstPassageInput, ChecksStartTimesAndStateAInThatOrder) {
    FirstPassageInput input{"2", {"3", "1"}, ReturnSetType::ToLast, "3"};
    const auto fine = CheckFirstPassageInput(input, 3, ChainKind::Discrete);
    ASSERT_TRUE(fine.ok()) << fine.error;
    EXPECT_EQ(fine.value.startingState, 2);
    EXPECT_EQ(fine.value.timePoints, (std::vector<double>{1, 3}));
    EXPECT_EQ(fine.value.returnSet, ReturnSetType::ToLast);
    EXPECT_EQ(fine.value.stateA, 3);

    input.stateA = "";
    EXPECT_EQ(CheckFirstPassageInput(input, 3, ChainKind::Discrete).error,
              "Illegal value for state a.");
    input.stateA = "0";
    EXPECT_EQ(CheckFirstPassageInput(input, 3, ChainKind::Discrete).error,
              "State a doesn't exist.");
    input.timePoints = {"6000"};
    EXPECT_EQ(CheckFirstPassageInput(input, 3, ChainKind::Discrete).error,
              "Time points must be between 1 and 5000\nTime point 1 is 6000.");
    input.startingState = "4";
    EXPECT_EQ(CheckFirstPassageInput(input, 3, ChainKind::Discrete).error,
              "Starting state doesn't exist ");
    input.startingState = "-";
    EXPECT_EQ(CheckFirstPassageInput(input, 3, ChainKind::Discrete).error,
              "Illegal value for initial state ");
}

}  // namespace
}  // namespace wachtrix
