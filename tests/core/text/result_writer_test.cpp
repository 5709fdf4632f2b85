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

TEST(WriteResultTable, UnderlinesHeaderAndLastRowAndEndsInNormal) {
    MemoryResultSink sink;
    ResultWriter out(sink);
    WriteResultTable(out, "h", {"r1", "r2", "r3"});
    EXPECT_EQ(sink.lines, (std::vector<StyledLine>{{"", S::Normal},
                                                   {"h", S::Underline},
                                                   {"r1", S::Normal},
                                                   {"r2", S::Normal},
                                                   {"r3", S::Underline}}));
    EXPECT_EQ(out.style(), S::Normal);
}

TEST(WriteResultTable, SingleRowIsUnderlined) {
    MemoryResultSink sink;
    ResultWriter out(sink);
    WriteResultTable(out, "h", {"r1"});
    EXPECT_EQ(sink.lines, (std::vector<StyledLine>{
                              {"", S::Normal}, {"h", S::Underline}, {"r1", S::Underline}}));
}

TEST(WriteResultTable, WritesNothingWithoutRows) {
    MemoryResultSink sink;
    ResultWriter out(sink);
    WriteResultTable(out, "h", {});
    EXPECT_TRUE(sink.lines.empty());
}

}  // namespace
}  // namespace wachtrix
