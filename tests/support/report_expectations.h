#pragma once
// Helpers for the queue model tests: value-group texts and the refused run. (Their reports are
// golden data, see tests/cli/golden_report_test.cpp.)

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

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
