#pragma once
// Report pieces every queue model writes alike.
//
//   WriteStatistics(out, {{"Pwait", "%.6g", 0.5}, {"Std(Wq)", "%.4g", 1.732}})
//   -> "Results: Pwait   = 0.5"
//      "         Std(Wq) = 1.732"

#include <initializer_list>
#include <string>
#include <vector>

#include "core/text/result_writer.h"

namespace wachtrix {

struct Statistic {
    std::string name;
    const char* format;  // "%.6g", "%.5g", "%.4g"
    long double value;
};

// The statistics block: names padded to a common width, the first line "Results: ".
void WriteStatistics(ResultWriter& out, std::initializer_list<Statistic> statistics);
void WriteStatistics(ResultWriter& out, const std::vector<Statistic>& statistics);

// A statistics block under a heading of 16 columns, the names padded to 12, the values already
// formatted:
//   WriteHeadedStatistics(out, "Approximations: ", {{"Prej", "0.1"}, {"Pwait", "0.25"}})
//   -> "Approximations: Prej        = 0.1"
//      "                Pwait       = 0.25"
struct StatisticText {
    std::string name;
    std::string value;
};
void WriteHeadedStatistics(ResultWriter& out, const std::string& heading,
                           const std::vector<StatisticText>& statistics);

// Title (Title style) and parameter line (Bold), leaving the style Normal.
void WriteReportHeader(ResultWriter& out, const std::string& title, const std::string& parameters);

// "Accuracy Check = %s" with FormatShortG, then an empty line.
void WriteAccuracyCheck(ResultWriter& out, long double accuracy);

// A figure an approximation cannot give (a variance it makes negative): printed "n/a".
inline constexpr double kNoFigure = -1;
// `format` of |v|, or "n/a" for kNoFigure.
std::string FigureOrNone(const char* format, double v);

// What the deterministic-service approximations (from two servers on) are known to miss, said
// once after their statistics; and their accuracy line, which checks the balance of the
// approximating chain, not the figures:
//   "Accuracy Check of the approximating chain = 1.2E-013", then an empty line.
void WriteApproximationNote(ResultWriter& out);
void WriteApproximationAccuracyCheck(ResultWriter& out, long double balance);

// A model condition that ends the run: the message and an empty line.
void WriteRunMessage(ResultWriter& out, const std::string& message);

}  // namespace wachtrix
