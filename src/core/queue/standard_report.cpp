#include "core/queue/standard_report.h"

#include <cmath>

#include "core/numeric/safe_math.h"
#include "core/queue/report.h"

namespace wachtrix {

void WriteStandardStatistics(ResultWriter& out, const QueueStatistics& s, double Pbusy) {
    WriteStatistics(out, {{"Pwait", "%.6g", std::fabs(s.Pwait)},
                          {"Pbusy", "%.5g", std::fabs(Pbusy)},
                          {"E(Wq)", "%.5g", std::fabs(s.EWq)},
                          {"E(Lq)", "%.5g", std::fabs(s.ELq)},
                          {"Std(Wq)", "%.4g", std::fabs(s.StdWq)},
                          {"Std(Lq)", "%.4g", std::fabs(s.StdLq)}});
}

void WriteStandardReport(ResultWriter& out, const StandardReport& report,
                         const OutputRequest& request) {
    WriteReportHeader(out, report.title, report.parameters);
    WriteStandardStatistics(out, report.statistics, report.Pbusy);
    const double check = WriteRequestedTable(out, request, report.tables);
    WriteAccuracyCheck(out, std::fabs(report.statistics.accuracy) + std::fabs(check));
}

void PlotConditionalGraphs(QueueHost& host, GraphHandle window, double Pwait,
                           const std::string& tooSmallMessage,
                           const std::function<ConditionalGraphs()>& graphs) {
    if (!IsSignificant(Pwait)) {
        WriteRunMessage(host.results(), tooSmallMessage);
        return;
    }
    const ConditionalGraphs g = graphs();
    host.plot(window, 0, MarksOrLine(g.waiting));
    host.plot(window, 1, MarksOrLine(g.states));
}

}  // namespace wachtrix
