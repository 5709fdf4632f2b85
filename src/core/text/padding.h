#pragma once
// Blank padding for the columns of the reports.
//
//   PadRight("ab", 5) -> "ab   "      PadRight("abcdef", 3) -> "abcdef" (never cut)

#include <string>

namespace wachtrix {

inline std::string PadRight(const std::string& s, int w) {
    if (static_cast<int>(s.size()) >= w) return s;
    return s + std::string(static_cast<std::size_t>(w) - s.size(), ' ');
}

}  // namespace wachtrix
