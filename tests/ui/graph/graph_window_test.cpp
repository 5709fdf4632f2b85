// The three graph window classes: layout, settings, the cascade, filling, closing, help and
// export. Boxes and file dialogs are answered through the Dialogs seam.

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "chart/xy_graph.h"
#include "ui/common/help.h"
#include "ui/common/ui_test_support.h"
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

        QCOMPARE(save("SaveChartDataAction", "wait.csv"), QByteArray("# P(Wq>t | Wq>0)\n"
                                                                     "series,Time t,Probability\n"
                                                                     "1,0.25,0.5\n"
                                                                     "1,0.5,0.25\n"
                                                                     "1,0.75,0.125\n"));
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

    void cleanup() { DeleteClosedWindows(); }
};

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
