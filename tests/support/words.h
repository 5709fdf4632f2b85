#pragma once
// A report line split at blanks, for tests that read its columns.
//
//   Words("  13    0.769231  yes") -> {"13", "0.769231", "yes"}

#include <sstream>
#include <string>
#include <vector>

namespace wachtrix::testing {

inline std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

}  // namespace wachtrix::testing
