#include "core/queue/report.h"

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

void WriteRunMessage(ResultWriter& out, const std::string& message) {
    out.AddResultLine(message);
    out.AddResultLine("");
}

}  // namespace wachtrix
