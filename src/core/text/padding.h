#pragma once
// Blank padding for the columns of the reports.
//
//   PadRight("ab", 5) -> "ab   "      PadRight("abcdef", 3) -> "abcdef" (never cut)
//   AlignedColumns({{"a", "bb"}, {"ccc", "d"}}) -> {"    a  bb", "  ccc   d"}

#include <algorithm>
#include <string>
#include <vector>

namespace wachtrix {

inline std::string PadRight(const std::string& s, int w) {
    if (static_cast<int>(s.size()) >= w) return s;
    return s + std::string(static_cast<std::size_t>(w) - s.size(), ' ');
}

// Each column as wide as its widest text, the texts right-aligned, two blanks before each.
inline std::vector<std::string> AlignedColumns(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t j = 0; j < row.size(); ++j) {
            if (j >= widths.size()) widths.push_back(0);
            widths[j] = std::max(widths[j], row[j].size());
        }
    std::vector<std::string> lines;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t j = 0; j < row.size(); ++j)
            line += std::string(2 + widths[j] - row[j].size(), ' ') + row[j];
        lines.push_back(line);
    }
    return lines;
}

}  // namespace wachtrix
