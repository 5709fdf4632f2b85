#include "chart/xy_graph.h"

#include <QDateTime>
#include <QPainter>
#include <algorithm>

#include "chart/graph_painter.h"
#include "chart/qt_look.h"

namespace wachtrix::chart {
namespace {

// The current time as the time axes count it: days since 30 December 1899.
double NowInDays() {
    const QDateTime now = QDateTime::currentDateTime();
    return static_cast<double>(QDate(1899, 12, 30).daysTo(now.date())) +
           now.time().msecsSinceStartOfDay() / 86400000.0;
}

bool OnAxis(const TSeries& s, const TAxis& axis) {
    switch (axis.Kind()) {
        case AxisKind::X:
            return true;
        case AxisKind::Y:
            return s.Axis == SeriesAxis::YAxis;
        case AxisKind::YSecond:
            break;
    }
    return s.Axis == SeriesAxis::YAxis_Second;
}

}  // namespace

TxyGraph::TxyGraph(QWidget* parent)
    : QWidget(parent),
      xAxis_(*this, AxisKind::X),
      yAxis_(*this, AxisKind::Y),
      yAxisSecond_(*this, AxisKind::YSecond),
      dimensions_(*this),
      appearance_(*this),
      legend_(*this),
      series_(*this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TxyGraph::~TxyGraph() = default;

void TxyGraph::SetPlotting(bool on) {
    if (plotting_ == on) return;
    plotting_ = on;
    if (on) update();
}

TSeries& TxyGraph::Series(int n) {
    return series_.Series(n, appearance_.AllowDuplicates, [this](TSeries& created) {
        if (OnNewSeries) OnNewSeries(*this, created);
    });
}

bool TxyGraph::DeleteSeries(int n) {
    const bool deleted = series_.Delete(n, [this](TSeries& going) {
        if (OnDeleteSeries) OnDeleteSeries(*this, going);
    });
    if (deleted) RepaintWhenPlotting();
    return deleted;
}

QRectF TxyGraph::PlotRect() const {
    return PlotArea(dimensions_, size());
}

void TxyGraph::PropertyChanged() {
    RepaintWhenPlotting();
}
void TxyGraph::SeriesChanged(TSeries&) {
    RepaintWhenPlotting();
}
void TxyGraph::SeriesTooManyPoints(TSeries& series) {
    if (OnTooManyPoints) OnTooManyPoints(*this, series);
}

void TxyGraph::RepaintWhenPlotting() {
    if (plotting_) update();
}

std::optional<DataRange> TxyGraph::DataRangeOf(const TAxis& axis) const {
    std::optional<DataRange> range;
    for (const auto& series : series_) {
        const TSeries& s = *series;
        if (!s.Active || s.Count() == 0 || !OnAxis(s, axis)) continue;
        const bool x = axis.Kind() == AxisKind::X;
        const double lo = x ? s.XMin() : s.YMin();
        const double hi = x ? s.XMax() : s.YMax();
        if (!range)
            range = DataRange{lo, hi};
        else
            range = DataRange{std::min(range->lo, lo), std::max(range->hi, hi)};
    }
    return range;
}

bool TxyGraph::ScaleAxes() {
    const StepLimits limits{appearance_.MinSteps, appearance_.MaxSteps};
    const double now = NowInDays();
    bool seriesChanged = false;
    for (const auto& s : series_)
        seriesChanged = seriesChanged || s->Changed();
    bool valid = true, changed = false;
    for (TAxis* axis : {&xAxis_, &yAxis_, &yAxisSecond_}) {
        axis->RecordScale(ScaleAxis(axis->Settings(), DataRangeOf(*axis), limits, now));
        valid = valid && axis->Scale().valid;
        changed = changed || axis->Scale().changed;
    }
    if (plotting_ && seriesChanged) {
        for (const auto& s : series_)
            s->ClearChanged();
        if (valid && changed && OnRescale) OnRescale(*this);
    }
    if (!valid && OnScaleError) OnScaleError(*this);
    return valid;
}

void TxyGraph::Render(QPainter& painter, QSize size, bool dark) {
    ScaleAxes();
    const GraphView view{xAxis_,
                         yAxis_,
                         yAxisSecond_,
                         dimensions_,
                         appearance_,
                         legend_,
                         series_,
                         plotting_,
                         [this](const TSeries& s) {
                             if (OnLogError) OnLogError(*this, s);
                         },
                         dark};
    PaintGraph(painter, size, view);
    if (OnPaintEnd) OnPaintEnd(*this, painter);
}

QImage TxyGraph::RenderImage(qreal scale) {
    QImage image((QSizeF(size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    Render(painter, size());
    return image;
}

void TxyGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter, size(), IsDarkPalette(palette()));
}

}  // namespace wachtrix::chart
