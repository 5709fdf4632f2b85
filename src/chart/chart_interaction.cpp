#include "chart/chart_interaction.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QStringList>
#include <QToolTip>
#include <algorithm>
#include <optional>

#include "chart/qt_look.h"
#include "chart/xy_graph.h"

namespace wachtrix::chart {
namespace {

// A smaller rectangle is taken for a click that wobbled, not a zoom.
constexpr double kSmallestZoom = 5;

std::optional<AxisMetrics> PaintedMetrics(const TAxis& axis, double pixels) {
    if (!axis.Scale().valid) return std::nullopt;
    try {
        return CalcMetrics(axis.Scale(), pixels);
    } catch (const ScalingError&) {
        return std::nullopt;
    }
}

QString AxisName(const TAxis& axis, const char* fallback) {
    const std::string& title = axis.Title;
    return QString::fromStdString(title.empty() ? fallback : title);
}

QString ValueText(const TAxis& axis, double v) {
    if (axis.Scale().time) return TimeLabel(v, axis.DateTimeFormat);
    return QString::fromStdString(
        ReadoutValue(axis.Scale(), {axis.LabelDecimals, axis.AutoLabelDecimals}, v));
}

QPointF Clamped(QPointF p, const QRectF& r) {
    return {std::clamp(p.x(), r.left(), r.right()), std::clamp(p.y(), r.top(), r.bottom())};
}

}  // namespace

ChartInteraction::ChartInteraction(TxyGraph& graph)
    : QObject(&graph), graph_(graph), view_(graph.XAxis(), graph.YAxis()) {
    graph.setMouseTracking(true);
    graph.installEventFilter(this);
}

bool ChartInteraction::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &graph_) return false;
    switch (event->type()) {
        case QEvent::MouseMove: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (dragging_)
                MoveBand(e->position());
            else
                UpdateReadout(e->position(), e->globalPosition().toPoint());
            return false;
        }
        case QEvent::MouseButtonPress: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton && graph_.PlotRect().contains(e->position()))
                StartBand(e->position());
            return false;
        }
        case QEvent::MouseButtonRelease: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton && dragging_) FinishBand(e->position());
            return false;
        }
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                dragging_ = false;
                if (band_) band_->hide();
                view_.Reset();
            }
            return false;
        case QEvent::Leave:
            HideReadout();
            return false;
        default:
            return false;
    }
}

QString ChartInteraction::ReadoutAt(QPointF at) const {
    const QRectF plot = graph_.PlotRect();
    if (!plot.contains(at)) return {};
    const std::optional<AxisMetrics> x = PaintedMetrics(graph_.XAxis(), plot.width());
    if (!x || !graph_.YAxis().Scale().valid) return {};
    const std::vector<NearestPoint> nearest =
        NearestPoints(graph_.AllSeries(), *x, at.x() - plot.left());
    const QString xName = AxisName(graph_.XAxis(), "x");
    const QString yName = AxisName(graph_.YAxis(), "y");
    QStringList lines;
    for (const NearestPoint& p : nearest) {
        const QString name =
            nearest.size() > 1 ? QString::fromStdString(p.series->Name) + ": " : QString();
        lines << name + xName + " = " + ValueText(graph_.XAxis(), p.x) + ", " + yName + " = " +
                     ValueText(graph_.YAxis(), p.y);
    }
    return lines.join('\n');
}

void ChartInteraction::UpdateReadout(QPointF at, QPoint global) {
    readout_ = ReadoutAt(at);
    if (readout_.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(global, readout_, &graph_, graph_.rect());
}

void ChartInteraction::HideReadout() {
    readout_.clear();
    QToolTip::hideText();
}

void ChartInteraction::StartBand(QPointF at) {
    HideReadout();
    if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, &graph_);
    bandOrigin_ = at;
    dragging_ = true;
    band_->setGeometry(QRect(at.toPoint(), QSize()));
    band_->show();
}

void ChartInteraction::MoveBand(QPointF at) {
    const QPointF end = Clamped(at, graph_.PlotRect());
    band_->setGeometry(QRectF(bandOrigin_, end).normalized().toRect());
}

void ChartInteraction::FinishBand(QPointF at) {
    dragging_ = false;
    band_->hide();
    const QRectF plot = graph_.PlotRect();
    const QRectF r = QRectF(bandOrigin_, Clamped(at, plot)).normalized();
    if (r.width() < kSmallestZoom || r.height() < kSmallestZoom) return;
    // Time axes keep their calendar steps.
    if (graph_.XAxis().Scale().time || graph_.YAxis().Scale().time) return;
    const auto x = PaintedMetrics(graph_.XAxis(), plot.width());
    const auto y = PaintedMetrics(graph_.YAxis(), plot.height());
    if (!x || !y) return;
    const auto xRange = ZoomedRange(*x, r.left() - plot.left(), r.right() - plot.left());
    const auto yRange = ZoomedRange(*y, plot.bottom() - r.bottom(), plot.bottom() - r.top());
    if (xRange && yRange) view_.Zoom(*xRange, *yRange);
}

}  // namespace wachtrix::chart
