#pragma once
// What the three graph window classes share: caption "Graph", an underlined title label with
// plain labels beneath, one or two logarithmic probability charts, "&Close" (or Escape), "&Help"
// (help context 10) and "Export" (copy, save as PNG or SVG with the labels' lines under the chart,
// save the points as CSV). Each chart's context menu offers the same, then "Reset Zoom",
// "Logarithmic Y Axis" (offered when every y value is above zero) and "Axis Ranges..."; on the
// chart itself the mouse reads off points, drags a rectangle to zoom and double-clicks to go back
// (chart_interaction.h). A chart with several series shows a legend. The client area ends 10
// pixels beyond the rightmost and the lowest chart; the charts grow with the window.
//
// The host fills a window and then shows it:
//   auto* w = CreateGraphWindow(GraphWindowKind::MG1, queueWindow, {"...", "CS2=1", ...});
//   (create_graph_window.h)
//   w->applyPlot(0, waitingTimePlot);
//   w->show();

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "core/queue/chart_plot.h"

class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace wachtrix::chart {
class ChartView;
class TxyGraph;
}  // namespace wachtrix::chart

namespace wachtrix::ui {

class AppSettings;

struct GraphLabelDesign {
    const char* objectName;
    const char* caption;
};

struct GraphChartDesign {
    const char* objectName;
    QSize size;
    const char* xTitle;
    const char* yTitle;
    const char* graphTitle;
};

struct GraphWindowDesign {
    const char* closeButtonName;
    const char* closeHint;                 // empty: none
    std::vector<GraphLabelDesign> labels;  // the title label first
    std::vector<GraphChartDesign> charts;  // top to bottom
};

// Window number n (n > 0) goes 20 n pixels right of and below its designed place, wrapping
// around the screen: left = (left + 20 n) mod (screen width - window width), likewise top.
QPoint CascadePosition(QPoint designed, int n, QSize window, QRect screen);

class GraphWindow : public QWidget {
    Q_OBJECT
public:
    int chartCount() const { return static_cast<int>(charts_.size()); }
    // nullptr when there is no such chart.
    chart::TxyGraph* chart(int index) const;
    int labelCount() const { return static_cast<int>(labels_.size()); }
    QLabel* label(int index) const;

    // Captions in the class's label order; an empty caption leaves the label blank.
    void setLabelCaptions(const std::vector<std::string>& captions);
    // The labels' texts in order: what a saved image carries under the chart.
    QStringList captions() const;

    // Fills chart `index`; false when there is no such chart. The window stays as it is (the
    // host shows it).
    bool applyPlot(int index, const ChartPlot& plot);

    // Moves the window by the graph-window counter value n (see CascadePosition).
    void Placement(int n);

    // Where the windows open and cascade: within `area` (screen coordinates, clipped to the
    // screen's work area), starting `offset` from its top left corner. By default the whole
    // work area, from (160, 80).
    void setOpenArea(const QRect& area, QPoint offset);

    QSize designedClientSize() const { return designed_; }

    // Where the export dialogs open: the folder of the last export, kept in `settings`.
    void setSettings(AppSettings* settings) { settings_ = settings; }

protected:
    GraphWindow(QWidget* owner, const GraphWindowDesign& design);
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;  // Escape closes the window

private:
    void BuildButtons(const GraphWindowDesign& design);
    void BuildLabels(const GraphWindowDesign& design);
    void BuildCharts(const GraphWindowDesign& design);
    QMenu* BuildChartMenu(chart::TxyGraph* graph);
    QMenu* BuildContextMenu(chart::TxyGraph* graph, QMenu* exports, chart::ChartView& view);
    void BuildExportMenu();
    int LabelHeight(int index) const;
    int ChartsTop() const;
    void LayOut(QSize client);
    void exportFromLastFolder(const std::function<void(QString&)>& save);

    std::vector<QLabel*> labels_;
    std::vector<chart::TxyGraph*> charts_;
    std::vector<QMenu*> chartMenus_;
    std::vector<QSize> chartSizes_;  // as designed
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
    QToolButton* export_ = nullptr;
    QSize designed_;
    QRect openArea_;  // empty: the screen's work area
    QPoint openOffset_;
    AppSettings* settings_ = nullptr;
};

}  // namespace wachtrix::ui
