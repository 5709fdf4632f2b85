#pragma once
// A table of reference rows in a data file (see data_file.h), checked against the functions it
// is for: each section names a function, each row gives its arguments and, after "=", what it
// must return. Numbers compare within 1e-12 relative (or as the caller says), texts exactly; a
// text in double quotes is one text, its blanks kept.
//
//   [GetStep]
//   0 37 5 = 5          GetStep(0, 37, 5) must give 5
//   [FormatProb]
//   0.25 = " 0.2500000"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <functional>
#include <variant>

#include "support/data_file.h"
#include "support/expect_near.h"

namespace wachtrix::testing {

using Numbers = std::vector<double>;
using Texts = std::vector<std::string>;
using TableFunction = std::function<std::variant<Numbers, Texts>(const Numbers& args)>;

// Whatever the locale: the tables are written with a decimal point.
inline double TableNumber(const std::string& word, const std::string& where) {
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        throw std::runtime_error(where + ": not a number: " + word);
    return value;
}

inline void CheckReferenceTable(const std::string& file,
                                const std::map<std::string, TableFunction>& functions,
                                double relative = 1e-12) {
    const DataSections sections = ReadDataFile(file);
    for (const auto& [name, rows] : sections)
        EXPECT_TRUE(functions.contains(name)) << "[" << name << "] in " << file << " tests nothing";
    for (const auto& [name, function] : functions) {
        const auto found = sections.find(name);
        if (found == sections.end()) ADD_FAILURE() << file << " has no rows for " << name;
        if (found == sections.end()) continue;
        for (const DataLine& row : found->second) {
            const Texts words = Words(row.text);
            const auto equals = std::find(words.begin(), words.end(), "=");
            ASSERT_NE(equals, words.end()) << row.where << ": no \"=\"";
            Numbers args;
            for (auto word = words.begin(); word != equals; ++word)
                args.push_back(TableNumber(*word, row.where));
            const auto quote = row.text.find(" = \"");
            const Texts expected =
                quote != std::string::npos && row.text.ends_with('"')
                    ? Texts{row.text.substr(quote + 4, row.text.size() - quote - 5)}
                    : Texts(equals + 1, words.end());
            const auto got = function(args);
            if (const auto* texts = std::get_if<Texts>(&got)) {
                EXPECT_EQ(*texts, expected) << row.where;
                continue;
            }
            const Numbers& numbers = std::get<Numbers>(got);
            ASSERT_EQ(numbers.size(), expected.size()) << row.where;
            for (std::size_t i = 0; i < numbers.size(); ++i)
                EXPECT_TRUE(RelNear(numbers[i], TableNumber(expected[i], row.where), relative))
                    << row.where << ", result " << i + 1;
        }
    }
}

}  // namespace wachtrix::testing
