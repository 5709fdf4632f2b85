// The batch tool, run as a user runs it: its output, error text and exit code.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

// The tool prints exactly the lines the model's run writes (the figures themselves are the
// core tests' business).
TEST(ReportTool, PrintsTheResultsLinesOfARun) {
    const Outcome o = RunReport("mmc c=2 rho=0.8 output=1 t=1,0.5,2");
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.err, "");
    Arguments args;
    args.keys = {{"c", "2"}, {"rho", "0.8"}, {"output", "1"}, {"t", "1,0.5,2"}};
    std::string expected;
    for (const std::string& line : FindCommand("mmc")->run(args).lines)
        expected += line + "\n";
    EXPECT_EQ(o.out, expected);
    EXPECT_EQ(o.out.substr(o.out.size() - 2), "\n\n");  // the report ends in an empty line
}

TEST(ReportTool, RefusesMarkedValuesInsteadOfShorteningTheTable) {
    const Outcome o = RunReport("mmc c=2 rho=0.8 output=1 t=1,abc,3000");
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err,
              "Error: t value \"abc\" is not a number\nError: t value \"3000\" is out of range\n");
    const Outcome n = RunReport("mg1 cs2=0.5 rho=0.5 output=3 n=2.5");
    EXPECT_EQ(n.exitCode, 2);
    EXPECT_EQ(n.err, "Error: n value \"2.5\" is not a whole number\n");
}

TEST(ReportTool, PrefixesStyleLettersOnRequest) {
    const Outcome o = RunReport("mmc c=2 rho=0.8 output=1 t=1 --styles");
    ASSERT_EQ(o.exitCode, 0);
    std::istringstream lines(o.out);
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line))
        got.push_back(line);
    ASSERT_EQ(got.size(), 13u);
    EXPECT_EQ(got[0], "T M/M/c queue");
    EXPECT_EQ(got[1], "B Parameters: c=2  rho=0.8");
    EXPECT_EQ(got[2], "N Results: Pwait   = 0.711111");
    EXPECT_EQ(got[8], "N ");
    EXPECT_EQ(got[9], "U          t     P{Wq>t}");
    EXPECT_EQ(got[10], "U          1   0.4766720");
    EXPECT_EQ(got[12], "N ");
}

TEST(ReportTool, RefusedInputGoesToStandardErrorWithExitTwo) {
    const Outcome o = RunReport("mmc c=abc rho=0.8");
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "Error: c incorrect\n");

    const Outcome tooSmall = RunReport("mmc c=2500 rho=0.7");
    EXPECT_EQ(tooSmall.exitCode, 0);
    EXPECT_EQ(tooSmall.out, "Rho too small for reliable results.\n\n");
}

TEST(ReportTool, UsageFaultsNameTheProblem) {
    const Outcome model = RunReport("mmm c=2");
    EXPECT_EQ(model.exitCode, 2);
    EXPECT_NE(model.err.find("unknown model \"mmm\""), std::string::npos);

    const Outcome key = RunReport("mmc c=2 rho=0.5 servers=3");
    EXPECT_EQ(key.exitCode, 2);
    EXPECT_NE(key.err.find("unknown key \"servers\""), std::string::npos);

    const Outcome output = RunReport("mmc c=2 rho=0.5 output=7");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_NE(output.err.find("output must be"), std::string::npos);

    const Outcome many = RunReport("mmc c=2 rho=0.5 output=1 t=1,2,3,4,5,6,7,8,9,10,11,12,13");
    EXPECT_EQ(many.exitCode, 2);
    EXPECT_EQ(RunReport("").exitCode, 2);
}

TEST(ReportTool, RefusesRepeatedKeysAndAMissingCsvFileName) {
    const Outcome twice = RunReport("mmc c=2 rho=0.5 c=3");
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_EQ(twice.err, "wachtrix-report: key \"c\" given twice\n");
    const Outcome swallowed = RunReport("mmc c=2 --graph-csv rho=0.5");
    EXPECT_EQ(swallowed.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists("rho=0.5"));
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

TEST(ReportTool, HelpListsModelsAndKeys) {
    const Outcome all = RunReport("--help");
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_NE(all.out.find("mmc"), std::string::npos);
    const Outcome mmc = RunReport("mmc --help");
    EXPECT_EQ(mmc.exitCode, 0);
    for (const char* key : {"  c ", "  rho ", "  output ", "  t ", "  p ", "  n "})
        EXPECT_NE(mmc.out.find(key), std::string::npos) << key;
    EXPECT_NE(mmc.out.find("1 to 2500"), std::string::npos);
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

TEST(ReportTool, WritesGraphPointsAsCsv) {
    const auto csvPath = std::filesystem::temp_directory_path() / "wachtrix_cli_graph.csv";
    const Outcome o = RunReport("mmc c=2 rho=0.8 output=4 --graph-csv " + csvPath.string());
    ASSERT_EQ(o.exitCode, 0);
    std::istringstream csv(ReadFile(csvPath));
    std::filesystem::remove(csvPath);
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "chart,x,y");
    int charts[3] = {0, 0, 0};
    while (std::getline(csv, line)) {
        const int chart = std::stoi(line.substr(0, line.find(',')));
        ASSERT_TRUE(chart == 1 || chart == 2) << line;
        ++charts[chart];
    }
    EXPECT_EQ(charts[1], 35);  // e^{-0.4 t} in steps of 0.5 down to 0.001
    EXPECT_GT(charts[2], 20);
}

TEST(ReportTool, RunsTheMG1ModelWithItsServiceType) {
    const Outcome o = RunReport("mg1 type=2 cs2=1 rho=0.5 output=3 n=0,2 --styles");
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.out.substr(0, o.out.find('\n')), "T M/G/1 queue (Coxian-2 services, balanced)");
    const Outcome refused = RunReport("mg1 type=1 cs2=0.4 rho=0.5");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "Error: CS2 out of bounds\n");
}

TEST(ReportTool, RunsTheMDcModelAndRefusesItsOutOfRangeValues) {
    const Outcome o = RunReport("mdc c=2 rho=0.8 output=2 p=0.9 --styles");
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.out.substr(0, o.out.find('\n')), "T M/D/c queue");
    EXPECT_NE(o.out.find("U   0.900000     2.39728\n"), std::string::npos);
    const Outcome n = RunReport("mdc c=2 rho=0.8 output=3 n=1251");
    EXPECT_EQ(n.exitCode, 2);
    EXPECT_EQ(n.err, "Error: n value \"1251\" is out of range\n");
    const Outcome rho = RunReport("mdc c=2 rho=0.995");
    EXPECT_EQ(rho.exitCode, 2);
    EXPECT_EQ(rho.err, "Error: Rho out of range\n");
    const Outcome help = RunReport("mdc --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("1 to 500"), std::string::npos);
    EXPECT_NE(help.out.find("each <= 1250"), std::string::npos);
}

TEST(ReportTool, RunsTheDG1ModelWithTheOutputGroupOfItsService) {
    // Pure Erlang reads the number of phases, and its fourth Output item is the time-average
    // states; the Erlangian service has no Std(Lq).
    const Outcome pure = RunReport("dg1 service=1 cs2=2 rho=0.8 output=3 n=0 --styles");
    ASSERT_EQ(pure.exitCode, 0) << pure.err;
    EXPECT_NE(pure.out.find("B Parameters: CS2=0.5  rho=0.8\n"), std::string::npos);
    EXPECT_NE(pure.out.find("U    n  P{L(time)=n}  P{L(time)>n)\n"), std::string::npos);
    EXPECT_NE(pure.out.find("U    0     0.2000000     0.8000000\n"), std::string::npos);
    const Outcome erlangian = RunReport("dg1 cs2=0.5 rho=0.8");
    ASSERT_EQ(erlangian.exitCode, 0) << erlangian.err;
    EXPECT_EQ(erlangian.out.find("Std(Lq)"), std::string::npos);

    const Outcome zero = RunReport("dg1 service=1 cs2=0 rho=0.5");
    EXPECT_EQ(zero.exitCode, 2);
    EXPECT_EQ(zero.err, "Error: CS2 out of bounds\n");
    // The Coxian-2 group has four items: output=4 does not exist there.
    EXPECT_EQ(RunReport("dg1 service=2 cs2=2 rho=0.5 output=4").exitCode, 2);
    const Outcome small = RunReport("dg1 cs2=0.5 rho=0.03");
    EXPECT_EQ(small.exitCode, 0);
    EXPECT_EQ(small.out, "Rho too small for reliable results.\n\n");
    const Outcome help = RunReport("dg1 --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("5 Graphs"), std::string::npos);
    EXPECT_NE(help.out.find("each <= 75000"), std::string::npos);
}

// D/M/c: the Output group's six items and the graph choice of output=5.
TEST(ReportTool, RunsTheDMcModelWithItsCurves) {
    const Outcome states = RunReport("dmc c=3 rho=0.8 output=3 n=4,0 --styles");
    ASSERT_EQ(states.exitCode, 0) << states.err;
    EXPECT_EQ(states.out.substr(0, states.out.find('\n')), "T D/M/c queue");
    EXPECT_NE(states.out.find("U    n  P{L(time)=n}  P{L(time)>n}\n"), std::string::npos);

    const auto csvPath = std::filesystem::temp_directory_path() / "wachtrix_cli_dmc.csv";
    for (const char* graph : {"0", "1", "2"}) {
        const Outcome o = RunReport(std::string("dmc c=3 rho=0.8 output=5 graph=") + graph +
                                    " --graph-csv " + csvPath.string());
        ASSERT_EQ(o.exitCode, 0) << o.err;
        std::istringstream csv(ReadFile(csvPath));
        std::string line;
        std::getline(csv, line);
        EXPECT_EQ(line, "chart,x,y");
        int points = 0;
        while (std::getline(csv, line)) {
            EXPECT_EQ(line.substr(0, 2), "1,") << line;  // one chart
            ++points;
        }
        EXPECT_GT(points, 5) << graph;
    }
    std::filesystem::remove(csvPath);

    const Outcome refused = RunReport("dmc c=501 rho=0.5");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "Error: c out of range\n");
    const Outcome tooSmall = RunReport("dmc c=200 rho=0.6");
    EXPECT_EQ(tooSmall.exitCode, 0);
    EXPECT_EQ(tooSmall.out, "Rho is too small for reliable results\n\n");
    const Outcome badGraph = RunReport("dmc c=2 rho=0.5 output=5 graph=3");
    EXPECT_EQ(badGraph.exitCode, 2);
    EXPECT_NE(badGraph.err.find("graph must be"), std::string::npos);
    const Outcome help = RunReport("dmc --help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* key : {"  c ", "  rho ", "  output ", "  graph ", "  t ", "  p ", "  n "})
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
    EXPECT_NE(help.out.find("1 to 500"), std::string::npos);
}

// G/M/c: the arrival type picks the fit; deterministic arrivals need no CA2.
TEST(ReportTool, RunsTheGMcModelForEachArrivalType) {
    const char* titles[] = {
        "T G/M/c queue (Deterministic arrivals)", "T G/M/c queue (Erlangian arrivals)",
        "T G/M/c queue (Coxian-2 arrivals, gamma)", "T G/M/c queue (Coxian-2 arrivals, balanced)"};
    for (int type = 0; type < 4; ++type) {
        const Outcome o =
            RunReport("gmc arrivals=" + std::to_string(type) + (type ? " ca2=0.8" : "") +
                      " c=3 rho=0.8 output=2 p=0.9 --styles");
        ASSERT_EQ(o.exitCode, 0) << o.err;
        EXPECT_EQ(o.out.substr(0, o.out.find('\n')), titles[type]);
        EXPECT_NE(o.out.find("U          p  Percentile\n"), std::string::npos);
    }
    const auto csvPath = std::filesystem::temp_directory_path() / "wachtrix_cli_gmc.csv";
    const Outcome graph =
        RunReport("gmc arrivals=1 ca2=0.5 c=3 rho=0.8 output=3 --graph-csv " + csvPath.string());
    ASSERT_EQ(graph.exitCode, 0) << graph.err;
    const std::string csv = ReadFile(csvPath);
    std::filesystem::remove(csvPath);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "chart,x,y");
    EXPECT_GT(std::count(csv.begin(), csv.end(), '\n'), 10);

    const Outcome refused = RunReport("gmc arrivals=1 ca2=2 c=3 rho=0.8");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "Error: CA2 out of range\n");
    const Outcome t = RunReport("gmc arrivals=0 c=3 rho=0.8 output=1 t=2501");
    EXPECT_EQ(t.exitCode, 2);
    EXPECT_EQ(t.err, "Error: t value \"2501\" is out of range\n");
    const Outcome help = RunReport("gmc --help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* key : {"  arrivals ", "  ca2 ", "  c ", "  rho ", "  output ", "  t ", "  p "})
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
    EXPECT_EQ(help.out.find("  n "), std::string::npos);
    EXPECT_NE(help.out.find("1 to 1000"), std::string::npos);
}

TEST(ReportTool, RunsTheFiniteCapacityTypesWithTheirOwnOutputGroups) {
    const Outcome mm = RunReport("fincap type=0 c=1 rho=1 N=1 --styles");
    ASSERT_EQ(mm.exitCode, 0) << mm.err;
    EXPECT_EQ(mm.out.substr(0, mm.out.find('\n')), "T M/M/c/c+N queue");
    // Item 3 of the D/M/c/c+N group is the customer-average table.
    const Outcome dm = RunReport("fincap type=2 c=2 rho=0.8 N=3 output=3 n=0,5");
    ASSERT_EQ(dm.exitCode, 0) << dm.err;
    EXPECT_NE(dm.out.find("P{L(cust)=n}"), std::string::npos);
    // M/M/c/c+N and M/D/c/c+N have four items; the n-values stop at c + N.
    EXPECT_EQ(RunReport("fincap type=1 c=2 rho=0.8 N=3 output=4").exitCode, 2);
    const Outcome beyond = RunReport("fincap type=1 c=2 rho=0.8 N=3 output=2 n=6");
    EXPECT_EQ(beyond.exitCode, 2);
    EXPECT_EQ(beyond.err, "Error: n value \"6\" is out of range\n");
    const Outcome refused = RunReport("fincap type=2 c=2 rho=0.8 N=501");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "Error: 0 <= N <= 500 required\n");
    const Outcome help = RunReport("fincap --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("1 to 2500"), std::string::npos);
    EXPECT_NE(help.out.find("each <= c+N"), std::string::npos);
}

// The M/M/c/c+N graphs write nothing to Results: the tool prints the curve in two columns.
TEST(ReportTool, PrintsTheMMcNCurveAsTwoColumns) {
    const Outcome o = RunReport("mmcn lambda=2 es=1 vary=0 N=0 from=1 to=3");
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.out,
              "   c        Prej\n"
              "   1   0.6666667\n"
              "   2   0.4000000\n"
              "   3   0.2105263\n");  // Erlang's loss 2/3, 2/5, 4/19

    // The same curve into the graph file, at full precision.
    const auto csvPath = std::filesystem::temp_directory_path() / "wachtrix_cli_mmcn.csv";
    const Outcome graph = RunReport(
        "mmcn lambda=2 es=1 vary=1 c=1 from=0 to=1 y=1 t=0 "
        "--graph-csv " +
        csvPath.string());
    ASSERT_EQ(graph.exitCode, 0) << graph.err;
    EXPECT_EQ(graph.out, "   N     P{Wq>0}\n   0           0\n   1   0.6666667\n");
    const std::string csv = ReadFile(csvPath);
    EXPECT_EQ(csv.rfind("chart,x,y\n1,0,0\n1,1,0.66666666666666", 0), 0u) << csv;
    std::filesystem::remove(csvPath);
    const Outcome refused = RunReport("mmcn lambda=2 es=1 vary=1 c=2 from=5 to=4");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "Error: Upper bound should be greater than lower bound\n");
}

TEST(ReportTool, RunsTheFiniteSourceModelWithItsGraphChoice) {
    const Outcome table = RunReport("finsrc service=0 c=1 M=1 nu=1 output=2 n=1,0 --styles");
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out.substr(0, table.out.find('\n')),
              "T Finite-source queue (exponential services)");
    EXPECT_NE(table.out.find("U    1     0.5000000             0"), std::string::npos);
    // n stops at M; c at 250 for deterministic repairs.
    const Outcome beyond = RunReport("finsrc service=0 c=1 M=1 nu=1 output=2 n=2");
    EXPECT_EQ(beyond.exitCode, 2);
    EXPECT_EQ(beyond.err, "Error: n value \"2\" is out of range\n");
    const Outcome refused = RunReport("finsrc service=1 c=251 M=10 nu=1");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "Error: c out of range\n");
    // An overloaded system says so instead of the graph; nothing goes to the graph file.
    const Outcome overloaded = RunReport("finsrc service=1 c=1 M=1000 nu=100 output=4 graph=1");
    EXPECT_EQ(overloaded.exitCode, 0);
    EXPECT_NE(overloaded.out.find("The time average state probabilities cannot be computed"),
              std::string::npos);
    const auto csvPath = std::filesystem::temp_directory_path() / "wachtrix_cli_finsrc.csv";
    const Outcome graph = RunReport(
        "finsrc service=1 c=2 M=30 nu=0.05 output=4 graph=2 --graph-csv " + csvPath.string());
    ASSERT_EQ(graph.exitCode, 0) << graph.err;
    EXPECT_EQ(ReadFile(csvPath).rfind("chart,x,y\n1,0,1\n", 0), 0u);
    std::filesystem::remove(csvPath);
    const Outcome help = RunReport("finsrc --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("each <= M"), std::string::npos);
    EXPECT_NE(help.out.find("  graph "), std::string::npos);
}

TEST(ReportTool, RunsTheTransientMM1Model) {
    // From 3 customers at rho = 0.5: at t = 1000 the stationary p = 0.125, ELq = 0.5.
    const Outcome table = RunReport("mm1tran rho=0.5 i=3 j=2 t=1000,0");
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out,
              "Transient M/M/1 queue\n"
              "Parameters: rho=0.5  i=3  j=2\n"
              "\n"
              "\n"
              "     t p(i,j,t) P(i,j,t) ELq(i,t)Std Lq(i,t)\n"
              "0.0000 0.000000 0.000000   2.0000   0.0000\n"
              "  1000 0.125000 0.875000  0.50000    1.118\n"
              "\n");

    const auto csvPath = std::filesystem::temp_directory_path() / "wachtrix_cli_mm1tran.csv";
    const Outcome graph =
        RunReport("mm1tran rho=0.5 i=3 output=3 T=20 --graph-csv " + csvPath.string());
    ASSERT_EQ(graph.exitCode, 0) << graph.err;
    EXPECT_EQ(graph.out, "");  // a graph writes nothing into Results
    std::istringstream csv(ReadFile(csvPath));
    std::filesystem::remove(csvPath);
    std::string line;
    int points = 0;
    while (std::getline(csv, line))
        points += line.rfind("1,", 0) == 0;
    EXPECT_EQ(points, 201);

    const Outcome refused = RunReport("mm1tran rho=0.5 i=54 j=0");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "Error: i out of bounds\n");
    EXPECT_EQ(RunReport("mm1tran rho=0.5 i=3 j=2 t=1e7").exitCode, 2);  // a marked t-value
    EXPECT_EQ(RunReport("mm1tran rho=0.5 i=3 output=5 T=1").exitCode, 2);
    const Outcome help = RunReport("mm1tran --help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* key : {"  rho ", "  i ", "  j ", "  T ", "  output ", "  t "})
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
}

std::string WriteChainFile(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

TEST(ReportTool, AnalysesAChainFile) {
    // 1 -> 2 -> 3 with 3 absorbing.
    const std::string chain =
        WriteChainFile("wachtrix_cli_chain3.txt", "99\n3\n0 1 0\n0 0 1\n0 0 1\n0 0 0\n");
    const Outcome structure = RunReport("markov " + chain + " analysis=structure");
    EXPECT_EQ(structure.exitCode, 0) << structure.err;
    EXPECT_EQ(structure.out,
              "=====================\n   CHAIN STRUCTURE\n=====================\n \n"
              "Recurrent subchain 1: 3\n \nThere is a single recurrent class.\n\n"
              "Transient states: 1 2 \n");

    // p(1,2) = 0.3, p(2,1) = 0.1: pi = (0.1, 0.3) / 0.4, average cost 0.25 * 1 + 0.75 * 2.
    const std::string pair =
        WriteChainFile("wachtrix_cli_chain2.txt", "99\n2\n0.7 0.3\n0.1 0.9\n1 2\n");
    const Outcome steady = RunReport("markov " + pair + " analysis=steady");
    EXPECT_EQ(steady.exitCode, 0) << steady.err;
    EXPECT_EQ(steady.out,
              "============================\n   STEADY-STATE BEHAVIOUR\n"
              "============================\n \nThe solution is: \n \n"
              "State 1: pi[1] = 0.2500000000\nState 2: pi[2] = 0.7500000000\n\n"
              "Average cost per unit time: 1.7500000000\n \nAccuracy check: 0.0000000000\n");
    std::filesystem::remove(chain);
    std::filesystem::remove(pair);
}

TEST(ReportTool, RefusesUnreadableChainFilesAndUnknownAnalyses) {
    const std::string missing =
        (std::filesystem::temp_directory_path() / "wachtrix_cli_missing.txt").string();
    const Outcome o = RunReport("markov " + missing + " analysis=steady");
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "Error: Cannot read file " + missing + "\nthe file cannot be opened\n");

    // Each reason names the line, so that a user can mend the file.
    const struct {
        const char* text;
        const char* why;
    } faults[] = {
        {"99\n2\n0.5 0.5\n0.1 x\n1 2\n", "line 4: matrix row 2: \"x\" is not a number"},
        {"99\n2\n0.5 0.5\n0.1\n1 2\n", "line 4: matrix row 2 has 1 of its 2 numbers"},
        {"99\n2\n0.5 0.5\n0.1 0.9\n", "line 5: the cost line is missing"},
        {"88\n2\n0 1\n1 0\n1 2\n", "line 6: the second cost line is missing"},
        {"99\n101\n", "line 2: the number of states must be 1 to 100"},
        {"abc\n", "line 1: the chain kind (99 or 88) is not a whole number"},
    };
    for (const auto& f : faults) {
        const std::string file = WriteChainFile("wachtrix_cli_fault.txt", f.text);
        const Outcome fault = RunReport("markov " + file + " analysis=steady");
        EXPECT_EQ(fault.exitCode, 2) << f.text;
        EXPECT_EQ(fault.err, "Error: Cannot read file " + file + "\n" + f.why + "\n");
        std::filesystem::remove(file);
    }

    const std::string bad = WriteChainFile("wachtrix_cli_bad.txt", "99\n2\n0.5 0.4\n0 1\n0 0\n");
    const Outcome rows = RunReport("markov " + bad + " analysis=structure");
    EXPECT_EQ(rows.exitCode, 2);
    EXPECT_EQ(rows.err, "Error: Sum of rows not 1 in transitionmatrix.\n");
    std::filesystem::remove(bad);

    EXPECT_EQ(RunReport("markov " + missing + " analysis=first").exitCode, 2);
    EXPECT_EQ(RunReport("markov analysis=steady").exitCode, 2);
}

TEST(ReportTool, TransientAndFirstPassageOfAChainFile) {
    // A walk on three states: from 1, P(X(t) = 1) = 1/4 + (1/2)^(t+1); every state costs 2.
    const std::string walk = WriteChainFile("wachtrix_cli_walk.txt",
                                            "99\n3\n0.5 0.5 0\n0.25 0.5 0.25\n0 0.5 0.5\n2 2 2\n");
    const Outcome probabilities =
        RunReport("markov " + walk + " analysis=transient initial=1 times=5,1,5 end=1,3");
    EXPECT_EQ(probabilities.exitCode, 0) << probabilities.err;
    EXPECT_EQ(probabilities.out,
              "=========================\n   TRANSIENT BEHAVIOUR\n=========================\n \n"
              "Transient probabilities\n\nInitial State = 1\n\n"
              "              State 1       State 3\n"
              "At t = 1     0.500000000   0.000000000\n"
              "At t = 5     0.265625000   0.234375000\n"
              "At t = 5     0.265625000   0.234375000\n\nAccuracy check: 0.000000000\n");
    const Outcome costs =
        RunReport("markov " + walk + " analysis=transient times=3 choice=costs --styles");
    EXPECT_EQ(costs.exitCode, 0) << costs.err;
    EXPECT_NE(costs.out.find("N t1 = 3         6.000000     2.000000\n"), std::string::npos)
        << costs.out;

    const Outcome passage =
        RunReport("markov " + walk + " analysis=passage start=2 times=10,1,2 set=0 a=2");
    EXPECT_EQ(passage.exitCode, 0) << passage.err;
    EXPECT_EQ(passage.out,
              "==================================\nFIRST-PASSAGE TIME PROBABILITIES\n"
              "==================================\n \nInitial State = 2\nReturn Set = {2}\n\n"
              "P( T({2}) > t | X(0) = 2 )\n\n"
              "At t = 1:       0.50000000 \nAt t = 2:       0.25000000 \n"
              "At t = 10:      0.00097656 \n");

    // The dialog's messages, and the keys' own faults.
    const Outcome badTime = RunReport("markov " + walk + " analysis=transient times=1,5001 end=1");
    EXPECT_EQ(badTime.exitCode, 2);
    EXPECT_EQ(badTime.out, "");
    EXPECT_EQ(badTime.err, "Error: Time points must be between 1 and 5000\n");
    EXPECT_EQ(RunReport("markov " + walk + " analysis=passage times=1 set=1").err,
              "Error: Illegal value for state a.\n");
    for (const std::string keys :
         {"analysis=transient times=1", "analysis=transient end=1",
          "analysis=transient times=1 end=1 choice=visits", "analysis=passage times=1 a=1 set=3",
          "analysis=transient times=1 end=1,1,1,1,1"}) {
        const Outcome refused = RunReport("markov " + walk + " " + keys);
        EXPECT_EQ(refused.exitCode, 2) << keys;
        EXPECT_EQ(refused.err.rfind("wachtrix-report: ", 0), 0u) << keys << ": " << refused.err;
    }
    std::filesystem::remove(walk);
}

TEST(ReportTool, MeanPassageAndAbsorptionOfAChainFile) {
    // pi = (2/3, 1/3): return times 1.5 and 3; m(1,2) = 1 / 0.25, m(2,1) = 1 / 0.5.
    const std::string pair =
        WriteChainFile("wachtrix_cli_means2.txt", "99\n2\n0.75 0.25\n0.5 0.5\n1 2\n");
    const Outcome means = RunReport("markov " + pair + " analysis=means");
    EXPECT_EQ(means.exitCode, 0) << means.err;
    EXPECT_EQ(means.out,
              "=================================\n   MEAN PASSAGE AND ABSORPTION\n"
              "=================================\n \n"
              "Mean first-passage times m(i,j) in steps\n"
              "(m(i,i) is the mean return time to state i)\n \n"
              "          To 1          To 2\n"
              "From 1    1.5000000     4.0000000\n"
              "From 2    2.0000000     3.0000000\n\n"
              "As comma-separated values:\nFrom,To 1,To 2\n1,1.5,4\n2,2,3\n \n"
              "Accuracy check: 0.0000000000\n");

    // 1 -> 2 at rate 1, 2 -> 3 at rate 1 or back at rate 1, 3 absorbing: 2 is entered twice on
    // average from 1, for half a unit of time each, and 1 as often for a unit each; costs 1 per
    // unit of time and 10 for the entry into 3.
    const std::string line =
        WriteChainFile("wachtrix_cli_means3.txt", "88\n3\n0 1 0\n1 0 1\n0 0 0\n1 1 0\n0 0 10\n");
    const Outcome absorbed = RunReport("markov " + line + " analysis=means");
    EXPECT_EQ(absorbed.exitCode, 0) << absorbed.err;
    EXPECT_NE(absorbed.out.find("Expected time until absorption\n \n"
                                "From 1:   3.0000000\nFrom 2:   2.0000000\n \n"
                                "Expected total cost until absorption\n \n"
                                "From 1:   13.000000\nFrom 2:   12.000000\n"),
              std::string::npos)
        << absorbed.out;
    EXPECT_NE(absorbed.out.find("From,To 1,To 2\n1,2,1\n2,1,1\n"), std::string::npos)
        << absorbed.out;
    std::filesystem::remove(pair);
    std::filesystem::remove(line);
}

TEST(ReportTool, ContinuousChainOverTimeAndAComputationThatGivesUp) {
    // q(1,2) = 1, q(2,1) = 3: P(T({2}) > t | X(0) = 1) = e^{-t}.
    const std::string pair =
        WriteChainFile("wachtrix_cli_pair.txt", "88\n2\n0 1\n3 0\n1 2\n0 10\n");
    const Outcome passage = RunReport("markov " + pair + " analysis=passage times=2.5,1 a=2");
    EXPECT_EQ(passage.exitCode, 0) << passage.err;
    EXPECT_NE(passage.out.find("At t = 1.000:     0.36787944 \nAt t = 2.500:     0.08208500 \n"),
              std::string::npos)
        << passage.out;
    EXPECT_EQ(RunReport("markov " + pair + " analysis=transient times=0.5 end=1").err,
              "Error: Time points must be between 1 and 5000\n");

    // nu t of 5e303 is answered, and a stiff pair at nu t = 5e8 to its last digit.
    const std::string fast =
        WriteChainFile("wachtrix_cli_fast.txt", "88\n2\n0 1E+300\n1 0\n0 0\n0 0\n");
    const Outcome answered = RunReport("markov " + fast + " analysis=passage times=5000 a=2");
    EXPECT_EQ(answered.exitCode, 0) << answered.err;
    EXPECT_NE(answered.out.find("At t = 5000.000:  0.00000000 \n"), std::string::npos)
        << answered.out;
    const std::string stiff =
        WriteChainFile("wachtrix_cli_stiff.txt", "88\n2\n0 100000\n1 0\n0 0\n0 0\n");
    const Outcome limit = RunReport("markov " + stiff + " analysis=transient times=5000 end=2");
    EXPECT_EQ(limit.exitCode, 0) << limit.err;
    EXPECT_NE(limit.out.find("At t = 5000.000   0.999990000\n"), std::string::npos) << limit.out;

    // Mean times beyond the range of numbers: the computation gives up.
    const std::string slow =
        WriteChainFile("wachtrix_cli_slow.txt", "99\n2\n1 1E-310\n0.5 0.5\n0 0\n");
    const Outcome gaveUp = RunReport("markov " + slow + " analysis=means");
    EXPECT_EQ(gaveUp.exitCode, 3);
    EXPECT_NE(gaveUp.out.find("The computation failed: The mean times are beyond"),
              std::string::npos)
        << gaveUp.out;
    EXPECT_EQ(gaveUp.err, "The mean times are beyond the range of numbers\n");
    std::filesystem::remove(stiff);
    std::filesystem::remove(slow);
    std::filesystem::remove(pair);
    std::filesystem::remove(fast);
}

// Scripts read the answer from its own line; a target that cannot be met is an answer too.
TEST(ReportTool, StaffingAnswersOnItsOwnLine) {
    const Outcome o = RunReport("staffing model=mmc a=10 t=0.33 alpha=0.2");
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.err, "");
    std::istringstream lines(o.out);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);)
        got.push_back(line);
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[0], "Staffing of the M/M/c queue");
    EXPECT_EQ(got[2], "Smallest number of servers: c = 13");

    const Outcome gmc = RunReport("staffing model=gmc arrivals=3 ca2=2 a=40 ewq=0.01 maxrho=0.9");
    EXPECT_EQ(gmc.exitCode, 0);
    EXPECT_NE(gmc.out.find("\nSmallest number of servers: c = "), std::string::npos);

    const Outcome beyond = RunReport("staffing model=mdc a=2000 pwait=0.2");
    EXPECT_EQ(beyond.exitCode, 0);
    EXPECT_EQ(beyond.out,
              "Staffing of the M/D/c queue\nParameters: a=2000  target Pwait<=0.2\n"
              "Smallest number of servers: none\n"
              "a = 2000 Erlangs needs more than 500 servers at rho <= 0.99: beyond the M/D/c "
              "model's range.\n\n");
}

TEST(ReportTool, StaffingWantsOneModelAndOneTarget) {
    const struct {
        const char* arguments;
        const char* err;
    } kCases[] = {
        {"staffing a=10 pwait=0.2", "wachtrix-report: model must be mmc, mdc, dmc or gmc\n"},
        {"staffing model=mg1 a=10 pwait=0.2",
         "wachtrix-report: model must be mmc, mdc, dmc or gmc\n"},
        {"staffing model=mmc a=10",
         "wachtrix-report: give one target: t=T alpha=ALPHA, ewq=W or "
         "pwait=ALPHA\n"},
        {"staffing model=mmc a=10 t=1",
         "wachtrix-report: give one target: t=T alpha=ALPHA, "
         "ewq=W or pwait=ALPHA\n"},
        {"staffing model=mmc a=10 ewq=0.1 pwait=0.2",
         "wachtrix-report: give one target: t=T alpha=ALPHA, ewq=W or pwait=ALPHA\n"},
        {"staffing model=mmc a=10 pwait=0.2 c=3",
         "wachtrix-report: unknown key \"c\" for staffing\n"},
        {"staffing model=mmc a=1e9 pwait=0.2", "Error: a out of range\n"},
        {"staffing model=gmc arrivals=1 ca2=3 a=10 pwait=0.2", "Error: CA2 out of range\n"},
    };
    for (const auto& k : kCases) {
        const Outcome o = RunReport(k.arguments);
        EXPECT_EQ(o.exitCode, 2) << k.arguments;
        EXPECT_EQ(o.out, "") << k.arguments;
        EXPECT_EQ(o.err, k.err) << k.arguments;
    }
}

TEST(TextHost, ReportsANumericalFailureAfterTheLinesAlreadyWritten) {
    const CommandResult result = RunQueueModel([](QueueHost& host) {
        RunGuarded(host, [&] {
            host.results().AddResultLine("M/G/1 queue");
            throw NumericalFailure({"pause in RTBIS", "Root must be bracketed for bisection."});
        });
    });
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
