#pragma once
// The line writer of the Results panel: each line is written in the current style, which
// persists until changed (also between runs of the same window).

#include <string>
#include <string_view>
#include <vector>

namespace wachtrix {

enum class ResultTextStyle { Normal, Title, Bold, Underline };

// Where the styled lines go: the Results panel, standard output, a test's memory.
class ResultSink {
public:
    virtual ~ResultSink() = default;
    virtual void addLine(const std::string& text, ResultTextStyle style) = 0;
};

class ResultWriter {
public:
    explicit ResultWriter(ResultSink& sink) : sink_(sink) {}

    void SetNormalStyle() { style_ = ResultTextStyle::Normal; }
    void SetTitleStyle() { style_ = ResultTextStyle::Title; }
    void SetBoldStyle() { style_ = ResultTextStyle::Bold; }
    void SetUnderlineStyle() { style_ = ResultTextStyle::Underline; }
    ResultTextStyle style() const { return style_; }

    // An empty text writes an empty line.
    void AddResultLine(const std::string& text) { sink_.addLine(text, style_); }

private:
    ResultSink& sink_;
    ResultTextStyle style_ = ResultTextStyle::Normal;
};

struct StyledLine {
    std::string text;
    ResultTextStyle style = ResultTextStyle::Normal;
    bool operator==(const StyledLine&) const = default;
};

// Keeps the lines, for tests and for hosts that print at the end.
class MemoryResultSink : public ResultSink {
public:
    void addLine(const std::string& text, ResultTextStyle style) override {
        lines.push_back({text, style});
    }
    std::vector<StyledLine> lines;
};

// "N", "T", "B" or "U".
char StyleLetter(ResultTextStyle style);

// The table of every report: an empty line, the header underlined, the rows in Normal with the
// last one underlined as well, then back to Normal. Nothing at all when there are no rows.
void WriteResultTable(ResultWriter& out, const std::string& header,
                      const std::vector<std::string>& rows);

}  // namespace wachtrix
