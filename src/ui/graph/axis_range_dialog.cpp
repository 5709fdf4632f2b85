#include "ui/graph/axis_range_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <charconv>
#include <optional>

#include "chart/chart_view.h"
#include "chart/xy_graph.h"
#include "core/text/number_parse.h"
#include "ui/common/dialogs.h"

namespace wachtrix::ui {
namespace {

// The shortest text that reads back as the same number, whatever the locale.
QString NumberText(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return QString::fromLatin1(buffer, static_cast<qsizetype>(end - buffer));
}

// The range as painted, or as set when the axis could not be painted.
chart::AxisRange Shown(const chart::TAxis& axis) {
    if (axis.Scale().valid) return {axis.Scale().min, axis.Scale().max};
    return {axis.Min, axis.Max};
}

QLineEdit* AddEdit(QFormLayout& form, const char* name, const QString& caption, double value) {
    auto* edit = new QLineEdit(NumberText(value));
    edit->setObjectName(name);
    form.addRow(caption, edit);
    return edit;
}

}  // namespace

AxisRangeDialog::AxisRangeDialog(chart::TxyGraph& graph, chart::ChartView& view, QWidget* parent)
    : QDialog(parent), graph_(graph), view_(view) {
    setObjectName("AxisRangeDialog");
    setWindowTitle("Axis Ranges");
    auto* form = new QFormLayout(this);
    const chart::AxisRange x = Shown(graph.XAxis()), y = Shown(graph.YAxis());
    xMin_ = AddEdit(*form, "XMin_edit", "&X minimum:", x.min);
    xMax_ = AddEdit(*form, "XMax_edit", "X m&aximum:", x.max);
    yMin_ = AddEdit(*form, "YMin_edit", "&Y minimum:", y.min);
    yMax_ = AddEdit(*form, "YMax_edit", "Y max&imum:", y.max);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OK_button");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("Cancel_button");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void AxisRangeDialog::accept() {
    struct Limits {
        const char* axis;
        QLineEdit* min;
        QLineEdit* max;
        bool log;
    };
    const Limits both[] = {{"X", xMin_, xMax_, graph_.XAxis().LogScale},
                           {"Y", yMin_, yMax_, graph_.YAxis().LogScale}};
    chart::AxisRange ranges[2];
    for (int i = 0; i < 2; ++i) {
        const Limits& l = both[i];
        const std::optional<double> min = ParseReal(l.min->text().toStdString());
        const std::optional<double> max = ParseReal(l.max->text().toStdString());
        QString error;
        QLineEdit* wrong = l.min;
        if (!min) {
            error = "The minimum is not a number.";
        } else if (!max) {
            error = "The maximum is not a number.";
            wrong = l.max;
        } else {
            error = QString::fromStdString(chart::AxisRangeError(*min, *max, l.log));
        }
        if (!error.isEmpty()) {
            Dialogs::show(this, DialogKind::Error, "Axis Ranges",
                          QString("%1 axis: %2").arg(l.axis, error));
            wrong->setFocus();
            wrong->selectAll();
            return;
        }
        ranges[i] = {*min, *max};
    }
    view_.Zoom(ranges[0], ranges[1]);
    QDialog::accept();
}

}  // namespace wachtrix::ui
