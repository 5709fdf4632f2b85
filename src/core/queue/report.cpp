#include "core/queue/report.h"

#include <cmath>

#include <algorithm>

#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "core/text/padding.h"

namespace wachtrix {

void WriteStatistics(ResultWriter& out, const std::vector<Statistic>& statistics) {
    std::size_t width = 0;
    for (const auto& s : statistics)
        width = std::max(width, s.name.size());
    bool first = true;
    for (const auto& s : statistics) {
        const std::string prefix = first ? "Results: " : "         ";
        out.AddResultLine(prefix + PadRight(s.name, static_cast<int>(width)) + " = " +
                          Format(s.format, {s.value}));
        first = false;
    }
}

void WriteStatistics(ResultWriter& out, std::initializer_list<Statistic> statistics) {
    WriteStatistics(out, std::vector<Statistic>(statistics));
}

void WriteHeadedStatistics(ResultWriter& out, const std::string& heading,
                           const std::vector<StatisticText>& statistics) {
    constexpr int kHeadingWidth = 16, kNameWidth = 12;
    bool first = true;
    for (const auto& s : statistics) {
        out.AddResultLine(PadRight(first ? heading : "", kHeadingWidth) +
                          PadRight(s.name, kNameWidth) + "= " + s.value);
        first = false;
    }
}

void WriteReportHeader(ResultWriter& out, const std::string& title, const std::string& parameters) {
    out.SetTitleStyle();
    out.AddResultLine(title);
    out.SetBoldStyle();
    out.AddResultLine(parameters);
    out.SetNormalStyle();
}

void WriteAccuracyCheck(ResultWriter& out, long double accuracy) {
    out.AddResultLine(Format("Accuracy Check = %s", {FormatShortG(accuracy)}));
    out.AddResultLine("");
}

std::string FigureOrNone(const char* format, double v) {
    return v == kNoFigure ? std::string("n/a") : Format(format, {std::fabs(v)});
}

void WriteApproximationNote(ResultWriter& out) {
    // Against an exact method and long simulations: 2 to 7 % on the means as a rule, up to
    // 15 % (E(Lq) with a long waiting room), and up to 125 % on P{Wq>t} between whole services.
    out.AddResultLine("These approximations are typically 2 to 7 % off on the means (up to 15 %),");
    out.AddResultLine("and up to 125 % off on P{Wq>t} at t between whole service times.");
}

void WriteApproximationAccuracyCheck(ResultWriter& out, long double balance) {
    out.AddResultLine(
        Format("Accuracy Check of the approximating chain = %s", {FormatShortG(balance)}));
    out.AddResultLine("");
}

void WriteRunMessage(ResultWriter& out, const std::string& message) {
    out.AddResultLine(message);
    out.AddResultLine("");
}

}  // namespace wachtrix
