// Sweeps every queue model over its legal parameter grid (tests/data/sweep_grids.txt) through
// the batch tool's real argument path and checks what any correct report must satisfy: no NaN or
// INF, probabilities within [0, 1], tails that do not increase, P{L=n} matching consecutive
// P{L>n}, percentiles that do not decrease, graph points finite with x increasing, plotted
// probabilities within [0, 1] and plotted tails that do not increase, an accuracy check below
// the model's bound, and the table the point asked for.
//
// CI runs a spread of 200 points per model grid; WACHTRIX_SWEEP_POINTS=2000 (or more) sweeps
// deeper, up to the whole grid.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/report_tool.h"
#include "core/markov/chain_builders.h"
#include "core/queue/queue_model.h"
#include "core/text/number_parse.h"
#include "support/data_file.h"
#include "support/recording_host.h"

namespace wachtrix::cli {
namespace {

using testing::Words;
namespace fs = std::filesystem;

// Each dimension lists alternatives, each a group of key=value words; a point takes one
// alternative of every dimension.
using Dimension = std::vector<std::string>;

struct ModelGrid {
    std::string model;
    double accuracyBound = 0;  // the model's own check of its solution stays below this
    std::vector<Dimension> dimensions;
};

std::vector<ModelGrid> Grids() {
    std::vector<ModelGrid> grids;
    const testing::DataSections file = testing::ReadDataFile("sweep_grids.txt");
    for (const testing::DataLine& line : file.at("")) {
        const std::vector<std::string> w = Words(line.text);
        if (w.at(0) == "grid")
            grids.push_back({w.at(1), std::stod(w.at(2)), {}});
        else
            grids.back().dimensions.push_back(testing::Fields(line.text));
    }
    return grids;
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
        if (line.rfind("Accuracy Check", 0) == 0) {
            const double accuracy = std::fabs(Number(line.substr(line.find("= ") + 2)));
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

    // Graph points: finite, x increasing along each chart; a probability within [0, 1], and a
    // tail (the conditional curves, titled "...|..." or by their window) never rising. The means
    // and deviations of the transient queue and the staffing wait are no probabilities.
    std::istringstream csv(r.csv);
    std::string row;
    std::getline(csv, row);
    std::map<int, double> lastX, lastY;
    while (std::getline(csv, row)) {
        const auto first = row.find(','), second = row.find(',', first + 1);
        const int chart = std::stoi(row.substr(0, first));
        const double x = Number(row.substr(first + 1, second - first - 1));
        const double y = Number(row.substr(second + 1));
        ASSERT_TRUE(std::isfinite(x) && std::isfinite(y)) << where << ": " << row;
        const std::string& title = r.chartTitles.at(static_cast<std::size_t>(chart - 1));
        const bool probability =
            title.rfind("E(", 0) != 0 && title.rfind("ELq", 0) != 0 && title.rfind("Std", 0) != 0;
        const bool tail = title.empty() || title.find('|') != std::string::npos;
        if (probability) {
            EXPECT_GE(y, 0) << where << ": " << title << " " << row;
            EXPECT_LE(y, 1) << where << ": " << title << " " << row;
        }
        if (lastX.count(chart)) {
            EXPECT_GT(x, lastX[chart]) << where << ": " << row;
            if (tail) {
                // Equal to the last bit where two points are computed apart.
                EXPECT_LE(y, lastY[chart] * (1 + 1e-12)) << where << ": " << title << " " << row;
            }
        }
        lastX[chart] = x;
        lastY[chart] = y;
    }
}

int PointsPerModel() {
    const char* given = std::getenv("WACHTRIX_SWEEP_POINTS");
    return given ? std::max(1, std::atoi(given)) : 200;
}

// The Output item a point's words pick, as the tab would show it.
const OutputItem* AskedOutput(const QueueModelSpec& model, const std::string& words) {
    const Selection s = testing::FormOf(std::string(model.key) + " " + words).selection;
    const OutputSpec* output = model.outputFor(s);
    return output ? &output->items[static_cast<std::size_t>(s.output)] : nullptr;
}

// What the point asked for is in its report (unless the model declined the point with a
// message): the table of the values the Output item reads, the accuracy check of a model that
// prints one.
void CheckAsked(const QueueModelSpec& model, const CommandResult& r, const std::string& words,
                double accuracyBound, const std::string& where) {
    if (r.lines.size() <= 2 || r.lines.size() == 4) return;  // a message, or a header and one
    std::set<std::string> columns;
    bool accuracy = false;
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
        accuracy = accuracy || r.lines[i].rfind("Accuracy Check", 0) == 0;
        if (r.styles[i] == 'U' && !Words(r.lines[i]).empty())
            columns.insert(Words(r.lines[i]).front());
    }
    if (accuracyBound > 0) {
        EXPECT_TRUE(accuracy) << where << ": no accuracy check";
    }
    const OutputItem* item = AskedOutput(model, words);
    if (!item || item->values == ValueGroupKind::None) return;
    const std::string column = item->values == ValueGroupKind::T   ? "t"
                               : item->values == ValueGroupKind::P ? "p"
                                                                   : "n";
    if (words.find(" " + column + "=") == std::string::npos && words.rfind(column + "=", 0) != 0)
        return;  // no values given: no table
    const bool declined = std::any_of(r.lines.begin(), r.lines.end(), [](const std::string& l) {
        return l.find("cannot be computed") != std::string::npos;
    });
    EXPECT_TRUE(columns.count(column) || declined) << where << ": no " << column << " table";
}

TEST(Sweep, EveryModelGivesSoundReportsOverItsGrid) {
    feenableexcept(FE_INVALID | FE_DIVBYZERO);
    const std::vector<ModelGrid> grids = Grids();
    for (const QueueModelSpec* model : QueueModels()) {
        EXPECT_TRUE(std::any_of(grids.begin(), grids.end(),
                                [&](const ModelGrid& g) { return g.model == model->key; }))
            << model->key << " has no grid";
    }
    for (const ModelGrid& grid : grids) {
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
            const std::string where = grid.model + " " + words;
            try {
                ++figures.points;
                const CommandResult r = RunModelWords(Words(grid.model + " " + words));
                CheckReport(r, grid.accuracyBound, where, figures);
                CheckAsked(*FindQueueModel(grid.model), r, words, grid.accuracyBound, where);
            } catch (const std::exception& e) {  // a word of a table that is not a number
                ADD_FAILURE() << where << ": " << e.what();
            }
        }
        std::cout << grid.model << ": " << figures.points << " of " << size
                  << " grid points, worst accuracy check " << figures.worstAccuracy << " (bound "
                  << grid.accuracyBound << ")\n";
    }
    fedisableexcept(FE_INVALID | FE_DIVBYZERO);
}

// ---- The Markov analyses -------------------------------------------------------------------

// A random chain file: discrete or continuous, of n states, with about `density` of its
// entries positive; `absorbing` states at the end keep to themselves (reducible chains, chains
// with absorption).
std::string RandomChainText(std::mt19937& rng, bool discrete, int n, double density,
                            int absorbing) {
    std::uniform_real_distribution<double> unit(0, 1);
    const Matrix p = testing::RandomStochastic(rng, n, density);
    std::ostringstream text;
    text.precision(17);
    text << (discrete ? 99 : 88) << "\n" << n << "\n";
    for (int i = 1; i <= n; ++i) {
        // Rates over many decades, no rate from a state to itself.
        const double scale = discrete ? 1 : std::pow(10.0, 6 * unit(rng) - 3);
        for (int j = 1; j <= n; ++j) {
            double entry = discrete || i != j ? p[i][j] * scale : 0;
            if (i > n - absorbing) entry = discrete && i == j ? 1 : 0;
            text << (j > 1 ? " " : "") << entry;
        }
        text << "\n";
    }
    for (int column = 0; column < (discrete ? 1 : 2); ++column) {
        for (int i = 1; i <= n; ++i)
            text << (i > 1 ? " " : "") << std::round(200 * unit(rng) - 50);
        text << "\n";
    }
    return text.str();
}

// Every number a Markov report prints is finite, every probability table lies in [0, 1] and
// sums to at most 1 across its states (to 1 when it lists them all), first-passage tails do not
// increase, mean times are not negative, and the accuracy check is small.
void CheckMarkovReport(const CommandResult& r, const std::string& analysis,
                       const std::string& choice, int n, bool allEnds, const std::string& where) {
    ASSERT_TRUE(r.errors.empty()) << where << ": refused: " << r.errors[0];
    for (const std::string& line : r.lines)
        ASSERT_FALSE(HasNonNumber(line)) << where << ": " << line;
    ASSERT_FALSE(r.failed) << where;
    double steadySum = 0, lastTail = 2;
    for (const std::string& line : r.lines) {
        const std::vector<std::string> w = Words(line);
        if (line.rfind("Accuracy check:", 0) == 0) {
            EXPECT_LT(std::fabs(Number(w.back())), 1e-6) << where << ": " << line;
        } else if (analysis == "steady" && line.rfind("State ", 0) == 0 && w.size() == 5) {
            const double p = Number(w[4]);
            EXPECT_TRUE(p >= 0 && p <= 1) << where << ": " << line;
            steadySum += p;
        } else if ((analysis == "transient" || analysis == "passage") &&
                   line.rfind("At t = ", 0) == 0 && choice != "costs") {
            // Probabilities lie in [0, 1]; sojourn times in [0, t], summing to t over all states.
            const double whole = choice == "sojourn" ? Number(w.at(3)) : 1;
            double sum = 0;
            for (std::size_t k = 4; k < w.size(); ++k) {
                const double p = Number(w[k]);
                EXPECT_TRUE(p >= 0 && p <= whole * (1 + 1e-9)) << where << ": " << line;
                sum += p;
            }
            EXPECT_LE(sum, whole * (1 + 2e-7)) << where << ": " << line;
            if (analysis == "transient" && allEnds) {  // each printed to 8 or 9 digits
                EXPECT_NEAR(sum, whole, 2e-7 * whole) << where << ": " << line;
            }
            if (analysis == "passage") {
                EXPECT_LE(sum, lastTail + 1e-12) << where << ": " << line;
                lastTail = sum;
            }
        } else if (analysis == "means" && !w.empty() &&
                   std::isdigit(static_cast<unsigned char>(line[0])) &&
                   line.find(',') != std::string::npos) {
            std::istringstream cells(line);
            for (std::string cell; std::getline(cells, cell, ',');) {
                if (!cell.empty()) {
                    EXPECT_GE(Number(cell), 0) << where << ": " << line;
                }
            }
        }
    }
    if (analysis == "steady" && steadySum > 0) {
        EXPECT_NEAR(steadySum, 1, 1e-9 * n + 1e-9) << where;
    }
}

TEST(Sweep, EveryMarkovAnalysisGivesSoundReports) {
    feenableexcept(FE_INVALID | FE_DIVBYZERO);
    const fs::path dir =
        fs::temp_directory_path() / ("wachtrix_sweep_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::mt19937 rng(20261207);
    const int wanted = PointsPerModel();
    int runs = 0;
    for (int k = 0; runs < wanted; ++k) {
        static constexpr int kSizes[] = {1, 2, 3, 4, 7, 12, 30, 60, 100};
        const int n = kSizes[k % std::size(kSizes)];
        const bool discrete = (k / std::size(kSizes)) % 2 == 0;
        const double density = k % 3 == 0 ? 1.0 : 0.15;
        const int absorbing = n > 2 && k % 4 == 1 ? 1 + n / 5 : 0;
        const fs::path file = dir / "chain.txt";
        std::ofstream(file) << RandomChainText(rng, discrete, n, density, absorbing);
        const std::string chain = "markov " + file.string();
        std::uniform_int_distribution<int> state(1, n);
        const int t1 = 1 + k % 7, t2 = 10 + 37 * (k % 5), t3 = 5000;
        const std::string times =
            " times=" + std::to_string(t1) + "," + std::to_string(t2) + "," + std::to_string(t3);
        std::string ends = " end=1";
        for (int j = 2; j <= std::min(n, 4); ++j)
            ends += "," + std::to_string(j);
        const std::vector<std::pair<std::string, std::string>> calls = {
            {"structure", ""},
            {"steady", ""},
            {"means", ""},
            {"transient", " initial=" + std::to_string(state(rng)) + times + ends},
            {"transient", times + ends + " choice=sojourn"},
            {"transient", times + " choice=costs"},
            {"passage", " start=" + std::to_string(state(rng)) + times +
                            " set=" + std::to_string(k % 3) + " a=" + std::to_string(state(rng))},
        };
        for (const auto& [analysis, keys] : calls) {
            const std::string words = chain + " analysis=" + analysis + keys;
            const std::string where = words + " (chain " + std::to_string(k) + ")";
            ++runs;
            try {
                const CommandResult r = RunModelWords(Words(words));
                // Steady state and means refuse some reducible chains with the dialog's messages.
                if (!r.errors.empty() && (analysis == "steady" || analysis == "means")) continue;
                const auto at = keys.find("choice=");
                const std::string choice = at == std::string::npos ? "" : keys.substr(at + 7);
                CheckMarkovReport(r, analysis, choice, n, n <= 4, where);
            } catch (const std::exception& e) {
                ADD_FAILURE() << where << ": " << e.what();
            }
        }
    }
    fs::remove_all(dir);
    std::cout << "markov: " << runs << " analyses of random chains\n";
    fedisableexcept(FE_INVALID | FE_DIVBYZERO);
}

}  // namespace
}  // namespace wachtrix::cli
