#include "chart/graph_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "chart/axis_ticks.h"
#include "chart/qt_look.h"

namespace wachtrix::chart {
namespace {

constexpr double kLabelGap = 6;  // between neighbouring x labels

std::optional<AxisMetrics> MetricsOf(const TAxis& axis, double pixels) {
    if (!axis.Scale().valid) return std::nullopt;
    try {
        return CalcMetrics(axis.Scale(), pixels);
    } catch (const ScalingError&) {
        return std::nullopt;
    }
}

// Liang-Barsky: the part of segment a-b inside r, if any. Keeps far-off points (a value a
// million times the axis range) from reaching the painter as huge coordinates.
std::optional<QLineF> ClipSegment(QPointF a, QPointF b, const QRectF& r) {
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return std::nullopt;
    }
    return QLineF(a.x() + t0 * dx, a.y() + t0 * dy, a.x() + t1 * dx, a.y() + t1 * dy);
}

// Which labelled ticks get their text when the texts would collide: every stride-th.
int LabelStride(const std::vector<double>& positions, double extent) {
    double spacing = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < positions.size(); ++i)
        spacing = std::min(spacing, std::fabs(positions[i] - positions[i - 1]));
    if (!(spacing > 0) || spacing >= extent) return 1;
    return static_cast<int>(std::ceil(extent / spacing));
}

double Snap(double v) {
    return std::round(v);
}

class GraphPainter {
public:
    GraphPainter(QPainter& painter, QSize size, const GraphView& view)
        : p_(painter), size_(size), v_(view), plot_(PlotArea(view.dimensions, size)) {}

    void Paint() {
        FillBackground();
        if (plot_.width() <= 0 || plot_.height() <= 0) return;
        x_ = MetricsOf(v_.xAxis, plot_.width());
        y_ = MetricsOf(v_.yAxis, plot_.height());
        y2_ = MetricsOf(v_.yAxisSecond, plot_.height());
        DrawGraphTitle();
        if (x_) DrawXAxis();
        if (y_) DrawYAxis(v_.yAxis, *y_);
        if (y2_) DrawYAxis(v_.yAxisSecond, *y2_);
        if (!x_ || !y_ || !y2_) {
            DrawErrorCaption();
            return;
        }
        DrawZeroCross();
        if (!v_.plotting) return;
        for (const auto& series : v_.series)
            DrawSeries(*series);
        if (v_.legend.visible) DrawLegend();
    }

private:
    const TAppearance& look() const { return v_.appearance; }
    const TDimensions& dims() const { return v_.dimensions; }

    QColor Paper(TColor color) const {
        return v_.dark ? DarkGround(ToQColor(color)) : ToQColor(color);
    }
    // Lines and text read on the plot area and on the margin alike.
    QColor Ink(TColor color) const {
        if (!v_.dark) return ToQColor(color);
        return ReadableInk(ReadableInk(ToQColor(color), Paper(look().BackgroundColor)),
                           Paper(look().MarginColor));
    }

    double XPixel(double x) const { return plot_.left() + x_->Offset(x); }
    double YPixel(const AxisMetrics& m, double y) const { return plot_.bottom() - m.Offset(y); }

    void FillBackground() {
        p_.fillRect(QRect(QPoint(0, 0), size_), Paper(look().MarginColor));
        if (plot_.width() > 0 && plot_.height() > 0)
            p_.fillRect(plot_, Paper(look().BackgroundColor));
    }

    void DrawGraphTitle() {
        const QString title = QString::fromStdString(look().GraphTitle);
        if (title.isEmpty()) return;
        p_.setFont(ToQFont(look().TitleFont));
        p_.setPen(Ink(look().TitleFont().Color));
        const QFontMetricsF fm(p_.font());
        const QString text = fm.elidedText(title, Qt::ElideRight, size_.width() - 4);
        const double w = fm.horizontalAdvance(text), h = fm.height();
        const double left =
            std::clamp(plot_.center().x() - w / 2, 2.0, std::max(2.0, size_.width() - 2 - w));
        const double top = std::max(0.0, plot_.top() - dims().GraphTitleOffset - h);
        p_.drawText(QRectF(left, top, w + 1, h), Qt::AlignCenter, text);
    }

    // Where the x axis line lies, by its offset type along the y axis.
    double XAxisLineY() const {
        const TAxis& a = v_.xAxis;
        double y = plot_.bottom();
        switch (a.OffsetType()) {
            case TAxisOffsetType::ao_Minimum:
                break;
            case TAxisOffsetType::ao_Maximum:
                y = plot_.top();
                break;
            case TAxisOffsetType::ao_percentage:
                y = plot_.bottom() - a.Offset / 100.0 * plot_.height();
                break;
            case TAxisOffsetType::ao_absolute:
                if (y_ && (!y_->log || a.Offset > 0)) y = YPixel(*y_, a.Offset);
                break;
        }
        return Snap(std::clamp(y, plot_.top(), plot_.bottom()));
    }

    double YAxisLineX(const TAxis& a) const {
        double x = plot_.left();
        switch (a.OffsetType()) {
            case TAxisOffsetType::ao_Minimum:
                break;
            case TAxisOffsetType::ao_Maximum:
                x = plot_.right();
                break;
            case TAxisOffsetType::ao_percentage:
                x = plot_.left() + a.Offset / 100.0 * plot_.width();
                break;
            case TAxisOffsetType::ao_absolute:
                if (x_ && (!x_->log || a.Offset > 0)) x = XPixel(a.Offset);
                break;
        }
        return Snap(std::clamp(x, plot_.left(), plot_.right()));
    }

    void SetCrispPen(TColor color, Qt::PenStyle style) {
        p_.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(Ink(color), 0, style);
        pen.setCosmetic(true);
        p_.setPen(pen);
    }

    int MinorTickLength() const { return (dims().TickLength + 1) / 2; }

    QString LabelText(const TAxis& axis, const AxisTick& tick) const {
        if (axis.Scale().time) return TimeLabel(tick.value, axis.DateTimeFormat);
        return QString::fromStdString(FormatTickLabel(tick.value, tick.decimals));
    }

    void DrawXAxis() {
        const TAxis& axis = v_.xAxis;
        if (!axis.ShowAxis) return;
        const std::vector<AxisTick> ticks =
            AxisTicks(axis.Scale(), {axis.LabelDecimals, axis.AutoLabelDecimals});
        const double lineY = XAxisLineY();
        const double dir = axis.Reversed ? -1 : 1;
        if (axis.Gridlines) {
            SetCrispPen(look().GridColor, ToPenStyle(look().GridStyle));
            for (const AxisTick& t : ticks)
                if (t.gridline)
                    p_.drawLine(QLineF(Snap(XPixel(t.value)), plot_.top(), Snap(XPixel(t.value)),
                                       plot_.bottom()));
        }
        SetCrispPen(look().AxesColor, Qt::SolidLine);
        p_.drawLine(QLineF(plot_.left(), lineY, plot_.right(), lineY));
        if (look().ShowTicks)
            for (const AxisTick& t : ticks) {
                const double len = t.labelled ? dims().TickLength : MinorTickLength();
                const double x = Snap(XPixel(t.value));
                p_.drawLine(QLineF(x, lineY, x, lineY + dir * len));
            }

        p_.setFont(ToQFont(look().LabelFont));
        const QFontMetricsF fm(p_.font());
        const double labelH = fm.height();
        const double labelTop = dir > 0
                                    ? lineY + dims().TickLength + dims().XAxisLabelOffset
                                    : lineY - dims().TickLength - dims().XAxisLabelOffset - labelH;
        if (look().ShowGraphLabels) {
            p_.setPen(Ink(look().LabelFont().Color));
            std::vector<const AxisTick*> labelled;
            std::vector<double> positions;
            double widest = 0;
            for (const AxisTick& t : ticks)
                if (t.labelled) {
                    labelled.push_back(&t);
                    positions.push_back(XPixel(t.value));
                    widest = std::max(widest, fm.horizontalAdvance(LabelText(axis, t)));
                }
            const int stride = LabelStride(positions, widest + kLabelGap);
            for (std::size_t i = 0; i < labelled.size(); i += stride) {
                const QString text = LabelText(axis, *labelled[i]);
                const double w = fm.horizontalAdvance(text) + 2;
                const double left =
                    std::clamp(positions[i] - w / 2, 0.0, std::max(0.0, size_.width() - w));
                p_.drawText(QRectF(left, labelTop, w, labelH), Qt::AlignCenter, text);
            }
        }
        DrawXAxisTitle(dir > 0 ? labelTop + labelH + dims().XAxisTitleOffset
                               : labelTop - dims().XAxisTitleOffset,
                       dir > 0);
    }

    void DrawXAxisTitle(double edge, bool below) {
        const QString title = QString::fromStdString(v_.xAxis.Title);
        if (title.isEmpty()) return;
        p_.setFont(ToQFont(look().CaptionFont));
        p_.setPen(Ink(look().CaptionFont().Color));
        const QFontMetricsF fm(p_.font());
        const QString text = fm.elidedText(title, Qt::ElideRight, size_.width() - 4);
        const double w = fm.horizontalAdvance(text) + 2, h = fm.height();
        // Kept inside the chart: the bottom margin may be tighter than the text.
        const double top = std::clamp(below ? edge : edge - h, 0.0, size_.height() - h);
        const double left =
            std::clamp(plot_.center().x() - w / 2, 0.0, std::max(0.0, size_.width() - w));
        p_.drawText(QRectF(left, top, w, h), Qt::AlignCenter, text);
    }

    void DrawYAxis(const TAxis& axis, const AxisMetrics& m) {
        if (!axis.ShowAxis) return;
        const std::vector<AxisTick> ticks =
            AxisTicks(axis.Scale(), {axis.LabelDecimals, axis.AutoLabelDecimals});
        const double lineX = YAxisLineX(axis);
        const double dir = axis.Reversed ? 1 : -1;  // towards the labels
        if (axis.Gridlines) {
            SetCrispPen(look().GridColor, ToPenStyle(look().GridStyle));
            for (const AxisTick& t : ticks)
                if (t.gridline) {
                    const double y = Snap(YPixel(m, t.value));
                    p_.drawLine(QLineF(plot_.left(), y, plot_.right(), y));
                }
        }
        SetCrispPen(look().AxesColor, Qt::SolidLine);
        p_.drawLine(QLineF(lineX, plot_.top(), lineX, plot_.bottom()));
        if (look().ShowTicks)
            for (const AxisTick& t : ticks) {
                const double len = t.labelled ? dims().TickLength : MinorTickLength();
                const double y = Snap(YPixel(m, t.value));
                p_.drawLine(QLineF(lineX, y, lineX + dir * len, y));
            }

        p_.setFont(ToQFont(look().LabelFont));
        const QFontMetricsF fm(p_.font());
        const double labelH = fm.height();
        const double anchor = lineX + dir * (dims().TickLength + dims().YAxisLabelOffset);
        double widest = 0;
        if (look().ShowGraphLabels) {
            p_.setPen(Ink(look().LabelFont().Color));
            std::vector<const AxisTick*> labelled;
            std::vector<double> positions;
            for (const AxisTick& t : ticks)
                if (t.labelled) {
                    labelled.push_back(&t);
                    positions.push_back(YPixel(m, t.value));
                    widest = std::max(widest, fm.horizontalAdvance(LabelText(axis, t)) + 2);
                }
            const int stride = LabelStride(positions, labelH);
            for (std::size_t i = 0; i < labelled.size(); i += stride) {
                const double top =
                    std::clamp(positions[i] - labelH / 2, 0.0, size_.height() - labelH);
                const QRectF box = dir < 0 ? QRectF(anchor - widest, top, widest, labelH)
                                           : QRectF(anchor, top, widest, labelH);
                p_.drawText(box, (dir < 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                            LabelText(axis, *labelled[i]));
            }
        }
        DrawYAxisTitle(axis, dir < 0 ? anchor - widest : anchor + widest, dir < 0);
    }

    // Rotated, reading upwards. On the left the title sits YAxisTitleOffset from the edge of
    // the chart, moved further out when the labels reach that far; on the right likewise.
    void DrawYAxisTitle(const TAxis& axis, double labelsEdge, bool left) {
        const QString title = QString::fromStdString(axis.Title);
        if (title.isEmpty()) return;
        p_.setFont(ToQFont(look().CaptionFont));
        p_.setPen(Ink(look().CaptionFont().Color));
        const QFontMetricsF fm(p_.font());
        const double h = fm.height();
        const QString text = fm.elidedText(title, Qt::ElideRight, size_.height() - 4);
        const double w = fm.horizontalAdvance(text) + 2;
        const double offset = dims().YAxisTitleOffset;
        double near = left ? std::min(offset, labelsEdge - 2 - h)
                           : std::max(size_.width() - offset - h, labelsEdge + 2);
        near = std::clamp(near, 0.0, std::max(0.0, size_.width() - h));
        const double centreY = std::clamp(plot_.center().y(), w / 2, size_.height() - w / 2);
        p_.save();
        p_.translate(near + h / 2, centreY);
        p_.rotate(-90);
        p_.drawText(QRectF(-w / 2, -h / 2, w, h), Qt::AlignCenter, text);
        p_.restore();
    }

    void DrawErrorCaption() {
        p_.setFont(ToQFont(look().CaptionFont));
        p_.setPen(Ink(look().CaptionFont().Color));
        p_.drawText(plot_.adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                    QString::fromStdString(look().ErrorCaption));
    }

    // The cross marks a point at the origin; on its own it would pass for one.
    bool PointAtOrigin() const {
        for (const auto& series : v_.series) {
            if (!series->Active || series->Axis != SeriesAxis::YAxis) continue;
            for (const TDataPoint& d : series->Points())
                if (d.X == 0 && d.Y - series->ZeroValue() == 0) return true;
        }
        return false;
    }

    void DrawZeroCross() {
        if (!look().CrossAtZero || x_->log || y_->log) return;
        if (!(x_->min <= 0 && 0 <= x_->max && y_->min <= 0 && 0 <= y_->max)) return;
        if (!PointAtOrigin()) return;
        const double cx = Snap(XPixel(0)), cy = Snap(YPixel(*y_, 0));
        const double len = look().Crosslength;
        SetCrispPen(look().CrossColor, Qt::SolidLine);
        p_.drawLine(QLineF(cx - len, cy, cx + len, cy));
        p_.drawLine(QLineF(cx, cy - len, cx, cy + len));
    }

    bool LogTrouble(const TSeries& s, const AxisMetrics& ym) const {
        return (x_->log && s.XMin() <= 0) || (ym.log && s.YMin() <= 0);
    }

    void DrawSeries(const TSeries& s) {
        if (!s.Active || s.Count() == 0) return;
        const AxisMetrics& ym = s.Axis == SeriesAxis::YAxis ? *y_ : *y2_;
        if (LogTrouble(s, ym)) {
            if (v_.logError) v_.logError(s);
            return;
        }
        std::vector<QPointF> points;
        points.reserve(s.Points().size());
        for (const TDataPoint& d : s.Points())
            points.emplace_back(XPixel(d.X), YPixel(ym, d.Y - s.ZeroValue()));

        const double markExtent = MarkRadius(s) + 2;
        const QRectF area = look().PlotOffGraph ? QRectF(QPointF(0, 0), QSizeF(size_)) : plot_;
        const QRectF reach = area.adjusted(-markExtent, -markExtent, markExtent, markExtent);
        p_.save();
        p_.setClipRect(area);
        p_.setRenderHint(QPainter::Antialiasing, true);
        if (s.DrawLine) DrawPolyline(s, points, reach);
        if (s.DrawPoints) DrawMarks(s, points, reach);
        p_.restore();
    }

    void DrawPolyline(const TSeries& s, const std::vector<QPointF>& points, const QRectF& reach) {
        QPainterPath path;
        QPointF last;
        bool open = false;
        for (std::size_t i = 1; i < points.size(); ++i) {
            const auto seg = ClipSegment(points[i - 1], points[i], reach);
            if (!seg) {
                open = false;
                continue;
            }
            if (!open || seg->p1() != last) path.moveTo(seg->p1());
            path.lineTo(seg->p2());
            last = seg->p2();
            open = true;
        }
        // The canvas pen is one pixel wide (a print-style line); antialiasing keeps it smooth.
        QPen pen(Ink(s.Color), 1.0, ToPenStyle(s.LineStyle));
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
        p_.drawPath(path);
    }

    // Half the width of a mark: size 4 gives marks 6 pixels across, outline included.
    static double MarkRadius(const TSeries& s) { return std::max(1.0, s.PointSize * 0.75); }

    void DrawMarks(const TSeries& s, const std::vector<QPointF>& points, const QRectF& reach) {
        const QColor color = Ink(s.MarkColor());
        const double r = MarkRadius(s);
        const int shape = s.PointShape;
        QPen pen(color, shape == 4 ? std::max(1.0, s.PointSize / 2.0) : 1.0);
        pen.setJoinStyle(Qt::MiterJoin);
        p_.setPen(pen);
        p_.setBrush(s.FillPoints && shape != 4 ? QBrush(color) : Qt::NoBrush);
        for (const QPointF& c : points) {
            if (!reach.contains(c)) continue;
            switch (shape) {
                case 1:
                    p_.drawEllipse(c, r, r);
                    break;
                case 2:
                    p_.drawPolygon(QPolygonF(
                        {c + QPointF(0, -r), c + QPointF(r, r * 0.8), c + QPointF(-r, r * 0.8)}));
                    break;
                case 3:
                    p_.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(r, 0),
                                              c + QPointF(0, r), c + QPointF(-r, 0)}));
                    break;
                case 4:
                    p_.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
                    p_.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
                    break;
                default:
                    p_.drawRect(QRectF(c.x() - r + 0.5, c.y() - r + 0.5, 2 * r - 1, 2 * r - 1));
                    break;
            }
        }
    }

    void DrawLegend() {
        const TLegend& l = v_.legend;
        const QRectF box(l.left, l.top, l.width().value_or(size_.width() - 20), l.height);
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.fillRect(box, Paper(l.color().value_or(look().BackgroundColor)));
        if (l.borderStyle == TBorderStyle::bsSingle) {
            SetCrispPen(look().AxesColor, Qt::SolidLine);
            p_.setBrush(Qt::NoBrush);
            p_.drawRect(box.adjusted(0, 0, -1, -1));
        }
        p_.setFont(ToQFont(l.font));
        const QFontMetricsF fm(p_.font());
        double x = box.left() + l.XMargin, y = box.top() + l.YMargin;
        for (const auto& series : v_.series) {
            const TSeries& s = *series;
            if (!s.ShowInLegend) continue;
            const QString name = QString::fromStdString(s.Name);
            const double midY = y + fm.height() / 2;
            p_.save();
            p_.setRenderHint(QPainter::Antialiasing, true);
            if (s.DrawLine) {
                p_.setPen(QPen(Ink(s.Color), 1, ToPenStyle(s.LineStyle)));
                p_.drawLine(QLineF(x, midY, x + l.SymbolSpace, midY));
            }
            if (s.DrawPoints) DrawMarks(s, {QPointF(x + l.SymbolSpace / 2.0, midY)}, box);
            p_.restore();
            p_.setPen(Ink(l.font().Color));
            const double textLeft = x + l.SymbolSpace + 4;
            const double w = fm.horizontalAdvance(name) + 2;
            p_.drawText(QRectF(textLeft, y, w, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
                        name);
            if (l.Layout == TLegendStyle::lsAcross)
                x = textLeft + w + l.XMargin;
            else
                y += fm.height() + 2;
        }
    }

    QPainter& p_;
    QSize size_;
    const GraphView& v_;
    QRectF plot_;
    std::optional<AxisMetrics> x_, y_, y2_;
};

}  // namespace

QRectF PlotArea(const TDimensions& d, QSize size) {
    return QRectF(d.LeftMargin, d.TopMargin, size.width() - d.LeftMargin - d.RightMargin,
                  size.height() - d.TopMargin - d.BottomMargin);
}

void PaintGraph(QPainter& painter, QSize size, const GraphView& view) {
    painter.save();
    GraphPainter(painter, size, view).Paint();
    painter.restore();
}

}  // namespace wachtrix::chart
