// The chart widget as painted: where the series lands, what an invalid axis leaves, when it
// repaints. Images are checked structurally (colour classes within regions), not pixel by pixel.

#include <QImage>
#include <QtTest>
#include <cmath>
#include <functional>

#include "chart/qt_look.h"
#include "chart/xy_graph.h"

using namespace wachtrix::chart;

namespace {

constexpr TColor kBlue = 0xFF0000;

// Blue-dominated, also where antialiasing blends the series into the white background.
bool IsSeriesBlue(QRgb p) {
    return qBlue(p) > 150 && qRed(p) < 120 && qGreen(p) < 120;
}
bool IsDark(QRgb p) {
    return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90;
}
bool IsRed(QRgb p) {
    return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
}

int Count(const QImage& image, const QRect& region, const std::function<bool(QRgb)>& is) {
    int n = 0;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (is(image.pixel(x, y))) ++n;
    return n;
}

// The middle band of the plot area, where only an error caption or series could be.
QRect CaptionBand(const TxyGraph& g) {
    const QRect plot = g.PlotRect().toRect();
    return QRect(plot.left() + 10, plot.center().y() - 10, plot.width() - 20, 20);
}

// As the graph windows lay out their waiting-time chart.
void LayOutLikeTheGraphWindows(TxyGraph& g) {
    g.resize(300, 208);
    g.XAxis().AutoSizing = true;
    g.YAxis().LogScale = true;
    g.YAxis().Min = 0.001;
    g.YAxis().Max = 1.0;
    g.YAxis().AutoSizing = false;
    g.YAxis().AutoStepping = false;
    g.YAxis_Second().ShowAxis = false;
    g.Appearance().BackgroundColor = 0xFFFFFF;
    g.Appearance().MarginColor = 0xFFFFFF;
    g.Dimensions().LeftMargin = 50;
}

void Fill(TxyGraph& g, int points, bool line, double (*y)(double)) {
    g.SetPlotting(false);
    TSeries& s = g.Series(1);
    s.Clear();
    s.DrawPoints = !line;
    s.DrawLine = line;
    s.Color = kBlue;
    for (int i = 1; i <= points; ++i) {
        const double x = 5.0 * i / points;
        s.AddPoint(x, y(x));
    }
    g.SetPlotting(true);
}

double Decay(double x) {
    return std::exp(-1.5 * x);
}

}  // namespace

class XyGraphTest : public QObject {
    Q_OBJECT
private slots:
    // Marks and lines are cut at the edge of the plot area.
    void seriesAreClippedToThePlotArea() {
        TxyGraph g;
        LayOutLikeTheGraphWindows(g);
        // The tail falls below the axis minimum 0.001: its marks must be cut at the plot edge.
        Fill(g, 20, false, [](double x) { return std::exp(-2.0 * x); });
        QImage image = g.grab().toImage();
        const QRect plot = g.PlotRect().toRect();
        QVERIFY(Count(image, plot, IsSeriesBlue) > 20 * 9);  // about 36 pixels per mark
        QCOMPARE(Count(image, image.rect(), IsSeriesBlue), Count(image, plot, IsSeriesBlue));
        // Exactly the series colour inside the marks.
        QVERIFY(Count(image, plot, [](QRgb p) { return p == qRgb(0, 0, 255); }) > 20 * 4);

        // Beyond both ends of the fixed y range 0.001..1 (5 down to 1e-5), and far beyond: 1e300.
        Fill(g, 300, true, [](double x) { return x < 0.1 ? 1e300 : 5 * std::exp(-2.6 * x); });
        image = g.grab().toImage();
        QVERIFY(Count(image, plot, IsSeriesBlue) > 50);
        QCOMPARE(Count(image, image.rect(), IsSeriesBlue), Count(image, plot, IsSeriesBlue));
    }

    // A zero on a log axis: on the fixed axis the series is skipped with a log error; an
    // auto-sized axis cannot take it at all and shows the error caption instead of the series.
    void zeroOnALogAxisSkipsTheSeries() {
        TxyGraph g;
        LayOutLikeTheGraphWindows(g);
        Fill(g, 20, false, Decay);
        std::vector<int> logErrors;
        g.OnLogError = [&](TxyGraph&, const TSeries& s) { logErrors.push_back(s.Number()); };
        g.Series(1).AddPoint(5.5, 0);
        QImage image = g.grab().toImage();
        QCOMPARE(logErrors, std::vector<int>{1});
        QCOMPARE(Count(image, image.rect(), IsSeriesBlue), 0);
        QCOMPARE(Count(image, CaptionBand(g), IsDark), 0);

        int scaleErrors = 0;
        g.OnScaleError = [&](TxyGraph&) { ++scaleErrors; };
        g.YAxis().AutoSizing = true;
        image = g.grab().toImage();
        QVERIFY(!g.YAxis().Scale().valid);
        QVERIFY(g.XAxis().Scale().valid);
        QVERIFY(scaleErrors > 0);
        QCOMPARE(Count(image, image.rect(), IsSeriesBlue), 0);
        QVERIFY(Count(image, CaptionBand(g), IsDark) > 100);  // "MAX/MIN VALUES INCONSISTENT"
    }

    void seriesWaitForPlotting() {
        TxyGraph g;
        LayOutLikeTheGraphWindows(g);
        Fill(g, 20, false, Decay);
        g.SetPlotting(false);
        QImage image = g.grab().toImage();
        QCOMPARE(Count(image, image.rect(), IsSeriesBlue), 0);
        QVERIFY(Count(image, image.rect(), IsDark) > 0);  // the axes are there
        g.SetPlotting(true);
        image = g.grab().toImage();
        QVERIFY(Count(image, image.rect(), IsSeriesBlue) > 0);
    }

    void gridLinesAreDotted() {
        TxyGraph g;
        LayOutLikeTheGraphWindows(g);
        const QImage image = g.grab().toImage();
        const QRect plot = g.PlotRect().toRect();
        // The grid line of 0.01, a third of the way up a three-decade axis.
        const int row = qRound(g.PlotRect().bottom() - g.PlotRect().height() / 3);
        const QRect line(plot.left() + 1, row, plot.width() - 2, 1);
        const auto grid = [](QRgb p) { return p == qRgb(0xC0, 0xC0, 0xC0); };
        const int dots = Count(image, line, grid);
        QVERIFY2(dots > line.width() / 5, "no grid line at 0.01");
        QVERIFY2(dots < line.width() * 2 / 3, "the grid line is solid, not dotted");
        // Nothing between the decades' lines but the minor ones: a row in mid-decade is blank.
        const int blankRow = qRound(g.PlotRect().bottom() - g.PlotRect().height() / 12);
        QCOMPARE(Count(image, QRect(plot.left() + 1, blankRow, plot.width() - 2, 1), grid), 0);
    }

    // The cross marks a point at the origin, on linear axes only.
    void zeroCrossOnlyAtAPointOnLinearAxes() {
        TxyGraph g;
        g.resize(300, 208);
        g.Appearance().BackgroundColor = 0xFFFFFF;
        g.XAxis().AutoSizing = false;
        g.XAxis().Min = -1;
        g.XAxis().Max = 1;
        g.YAxis().AutoSizing = false;
        g.YAxis().Min = -1;
        g.YAxis().Max = 1;
        g.Series(1).DrawPoints = false;  // the cross alone, not covered by the point
        g.Series(1).DrawLine = false;
        g.Series(1).AddPoint(0.5, 0);
        const QPoint centre = g.PlotRect().toRect().center();
        const QRect aroundCentre(centre - QPoint(6, 6), QSize(13, 13));
        QCOMPARE(Count(g.grab().toImage(), aroundCentre, IsRed), 0);
        g.Series(1).AddPoint(0, 0);
        const QImage linear = g.grab().toImage();
        QVERIFY(Count(linear, aroundCentre, IsRed) >= 8);
        g.YAxis().LogScale = true;
        const QImage log = g.grab().toImage();
        QCOMPARE(Count(log, log.rect(), IsRed), 0);
    }

    // The scale the axes record is the mouse's (graph_window_test.cpp) and the queue graphs'
    // (queue_window_test.cpp); here, that a new one is reported once.
    void rescaleIsReportedOnce() {
        TxyGraph g;
        g.resize(300, 208);
        int rescales = 0;
        g.OnRescale = [&](TxyGraph&) { ++rescales; };
        g.SetPlotting(false);
        g.Series(1).AddPoint(0, 1);
        g.Series(1).AddPoint(37, 2);
        g.SetPlotting(true);
        g.grab();
        QCOMPARE(rescales, 1);
        g.grab();  // nothing changed since
        QCOMPARE(rescales, 1);
    }

    // The graph reports the series its list creates and deletes (the list's order and look-up
    // are the series list's tests).
    void newAndDeletedSeriesAreReported() {
        TxyGraph g;
        std::vector<int> created, deleted;
        g.OnNewSeries = [&](TxyGraph&, TSeries& s) { created.push_back(s.Number()); };
        g.OnDeleteSeries = [&](TxyGraph&, TSeries& s) { deleted.push_back(s.Number()); };
        g.Series(2);
        g.Series(1);
        g.Series(2);
        QCOMPARE(created, (std::vector<int>{2, 1}));
        QCOMPARE(g.AllSeries().Count(), 2);
        QVERIFY(g.DeleteSeries(2));
        QVERIFY(!g.DeleteSeries(2));
        QCOMPARE(deleted, std::vector<int>{2});
    }

    void settingsRepaintOnlyWhilePlotting() {
        TxyGraph g;
        g.resize(300, 208);
        int paints = 0;
        g.OnPaintEnd = [&](TxyGraph&, QPainter&) { ++paints; };
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QTRY_VERIFY(paints > 0);

        g.SetPlotting(false);
        paints = 0;
        g.XAxis().Title = "Time t";
        g.Series(1).AddPoint(1, 1);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(paints, 0);

        g.SetPlotting(true);
        QTRY_COMPARE(paints, 1);
        paints = 0;
        g.XAxis().Title = "Time t";  // unchanged: nothing to repaint
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(paints, 0);
        g.XAxis().Title = "State n";
        QTRY_COMPARE(paints, 1);
    }

    void legendShowsTheSeriesThatAskForIt() {
        TxyGraph g;
        LayOutLikeTheGraphWindows(g);
        g.Legend().visible = true;
        g.Legend().top = 2;
        g.Legend().height = 16;
        TSeries& s = g.Series(1);
        s.Color = kBlue;
        s.AddPoint(100, 0.5);  // far right of the plot: only the legend can be blue at the top
        g.XAxis().AutoSizing = false;
        const QRect legend(10, 2, 280, 16);
        QCOMPARE(Count(g.grab().toImage(), legend, IsSeriesBlue), 0);
        s.ShowInLegend = true;
        QVERIFY(Count(g.grab().toImage(), legend, IsSeriesBlue) > 10);
    }

    void secondAxisSeriesUsesItsOwnScale() {
        TxyGraph g;
        g.resize(300, 208);
        g.Appearance().BackgroundColor = 0xFFFFFF;
        g.XAxis().AutoSizing = false;
        g.YAxis().AutoSizing = false;  // 0..1
        g.YAxis_Second().AutoSizing = false;
        g.YAxis_Second().Min = 0;
        g.YAxis_Second().Max = 100;
        TSeries& s = g.Series(1);
        s.Color = kBlue;
        s.DrawLine = false;
        s.AddPoint(0.5, 50);  // off the first y axis, mid-height on the second
        QCOMPARE(Count(g.grab().toImage(), g.PlotRect().toRect(), IsSeriesBlue), 0);
        s.Axis = SeriesAxis::YAxis_Second;
        const QImage image = g.grab().toImage();
        const QPoint centre = g.PlotRect().toRect().center();
        QVERIFY(Count(image, QRect(centre - QPoint(4, 4), QSize(9, 9)), IsSeriesBlue) > 10);
    }

    // Day 45000 after 30 December 1899 is 15 March 2023; m is the month, n the minute. Colours
    // are held blue, green, red: three different bytes, each landing in its own channel.
    void timeLabelsAndColoursConvert() {
        QCOMPARE(TimeLabel(45000.5, "dd-mmm"), QString("15-Mar"));
        QCOMPARE(TimeLabel(45000.75, "dd/mm/yyyy hh:nn"), QString("15/03/2023 18:00"));
        QCOMPARE(TimeLabel(1, "yyyy-mm-dd"), QString("1899-12-31"));
        QCOMPARE(ToQColor(0x123456), QColor(0x56, 0x34, 0x12));
    }
};

QTEST_MAIN(XyGraphTest)
#include "xy_graph_test.moc"
