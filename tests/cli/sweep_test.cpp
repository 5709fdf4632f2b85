// Sweeps every queue model over its legal parameter grid through its batch registration and
// checks what any correct report must satisfy: no NaN or INF, probabilities within [0, 1], tails
// that do not increase, P{L=n} matching consecutive P{L>n}, percentiles that do not decrease,
// graph points finite with x increasing, and an accuracy check below the model's bound.
//
// CI runs a spread of 200 points per model grid; WACHTRIX_SWEEP_POINTS=2000 (or more) sweeps
// deeper, up to the whole grid.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/text/number_parse.h"
#include "support/words.h"

namespace wachtrix::cli {
namespace {

using testing::Words;

// Each dimension lists alternatives, each a group of key=value words; a point takes one
// alternative of every dimension.
using Dimension = std::vector<std::string>;

struct ModelGrid {
    const char* model;
    std::vector<Dimension> dimensions;
    double accuracyBound;  // the model's own check of its solution stays below this
};

const Dimension kStandardOutputs = {
    "output=0",
    "output=1 t=0,1e-9,0.001,0.5,1,2,10,100,1000,2500",
    "output=2 p=0,1e-6,0.1,0.5,0.8,0.9,0.99,0.999,0.999999",
    "output=4",
};

const Dimension kDg1Loads = {"rho=1e-10", "rho=1e-4",   "rho=0.02", "rho=0.04", "rho=0.0401",
                             "rho=0.1",   "rho=0.2001", "rho=0.3",  "rho=0.5",  "rho=0.7",
                             "rho=0.8",   "rho=0.9",    "rho=0.95", "rho=0.99"};
// "type=T c=C N=N n=..." for every pair of c and N: n at the edges of the servers and of the
// waiting room, all within c + N.
Dimension FinCapSizes(int type, std::vector<int> servers, std::vector<int> places) {
    Dimension d;
    for (const int c : servers)
        for (const int N : places) {
            std::string n;
            int last = -1;
            for (const int v : {0, 1, c - 1, c, c + 1, c + N / 2, c + N - 1, c + N})
                if (v > last && v <= c + N) {
                    n += (n.empty() ? "" : ",") + std::to_string(v);
                    last = v;
                }
            d.push_back("type=" + std::to_string(type) + " c=" + std::to_string(c) +
                        " N=" + std::to_string(N) + " n=" + n);
        }
    return d;
}

const Dimension kFinCapLoads = {"rho=1e-10", "rho=1e-5", "rho=0.01", "rho=0.1",
                                "rho=0.3",   "rho=0.5",  "rho=0.9",  "rho=0.99",
                                "rho=1",     "rho=1.01", "rho=2",    "rho=5"};

const Dimension kFinSrcMachines = {"M=1 n=0,1", "M=2 n=0,1,2", "M=10 n=0,1,2,5,9,10",
                                   "M=100 n=0,1,2,9,10,11,50,99,100",
                                   "M=1000 n=0,1,2,99,100,101,250,251,500,998,999,1000"};
const Dimension kFinSrcRates = {"nu=1e-5", "nu=1e-3", "nu=0.01", "nu=0.1", "nu=0.3",
                                "nu=0.5",  "nu=1",    "nu=10",   "nu=100"};
const Dimension kFinSrcOutputs = {
    "output=0",         "output=1 t=0,1e-9,0.001,0.5,1,1.5,2,10,100,1000",
    "output=2",         "output=3",
    "output=4 graph=0", "output=4 graph=1",
    "output=4 graph=2"};

const std::vector<ModelGrid> kGrids = {
    {"mmc",
     {{"c=1", "c=2", "c=3", "c=10", "c=25", "c=26", "c=50", "c=51", "c=100", "c=101", "c=250",
       "c=251", "c=500", "c=501", "c=1000", "c=2500"},
      {"rho=1e-10", "rho=1e-9", "rho=2e-9", "rho=1e-5", "rho=0.01", "rho=0.15", "rho=0.1501",
       "rho=0.3", "rho=0.3001", "rho=0.45", "rho=0.4501", "rho=0.6", "rho=0.6001", "rho=0.7",
       "rho=0.7001", "rho=0.9", "rho=0.99", "rho=0.999"},
      [] {
          Dimension d = kStandardOutputs;
          d.push_back("output=3 n=0,1,2,3,9,10,11,99,100,101,4999,5000");
          return d;
      }()},
     1e-9},
    {"mg1",
     {{"type=0 cs2=0.01", "type=0 cs2=0.0101", "type=0 cs2=0.1", "type=0 cs2=0.5",
       "type=0 cs2=0.99", "type=0 cs2=1", "type=1 cs2=0.5", "type=1 cs2=0.51", "type=1 cs2=1",
       "type=1 cs2=10", "type=1 cs2=100", "type=2 cs2=0.5", "type=2 cs2=2", "type=2 cs2=100"},
      {"rho=1e-12", "rho=1e-9", "rho=1e-6", "rho=0.01", "rho=0.04", "rho=0.0401", "rho=0.3",
       "rho=0.5", "rho=0.8", "rho=0.95", "rho=0.99"},
      [] {
          Dimension d = kStandardOutputs;
          d[1] = "output=1 t=0,1e-9,0.001,0.5,1,2,10,100,1000,75000";
          d.push_back("output=3 n=0,1,2,3,9,10,11,99,100,101,2499,2500");
          return d;
      }()},
     1e-4},
    {"mdc",
     {{"c=1", "c=2", "c=3", "c=5", "c=6", "c=10", "c=11", "c=25", "c=26", "c=50", "c=51", "c=100",
       "c=250", "c=499", "c=500"},
      {"rho=1e-10", "rho=1e-9", "rho=1e-5", "rho=1.0001e-4", "rho=0.001", "rho=0.0101", "rho=0.1",
       "rho=0.1001", "rho=0.3", "rho=0.5", "rho=0.7", "rho=0.8", "rho=0.9", "rho=0.95", "rho=0.98",
       "rho=0.99"},
      [] {
          Dimension d = kStandardOutputs;
          d.push_back("output=3 n=0,1,2,99,100,499,500,501,743,744,745,1250");
          return d;
      }()},
     1e-9},
    // Each service with its own CS2 range and Output group.
    {"dg1",
     {{"service=0 cs2=0.01", "service=0 cs2=0.02", "service=0 cs2=0.0201", "service=0 cs2=0.05",
       "service=0 cs2=0.1", "service=0 cs2=0.25", "service=0 cs2=0.5", "service=0 cs2=1",
       "service=2 cs2=0.5", "service=2 cs2=2", "service=2 cs2=100", "service=3 cs2=0.5",
       "service=3 cs2=1", "service=3 cs2=8", "service=3 cs2=100"},
      kDg1Loads,
      {"output=0", "output=1 t=0,1e-9,0.001,0.5,1,2,10,100,1000,75000",
       "output=2 p=0,1e-6,0.1,0.5,0.8,0.9,0.99,0.999,0.999999", "output=3"}},
     1e-6},
    {"dg1",
     {{"service=1 cs2=1", "service=1 cs2=2", "service=1 cs2=3", "service=1 cs2=10",
       "service=1 cs2=49", "service=1 cs2=50", "service=1 cs2=100"},
      kDg1Loads,
      {"output=0", "output=1 t=0,1e-9,0.001,0.5,1,2,10,100,1000,75000",
       "output=2 p=0,1e-6,0.1,0.5,0.8,0.9,0.99,0.999,0.999999",
       "output=3 n=0,1,2,3,10,30,99,100,101,1250", "output=4 n=0,1,2,3,10,30,99,100,101,1250",
       "output=5"}},
     1e-6},
    {"dmc",
     {{"c=1", "c=2", "c=3", "c=10", "c=11", "c=50", "c=100", "c=101", "c=130", "c=131", "c=180",
       "c=181", "c=300", "c=500"},
      {"rho=1e-10", "rho=0.0184", "rho=0.02", "rho=0.05", "rho=0.1", "rho=0.2", "rho=0.3",
       "rho=0.5", "rho=0.5001", "rho=0.55", "rho=0.5501", "rho=0.6", "rho=0.6001", "rho=0.7",
       "rho=0.8", "rho=0.9", "rho=0.95", "rho=0.99", "rho=0.999"},
      [] {
          Dimension d = kStandardOutputs;
          d.pop_back();  // output=4 is a state table here, the graphs are output=5
          const char* n = " n=0,1,2,3,10,11,99,100,101,500,1249,1250";
          d.push_back(std::string("output=3") + n);
          d.push_back(std::string("output=4") + n);
          for (const char* graph : {"output=5 graph=0", "output=5 graph=1", "output=5 graph=2"})
              d.push_back(graph);
          return d;
      }()},
     1e-7},
    {"gmc",
     {{"arrivals=0", "arrivals=1 ca2=0.01", "arrivals=1 ca2=0.0101", "arrivals=1 ca2=0.1",
       "arrivals=1 ca2=0.1001", "arrivals=1 ca2=0.5", "arrivals=1 ca2=0.5001", "arrivals=1 ca2=1",
       "arrivals=2 ca2=0.5", "arrivals=2 ca2=0.95", "arrivals=2 ca2=1", "arrivals=2 ca2=100",
       "arrivals=3 ca2=0.5", "arrivals=3 ca2=0.6", "arrivals=3 ca2=1", "arrivals=3 ca2=2",
       "arrivals=3 ca2=100"},
      {"c=1",   "c=2",   "c=3",   "c=4",   "c=5",   "c=10",  "c=11",  "c=15",  "c=16",  "c=20",
       "c=21",  "c=25",  "c=26",  "c=50",  "c=51",  "c=100", "c=101", "c=130", "c=131", "c=150",
       "c=151", "c=180", "c=181", "c=200", "c=201", "c=500", "c=501", "c=1000"},
      // Just above the thresholds of too small loads, where the delay is smallest.
      {"rho=1e-10",  "rho=1.01e-9", "rho=1.1e-7", "rho=1.1e-6", "rho=1.01e-5", "rho=1.1e-4",
       "rho=4.1e-4", "rho=0.0011",  "rho=0.0101", "rho=0.0201", "rho=0.0368",  "rho=0.061",
       "rho=0.091",  "rho=0.101",   "rho=0.121",  "rho=0.151",  "rho=0.201",   "rho=0.251",
       "rho=0.301",  "rho=0.351",   "rho=0.391",  "rho=0.401",  "rho=0.441",   "rho=0.501",
       "rho=0.511",  "rho=0.551",   "rho=0.601",  "rho=0.611",  "rho=0.621",   "rho=0.651",
       "rho=0.661",  "rho=0.701",   "rho=0.751",  "rho=0.9",    "rho=0.99",    "rho=0.999"},
      {"output=0", "output=1 t=0,1e-9,0.001,0.5,1,2,10,100,1000,2500",
       "output=2 p=0,1e-6,0.1,0.5,0.8,0.9,0.99,0.999,0.999999", "output=3"}},
     1e-9},
    // i at most the bound of its rho, so rho and i vary together.
    {"mm1tran",
     {{"rho=0 i=0", "rho=0 i=1", "rho=1e-9 i=1", "rho=0.01 i=8", "rho=0.2 i=22", "rho=0.5 i=0",
       "rho=0.5 i=53", "rho=0.7 i=100", "rho=0.9 i=50", "rho=0.99 i=100", "rho=0.9901 i=0"},
      {"j=0", "j=1", "j=50", "j=100"},
      {"output=0 t=0,0.01,0.5,1,10,100,1000,1e4,1e5,1e6", "output=1 T=0.01", "output=2 T=100",
       "output=3 T=1e6", "output=4 T=50"}},
     0},
    // Each finite-capacity type with its own limits; the n-values stay within c + N, since a
    // value beyond is refused. The D/M chain of 1000 states checks to some 4e-9 at rho = 5.
    {"fincap",
     {FinCapSizes(0, {1, 2, 10, 100, 2500}, {0, 1, 10, 1000}),
      kFinCapLoads,
      {"output=0", "output=1 t=0,1e-9,0.001,0.5,1,2,10,100,1000", "output=2", "output=3"}},
     1e-9},
    {"fincap",
     {FinCapSizes(1, {1, 2, 10, 100, 500}, {0, 1, 10, 1000}),
      kFinCapLoads,
      {"output=0", "output=1 t=0,1e-9,0.001,0.5,1,2,3,10,100,1000", "output=2", "output=3"}},
     1e-9},
    {"fincap",
     {FinCapSizes(2, {1, 2, 10, 100, 500}, {0, 1, 10, 500}),
      kFinCapLoads,
      {"output=0", "output=1 t=0,1e-9,0.001,0.5,1,2,10,100,1000", "output=2", "output=3",
       "output=4"}},
     1e-8},
    // Each repair service with its own bound on c; the n-values stay within M, since a value
    // beyond is refused.
    {"finsrc",
     {{"service=0 c=1", "service=0 c=2", "service=0 c=10", "service=0 c=100", "service=0 c=500"},
      kFinSrcMachines,
      kFinSrcRates,
      kFinSrcOutputs},
     1e-9},
    // The deterministic approximation conserves less exactly: some 3e-6 on 250 busy repairmen.
    {"finsrc",
     {{"service=1 c=1", "service=1 c=2", "service=1 c=10", "service=1 c=100", "service=1 c=250"},
      kFinSrcMachines,
      kFinSrcRates,
      kFinSrcOutputs},
     1e-5},
    // Each model over loads from the lightest to the heaviest it takes, and the three targets
    // from loose to strict.
    {"staffing",
     {{"model=mmc", "model=mdc", "model=dmc", "model=gmc arrivals=0",
       "model=gmc arrivals=1 ca2=0.05", "model=gmc arrivals=1 ca2=0.7",
       "model=gmc arrivals=2 ca2=0.5", "model=gmc arrivals=3 ca2=100"},
      {"a=1e-10", "a=1e-4", "a=0.05", "a=0.9", "a=1", "a=3.91", "a=10", "a=108.66", "a=250",
       "a=495", "a=999", "a=2000", "a=2497.5"},
      {"pwait=1", "pwait=0.5", "pwait=0.01", "pwait=1e-10", "ewq=1000", "ewq=0.1", "ewq=1e-10",
       "t=0 alpha=0.2", "t=0.2 alpha=0.05", "t=2500 alpha=1e-10", "t=1 alpha=1e-10 maxrho=0.01",
       "pwait=0.2 maxrho=0.6004"}},
     0},
    // Both X-axis modes over their whole ranges; a y of 1 reads t.
    {"mmcn",
     {{"vary=0 N=0 from=1 to=100", "vary=0 N=1 from=1 to=1", "vary=0 N=100 from=1 to=100",
       "vary=0 N=7 from=100 to=100", "vary=1 c=1 from=0 to=100", "vary=1 c=2 from=0 to=0",
       "vary=1 c=100 from=0 to=100", "vary=1 c=7 from=100 to=100"},
      {"lambda=0.01", "lambda=0.5", "lambda=3", "lambda=1000"},
      {"es=0.01", "es=1", "es=7.5", "es=1000"},
      {"y=0", "y=1 t=0", "y=1 t=0.001", "y=1 t=1", "y=1 t=2500"}},
     0},
};

Arguments Parse(const std::string& words) {
    Arguments args;
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        const auto eq = w.find('=');
        args.keys[w.substr(0, eq)] = w.substr(eq + 1);
    }
    return args;
}

// A number as the reports and the graph files write it, whatever the locale; subnormal
// probabilities of a far tail included.
double Number(const std::string& text) {
    const auto v = ParseReal(text);
    if (!v) throw std::invalid_argument("not a number: \"" + text + "\"");
    return *v;
}

bool HasNonNumber(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text.find("NAN") != std::string::npos || text.find("INF") != std::string::npos;
}

// The checks on one report; `where` names the point in failure messages.
// The largest accuracy check a grid's reports printed, for the summary.
struct SweepFigures {
    std::size_t points = 0;
    double worstAccuracy = 0;
};

void CheckReport(const CommandResult& r, double accuracyBound, const std::string& where,
                 SweepFigures& figures) {
    ASSERT_TRUE(r.errors.empty()) << where << ": refused: " << r.errors[0];
    ASSERT_FALSE(r.failed) << where << ": failed: " << r.lines.back();
    for (const std::string& line : r.lines)
        ASSERT_FALSE(HasNonNumber(line)) << where << ": " << line;

    // Tables: an underlined header whose columns name what follows, rows up to the accuracy.
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
        const std::string& line = r.lines[i];
        if (line.rfind("Accuracy Check = ", 0) == 0) {
            const double accuracy = std::fabs(Number(line.substr(17)));
            EXPECT_LT(accuracy, accuracyBound) << where;
            figures.worstAccuracy = std::max(figures.worstAccuracy, accuracy);
            continue;
        }
        if (r.styles[i] != 'U' || i + 1 >= r.lines.size()) continue;
        const std::vector<std::string> header = Words(line);
        if (header.empty() || (header[0] != "t" && header[0] != "n" && header[0] != "p")) continue;
        std::vector<std::vector<double>> rows;
        std::size_t j = i + 1;
        for (; j < r.lines.size() && r.lines[j].rfind("Accuracy", 0) != 0 && !r.lines[j].empty();
             ++j) {
            std::vector<double> row;
            for (const std::string& w : Words(r.lines[j]))
                row.push_back(w == "undefined" ? -1 : Number(w));
            ASSERT_EQ(row.size(), header.size()) << where << ": " << r.lines[j];
            rows.push_back(row);
        }
        i = j - 1;
        for (std::size_t col = 1; col < header.size(); ++col) {
            const std::string& h = header[col];
            const bool probability =
                h.rfind("P{", 0) == 0 || h.rfind("p(", 0) == 0 || h.rfind("P(", 0) == 0;
            const bool tail = probability && h.find('>') != std::string::npos;
            for (std::size_t k = 0; k < rows.size(); ++k) {
                const double v = rows[k][col];
                if (probability) {
                    EXPECT_GE(v, 0) << where << " " << h;
                    EXPECT_LE(v, 1) << where << " " << h;
                }
                if (k == 0) continue;
                const double before = rows[k - 1][col];
                if (tail) {
                    EXPECT_LE(v, before * (1 + 1e-6) + 1e-7) << where << " " << h;
                }
                if (h == "Percentile" && v >= 0 && before >= 0) {
                    EXPECT_GE(v, before * (1 - 1e-5)) << where << " p=" << rows[k][0];
                }
            }
        }
        // P{L=n} = P{L>n-1} - P{L>n} wherever the table has n-1 and n.
        for (std::size_t eq = 1; eq + 1 < header.size(); ++eq) {
            if (header[eq].find('=') == std::string::npos) continue;
            const std::size_t gt = eq + 1;
            for (std::size_t k = 1; k < rows.size(); ++k) {
                if (rows[k][0] != rows[k - 1][0] + 1) continue;
                const double expected = rows[k - 1][gt] - rows[k][gt];
                // Printed to 7 decimals, or to 4 digits below 1e-6.
                EXPECT_NEAR(rows[k][eq], expected, 3e-7 + 2e-3 * std::fabs(rows[k][eq]))
                    << where << " n=" << rows[k][0];
            }
        }
    }

    // Staffing: the row of the answer meets the target and the row before it does not; Pwait
    // falls as servers are added.
    const std::string answer = "Smallest number of servers: c = ";
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
        if (r.lines[i].rfind(answer, 0) != 0) continue;
        const int c = std::stoi(r.lines[i].substr(answer.size()));
        double lastPwait = 2;
        bool sawAnswer = false;
        for (std::size_t j = i + 3; j + 1 < r.lines.size(); ++j) {
            const std::vector<std::string> row = Words(r.lines[j]);
            const int rowC = std::stoi(row.at(0));
            if (row.back() == "results") continue;  // the model refuses the load at rowC
            const double Pwait = Number(row.at(2));
            EXPECT_LE(Pwait, lastPwait * (1 + 1e-6) + 1e-7) << where << " c=" << rowC;
            lastPwait = Pwait;
            if (rowC == c) sawAnswer = true;
            EXPECT_EQ(row.back() == "yes", rowC >= c) << where << ": " << r.lines[j];
        }
        EXPECT_TRUE(sawAnswer) << where;
    }

    // Graph points: finite, x increasing along each chart.
    std::istringstream csv(r.csv);
    std::string row;
    std::getline(csv, row);
    std::map<int, double> lastX;
    while (std::getline(csv, row)) {
        const auto first = row.find(','), second = row.find(',', first + 1);
        const int chart = std::stoi(row.substr(0, first));
        const double x = Number(row.substr(first + 1, second - first - 1));
        const double y = Number(row.substr(second + 1));
        ASSERT_TRUE(std::isfinite(x) && std::isfinite(y)) << where << ": " << row;
        if (lastX.count(chart)) {
            EXPECT_GT(x, lastX[chart]) << where << ": " << row;
        }
        lastX[chart] = x;
    }
}

int PointsPerModel() {
    const char* given = std::getenv("WACHTRIX_SWEEP_POINTS");
    return given ? std::max(1, std::atoi(given)) : 200;
}

TEST(Sweep, EveryModelGivesSoundReportsOverItsGrid) {
    for (const ModelGrid& grid : kGrids) {
        const ModelCommand* command = FindCommand(grid.model);
        ASSERT_NE(command, nullptr) << grid.model;
        std::size_t size = 1;
        for (const Dimension& d : grid.dimensions)
            size *= d.size();
        const std::size_t wanted = std::min<std::size_t>(size, PointsPerModel());
        // A stride prime to the grid's size visits distinct points spread over all dimensions.
        std::size_t stride = size / wanted + 1;
        while (std::gcd(stride, size) != 1)
            ++stride;
        SweepFigures figures;
        for (std::size_t k = 0, index = 0; k < wanted; ++k, index = (index + stride) % size) {
            std::string words;
            std::size_t rest = index;
            for (const Dimension& d : grid.dimensions) {
                words += d[rest % d.size()] + " ";
                rest /= d.size();
            }
            const std::string where = std::string(grid.model) + " " + words;
            try {
                ++figures.points;
                CheckReport(command->run(Parse(words)), grid.accuracyBound, where, figures);
            } catch (const std::exception& e) {  // a word of a table that is not a number
                ADD_FAILURE() << where << ": " << e.what();
            }
        }
        std::cout << grid.model << ": " << figures.points << " of " << size
                  << " grid points, worst accuracy check " << figures.worstAccuracy << " (bound "
                  << grid.accuracyBound << ")\n";
    }
}

}  // namespace
}  // namespace wachtrix::cli
