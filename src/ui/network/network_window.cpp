#include "ui/network/network_window.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

#include "core/network/closed_network.h"
#include "core/network/network_file.h"
#include "core/network/network_report.h"
#include "core/network/network_texts.h"
#include "core/network/population_charts.h"
#include "ui/common/app_settings.h"
#include "ui/common/dialogs.h"
#include "ui/common/document_output.h"
#include "ui/common/help.h"
#include "ui/graph/create_graph_window.h"
#include "ui/graph/graph_window.h"
#include "ui/markov/string_grid.h"
#include "ui/queue/results_panel.h"

namespace wachtrix::ui {
namespace {

constexpr const char* kNetworkFileFilter = "Network files (*.txt)|*.txt|All files (*.*)|*.*";
constexpr int kServersColumn = 0, kServiceColumn = 1, kRateColumn = 2;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

TNetworks::TNetworks(QWidget* parent, AppSettings* settings)
    : QWidget(parent), settings_(settings), undo_(new QUndoStack(this)) {
    setObjectName("Networks");
    setAttribute(Qt::WA_DeleteOnClose);  // the main window returns to its bar when it goes
    setWindowTitle("Queueing Networks");
    if (settings_) directory_ = settings_->folder(AppSettings::Folder::Open);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("NetworkPages");
    pages_->addTab(BuildInputPage(), "Input");
    pages_->addTab(BuildResultsPage(), "Results");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    BuildMenus();
    SetStationCount(2);
    KindChanged();
}

QWidget* TNetworks::BuildInputPage() {
    auto* page = new QWidget(this);
    kind_ = new QComboBox(page);
    kind_->setObjectName("cbKind");
    kind_->addItems({"Open network", "Closed network"});
    stations_ = new QSpinBox(page);
    stations_->setObjectName("seStations");
    stations_->setRange(1, kMaxStations);
    population_ = new QLineEdit("10", page);
    population_->setObjectName("EditPopulation");
    analysis_ = new QComboBox(page);
    analysis_->setObjectName("cbAnalysis");
    analysis_->addItems({"Solve the network", "Every population from 1 to N"});
    run_ = new QPushButton("&Run", page);
    run_->setObjectName("RunBtn");

    stationGrid_ = new TStringGrid(TStringGrid::EnterMove::RowByRow, page);
    stationGrid_->setObjectName("sgStations");
    stationGrid_->setColumnCount(3);
    stationGrid_->setHorizontalHeaderLabels(
        {"Servers (0: delay)", "Mean service time", "External arrival rate"});
    stationGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    stationGrid_->setUndoStack(undo_);
    routingGrid_ = new TStringGrid(TStringGrid::EnterMove::RowByRow, page);
    routingGrid_->setObjectName("sgRouting");
    routingGrid_->setUndoStack(undo_);

    connect(kind_, &QComboBox::currentIndexChanged, this, &TNetworks::KindChanged);
    connect(stations_, &QSpinBox::valueChanged, this, [this](int count) {
        if (count != stationGrid_->rowCount()) SetStationCount(count);
    });
    connect(run_, &QPushButton::clicked, this, &TNetworks::RunClick);

    auto* fields = new QFormLayout;
    fields->addRow("Kind", kind_);
    fields->addRow("Stations", stations_);
    fields->addRow("Population N", population_);
    fields->addRow("Analysis", analysis_);
    auto* top = new QHBoxLayout;
    top->addLayout(fields);
    top->addStretch();
    top->addWidget(run_, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(new QLabel("Stations", page));
    layout->addWidget(stationGrid_, 1);
    layout->addWidget(
        new QLabel("Routing: r(j,k), from station j (row) to station k (column)", page));
    layout->addWidget(routingGrid_, 2);
    return page;
}

QWidget* TNetworks::BuildResultsPage() {
    auto* page = new QWidget(this);
    results_ = new ResultsPanel(page);
    results_->setObjectName("MemoResults");
    auto* save = new QPushButton("Save...", page);
    save->setObjectName("SaveResultsBtn");
    auto* print = new QPushButton("Print...", page);
    print->setObjectName("PrintResultsBtn");
    connect(save, &QPushButton::clicked, this, [this] {
        SaveDocumentAs(this, *results_->paperDocument(), "Network results", directory_);
    });
    connect(print, &QPushButton::clicked, this, [this] {
        PrintDocument(this, *results_->paperDocument(), "Network results", directory_);
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(print);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(results_, 1);
    layout->addLayout(buttons);
    return page;
}

void TNetworks::BuildMenus() {
    fileMenu_ = new QMenu("&File", this);
    fileMenu_->menuAction()->setObjectName("NetworkFile1");
    QAction* open = fileMenu_->addAction("&Open Network...", this, &TNetworks::OpenClick);
    open->setObjectName("OpenNetwork1");
    open->setShortcut(QKeySequence::Open);
    QAction* save = fileMenu_->addAction("&Save Network As...", this, &TNetworks::SaveClick);
    save->setObjectName("SaveNetwork1");
    save->setShortcut(QKeySequence::Save);
    fileMenu_->addSeparator();
    fileMenu_->addAction("Close &Networks", this, [this] { close(); })
        ->setObjectName("CloseNetworks1");
    fileMenu_->addAction("Close &Wachtrix", this, [this] { window()->close(); })
        ->setObjectName("CloseWachtrix1");

    editMenu_ = new QMenu("&Edit", this);
    editMenu_->menuAction()->setObjectName("NetworkEdit1");
    QAction* undo = undo_->createUndoAction(this, "&Undo");
    undo->setShortcut(QKeySequence::Undo);
    undo->setObjectName("NetworkUndo1");
    QAction* redo = undo_->createRedoAction(this, "&Redo");
    redo->setShortcut(QKeySequence::Redo);
    redo->setObjectName("NetworkRedo1");
    editMenu_->addAction(undo);
    editMenu_->addAction(redo);
    addAction(undo);
    addAction(redo);

    helpMenu_ = new QMenu("&Help", this);
    helpMenu_->menuAction()->setObjectName("NetworkHelp1");
    helpMenu_->addAction("&Networks", this, [this] { ShowHelpContext(kNetworkHelp, this); })
        ->setShortcuts(QKeySequence::HelpContents);
}

void TNetworks::SetStationCount(int count) {
    undo_->clear();
    const QSignalBlocker block(stations_);
    stations_->setValue(count);
    const int before = stationGrid_->rowCount();
    stationGrid_->resizeCells(count, 3, "");
    for (int row = before; row < count; ++row) {
        stationGrid_->setCell(row, kServersColumn, "1");
        stationGrid_->setCell(row, kServiceColumn, "1");
        stationGrid_->setCell(row, kRateColumn, "0");
    }
    routingGrid_->resizeCells(count, count, "0");
    QStringList labels;
    for (int k = 1; k <= count; ++k)
        labels << QString::number(k);
    stationGrid_->setVerticalHeaderLabels(labels);
    routingGrid_->setVerticalHeaderLabels(labels);
    routingGrid_->setHorizontalHeaderLabels(labels);
}

void TNetworks::KindChanged() {
    const bool closed = kind_->currentIndex() == 1;
    population_->setEnabled(closed);
    analysis_->setEnabled(closed);
    if (!closed) analysis_->setCurrentIndex(SolveAnalysis);
    stationGrid_->setColumnHidden(kRateColumn, closed);
}

std::optional<NetworkInput> TNetworks::CurrentInput() {
    NetworkTexts texts;
    texts.kind = kind_->currentIndex() == 1 ? NetworkKind::Closed : NetworkKind::Open;
    const int K = stationGrid_->rowCount();
    const auto text = [](const TStringGrid* grid, int row, int column) {
        return grid->cell(row, column).toStdString();
    };
    for (int k = 0; k < K; ++k) {
        texts.servers.push_back(text(stationGrid_, k, kServersColumn));
        texts.serviceTimes.push_back(text(stationGrid_, k, kServiceColumn));
        if (texts.kind == NetworkKind::Open)
            texts.arrivalRates.push_back(text(stationGrid_, k, kRateColumn));
        std::vector<std::string>& row = texts.routing.emplace_back();
        for (int j = 0; j < K; ++j)
            row.push_back(text(routingGrid_, k, j));
    }
    texts.population = population_->text().toStdString();
    NetworkTextReading reading = ReadNetworkTexts(texts);
    if (!reading.input) {
        ShowFault(reading.fault);
        return std::nullopt;
    }
    return std::move(reading.input);
}

void TNetworks::ShowFault(const NetworkFault& fault) {
    Dialogs::show(this, DialogKind::Error, "Error", Q(fault.message));
    pages_->setCurrentIndex(InputPage);
    const auto focusCell = [](TStringGrid* grid, int row, int column) {
        grid->setCurrentCell(std::clamp(row, 0, grid->rowCount() - 1),
                             std::clamp(column, 0, grid->columnCount() - 1));
        grid->setFocus();
    };
    switch (fault.part) {
        case NetworkPart::StationCount:
            stations_->setFocus();
            break;
        case NetworkPart::Servers:
            focusCell(stationGrid_, fault.row, kServersColumn);
            break;
        case NetworkPart::ServiceTime:
            focusCell(stationGrid_, fault.row, kServiceColumn);
            break;
        case NetworkPart::ArrivalRate:
            focusCell(stationGrid_, fault.row, kRateColumn);
            break;
        case NetworkPart::Population:
            population_->setFocus();
            break;
        case NetworkPart::RoutingCell:
            focusCell(routingGrid_, fault.row, fault.column);
            break;
        case NetworkPart::RoutingRow:
        case NetworkPart::Structure:
            focusCell(routingGrid_, fault.row, 0);
            break;
    }
}

void TNetworks::RunClick() {
    const std::optional<NetworkInput> input = CurrentInput();
    if (!input) return;
    const CheckedNetwork checked = CheckNetwork(*input);
    if (!checked.network) {
        ShowFault(checked.fault);
        return;
    }
    const bool populations = checked.network->kind == NetworkKind::Closed &&
                             analysis_->currentIndex() == PopulationsAnalysis;
    const NetworkReport report = RunNetworkAnalysis(
        *checked.network, populations ? NetworkAnalysis::Populations : NetworkAnalysis::Solve);
    if (!report.error.empty()) {
        Dialogs::show(this, DialogKind::Error, "Error", Q(report.error));
        return;
    }
    results_->clearLines();
    for (const StyledLine& line : report.lines)
        results_->addLine(line.text, line.style);
    for (const std::string& line : report.failure)
        results_->addLine(line, ResultTextStyle::Bold);
    pages_->setCurrentIndex(ResultsPage);
    if (populations && report.failure.empty()) PlotPopulations(*checked.network);
}

GraphWindow* TNetworks::graphWindow() const {
    return graph_.data();
}

void TNetworks::PlotPopulations(const Network& network) {
    if (graph_) graph_->close();
    graph_ = CreateGraphWindow(GraphWindowKind::MG1, this,
                               {"Closed queueing network", "Throughput and mean cycle time",
                                "Stations: " + std::to_string(network.StationCount()),
                                "N = " + std::to_string(network.population)});
    for (const PopulationChart& chart : PopulationCharts(ClosedPopulations(network)))
        graph_->applyPlot(chart.chart, chart.plot);
    graph_->show();
    graph_->raise();
}

void TNetworks::LoadInput(const NetworkInput& input) {
    const NetworkTexts texts = TextsOf(input);
    kind_->setCurrentIndex(input.kind == NetworkKind::Closed ? 1 : 0);
    const int K = input.StationCount();
    stationGrid_->resizeCells(0, 3, "");
    routingGrid_->resizeCells(0, 0, "");
    SetStationCount(K);
    for (int k = 0; k < K; ++k) {
        stationGrid_->setCell(k, kServersColumn, Q(texts.servers[k]));
        stationGrid_->setCell(k, kServiceColumn, Q(texts.serviceTimes[k]));
        if (k < static_cast<int>(texts.arrivalRates.size()))
            stationGrid_->setCell(k, kRateColumn, Q(texts.arrivalRates[k]));
        for (int j = 0; j < K; ++j)
            routingGrid_->setCell(k, j, Q(texts.routing[k][j]));
    }
    if (input.kind == NetworkKind::Closed) population_->setText(Q(texts.population));
    undo_->clear();
}

bool TNetworks::OpenNetwork(const QString& file) {
    const NetworkReading reading = ReadNetworkFile(QFile::encodeName(file).toStdString());
    if (!reading.network) {
        Dialogs::show(this, DialogKind::Error, "Error",
                      "Cannot read file " + file + "\n" + Q(reading.reason));
        return false;
    }
    LoadInput(*reading.network);
    pages_->setCurrentIndex(InputPage);
    return true;
}

bool TNetworks::SaveNetwork(const QString& file) {
    const std::optional<NetworkInput> input = CurrentInput();
    if (!input) return false;
    const std::string why = WriteNetworkFile(QFile::encodeName(file).toStdString(), *input);
    if (!why.empty()) {
        Dialogs::show(this, DialogKind::Error, "Error",
                      "Cannot write file " + file + "\n" + Q(why));
        return false;
    }
    return true;
}

void TNetworks::OpenClick() {
    const QString name =
        Dialogs::chooseFile(this, {false, "Open Network", kNetworkFileFilter, "txt", directory_});
    if (name.isEmpty()) return;
    directory_ = QFileInfo(name).absolutePath();
    if (settings_) settings_->setFolder(AppSettings::Folder::Open, directory_);
    OpenNetwork(name);
}

void TNetworks::SaveClick() {
    const QString name =
        Dialogs::chooseFile(this, {true, "Save Network As", kNetworkFileFilter, "txt", directory_});
    if (name.isEmpty()) return;
    directory_ = QFileInfo(name).absolutePath();
    if (settings_) settings_->setFolder(AppSettings::Folder::Save, directory_);
    SaveNetwork(name);
}

}  // namespace wachtrix::ui
