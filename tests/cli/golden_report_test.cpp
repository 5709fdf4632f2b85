// The golden reports: each file in tests/data/reports is "# args: MODEL KEY=VALUE..." (where
// {data} stands for tests/data, here and in the error lines), optionally "# exit: N" and one "#
// err: LINE" per line of standard error, other "# " lines being comments, then exactly what
// `wachtrix-report ARGS
// --styles` prints. An expected line ending in {|x|<B} is its text up to the braces, then a number
// whose magnitude is below B (for values whose last digits differ between platforms, such as the
// accuracy check).

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/report_tool.h"
#include "support/data_file.h"

namespace wachtrix::cli {
namespace {

namespace fs = std::filesystem;

const fs::path kData = WACHTRIX_TEST_DATA;
constexpr std::string_view kBelow = "{|x|<";

std::vector<std::string> Lines(std::istream&& in) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool Matches(const std::string& expected, const std::string& got) {
    const auto open = expected.rfind(kBelow);
    if (open == std::string::npos || expected.back() != '}') return expected == got;
    if (got.compare(0, open, expected, 0, open) != 0) return false;
    double bound = 0, value = 0;
    const char* boundEnd = expected.data() + expected.size() - 1;
    if (std::from_chars(expected.data() + open + kBelow.size(), boundEnd, bound).ptr != boundEnd)
        return false;
    const std::size_t start = std::min(got.find_first_not_of(' ', open), got.size());
    const auto [end, fault] = std::from_chars(got.data() + start, got.data() + got.size(), value);
    return fault == std::errc() && end == got.data() + got.size() && std::fabs(value) < bound;
}

// The differing lines, numbered as in the data file from `first`.
std::string Diff(const std::vector<std::string>& expected, const std::vector<std::string>& got,
                 std::size_t first) {
    std::ostringstream diff;
    for (std::size_t i = 0; i < std::max(expected.size(), got.size()); ++i) {
        if (i < expected.size() && i < got.size() && Matches(expected[i], got[i])) continue;
        diff << "line " << first + i
             << "\n  expected: " << (i < expected.size() ? "\"" + expected[i] + "\"" : "(no line)")
             << "\n  got:      " << (i < got.size() ? "\"" + got[i] + "\"" : "(no line)") << "\n";
    }
    return diff.str();
}

std::vector<fs::path> GoldenFiles() {
    std::vector<fs::path> files;
    std::error_code missing;  // no directory: no files, which the test below reports
    for (const auto& entry : fs::directory_iterator(kData / "reports", missing))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class GoldenReport : public ::testing::TestWithParam<fs::path> {};

TEST_P(GoldenReport, PrintsTheExpectedLines) {
    std::string args;
    int exitCode = 0;
    std::vector<std::string> expectedErr;
    const std::vector<std::string> file = Lines(std::ifstream(GetParam()));
    std::size_t header = 0;
    for (; header < file.size() && file[header].rfind('#', 0) == 0; ++header) {
        const std::string& line = file[header];
        if (line.rfind("# args: ", 0) == 0) args = line.substr(8);
        if (line.rfind("# exit: ", 0) == 0) exitCode = std::stoi(line.substr(8));
        if (line.rfind("# err: ", 0) == 0) {
            std::string err = line.substr(7);
            if (const auto at = err.find("{data}"); at != std::string::npos)
                err.replace(at, 6, kData.string());
            expectedErr.push_back(err);
        }
    }
    ASSERT_FALSE(args.empty()) << GetParam() << " has no \"# args: \" line";
    std::vector<std::string> words;
    for (std::string w : testing::Words(args)) {
        if (const auto at = w.find("{data}"); at != std::string::npos)
            w.replace(at, 6, kData.string());
        words.push_back(w);
    }
    words.push_back("--styles");

    std::ostringstream printed, errors;
    EXPECT_EQ(RunReportTool(words, printed, errors), exitCode) << errors.str();
    const std::string out = Diff({file.begin() + header, file.end()},
                                 Lines(std::istringstream(printed.str())), header + 1);
    EXPECT_TRUE(out.empty()) << GetParam().string() << ", standard output:\n" << out;
    const std::string err = Diff(expectedErr, Lines(std::istringstream(errors.str())), 1);
    EXPECT_TRUE(err.empty()) << GetParam().string() << ", standard error:\n" << err;
    EXPECT_TRUE(printed.str().empty() || printed.str().back() == '\n');
}

INSTANTIATE_TEST_SUITE_P(Data, GoldenReport, ::testing::ValuesIn(GoldenFiles()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                             std::string name = info.param.stem().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(GoldenReports, AreFound) {
    EXPECT_GT(GoldenFiles().size(), 0u) << kData / "reports";
}

// The usage faults of tests/data/usage_faults.txt: "words | the line of standard error".
TEST(UsageFaults, ExitTwoWithTheirOneLineAndNothingPrinted) {
    const std::vector<testing::DataLine> rows = testing::ReadDataFile("usage_faults.txt")[""];
    EXPECT_GT(rows.size(), 10u);
    for (const testing::DataLine& row : rows) {
        const std::vector<std::string> fault = testing::Fields(row.text, 2);
        std::ostringstream printed, errors;
        EXPECT_EQ(RunReportTool(testing::Words(fault.at(0)), printed, errors), 2) << row.where;
        EXPECT_EQ(printed.str(), "") << row.where;
        EXPECT_EQ(errors.str(), fault.at(1) + "\n") << row.where;
    }
}

}  // namespace
}  // namespace wachtrix::cli
