#include "cli/queue_command.h"
#include "core/queue/qgraph.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix::cli {

ModelCommand MmcnCommand() {
    return {"mmcn",
            "M/M/c/c+N graphs: Prej or P{Wq>t} as c or N varies (printed as two columns)",
            "lambda=L es=ES vary=0..1 [c=C] [N=N] from=A to=B [y=0..1] [t=T]",
            QueueKeys({{"vary", "0 vary c for a fixed N, 1 vary N for a fixed c (default 0)"},
                       {"y", "0 Prej, 1 P{Wq>t} (default 0)"}},
                      kMmcnLimits),
            0,
            [](const Arguments& args) {
                MmcnForm form;
                form.lambda = Text(args, "lambda");
                form.es = Text(args, "es");
                form.xAxis = Choice(args, "vary", 2);
                if (form.xAxis == 0) {
                    form.N = Text(args, "N");
                    form.cFrom = Text(args, "from");
                    form.cTo = Text(args, "to");
                } else {
                    form.c = Text(args, "c");
                    form.nFrom = Text(args, "from");
                    form.nTo = Text(args, "to");
                }
                form.yAxis = Choice(args, "y", 2);
                form.t = Text(args, "t");
                TextQueueHost host;
                RunMMCN(form, host);
                CommandResult result = Collect(host);
                // The tab writes nothing to Results; the curve is the output.
                for (const auto& chart : host.charts()) {
                    result.lines.push_back(
                        Format("%4s  %10s", {form.xAxis == 0 ? "c" : "N", *chart.plot.graphTitle}));
                    for (const ChartPoint& p : chart.plot.points)
                        result.lines.push_back(
                            Format("%4d  %10s", {static_cast<int>(p.x), FormatProb(p.y)}));
                }
                result.styles.assign(result.lines.size(), 'N');
                return result;
            }};
}

}  // namespace wachtrix::cli
