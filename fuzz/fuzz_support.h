#pragma once
// What every fuzz target shares: invalid floating-point operations trap where they happen (a NaN
// is caught where it is made, not when it is printed), and a report is sound (no NAN or INF
// printed, which every format would show as such).

#include <cfenv>
#include <string>
#include <vector>

namespace wachtrix::fuzz {

inline void TrapInvalidArithmetic() {
    feenableexcept(FE_INVALID | FE_DIVBYZERO);
}

inline bool PrintsNonNumber(const std::string& text) {
    return text.find("NAN") != std::string::npos || text.find("INF") != std::string::npos ||
           text.find("nan") != std::string::npos || text.find("inf") != std::string::npos;
}

inline bool PrintsNonNumber(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (PrintsNonNumber(line)) return true;
    return false;
}

}  // namespace wachtrix::fuzz
