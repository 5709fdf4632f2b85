#include "core/text/value_list.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/data_file.h"
#include "support/report_expectations.h"

namespace wachtrix {
namespace {

using testing::Texts;

std::vector<double> Values(const ValueList& list) {
    std::vector<double> out;
    for (int i = 1; i <= list.Count; ++i)
        out.push_back(list[i]);
    return out;
}

// The groups of tests/data/text/value_list.txt, each read and rewritten as it says.
TEST(ReadValueList, TrimsSortsMarksAndReturnsTheValidRun) {
    const auto texts = [](const std::string& field) {
        TEditArray edits;
        std::istringstream in(field == "-" ? "" : field);
        std::size_t i = 0;
        for (std::string text; std::getline(in, text, ',');)
            edits[i++] = text;
        return edits;
    };
    for (const testing::DataLine& row : testing::ReadSection("text/value_list.txt", "read")) {
        const std::vector<std::string> f = testing::Fields(row.text);
        ASSERT_EQ(f.size(), 4u) << row.where;
        const std::vector<std::string> reader = testing::Words(f[0]);
        TEditArray edits = texts(f[1]);
        const ValueList list = reader[0] == "int" ? ReadIntValues(edits, std::stoi(reader[1]))
                                                  : ReadRealValues(edits, std::stod(reader[1]));
        EXPECT_EQ(edits, texts(f[2])) << row.where;
        std::vector<double> values;
        for (const std::string& v : testing::Words(f[3]))
            if (v != "-") values.push_back(std::stod(v));
        EXPECT_EQ(Values(list), values) << row.where;
    }
}

TEST(ReadValueList, MarksAnOutOfRangeValueOnlyOnce) {
    TEditArray edits = Texts({"0.5", "1", "0.25"});
    ReadProbValues(edits);
    const ValueList again = ReadProbValues(edits);
    EXPECT_EQ(edits, Texts({"0.25", "0.5", "1**"}));
    EXPECT_EQ(Values(again), (std::vector<double>{0.25, 0.5}));
}

}  // namespace
}  // namespace wachtrix
