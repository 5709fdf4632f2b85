// Questioning a graph window's charts with the mouse and the context menu: readout, zoom and
// reset, legend, linear or logarithmic y axis, axis ranges. Boxes are answered through the
// Dialogs seam (the exports are graph_window_test.cpp's).

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>
#include <cmath>

#include "chart/chart_interaction.h"
#include "chart/xy_graph.h"
#include "ui/common/ui_test_support.h"
#include "ui/graph/axis_range_dialog.h"
#include "ui/graph/gmc_graph1.h"
#include "ui/graph/mg1_graph_form.h"

using namespace wachtrix;
using namespace wachtrix::ui;
using wachtrix::testing::Child;
using wachtrix::testing::DeleteClosedWindows;
using wachtrix::testing::DialogRecorder;

namespace {

ChartPlot Plot(int series, std::vector<ChartPoint> points) {
    ChartPlot plot = MarksOrLine(std::move(points));
    plot.series = series;
    return plot;
}

// Survival curves halving (series 1) and fifthing (series 2) per step of 0.25.
ChartPlot Halving() {
    return Plot(1, {{0.25, 0.5}, {0.5, 0.25}, {0.75, 0.125}, {1, 0.0625}});
}
ChartPlot Fifthing() {
    ChartPlot plot = Plot(2, {{0.25, 0.2}, {0.5, 0.04}, {0.75, 0.008}, {1, 0.0016}});
    plot.seriesName = "P(V>t | V>0)";
    plot.color = kChartRed;
    return plot;
}

// Painted once, so that the axes hold the scales the mouse is mapped with.
void Paint(chart::TxyGraph& g) {
    g.grab();
}

// Where a value lies on the painted chart.
QPoint Pixel(const chart::TxyGraph& g, double x, double y) {
    const QRectF plot = g.PlotRect();
    const chart::AxisMetrics mx = chart::CalcMetrics(g.XAxis().Scale(), plot.width());
    const chart::AxisMetrics my = chart::CalcMetrics(g.YAxis().Scale(), plot.height());
    return QPointF(plot.left() + mx.Offset(x), plot.bottom() - my.Offset(y)).toPoint();
}

chart::ChartInteraction& Interaction(const chart::TxyGraph& g) {
    return *Child<chart::ChartInteraction>(&g, QString());
}

void ShowAndWait(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

// How far apart two values are in pixels of an axis of that many decades over that height.
double LogPixels(double a, double b, double decades, double pixels) {
    return std::fabs(std::log10(a / b)) / decades * pixels;
}

}  // namespace

class GraphInteractionTest : public QObject {
    Q_OBJECT
private slots:
    // Each series reports its point nearest the mouse along x, named when there are several,
    // in the axis labels' format (two decimals more than the labels there).
    void readoutShowsTheNearestPointOfEachSeries() {
        TMG1_GraphForm w;
        w.applyPlot(0, Halving());
        w.applyPlot(0, Fifthing());
        ShowAndWait(w);
        chart::TxyGraph& g = *w.chart(0);
        Paint(g);
        QTest::mouseMove(&g, Pixel(g, 0.5, 0.01) + QPoint(3, 0));
        const QString expected =
            "Series 1: Time t = 0.500, Probability = 0.250\n"
            "P(V>t | V>0): Time t = 0.500, Probability = 0.0400";
        QCOMPARE(Interaction(g).Readout(), expected);
        QCOMPARE(QToolTip::text(), expected);

        // Over the margin there is nothing to read.
        QTest::mouseMove(&g, QPoint(2, 2));
        QCOMPARE(Interaction(g).Readout(), QString());
    }

    // A dragged rectangle becomes the ranges, the log axis zoomed by ratios; a wobble of a
    // click is no zoom; a double click, or Reset Zoom, gives the ranges as the window set them.
    void dragZoomsAndDoubleClickResets() {
        TGMC_Graph1 w;
        w.applyPlot(0, Halving());
        ShowAndWait(w);
        chart::TxyGraph& g = *w.chart(0);
        Paint(g);
        const QPoint from = Pixel(g, 0.3, 0.1), to = Pixel(g, 0.7, 0.01);
        const double plotHeight = g.PlotRect().height();

        QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&g, from + QPoint(3, 3));
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, from + QPoint(3, 3));
        QVERIFY(g.YAxis().Min == 0.001 && g.XAxis().AutoSizing);

        QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&g, to);
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, to);
        QVERIFY(!g.XAxis().AutoSizing && !g.YAxis().AutoSizing);
        QVERIFY(std::fabs(g.XAxis().Min - 0.3) < 0.01 && std::fabs(g.XAxis().Max - 0.7) < 0.01);
        // Within a pixel of 0.01..0.1 on the three decades of the y axis.
        QVERIFY2(LogPixels(g.YAxis().Min, 0.01, 3, plotHeight) <= 1 &&
                     LogPixels(g.YAxis().Max, 0.1, 3, plotHeight) <= 1,
                 qPrintable(QString("%1..%2").arg(g.YAxis().Min).arg(g.YAxis().Max)));
        Paint(g);
        QVERIFY(g.XAxis().Scale().valid && g.YAxis().Scale().valid && g.YAxis().Scale().log);

        QTest::mouseDClick(&g, Qt::LeftButton, Qt::NoModifier, Pixel(g, 0.5, 0.05));
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, Pixel(g, 0.5, 0.05));
        QVERIFY(g.XAxis().AutoSizing);
        QCOMPARE(g.YAxis().Min(), 0.001);
        QCOMPARE(g.YAxis().Max(), 1.0);
        QVERIFY(!g.YAxis().AutoSizing);

        Paint(g);
        QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, Pixel(g, 0.3, 0.1));
        QTest::mouseMove(&g, Pixel(g, 0.7, 0.01));
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, Pixel(g, 0.7, 0.01));
        QVERIFY(!g.XAxis().AutoSizing);
        Child<QAction>(&g, "ResetZoomAction")->trigger();
        QVERIFY(g.XAxis().AutoSizing);
        QCOMPARE(g.YAxis().Min(), 0.001);
    }

    // Named series of a chart with two, boxed inside the plot area clear of the title; none
    // with one.
    void legendOnlyWithSeveralSeries() {
        TGMC_Graph1 w;
        chart::TxyGraph& g = *w.chart(0);
        w.applyPlot(0, Halving());
        QVERIFY(!g.Legend().visible);
        w.applyPlot(0, Fifthing());
        QVERIFY(g.Legend().visible);
        QVERIFY(g.AllSeries().Find(1)->ShowInLegend && g.AllSeries().Find(2)->ShowInLegend);
        QCOMPARE(g.AllSeries().Find(2)->Name(), std::string("P(V>t | V>0)"));
        const QRect box(g.Legend().left, g.Legend().top, g.Legend().width().value_or(0),
                        g.Legend().height);
        QVERIFY(g.PlotRect().contains(box));
        // Still inside when the window grows.
        w.show();
        w.resize(w.size() + QSize(120, 40));
        QVERIFY(g.PlotRect().contains(QRect(g.Legend().left, g.Legend().top,
                                            g.Legend().width().value_or(0), g.Legend().height)));
        QVERIFY(g.Legend().left > box.left());

        w.applyPlot(0, Plot(2, {}));  // the second series emptied
        QVERIFY(!g.Legend().visible);
    }

    // Linear always; logarithmic only when every y value is above zero. Each kind comes back
    // with its range: the data's when linear, the window's 0.001..1 when logarithmic.
    void yAxisSwitchesBetweenLogarithmicAndLinear() {
        TGMC_Graph1 w;
        w.applyPlot(0, Halving());
        chart::TxyGraph& g = *w.chart(0);
        auto* log = Child<QAction>(&g, "LogYAxisAction");
        auto* menu = Child<QMenu>(&g, "ChartContextMenu");
        QVERIFY(log->isChecked());

        log->trigger();
        QVERIFY(!g.YAxis().LogScale);
        Paint(g);
        QCOMPARE(g.YAxis().Scale().min, 0.0);
        QVERIFY(g.YAxis().Scale().max >= 0.5 && !g.YAxis().Scale().log);

        log->trigger();
        QVERIFY(g.YAxis().LogScale);
        QCOMPARE(g.YAxis().Min(), 0.001);
        QCOMPARE(g.YAxis().Max(), 1.0);

        log->trigger();
        w.applyPlot(0, Plot(2, {{0.5, 0.0}, {1, 0.1}}));
        menu->popup(QPoint(0, 0));
        QVERIFY(!log->isEnabled() && !log->isChecked());
        menu->close();
        log->setEnabled(true);  // even if asked: zero stays off a logarithmic axis
        log->trigger();
        QVERIFY(!g.YAxis().LogScale && !log->isChecked());
    }

    // Refused with a message naming the axis and the fault, nothing changed; taken when valid.
    void axisRangesDialogRefusesInvalidRanges() {
        DialogRecorder boxes;
        TGMC_Graph1 w;
        w.applyPlot(0, Halving());
        chart::TxyGraph& g = *w.chart(0);
        Paint(g);
        AxisRangeDialog dialog(g, Interaction(g).View(), &w);
        auto* yMin = Child<QLineEdit>(&dialog, "YMin_edit");
        auto* yMax = Child<QLineEdit>(&dialog, "YMax_edit");
        QCOMPARE(yMin->text(), QString("0.001"));
        QCOMPARE(yMax->text(), QString("1"));
        auto* ok = Child<QPushButton>(&dialog, "OK_button");
        const struct {
            const char *min, *max, *message;
        } refused[] = {
            {"0.5", "0.5", "Y axis: The minimum must be less than the maximum."},
            {"0.5", "0.2", "Y axis: The minimum must be less than the maximum."},
            {"0", "1", "Y axis: The minimum of a logarithmic axis must be greater than 0."},
            {"0,1", "1", "Y axis: The minimum is not a number."},
        };
        for (const auto& r : refused) {
            boxes.requests.clear();
            yMin->setText(r.min);
            yMax->setText(r.max);
            ok->click();
            QCOMPARE(boxes.requests.size(), 1);
            QCOMPARE(boxes.requests[0].kind, DialogKind::Error);
            QCOMPARE(boxes.requests[0].title, QString("Axis Ranges"));
            QCOMPARE(boxes.requests[0].text, QString(r.message));
            QVERIFY(dialog.result() != QDialog::Accepted);
            QCOMPARE(g.YAxis().Min(), 0.001);
        }
        yMin->setText("0.01");
        yMax->setText("0.5");
        Child<QLineEdit>(&dialog, "XMin_edit")->setText("-1");
        Child<QLineEdit>(&dialog, "XMax_edit")->setText("-1");
        boxes.requests.clear();
        ok->click();
        QCOMPARE(boxes.texts(), QStringList{"X axis: The minimum must be less than the maximum."});

        Child<QLineEdit>(&dialog, "XMax_edit")->setText("2");
        boxes.requests.clear();
        ok->click();
        QVERIFY(boxes.requests.empty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(g.XAxis().Min(), -1.0);
        QCOMPARE(g.YAxis().Min(), 0.01);
        QCOMPARE(g.YAxis().Max(), 0.5);
        Paint(g);
        QVERIFY(g.XAxis().Scale().valid && g.YAxis().Scale().valid);
    }

    void cleanup() {
        QToolTip::hideText();
        DeleteClosedWindows();
    }
};

QTEST_MAIN(GraphInteractionTest)
#include "graph_interaction_test.moc"
