// The Networks window driven through its widgets: an open tandem solved as independent M/M/c
// queues, refusals that name and select the cell, the populations graph of a closed network
// against the exact throughput, and a network saved and opened again.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <memory>

#include "chart/xy_graph.h"
#include "ui/common/ui_test_support.h"
#include "ui/graph/graph_window.h"
#include "ui/markov/string_grid.h"
#include "ui/network/network_window.h"

using wachtrix::testing::Child;
using wachtrix::testing::DialogRecorder;
using namespace wachtrix::ui;

namespace {

// The figures after "X =", "E(L) =" and "E(T) =" on the report's "Network:" line.
std::vector<double> NetworkLine(const QString& report) {
    const QRegularExpression line(R"(Network:\s+X = (\S+)\s+E\(L\) = (\S+)\s+E\(T\) = (\S+))");
    const auto match = line.match(report);
    if (!match.hasMatch()) return {};
    return {match.captured(1).toDouble(), match.captured(2).toDouble(),
            match.captured(3).toDouble()};
}

}  // namespace

class NetworkWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogRecorder> boxes;
    std::unique_ptr<TNetworks> window;

    TStringGrid* stations() const { return Child<TStringGrid>(window.get(), "sgStations"); }
    TStringGrid* routing() const { return Child<TStringGrid>(window.get(), "sgRouting"); }
    QTabWidget* pages() const { return Child<QTabWidget>(window.get(), "NetworkPages"); }
    QString report() const { return Child<QTextEdit>(window.get(), "MemoResults")->toPlainText(); }
    void Run() { Child<QPushButton>(window.get(), "RunBtn")->click(); }

    // Kind, stations "c S gamma" and the routing rows, typed into the window.
    void Enter(int kind, const std::vector<QStringList>& stationRows,
               const std::vector<QStringList>& routingRows) {
        Child<QComboBox>(window.get(), "cbKind")->setCurrentIndex(kind);
        Child<QSpinBox>(window.get(), "seStations")->setValue(int(stationRows.size()));
        for (int k = 0; k < int(stationRows.size()); ++k) {
            for (int column = 0; column < stationRows[k].size(); ++column)
                stations()->setCell(k, column, stationRows[k][column]);
            for (int j = 0; j < int(routingRows[k].size()); ++j)
                routing()->setCell(k, j, routingRows[k][j]);
        }
    }

private slots:
    void init() {
        boxes = std::make_unique<DialogRecorder>();
        window = std::make_unique<TNetworks>();
        window->show();
    }
    void cleanup() {
        window.reset();
        boxes.reset();
    }

    // Jackson: station 1 an M/M/1 at rho 0.5 (E(L) = 1), station 2 an M/M/2 at rho 0.75
    // (E(L) = 2 rho / (1 - rho^2) = 24/7); everyone passes both and leaves.
    void openTandemIsTwoIndependentQueues() {
        Enter(0, {{"1", "0.5", "1"}, {"2", "1.5", "0"}}, {{"0", "1"}, {"0", "0"}});
        Run();
        QVERIFY2(boxes->texts().isEmpty(), qPrintable(boxes->texts().join('\n')));
        QCOMPARE(pages()->currentIndex(), int(TNetworks::ResultsPage));
        const std::vector<double> network = NetworkLine(report());
        QCOMPARE(network.size(), std::size_t(3));
        const double EL = 1 + 24.0 / 7;
        QCOMPARE(network[0], 1.0);
        QVERIFY(std::fabs(network[1] - EL) < 1e-6 * EL);
        QVERIFY(std::fabs(network[2] - EL) < 1e-6 * EL);  // Little, with X = 1
    }

    void refusalsNameAndSelectTheCell() {
        Enter(0, {{"1", "0.5", "1"}, {"1", "0.5", "0"}}, {{"0", "1"}, {"0.7", "0.5"}});
        Run();
        QCOMPARE(boxes->requests.size(), 1);
        QVERIFY2(boxes->texts().front().contains("Row 2"), qPrintable(boxes->texts().front()));
        QCOMPARE(pages()->currentIndex(), int(TNetworks::InputPage));
        QCOMPARE(routing()->currentRow(), 1);
        QVERIFY(report().isEmpty());

        stations()->setCell(1, 1, "1,5");  // a comma is no decimal separator here
        routing()->setCell(1, 0, "0.2");
        Run();
        QCOMPARE(boxes->requests.size(), 2);
        QVERIFY2(boxes->texts().back().contains("Station 2"), qPrintable(boxes->texts().back()));
        QCOMPARE(stations()->currentRow(), 1);
        QCOMPARE(stations()->currentColumn(), 1);
    }

    // Two single-server stations of demand 1 in a cycle: X(n) = n / (n + 1) exactly, under the
    // bound min(n / 2, 1).
    void closedPopulationsArePlottedBesideTheirBound() {
        Enter(1, {{"1", "1"}, {"1", "1"}}, {{"0", "1"}, {"1", "0"}});
        Child<QLineEdit>(window.get(), "EditPopulation")->setText("6");
        Child<QComboBox>(window.get(), "cbAnalysis")
            ->setCurrentIndex(TNetworks::PopulationsAnalysis);
        Run();
        QVERIFY2(boxes->texts().isEmpty(), qPrintable(boxes->texts().join('\n')));
        GraphWindow* graph = window->graphWindow();
        QVERIFY(graph);
        const auto& x = graph->chart(0)->Series(1).Points();
        const auto& bound = graph->chart(0)->Series(2).Points();
        QCOMPARE(int(x.size()), 6);
        QCOMPARE(int(bound.size()), 6);
        for (int i = 0; i < 6; ++i) {
            const double n = i + 1;
            QVERIFY(std::fabs(x[i].Y - n / (n + 1)) < 1e-12);
            QCOMPARE(bound[i].Y, std::min(n / 2, 1.0));
        }
        const auto& cycle = graph->chart(1)->Series(1).Points();
        QVERIFY(std::fabs(cycle.back().Y - 7.0) < 1e-9);  // N / X(N) = N + 1
    }

    void savedNetworkOpensAsItWas() {
        QTemporaryDir folder;
        boxes->fileName = folder.filePath("tandem.txt");
        Enter(1, {{"0", "2.5"}, {"3", "0.25"}, {"1", "1"}},
              {{"0", "0.35", "0.65"}, {"0.25", "0.75", "0"}, {"1", "0", "0"}});
        Child<QLineEdit>(window.get(), "EditPopulation")->setText("40");
        Child<QAction>(window.get(), "SaveNetwork1")->trigger();
        QVERIFY2(boxes->texts().isEmpty(), qPrintable(boxes->texts().join('\n')));

        Enter(0, {{"1", "1", "1"}}, {{"0"}});
        Child<QAction>(window.get(), "OpenNetwork1")->trigger();
        QVERIFY2(boxes->texts().isEmpty(), qPrintable(boxes->texts().join('\n')));
        QCOMPARE(Child<QComboBox>(window.get(), "cbKind")->currentIndex(), 1);
        QCOMPARE(Child<QLineEdit>(window.get(), "EditPopulation")->text(), QString("40"));
        QCOMPARE(stations()->rowCount(), 3);
        QCOMPARE(stations()->cell(0, 1), QString("2.5"));
        QCOMPARE(stations()->cell(1, 0), QString("3"));
        QCOMPARE(routing()->cell(0, 1), QString("0.35"));
        QCOMPARE(routing()->cell(1, 0), QString("0.25"));

        // A file that is not a network leaves the grids alone.
        QFile junk(folder.filePath("junk.txt"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("3\nx\n");
        junk.close();
        boxes->fileName = junk.fileName();
        Child<QAction>(window.get(), "OpenNetwork1")->trigger();
        QCOMPARE(boxes->requests.size(), 1);
        QVERIFY(boxes->texts().front().startsWith("Cannot read file"));
        QCOMPARE(stations()->rowCount(), 3);
    }
};

QTEST_MAIN(NetworkWindowTest)
#include "network_window_test.moc"
