// The three graph window classes: layout, settings, the cascade, filling, closing, help, export,
// and questioning the charts with the mouse. Boxes and file dialogs are answered through the
// Dialogs seam.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>
#include <cmath>
#include <memory>

#include "chart/chart_interaction.h"
#include "chart/xy_graph.h"
#include "ui/common/help.h"
#include "ui/common/ui_test_support.h"
#include "ui/graph/axis_range_dialog.h"
#include "ui/graph/create_graph_window.h"
#include "ui/graph/dg1_graph1.h"
#include "ui/graph/gmc_graph1.h"
#include "ui/graph/graph_window.h"
#include "ui/graph/graph_window_counter.h"
#include "ui/graph/mg1_graph_form.h"

using namespace wachtrix;
using namespace wachtrix::ui;
using wachtrix::testing::Child;
using wachtrix::testing::DataText;
using wachtrix::testing::DeleteClosedWindows;
using wachtrix::testing::DialogRecorder;

namespace {

std::unique_ptr<GraphWindow> Make(GraphWindowKind kind) {
    switch (kind) {
        case GraphWindowKind::MG1:
            return std::make_unique<TMG1_GraphForm>();
        case GraphWindowKind::DG1:
            return std::make_unique<TDG1_Graph1>();
        case GraphWindowKind::GMC:
            break;
    }
    return std::make_unique<TGMC_Graph1>();
}

// A window as tests/data/ui/graph_windows.txt writes it.
QStringList Described(const GraphWindow& w) {
    QStringList lines{"caption \"" + w.windowTitle() + '"' +
                      (w.testAttribute(Qt::WA_DeleteOnClose) ? ", deleted on close" : "")};
    for (int i = 0; i < w.labelCount(); ++i) {
        const QLabel* l = w.label(i);
        lines << "label " + l->objectName() + " \"" + l->text() + '"' +
                     (l->font().underline() ? ", underlined" : "") +
                     (l->wordWrap() ? ", wrapped" : "");
    }
    for (const QPushButton* b : w.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        lines << "button " + b->objectName() + " \"" + b->text() + '"' +
                     (b->toolTip().isEmpty() ? "" : ", hint \"" + b->toolTip() + '"');
    for (int i = 0; i < w.chartCount(); ++i) {
        const chart::TxyGraph& g = *w.chart(i);
        lines << QString::asprintf("chart %s %d x %d: \"%s\", x \"%s\", y \"%s\"",
                                   qPrintable(g.objectName()), g.width(), g.height(),
                                   g.Appearance().GraphTitle().c_str(), g.XAxis().Title().c_str(),
                                   g.YAxis().Title().c_str());
    }
    return lines;
}

// The settings of a chart that are the same on every graph window.
QStringList Settings(const chart::TxyGraph& g) {
    const auto& x = g.XAxis();
    const auto& y = g.YAxis();
    const auto& look = g.Appearance();
    return {QString::asprintf("x axis: log %d, auto size %d, auto step %d, grid lines %d",
                              x.LogScale(), x.AutoSizing(), x.AutoStepping(), x.Gridlines()),
            QString::asprintf("y axis: log %d, auto size %d, auto step %d, %g..%g, label "
                              "decimals %d",
                              y.LogScale(), y.AutoSizing(), y.AutoStepping(), y.Min(), y.Max(),
                              y.LabelDecimals()),
            QString::asprintf("second y axis shown %d", g.YAxis_Second().ShowAxis()),
            QString::asprintf("error caption \"%s\"", look.ErrorCaption().c_str()),
            QString::asprintf("background %06X, margins %06X, cross at zero %d",
                              look.BackgroundColor(), look.MarginColor(), look.CrossAtZero()),
            QString::asprintf("left margin %d, y title offset %d, legend width %d, plotting %d",
                              g.Dimensions().LeftMargin(), g.Dimensions().YAxisTitleOffset(),
                              g.Legend().width().value_or(-1), g.Plotting())};
}

ChartPlot Plot(int count) {
    std::vector<ChartPoint> points;
    for (int i = count; i >= 1; --i)
        points.push_back({0.25 * i, std::pow(0.5, i)});
    return MarksOrLine(points);
}

ChartPlot SeriesPlot(int series, std::vector<ChartPoint> points) {
    ChartPlot plot = MarksOrLine(std::move(points));
    plot.series = series;
    return plot;
}

// Survival curves halving (series 1) and fifthing (series 2) per step of 0.25.
ChartPlot Halving() {
    return SeriesPlot(1, {{0.25, 0.5}, {0.5, 0.25}, {0.75, 0.125}, {1, 0.0625}});
}
ChartPlot Fifthing() {
    ChartPlot plot = SeriesPlot(2, {{0.25, 0.2}, {0.5, 0.04}, {0.75, 0.008}, {1, 0.0016}});
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

// How far apart two values are in pixels of an axis of that many decades over that height.
double LogPixels(double a, double b, double decades, double pixels) {
    return std::fabs(std::log10(a / b)) / decades * pixels;
}

}  // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT
private slots:
    void runsCascadeByTwentyPixelsAndClosingDoesNotStepBack() {
        QWidget owner;
        std::vector<QPointer<GraphWindow>> windows;
        for (int run = 0; run < 3; ++run) {
            windows.push_back(CreateGraphWindow(GraphWindowKind::DG1, &owner, {}));
            QVERIFY(windows.back()->isWindow());
            QVERIFY(!windows.back()->isVisible());  // shown by the host once filled
        }
        QCOMPARE(windows[1]->pos() - windows[0]->pos(), QPoint(20, 20));
        QCOMPARE(windows[2]->pos() - windows[1]->pos(), QPoint(20, 20));

        // Closing a window does not set the counter back.
        const QPoint lastAt = windows[2]->pos();
        windows[2]->show();
        windows[2]->close();
        DeleteClosedWindows();
        QVERIFY(windows[2].isNull());
        GraphWindow* next = CreateGraphWindow(GraphWindowKind::DG1, &owner, {});
        QCOMPARE(next->pos() - lastAt, QPoint(20, 20));
        const int counter = TakeGraphWindowCounter();
        QCOMPARE(TakeGraphWindowCounter(), counter + 1);
    }

    void cascadeWrapsAroundTheScreen() {
        const QRect screen(0, 0, 1600, 1000);
        const QSize window(372, 450);
        QCOMPARE(CascadePosition({160, 80}, 0, window, screen), QPoint(160, 80));
        QCOMPARE(CascadePosition({160, 80}, 1, window, screen), QPoint(180, 100));
        // (160 + 600) mod 1228, (80 + 600) mod 550
        QCOMPARE(CascadePosition({160, 80}, 30, window, screen), QPoint(760, 130));
        // On a second screen the wrap is within that screen.
        QCOMPARE(CascadePosition({160, 80}, 30, window, screen.translated(1600, 0)),
                 QPoint(2360, 130));
        // A window as large as the screen cannot wrap: it steps on.
        QCOMPARE(CascadePosition({160, 80}, 2, QSize(1600, 1000), screen), QPoint(200, 120));
    }

    void eachClassAsLaidOut_data() {
        QTest::addColumn<GraphWindowKind>("kind");
        QTest::newRow("MG1") << GraphWindowKind::MG1;
        QTest::newRow("DG1") << GraphWindowKind::DG1;
        QTest::newRow("GMC") << GraphWindowKind::GMC;
    }
    // Labels, buttons and charts as laid out; the client area ends ten pixels beyond the charts,
    // and nothing overlaps them. Help opens context ten with the shared help picture.
    void eachClassAsLaidOut() {
        QFETCH(GraphWindowKind, kind);
        const auto w = Make(kind);
        QCOMPARE(Described(*w), DataText("graph_windows.txt", QTest::currentDataTag()));
        for (int i = 0; i < w->chartCount(); ++i)
            QCOMPARE(Settings(*w->chart(i)), DataText("graph_windows.txt", "every chart"));

        const QRect upper = w->chart(0)->geometry();
        const QRect lowest = w->chart(w->chartCount() - 1)->geometry();
        QCOMPARE(w->width(), upper.left() + upper.width() + 10);
        QCOMPARE(w->height(), lowest.top() + lowest.height() + 10);
        QCOMPARE(w->size(), w->designedClientSize());
        for (QWidget* child : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (child->isVisibleTo(w.get()) && !qobject_cast<chart::TxyGraph*>(child))
                for (int i = 0; i < w->chartCount(); ++i)
                    QVERIFY2(!child->geometry().intersects(w->chart(i)->geometry()),
                             qPrintable(child->objectName()));

        ShowHelpContext(12);
        auto* help = Child<QPushButton>(w.get(), "Help_button");
        QTest::mouseClick(help, Qt::LeftButton);
        QCOMPARE(LastHelpContext(), 10);
        QCOMPARE(help->icon().pixmap(16, 16).toImage(), HelpIcon().pixmap(16, 16).toImage());
    }

    void labelCaptionsInClassOrder() {
        TGMC_Graph1 w;
        w.setLabelCaptions({"Logarithmic Graph of the finite source queue", "", "c=3", "rho=0.7"});
        // Not given: left as laid out.
        for (const auto& [label, caption] :
             {std::pair{"Title_label", "Logarithmic Graph of the finite source queue"},
              {"CA2_label", ""},
              {"c_label", "c=3"},
              {"Rho_label", "rho=0.7"},
              {"Service_label", "Erlangian Services "}})
            QCOMPARE(w.findChild<QLabel*>(label)->text(), QString(caption));
        // More captions than labels: the rest is ignored.
        TDG1_Graph1 d;
        d.setLabelCaptions({"a", "b", "c", "d", "e", "f"});
        QCOMPARE(d.findChild<QLabel*>("Service_label")->text(), QString("d"));
    }

    void applyPlotFollowsTheCallingPattern() {
        TMG1_GraphForm w;
        chart::TxyGraph& g = *w.chart(1);
        chart::TSeries& s = g.Series(1);
        s.SetAutoZero(true);
        s.Axis = chart::SeriesAxis::YAxis_Second;
        s.AddPoint(99, 99);

        QVERIFY(w.applyPlot(1, Plot(20)));
        QCOMPARE(s.Count(), 20);  // the old point cleared
        QCOMPARE(s.Points().front().X, 0.25);
        QCOMPARE(s.Points().back().X, 5.0);  // added from 5 down, kept ascending
        QVERIFY(!s.AutoZero());
        QCOMPARE(s.ZeroValue(), 0.0);
        QCOMPARE(s.Axis(), chart::SeriesAxis::YAxis);
        QCOMPARE(s.Color(), chart::TColor{0xFF0000});
        QVERIFY(s.DrawPoints && !s.DrawLine);
        QVERIFY(g.Plotting());
        QVERIFY(!w.isVisible());

        QVERIFY(w.applyPlot(1, Plot(30)));
        QCOMPARE(s.Count(), 30);
        QVERIFY(!s.DrawPoints && s.DrawLine);
        QCOMPARE(w.chart(0)->AllSeries().Count(), 0);  // the other chart untouched
        QVERIFY(!w.applyPlot(2, Plot(3)));
        QVERIFY(!w.applyPlot(-1, Plot(3)));
    }

    void applyPlotTakesTheModelsOverrides() {
        TGMC_Graph1 w;
        ChartPlot plot = Plot(10);
        plot.series = 2;
        plot.color = kChartRed;
        plot.graphTitle = "P(N(t)>n)";
        plot.xAxis.title = "n";
        plot.yAxis.min = 1e-4;
        plot.yAxis.autoSizing = true;
        QVERIFY(w.applyPlot(0, plot));
        const chart::TxyGraph& g = *w.chart(0);
        QCOMPARE(g.Appearance().GraphTitle(), std::string("P(N(t)>n)"));
        QCOMPARE(g.XAxis().Title(), std::string("n"));
        QCOMPARE(g.YAxis().Title(), std::string("Probability"));  // not overridden
        QCOMPARE(g.YAxis().Min(), 1e-4);
        QVERIFY(g.YAxis().AutoSizing);
        QCOMPARE(g.AllSeries().Count(), 1);
        QCOMPARE(g.AllSeries().Find(2)->Color(), chart::TColor{0x0000FF});
    }

    void closeButtonAndOwnerFreeTheWindow() {
        auto owner = std::make_unique<QWidget>();
        QPointer<GraphWindow> byButton = CreateGraphWindow(GraphWindowKind::MG1, owner.get(), {});
        QPointer<GraphWindow> byOwner = CreateGraphWindow(GraphWindowKind::GMC, owner.get(), {});
        byButton->show();
        QTest::mouseClick(byButton->findChild<QPushButton*>("MG1_Graph_Close_button"),
                          Qt::LeftButton);
        DeleteClosedWindows();
        QVERIFY(byButton.isNull());
        QVERIFY(!byOwner.isNull());
        owner.reset();
        QVERIFY(byOwner.isNull());
    }

    void chartsGrowWithTheWindow() {
        TMG1_GraphForm w;
        const QSize designed = w.size();
        w.show();
        w.resize(designed + QSize(100, 60));
        QCOMPARE(w.chart(0)->size(), QSize(400, 238));
        QCOMPARE(w.chart(1)->size(), QSize(400, 238));
        const QRect lowest = w.chart(1)->geometry();
        QCOMPARE(w.height(), lowest.top() + lowest.height() + 10);
        QCOMPARE(w.minimumSize(), designed);
    }

    void exportMenusOfferEveryChart() {
        const QStringList actions = {"CopyChartAction", "SaveChartImageAction",
                                     "SaveChartDataAction"};
        TDG1_Graph1 one;
        auto* button = one.findChild<QToolButton*>("Export_button");
        QVERIFY(button && button->menu());
        for (const QString& name : actions)
            QVERIFY(button->menu()->findChild<QAction*>(name));
        QCOMPARE(one.chart(0)->contextMenuPolicy(), Qt::CustomContextMenu);

        TMG1_GraphForm two;
        QMenu* menu = two.findChild<QToolButton*>("Export_button")->menu();
        QVERIFY(menu);
        QList<QMenu*> perChart;
        for (QAction* a : menu->actions())
            if (a->menu()) perChart << a->menu();
        QCOMPARE(perChart.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(perChart[i]->parent(), static_cast<QObject*>(two.chart(i)));
            for (const QString& name : actions)
                QVERIFY(perChart[i]->findChild<QAction*>(name));
        }
    }

    // Saved images carry the window's lines under the chart; the CSV names its columns after the
    // chart's titles; a copy is the chart alone.
    void savesChartAsPngSvgAndCsvAndCopiesIt() {
        DialogRecorder boxes;
        QTemporaryDir dir;
        TMG1_GraphForm w;
        w.setLabelCaptions(
            {"Logarithmic Graphs of the M/G/1 queue", "CS2=0.5", "Rho=0.8", "Erlangian Services"});
        w.applyPlot(0, Plot(3));
        chart::TxyGraph& g = *w.chart(0);
        const QList<FileDialogRequest>& asked = boxes.fileRequests;
        const auto save = [&](const char* action, const QString& file) {
            boxes.fileName = dir.filePath(file);
            g.findChild<QAction*>(action)->trigger();
            return testing::ReadBytes(boxes.fileName);
        };

        QImage png;
        QVERIFY(png.loadFromData(save("SaveChartImageAction", "wait.png")));
        QCOMPARE(png.width(), g.width() * 2);
        QVERIFY(png.height() > 2 * g.height() + 4 * 2 * 10);  // four lines of text at least
        // Ink under the chart: the lines are drawn, not only room left for them.
        int dark = 0;
        for (int y = 2 * g.height(); y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x)
                dark += qGray(png.pixel(x, y)) < 128 ? 1 : 0;
        QVERIFY(dark > 100);
        QVERIFY(asked.back().save);
        QCOMPARE(asked.back().defaultSuffix, QString("png"));

        const QByteArray svg = save("SaveChartImageAction", "wait.svg");
        for (const char* text : {"<svg", "P(Wq&gt;t | Wq&gt;0)",
                                 "Logarithmic Graphs of the M/G/1 queue", "CS2=0.5", "Rho=0.8"})
            QVERIFY2(svg.contains(text), text);

        QCOMPARE(QString::fromUtf8(save("SaveChartDataAction", "wait.csv")).split('\n'),
                 DataText("graph_windows.txt", "wait.csv") << "");
        QCOMPARE(asked.back().defaultSuffix, QString("csv"));
        QVERIFY(boxes.requests.empty());

        QGuiApplication::clipboard()->clear();
        g.findChild<QAction*>("CopyChartAction")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), g.size() * 2);
    }

    void failedSaveIsReportedAndCancelWritesNothing() {
        DialogRecorder boxes;
        QTemporaryDir dir;
        TDG1_Graph1 w;
        w.applyPlot(0, Plot(3));
        const QString unreachable = dir.filePath("no such folder/chart.png");
        boxes.fileName = unreachable;
        w.chart(0)->findChild<QAction*>("SaveChartImageAction")->trigger();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::Error);
        QCOMPARE(boxes.requests[0].title, QString("Graph"));
        QVERIFY2(boxes.requests[0].text.startsWith("Could not save \"" +
                                                   QDir::toNativeSeparators(unreachable)),
                 qPrintable(boxes.requests[0].text));
        QVERIFY(!QFile::exists(unreachable));

        boxes.requests.clear();
        boxes.fileName.clear();  // cancelled
        w.chart(0)->findChild<QAction*>("SaveChartDataAction")->trigger();
        QVERIFY(boxes.requests.empty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
    }

    // Questioning a graph window's charts with the mouse and the context menu: readout, zoom
    // and reset, legend, linear or logarithmic y axis, axis ranges.
    // Each series reports its point nearest the mouse along x, named when there are several,
    // in the axis labels' format (two decimals more than the labels there).
    void readoutShowsTheNearestPointOfEachSeries() {
        TMG1_GraphForm w;
        w.applyPlot(0, Halving());
        w.applyPlot(0, Fifthing());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
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
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
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

        w.applyPlot(0, SeriesPlot(2, {}));  // the second series emptied
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
        w.applyPlot(0, SeriesPlot(2, {{0.5, 0.0}, {1, 0.1}}));
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
        for (const QStringList& r : testing::DataRows("graph_windows.txt", "refused ranges")) {
            boxes.requests.clear();
            yMin->setText(r.at(0));
            yMax->setText(r.at(1));
            ok->click();
            QCOMPARE(boxes.requests.size(), 1);
            QCOMPARE(boxes.requests[0].kind, DialogKind::Error);
            QCOMPARE(boxes.requests[0].title, QString("Axis Ranges"));
            QCOMPARE(boxes.requests[0].text, r.at(2));
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
        // An open help window would take the mouse of the next test.
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "HelpWindow") top->close();
        DeleteClosedWindows();
    }
};

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
