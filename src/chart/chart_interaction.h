#pragma once
// The mouse on a chart: hovering over the plot area shows, in a tooltip, the x and y of each
// series' point nearest the mouse (in the format of the axis labels); dragging a rectangle with
// the left button zooms to it; a double click goes back to the ranges as given. Made a child of
// its chart, it lives as long as the chart does:
//
//   auto* interaction = new ChartInteraction(graph);
//   interaction->View().SetYLog(false);   // the menu's doing

#include <QObject>
#include <QPointF>
#include <QString>

#include "chart/chart_view.h"

class QRubberBand;

namespace wachtrix::chart {

class TxyGraph;

class ChartInteraction : public QObject {
    Q_OBJECT
public:
    explicit ChartInteraction(TxyGraph& graph);

    ChartView& View() { return view_; }
    const ChartView& View() const { return view_; }

    // What the tooltip shows now: a line per series; empty outside the plot area.
    const QString& Readout() const { return readout_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateReadout(QPointF at, QPoint global);
    void HideReadout();
    QString ReadoutAt(QPointF at) const;
    void StartBand(QPointF at);
    void MoveBand(QPointF at);
    void FinishBand(QPointF at);

    TxyGraph& graph_;
    ChartView view_;
    QRubberBand* band_ = nullptr;
    QPointF bandOrigin_;
    bool dragging_ = false;
    QString readout_;
};

}  // namespace wachtrix::chart
