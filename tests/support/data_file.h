#pragma once
// Reference tables and expected texts kept as data files under tests/data, read by section:
//
//   # a comment                a whole-line comment; blank lines are skipped too
//   [GetStep]                  starts the section "GetStep"
//   0 37 5 = 5   # base 10     a row, as written up to its "#"
//   |   STEADY-STATE           a text line: everything after the bar, blanks kept
//
// A missing file is an exception; a section that is not there has no lines.
//
// A test that needs the files is built with WACHTRIX_TEST_DATA naming tests/data. Words() splits
// a row, or a report line, at blanks: Words("  13    0.769231  yes") -> {"13", "0.769231", "yes"}.

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace wachtrix::testing {

struct DataLine {
    std::string where;  // "chart/scaling.txt:12", for failure messages
    std::string text;
};
using DataSections = std::map<std::string, std::vector<DataLine>>;

inline DataSections ReadDataFile(const std::string& name) {
    std::ifstream in(std::string(WACHTRIX_TEST_DATA) + "/" + name);
    if (!in) throw std::runtime_error("cannot read tests/data/" + name);
    DataSections sections;
    std::string section;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        const std::string where = name + ":" + std::to_string(++number);
        if (line.starts_with('|')) {
            sections[section].push_back({where, line.substr(1)});
            continue;
        }
        line = line.substr(0, line.find('#'));
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
        if (line.starts_with('[') && line.ends_with(']'))
            section = line.substr(1, line.size() - 2);
        else
            sections[section].push_back({where, line});
    }
    return sections;
}

// One section's lines, a copy a loop can walk: ReadDataFile(...).at(...) in a range-for would
// leave the loop with the lines of a map already gone.
inline std::vector<DataLine> ReadSection(const std::string& name, const std::string& section) {
    return ReadDataFile(name).at(section);
}

// A table row's fields: its text split at " | ", into at most `most` fields (the last keeps
// the rest of the row).
inline std::vector<std::string> Fields(const std::string& row, std::size_t most = 100) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (auto bar = row.find(" | "); bar != std::string::npos && fields.size() + 1 < most;
         bar = row.find(" | ", start)) {
        fields.push_back(row.substr(start, bar - start));
        start = bar + 3;
    }
    fields.push_back(row.substr(start));
    return fields;
}

inline std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

}  // namespace wachtrix::testing
