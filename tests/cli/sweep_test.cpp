// Sweeps every queue model over its legal parameter grid through its batch registration and
// checks what any correct report must satisfy: no NaN or INF, probabilities within [0, 1], tails
// that do not increase, P{L=n} matching consecutive P{L>n}, percentiles that do not decrease,
// graph points finite with x increasing, and an accuracy check below the model's bound.
//
// CI runs a spread of 200 points per model grid; WACHTRIX_SWEEP_POINTS=2000 (or more) sweeps
// deeper, up to the whole grid.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace wachtrix::cli {
namespace {

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
    // i at most the bound of its rho, so rho and i vary together.
    {"mm1tran",
     {{"rho=0 i=0", "rho=0 i=1", "rho=1e-9 i=1", "rho=0.01 i=8", "rho=0.2 i=22", "rho=0.5 i=0",
       "rho=0.5 i=53", "rho=0.7 i=100", "rho=0.9 i=50", "rho=0.99 i=100", "rho=0.9901 i=0"},
      {"j=0", "j=1", "j=50", "j=100"},
      {"output=0 t=0,0.01,0.5,1,10,100,1000,1e4,1e5,1e6", "output=1 T=0.01", "output=2 T=100",
       "output=3 T=1e6", "output=4 T=50"}},
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

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

bool HasNonNumber(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text.find("NAN") != std::string::npos || text.find("INF") != std::string::npos;
}

// The checks on one report; `where` names the point in failure messages.
void CheckReport(const CommandResult& r, double accuracyBound, const std::string& where) {
    ASSERT_TRUE(r.errors.empty()) << where << ": refused: " << r.errors[0];
    ASSERT_FALSE(r.failed) << where << ": failed: " << r.lines.back();
    for (const std::string& line : r.lines)
        ASSERT_FALSE(HasNonNumber(line)) << where << ": " << line;

    // Tables: an underlined header whose columns name what follows, rows up to the accuracy.
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
        const std::string& line = r.lines[i];
        if (line.rfind("Accuracy Check = ", 0) == 0) {
            EXPECT_LT(std::fabs(std::stod(line.substr(17))), accuracyBound) << where;
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
                row.push_back(w == "undefined" ? -1 : std::stod(w));
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

    // Graph points: finite, x increasing along each chart.
    std::istringstream csv(r.csv);
    std::string row;
    std::getline(csv, row);
    std::map<int, double> lastX;
    while (std::getline(csv, row)) {
        const auto first = row.find(','), second = row.find(',', first + 1);
        const int chart = std::stoi(row.substr(0, first));
        const double x = std::stod(row.substr(first + 1, second - first - 1));
        const double y = std::stod(row.substr(second + 1));
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
        for (std::size_t k = 0, index = 0; k < wanted; ++k, index = (index + stride) % size) {
            std::string words;
            std::size_t rest = index;
            for (const Dimension& d : grid.dimensions) {
                words += d[rest % d.size()] + " ";
                rest /= d.size();
            }
            const std::string where = std::string(grid.model) + " " + words;
            CheckReport(command->run(Parse(words)), grid.accuracyBound, where);
        }
    }
}

}  // namespace
}  // namespace wachtrix::cli
