#include "core/text/result_writer.h"

#include <gtest/gtest.h>

namespace wachtrix {
namespace {

using S = ResultTextStyle;

TEST(ResultWriter, WritesEachLineInTheStyleThatWasSetLast) {
    MemoryResultSink sink;
    ResultWriter out(sink);
    out.AddResultLine("a");
    out.SetTitleStyle();
    out.AddResultLine("b");
    out.AddResultLine("c");
    out.SetBoldStyle();
    out.AddResultLine("");
    EXPECT_EQ(sink.lines, (std::vector<StyledLine>{
                              {"a", S::Normal}, {"b", S::Title}, {"c", S::Title}, {"", S::Bold}}));
    EXPECT_EQ(out.style(), S::Bold);
}

// The header and the last row underlined, a blank line before, Normal after; nothing at all
// without rows.
TEST(WriteResultTable, UnderlinesHeaderAndLastRowAndEndsInNormal) {
    const std::pair<std::vector<std::string>, std::vector<StyledLine>> cases[] = {
        {{"r1", "r2", "r3"},
         {{"", S::Normal},
          {"h", S::Underline},
          {"r1", S::Normal},
          {"r2", S::Normal},
          {"r3", S::Underline}}},
        {{"r1"}, {{"", S::Normal}, {"h", S::Underline}, {"r1", S::Underline}}},
        {{}, {}},
    };
    for (const auto& [rows, expected] : cases) {
        MemoryResultSink sink;
        ResultWriter out(sink);
        WriteResultTable(out, "h", rows);
        EXPECT_EQ(sink.lines, expected) << rows.size();
        if (!rows.empty()) {
            EXPECT_EQ(out.style(), S::Normal);
        }
    }
}

}  // namespace
}  // namespace wachtrix
