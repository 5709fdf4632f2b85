#include "ui/graph/chart_legend.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "chart/qt_look.h"
#include "chart/xy_graph.h"

namespace wachtrix::ui {
namespace {

constexpr double kInset = 6;  // from the plot area's edges

bool Shown(const chart::TSeries& s) {
    return s.Active && s.Count() > 0;
}

}  // namespace

void FitSeriesLegend(chart::TxyGraph& graph) {
    int shown = 0;
    for (const auto& s : graph.AllSeries())
        shown += Shown(*s) ? 1 : 0;
    chart::TLegend& legend = graph.Legend();
    const bool wanted = shown > 1;
    const bool wasPlotting = graph.Plotting();
    graph.SetPlotting(false);
    for (const auto& s : graph.AllSeries())
        s->ShowInLegend = wanted && Shown(*s);
    legend.visible = wanted;
    if (wanted) {
        // As the painter lays a downward legend out: a line of text height + 2 per series.
        const QFontMetricsF fm(chart::ToQFont(legend.font));
        double widest = 0;
        for (const auto& s : graph.AllSeries())
            if (s->ShowInLegend)
                widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(s->Name)));
        const int width =
            static_cast<int>(std::ceil(2 * legend.XMargin + legend.SymbolSpace + 4 + widest + 2));
        const int height =
            static_cast<int>(std::ceil(2 * legend.YMargin + shown * (fm.height() + 2) - 2));
        const QRectF plot = graph.PlotRect();
        legend.Layout = chart::TLegendStyle::lsDown;
        legend.borderStyle = chart::TBorderStyle::bsSingle;
        legend.width = width;
        legend.height = height;
        legend.left =
            static_cast<int>(std::max(plot.left() + kInset, plot.right() - kInset - width));
        legend.top = static_cast<int>(plot.top() + kInset);
    }
    graph.SetPlotting(wasPlotting);
}

}  // namespace wachtrix::ui
