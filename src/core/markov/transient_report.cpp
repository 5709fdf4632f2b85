#include "core/markov/transient_report.h"

#include <cmath>

#include "core/markov/uniformisation.h"
#include "core/text/delphi_format.h"
#include "core/text/markov_format.h"
#include "core/text/padding.h"

namespace wachtrix {
namespace {

// Amounts from here on are written as whole numbers.
constexpr long double kWholeAmount = 1e6;

bool Discrete(ChainKind kind) {
    return kind == ChainKind::Discrete;
}

std::string TimeText(ChainKind kind, double t, int decimals) {
    return Discrete(kind) ? std::to_string(static_cast<int>(t))
                          : FormatFixedPrecision(t, 5, decimals);
}

// Where the header label and the value of end-state column m (1-based) start.
int HeaderColumn(ChainKind kind, int m) {
    return Discrete(kind) ? 14 * m : 15 * m + 4;
}
int ValueColumn(ChainKind kind, int m) {
    return HeaderColumn(kind, m) - 1;
}

long double Sum(const std::vector<double>& v) {
    long double sum = 0;
    for (std::size_t j = 1; j < v.size(); ++j)
        sum += v[j];
    return sum;
}

// |sum of the sojourn times - t| / t at the last time point.
long double SojournError(const TransientRun& run) {
    const double t = run.times.back();
    return std::fabs(Sum(run.sojourn.back()) - t) / t;
}

std::string Magnitude(long double amount) {
    return amount >= kWholeAmount ? FormatFixedPoint(std::trunc(amount), 0)
                                  : FormatSignificant(amount, 7);
}

std::string Sign(long double x) {
    return x >= 0 ? " " : "-";
}

std::string Average(ChainKind kind, long double average) {
    const long double amount = std::fabs(average);
    if (!Discrete(kind)) return Sign(average) + Magnitude(amount);
    if (amount >= kWholeAmount) return Sign(average) + "  " + Magnitude(amount);
    return (average < 0 ? "-" : "") + Magnitude(amount);
}

void EndStateTable(ChainKind kind, const TransientOptions& options, const TransientRun& run,
                   std::vector<std::string>& lines) {
    const bool probabilities = options.choice == TransientChoice::Probabilities;
    std::string header;
    for (std::size_t m = 1; m <= options.endStates.size(); ++m) {
        header = PadRight(header, HeaderColumn(kind, static_cast<int>(m))) + "State " +
                 std::to_string(options.endStates[m - 1]);
    }
    lines.push_back(header);
    for (std::size_t k = 0; k < run.times.size(); ++k) {
        std::string line = "At t = " + TimeText(kind, run.times[k], probabilities ? 3 : 2);
        if (!probabilities) line += "  ";
        for (std::size_t m = 1; m <= options.endStates.size(); ++m) {
            const int state = options.endStates[m - 1];
            const std::string value =
                probabilities
                    ? (Discrete(kind) ? FormatFixedPrecision(run.probabilities[k][state], 10, 9)
                                      : FormatSignificant(run.probabilities[k][state], 9))
                    : FormatSignificant(run.sojourn[k][state], 8);
            line = PadRight(line, ValueColumn(kind, static_cast<int>(m))) + value;
        }
        lines.push_back(line);
    }
    lines.push_back("");
    lines.push_back("Accuracy check: " +
                    (probabilities
                         ? FormatFixedPrecision(std::fabs(Sum(run.probabilities.back()) - 1), 10, 9)
                         : FormatFixedPrecision(SojournError(run), 9, 8)));
}

void CostTable(ChainKind kind, const TransientRun& run, const std::vector<double>& costRates,
               std::vector<std::string>& lines) {
    lines.push_back(PadRight(PadRight("", 13) + "Total costs", 27) + "Average costs");
    for (std::size_t k = 0; k < run.times.size(); ++k) {
        long double total = 0;
        for (std::size_t j = 1; j < costRates.size(); ++j)
            total += static_cast<long double>(run.sojourn[k][j]) * costRates[j];
        const std::string label =
            "t" + std::to_string(k + 1) + " = " + TimeText(kind, run.times[k], 3);
        const std::string totalText = Sign(total) + Magnitude(std::fabs(total));
        lines.push_back(PadRight(PadRight(label, 14) + totalText, 28) +
                        Average(kind, total / run.times[k]));
    }
    lines.push_back("");
    lines.push_back("Accuracy check: " + FormatFixedPrecision(SojournError(run), 8, 7));
}

std::string Title(TransientChoice choice) {
    switch (choice) {
        case TransientChoice::Probabilities:
            return "Transient probabilities";
        case TransientChoice::SojournTimes:
            return "Expected transient sojourn times";
        case TransientChoice::Costs:
            return "Expected transient costs";
    }
    return {};
}

}  // namespace

std::vector<std::string> TransientHeader() {
    return {"=========================", "   TRANSIENT BEHAVIOUR",
            "=========================", " "};
}

std::vector<std::string> TransientReportBody(ChainKind kind, const TransientOptions& options,
                                             const TransientRun& run,
                                             const std::vector<double>& costRates) {
    std::vector<std::string> lines{Title(options.choice), "",
                                   "Initial State = " + std::to_string(options.initialState), ""};
    if (run.times.empty()) return lines;
    if (options.choice == TransientChoice::Costs) {
        CostTable(kind, run, costRates, lines);
    } else {
        EndStateTable(kind, options, run, lines);
    }
    return lines;
}

MarkovReport TransientAnalysis(const ChainData& chain, const TransientOptions& options,
                               Progress& progress) {
    MarkovReport report{TransientHeader(), false, {}};
    const int n = chain.StateCount;
    const auto run =
        chain.Kind == ChainKind::Discrete
            ? RunDiscreteTransient(SparseMatrix(chain.TransitionMatrix, n), options.initialState,
                                   options.timePoints, progress)
            : RunContinuousTransient(Uniformise(chain.TransitionMatrix, n), options.initialState,
                                     options.timePoints, progress);
    if (!run) {
        report.stopped = true;
        return report;
    }
    const auto body = TransientReportBody(chain.Kind, options, *run, StateCosts(chain));
    report.lines.insert(report.lines.end(), body.begin(), body.end());
    return report;
}

}  // namespace wachtrix
