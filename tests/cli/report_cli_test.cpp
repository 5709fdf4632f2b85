// The batch tool, run as a user runs it: its output, error text and exit code.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/queue_command.h"
#include "core/numeric/numerical_failure.h"
#include "support/run_command.h"

namespace wachtrix::cli {
namespace {

using Outcome = testing::CommandOutcome;
using testing::ReadFile;

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

    const Outcome tooSmall = RunReport("mmc c=2500 rho=0.7");
    EXPECT_EQ(tooSmall.exitCode, 0);
    EXPECT_EQ(tooSmall.out, "Rho too small for reliable results.\n\n");
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

TEST(ReportTool, LeavesTheCsvFileAloneUnlessGraphsWereDrawn) {
    const auto csvPath = std::filesystem::temp_directory_path() / "wachtrix_cli_kept.csv";
    std::ofstream(csvPath) << "precious\n";
    for (const char* run : {"mmc c=abc rho=0.8 output=4", "mmc c=2 rho=0.8 output=0",
                            "mmc c=2500 rho=0.7 output=4"}) {
        const Outcome o = RunReport(std::string(run) + " --graph-csv " + csvPath.string());
        EXPECT_EQ(ReadFile(csvPath), "precious\n") << run;
    }
    std::filesystem::remove(csvPath);
}

TEST(ReportTool, HelpListsTheModelsAndEachModelsKeysAndRanges) {
    const struct {
        const char* model;
        std::vector<const char*> texts;
    } kModels[] = {
        {"mmc", {"  c ", "  rho ", "  output ", "  t ", "  p ", "  n ", "1 to 2500"}},
        {"mdc", {"1 to 500", "each <= 1250"}},
        {"dg1", {"5 Graphs", "each <= 75000"}},
        {"dmc", {"  c ", "  rho ", "  output ", "  graph ", "  t ", "  p ", "  n ", "1 to 500"}},
        {"gmc",
         {"  arrivals ", "  ca2 ", "  c ", "  rho ", "  output ", "  t ", "  p ", "1 to 1000"}},
        {"fincap", {"1 to 2500", "each <= c+N"}},
        {"finsrc", {"each <= M", "  graph "}},
        {"mm1tran", {"  rho ", "  i ", "  j ", "  T ", "  output ", "  t "}},
    };
    for (const auto& m : kModels) {
        const Outcome help = RunReport(std::string(m.model) + " --help");
        EXPECT_EQ(help.exitCode, 0) << m.model;
        for (const char* text : m.texts)
            EXPECT_NE(help.out.find(text), std::string::npos) << m.model << ": " << text;
    }
    EXPECT_EQ(RunReport("gmc --help").out.find("  n "), std::string::npos);
    const Outcome all = RunReport("--help");
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_NE(all.out.find("mmc"), std::string::npos);
}

// A Graphs run writes only its points, chart by chart; a run with nothing to draw leaves the
// file alone (above).
TEST(ReportTool, WritesEachModelsGraphAsCsv) {
    const struct {
        const char* run;
        const char* start;
        std::size_t least, most, second;  // points of the first chart, and of the second
    } kRuns[] = {
        // e^{-0.4 t} in steps of 0.5 down to 0.001, and the queue's tail.
        {"mmc c=2 rho=0.8 output=4", "chart,x,y\n1,", 35, 35, 21},
        {"dmc c=3 rho=0.8 output=5 graph=0", "chart,x,y\n1,", 6, 1000, 0},
        {"dmc c=3 rho=0.8 output=5 graph=1", "chart,x,y\n1,", 6, 1000, 0},
        {"dmc c=3 rho=0.8 output=5 graph=2", "chart,x,y\n1,", 6, 1000, 0},
        {"gmc arrivals=1 ca2=0.5 c=3 rho=0.8 output=3", "chart,x,y\n1,", 10, 1000, 0},
        // At full precision.
        {"mmcn lambda=2 es=1 vary=1 c=1 from=0 to=1 y=1 t=0",
         "chart,x,y\n1,0,0\n1,1,0.66666666666666", 2, 2, 0},
        {"finsrc service=1 c=2 M=30 nu=0.05 output=4 graph=2", "chart,x,y\n1,0,1\n", 2, 1000, 0},
        {"mm1tran rho=0.5 i=3 output=3 T=20", "chart,x,y\n1,", 201, 201, 0},
    };
    const auto csvPath = std::filesystem::temp_directory_path() / "wachtrix_cli_graph.csv";
    for (const auto& r : kRuns) {
        std::filesystem::remove(csvPath);
        const Outcome o = RunReport(std::string(r.run) + " --graph-csv " + csvPath.string());
        ASSERT_EQ(o.exitCode, 0) << r.run << ": " << o.err;
        const std::string csv = ReadFile(csvPath);
        EXPECT_EQ(csv.rfind(r.start, 0), 0u) << r.run << ": " << csv;
        std::size_t points[3] = {0, 0, 0};
        std::istringstream lines(csv.substr(csv.find('\n') + 1));
        for (std::string line; std::getline(lines, line);) {
            const auto chart = std::stoul(line.substr(0, line.find(',')));
            ++points[chart == 1 || chart == 2 ? chart : 0];  // any other chart is wrong
        }
        EXPECT_GE(points[1], r.least) << r.run;
        EXPECT_LE(points[1], r.most) << r.run;
        EXPECT_GE(points[2], r.second) << r.run;
        EXPECT_EQ(points[2] == 0, r.second == 0) << r.run;
        EXPECT_EQ(points[0], 0u) << r.run;
    }
    std::filesystem::remove(csvPath);
}

TEST(ReportTool, RefusesUnreadableChainFilesAndUnknownAnalyses) {
    const std::string missing =
        (std::filesystem::temp_directory_path() / "wachtrix_cli_missing.txt").string();
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
