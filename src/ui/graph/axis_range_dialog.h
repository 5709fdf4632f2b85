#pragma once
// "Axis Ranges": the minimum and maximum of the x and the y axis, filled in as the chart shows
// them now. OK makes them the chart's fixed ranges (Reset Zoom goes back to the ranges as given).
// A limit that is no number, a minimum not below its maximum or, on a logarithmic axis, not
// above zero is refused in an error box naming the axis; the dialog stays open with that field
// focused.

#include <QDialog>

class QLineEdit;

namespace wachtrix::chart {
class ChartView;
class TxyGraph;
}  // namespace wachtrix::chart

namespace wachtrix::ui {

class AxisRangeDialog : public QDialog {
    Q_OBJECT
public:
    AxisRangeDialog(chart::TxyGraph& graph, chart::ChartView& view, QWidget* parent = nullptr);

    void accept() override;

private:
    chart::TxyGraph& graph_;
    chart::ChartView& view_;
    QLineEdit* xMin_;
    QLineEdit* xMax_;
    QLineEdit* yMin_;
    QLineEdit* yMax_;
};

}  // namespace wachtrix::ui
