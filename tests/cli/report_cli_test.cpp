// The batch tool, run as a user runs it: its output, error text and exit code.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/queue_command.h"
#include "core/numeric/numerical_failure.h"
#include "support/data_file.h"
#include "support/temp_folder.h"

namespace wachtrix::cli {
namespace {

using Outcome = testing::CommandOutcome;
using testing::ReadFile;

// The tests that write files, each in a folder of its own.
using ReportFiles = testing::TempFolder;

Outcome RunReport(const std::string& arguments) {
    return testing::RunCommand(std::string(WACHTRIX_REPORT) + " " + arguments);
}

// The reports themselves are golden data, run in-process; here the process: its streams and
// its exit code.
TEST(ReportTool, RefusedInputGoesToStandardErrorWithExitTwo) {
    const Outcome o = RunReport("mmc c=abc rho=0.8");
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "Error: c incorrect\n");
}

// The usage faults' texts are golden data (tests/data/usage_faults.txt), run in-process.
TEST(ReportTool, UsageFaultsNameTheProblem) {
    const Outcome model = RunReport("mmm c=2");
    EXPECT_EQ(model.exitCode, 2);
    EXPECT_EQ(model.err, "wachtrix-report: unknown model \"mmm\" (see --help)\n");
    // A bare call is a usage fault: the usage goes to standard error with it.
    const Outcome bare = RunReport("");
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_EQ(bare.out, "");
    EXPECT_TRUE(bare.err.starts_with("Usage: wachtrix-report")) << bare.err;
}

// A report that does not reach its reader is no success, a full disk or a closed output.
TEST(ReportTool, AReportThatCannotBeWrittenExitsFour) {
    for (const auto& [redirect, reason] :
         {std::pair{">/dev/full", "No space left on device"}, {">&-", "Bad file descriptor"}}) {
        if (std::string(redirect) == ">/dev/full" && !std::filesystem::exists("/dev/full"))
            continue;
        const Outcome lost = RunReport(std::string("mmc c=2 rho=0.8 ") + redirect);
        EXPECT_EQ(lost.exitCode, 4) << redirect;
        EXPECT_EQ(lost.err, std::string("Error: cannot write the report: ") + reason + "\n");
    }
}

TEST(ReportTool, RefusesAMissingCsvFileName) {
    const Outcome swallowed = RunReport("mmc c=2 --graph-csv rho=0.5");
    EXPECT_EQ(swallowed.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists("rho=0.5"));
    const Outcome empty = RunReport("mmc c=2 rho=0.8 output=4 --graph-csv ''");
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err, "wachtrix-report: --graph-csv needs a file name\n");
}

TEST(ReportTool, EscapesBytesThatAreNotText) {
    const Outcome o = RunReport("\"$(printf 'mm\\377c')\" c=2");
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_EQ(o.err, "wachtrix-report: unknown model \"mm\\xFFc\" (see --help)\n");
    EXPECT_EQ(Printable("r\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC"), "r\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(Printable("a\xC3"), "a\\xC3");                  // cut short
    EXPECT_EQ(Printable("\xC0\xAF"), "\\xC0\\xAF");           // overlong
    EXPECT_EQ(Printable("\xED\xA0\x80"), "\\xED\\xA0\\x80");  // surrogate
    EXPECT_EQ(Printable("a\tb\n"), "a\\x09b\\x0A");
}

TEST_F(ReportFiles, LeavesTheCsvFileAloneUnlessGraphsWereDrawn) {
    const std::string csvPath = At("kept.csv");
    testing::WriteFile(csvPath, "precious\n");
    for (const char* run : {"mmc c=abc rho=0.8 output=4", "mmc c=2 rho=0.8 output=0",
                            "mmc c=2500 rho=0.7 output=4"}) {
        const Outcome o = RunReport(std::string(run) + " --graph-csv " + csvPath);
        EXPECT_EQ(ReadFile(csvPath), "precious\n") << run;
    }
}

// The models of tests/data/cli/report_tool.txt.
TEST(ReportTool, HelpListsTheModelsAndEachModelsKeysAndRanges) {
    for (const testing::DataLine& row : testing::ReadSection("cli/report_tool.txt", "help")) {
        const std::vector<std::string> f = testing::Fields(row.text);
        const Outcome help = RunReport(f.at(0) + " --help");
        EXPECT_EQ(help.exitCode, 0) << row.where;
        std::vector<std::string> texts(f.begin() + 2, f.end());
        for (const std::string& key : testing::Words(f.at(1)))
            if (key != "-") texts.push_back("  " + key + " ");
        for (const std::string& text : texts)
            EXPECT_NE(help.out.find(text), std::string::npos) << row.where << ": " << text;
    }
    EXPECT_EQ(RunReport("gmc --help").out.find("  n "), std::string::npos);
    const Outcome all = RunReport("--help");
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_NE(all.out.find("mmc"), std::string::npos);
}

// A Graphs run writes only its points, chart by chart (the runs of tests/data/cli/report_tool.txt);
// a run with nothing to draw leaves the file alone (above).
TEST_F(ReportFiles, WritesEachModelsGraphAsCsv) {
    const std::string csvPath = At("graph.csv");
    for (const testing::DataLine& row : testing::ReadSection("cli/report_tool.txt", "graph csv")) {
        const std::vector<std::string> r = testing::Fields(row.text);
        ASSERT_EQ(r.size(), 5u) << row.where;
        std::string start = r[1];
        for (auto at = start.find("\\n"); at != std::string::npos; at = start.find("\\n"))
            start.replace(at, 2, "\n");
        std::filesystem::remove(csvPath);
        const Outcome o = RunReport(r[0] + " --graph-csv " + csvPath);
        ASSERT_EQ(o.exitCode, 0) << r[0] << ": " << o.err;
        const std::string csv = ReadFile(csvPath);
        EXPECT_EQ(csv.rfind(start, 0), 0u) << r[0] << ": " << csv;
        std::size_t points[3] = {0, 0, 0};
        std::istringstream lines(csv.substr(csv.find('\n') + 1));
        for (std::string line; std::getline(lines, line);) {
            const auto chart = std::stoul(line.substr(0, line.find(',')));
            ++points[chart == 1 || chart == 2 ? chart : 0];  // any other chart is wrong
        }
        EXPECT_GE(points[1], std::stoul(r[2])) << r[0];
        EXPECT_LE(points[1], std::stoul(r[3])) << r[0];
        EXPECT_GE(points[2], std::stoul(r[4])) << r[0];
        EXPECT_EQ(points[2] == 0, r[4] == "0") << r[0];
        EXPECT_EQ(points[0], 0u) << r[0];
    }
}

TEST_F(ReportFiles, RefusesUnreadableChainFilesAndUnknownAnalyses) {
    const std::string missing = At("missing.txt");
    const Outcome o = RunReport("markov " + missing + " analysis=steady");
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "Error: Cannot read file " + missing + "\nthe file cannot be opened\n");

    // The reasons a file is no chain are golden data (tests/data/reports/markov_fault_*.txt).
    EXPECT_EQ(RunReport("markov analysis=steady").exitCode, 2);
}

TEST(TextHost, ReportsANumericalFailureAfterTheLinesAlreadyWritten) {
    TextQueueHost host;
    RunGuarded(host, [&] {
        host.results().AddResultLine("M/G/1 queue");
        throw NumericalFailure({"pause in RTBIS", "Root must be bracketed for bisection."});
    });
    const CommandResult result = Collect(host);
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.failure, (std::vector<std::string>{"pause in RTBIS",
                                                        "Root must be bracketed for bisection."}));
    // The same lines as the window's Results: the notice, then an empty line.
    EXPECT_EQ(
        result.lines,
        (std::vector<std::string>{
            "M/G/1 queue",
            "The computation failed: pause in RTBIS; Root must be bracketed for bisection.", ""}));
}

}  // namespace
}  // namespace wachtrix::cli
