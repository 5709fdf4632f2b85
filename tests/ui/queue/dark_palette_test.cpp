#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <cmath>

#include "chart/xy_graph.h"
#include "ui/queue/results_panel.h"

using namespace wachtrix;

namespace {

// WCAG 2: relative luminance of sRGB, ratio of the lighter to the darker plus 0.05 each.
double Contrast(QColor a, QColor b) {
    const auto lum = [](QColor c) {
        const auto lin = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The pixel of column x, rows top to bottom, that stands out most from the ground.
double Strongest(const QImage& image, int x, int top, int bottom, QColor ground) {
    double best = 1;
    for (int y = std::max(0, top); y <= std::min(image.height() - 1, bottom); ++y)
        best = std::max(best, Contrast(image.pixelColor(x, y), ground));
    return best;
}

}  // namespace

// A dark desktop theme: the Results text and the chart's axes and series stay readable.
class DarkPaletteTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QPalette dark;
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            dark.setColor(role, QColor(0x20, 0x20, 0x24));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, QColor(0xE8, 0xE8, 0xE8));
        QApplication::setPalette(dark);
    }

    void resultStylesReadOnTheDarkPanel() {
        ui::ResultsPanel panel;
        const ResultTextStyle styles[] = {ResultTextStyle::Title, ResultTextStyle::Bold,
                                          ResultTextStyle::Underline, ResultTextStyle::Normal};
        for (const ResultTextStyle style : styles)
            panel.addLine("M/M/c  c = 2", style);
        const QColor base = panel.palette().color(QPalette::Base);
        QVERIFY(base.lightness() < 64);
        int k = 0;
        for (QTextBlock b = panel.document()->begin(); b.isValid(); b = b.next(), ++k) {
            const QColor ink = b.begin().fragment().charFormat().foreground().color();
            QVERIFY2(Contrast(ink, base) >= 4.5, qPrintable(QString::number(k)));
        }
        QCOMPARE(k, 4);
        // Saved and printed, the lines are on white paper again.
        const auto paper = panel.paperDocument();
        for (QTextBlock b = paper->begin(); b.isValid(); b = b.next())
            QVERIFY(Contrast(b.begin().fragment().charFormat().foreground().color(), Qt::white) >=
                    4.5);
    }

    void chartAxesAndSeriesReadOnTheirBackground() {
        chart::TxyGraph graph;
        graph.resize(400, 300);
        graph.SetPlotting(false);
        graph.XAxis().Gridlines = false;
        graph.YAxis().Gridlines = false;
        chart::TSeries& s = graph.Series(1);
        s.Color = 0xFF0000;  // pure blue, the hardest of the series colours on a dark ground
        s.DrawLine = false;
        s.FillPoints = true;
        s.PointSize = 6;
        for (int i = 0; i <= 100; ++i)
            s.AddPoint(i / 100.0, 0.5);
        s.AddPoint(0.5, 0);  // the y axis from 0 to 1: the band across the middle
        s.AddPoint(0.5, 1);
        graph.SetPlotting(true);
        const QImage image = graph.grab().toImage();
        const QRect plot = graph.PlotRect().toRect();
        const QColor ground = image.pixelColor(plot.left() + 3, plot.top() + 3);
        QVERIFY(ground.lightness() < 64);
        const int column = plot.left() + plot.width() * 3 / 7;
        // The x axis lies along the plot's bottom; the band of marks somewhere above it.
        QVERIFY(Strongest(image, column, plot.bottom() - 2, plot.bottom() + 2, ground) >= 4.5);
        QVERIFY(Strongest(image, column, plot.top() + 4, plot.bottom() - 4, ground) >= 4.5);
    }
};

QTEST_MAIN(DarkPaletteTest)
#include "dark_palette_test.moc"
