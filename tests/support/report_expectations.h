#pragma once
// Helpers for the queue model report tests: value-group texts and whole-report comparisons.

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/text/result_writer.h"
#include "core/text/value_list.h"
#include "support/recording_host.h"

namespace wachtrix::testing {

// The first texts of a value group, the rest empty.
inline TEditArray Texts(std::initializer_list<const char*> given) {
    TEditArray texts;
    std::size_t i = 0;
    for (const char* t : given)
        texts[i++] = t;
    return texts;
}

inline std::vector<StyledLine> Concat(std::vector<StyledLine> a, const std::vector<StyledLine>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The accuracy value differs in its last bits between platforms; it must be small.
inline void ExpectAccuracyLine(const StyledLine& line, double bound) {
    const std::string prefix = "Accuracy Check = ";
    ASSERT_EQ(line.text.substr(0, prefix.size()), prefix) << line.text;
    EXPECT_LT(std::fabs(std::stod(line.text.substr(prefix.size()))), bound) << line.text;
    EXPECT_EQ(line.style, ResultTextStyle::Normal);
}

// The whole report: the given lines, the accuracy line and the closing empty line.
inline void ExpectReport(const std::vector<StyledLine>& lines, const std::vector<StyledLine>& body,
                         double accuracyBound = 1e-12) {
    ASSERT_EQ(lines.size(), body.size() + 2);
    for (std::size_t i = 0; i < body.size(); ++i)
        EXPECT_EQ(lines[i], body[i]) << "line " << i;
    ExpectAccuracyLine(lines[body.size()], accuracyBound);
    EXPECT_EQ(lines.back(), (StyledLine{"", ResultTextStyle::Normal}));
}

// The lines a model's run writes for `form`, which it must neither refuse nor fail.
template <class Form>
std::vector<StyledLine> ReportOf(Form form, void (*run)(Form&, QueueHost&)) {
    RecordingHost host;
    run(form, host);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_TRUE(host.failures.empty());
    return host.sink.lines;
}

// A refused run: one "Error" box with the text, and nothing written, opened or computed.
inline void ExpectRefusedOnly(const RecordingHost& host, const std::string& text) {
    ASSERT_EQ(host.errors.size(), 1u) << text;
    EXPECT_EQ(host.errors[0].title, "Error");
    EXPECT_EQ(host.errors[0].text, text);
    EXPECT_TRUE(host.sink.lines.empty()) << text;
    EXPECT_TRUE(host.windows.empty()) << text;
    EXPECT_EQ(host.busyCount, 0) << text;
}

}  // namespace wachtrix::testing
