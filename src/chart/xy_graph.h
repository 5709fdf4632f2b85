#pragma once
// The chart control: three axes, margins, look, legend and numbered series, painted by
// PaintGraph. Fill it between Plotting = false and Plotting = true:
//
//   graph.SetPlotting(false);
//   TSeries& s = graph.Series(1);
//   s.Clear(); s.AddPoint(0.5, 0.3); ...
//   graph.SetPlotting(true);   // one repaint
//
// Every setting change repaints while Plotting is on. An axis whose limits cannot be used is not
// drawn, no series is drawn, and Appearance().ErrorCaption shows in the plot area instead.

#include <QImage>
#include <QWidget>
#include <functional>

#include "chart/chart_axis.h"
#include "chart/chart_settings.h"
#include "chart/series_list.h"

namespace wachtrix::chart {

class TxyGraph : public QWidget, private PropertyOwner, private SeriesOwner {
    Q_OBJECT
public:
    explicit TxyGraph(QWidget* parent = nullptr);
    ~TxyGraph() override;

    TAxis& XAxis() { return xAxis_; }
    TAxis& YAxis() { return yAxis_; }
    TAxis& YAxis_Second() { return yAxisSecond_; }
    const TAxis& XAxis() const { return xAxis_; }
    const TAxis& YAxis() const { return yAxis_; }
    const TAxis& YAxis_Second() const { return yAxisSecond_; }
    TDimensions& Dimensions() { return dimensions_; }
    const TDimensions& Dimensions() const { return dimensions_; }
    TAppearance& Appearance() { return appearance_; }
    const TAppearance& Appearance() const { return appearance_; }
    TLegend& Legend() { return legend_; }
    const TLegend& Legend() const { return legend_; }

    bool Plotting() const { return plotting_; }
    void SetPlotting(bool on);

    // Series n, created with the defaults of its number when there is none.
    TSeries& Series(int n);
    bool DeleteSeries(int n);
    const SeriesList& AllSeries() const { return series_; }

    // The plot area in widget coordinates.
    QRectF PlotRect() const;

    // Paints the chart as on screen, at `size`, onto any device (an image, an SVG file); the
    // dark look only on a dark desktop's screen, exports stay as on paper.
    void Render(QPainter& painter, QSize size, bool dark = false);
    // The chart as an image, `scale` times the widget's pixels.
    QImage RenderImage(qreal scale = 1);

    // Events, as the chart's users hook into them.
    std::function<void(TxyGraph&, const TSeries&)> OnLogError;
    std::function<void(TxyGraph&, TSeries&)> OnNewSeries;
    std::function<void(TxyGraph&, TSeries&)> OnDeleteSeries;
    std::function<void(TxyGraph&, TSeries&)> OnTooManyPoints;
    std::function<void(TxyGraph&)> OnRescale;
    std::function<void(TxyGraph&)> OnScaleError;
    std::function<void(TxyGraph&, QPainter&)> OnPaintEnd;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PropertyChanged() override;
    void SeriesChanged(TSeries& series) override;
    void SeriesTooManyPoints(TSeries& series) override;
    void RepaintWhenPlotting();
    // Auto-ranges the axes for painting and records their scales; false when one is invalid.
    bool ScaleAxes();
    std::optional<DataRange> DataRangeOf(const TAxis& axis) const;

    TAxis xAxis_;
    TAxis yAxis_;
    TAxis yAxisSecond_;
    TDimensions dimensions_;
    TAppearance appearance_;
    TLegend legend_;
    SeriesList series_;
    bool plotting_ = true;
};

}  // namespace wachtrix::chart
