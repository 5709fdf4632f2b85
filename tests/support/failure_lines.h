#pragma once
// The message lines of the NumericalFailure a call throws; empty when it throws nothing.

#include <string>
#include <vector>

#include "core/numeric/numerical_failure.h"

namespace wachtrix::testing {

std::vector<std::string> FailureLines(auto&& call) {
    try {
        call();
    } catch (const NumericalFailure& failure) {
        return failure.lines();
    }
    return {};
}

}  // namespace wachtrix::testing
