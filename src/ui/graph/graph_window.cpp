#include "ui/graph/graph_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

#include "chart/chart_interaction.h"
#include "chart/qt_look.h"
#include "chart/xy_graph.h"
#include "ui/common/app_settings.h"
#include "ui/common/help.h"
#include "ui/graph/apply_chart_plot.h"
#include "ui/graph/axis_range_dialog.h"
#include "ui/graph/chart_export.h"
#include "ui/graph/chart_legend.h"

namespace wachtrix::ui {
namespace {

constexpr int kMargin = 10;  // around the charts, as the client-size rule has it
constexpr int kTop = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 4;
constexpr int kChartGap = 4;
// Where the first graph window opens within the screen's work area.
constexpr QPoint kDesignedPosition(160, 80);

// The logarithmic probability chart every graph window shows.
void LayOutChart(chart::TxyGraph& g, const GraphChartDesign& design) {
    g.SetPlotting(false);
    g.XAxis().Title = design.xTitle;
    g.XAxis().LogScale = false;
    g.XAxis().AutoSizing = true;
    g.XAxis().AutoStepping = true;
    g.XAxis().Gridlines = true;
    g.YAxis().Title = design.yTitle;
    g.YAxis().LogScale = true;
    g.YAxis().Min = 0.001;
    g.YAxis().Max = 1.0;
    g.YAxis().AutoSizing = false;
    g.YAxis().AutoStepping = false;
    g.YAxis().LabelDecimals = 0;
    g.YAxis_Second().ShowAxis = false;
    g.Appearance().ErrorCaption = "MAX/MIN VALUES INCONSISTENT";
    g.Appearance().BackgroundColor = 0xFFFFFF;
    g.Appearance().MarginColor = 0xFFFFFF;
    g.Appearance().CrossAtZero = true;
    g.Appearance().GraphTitle = design.graphTitle;
    g.Dimensions().LeftMargin = 50;
    g.Dimensions().YAxisTitleOffset = 15;
    g.Legend().width = 180;
    g.SetPlotting(true);
}

QFont LabelFont(int points, bool underline) {
    QFont font = chart::ToQFont(chart::TFont{"Arial", points});
    font.setUnderline(underline);
    return font;
}

int LineHeight(const QLabel* label) {
    return label->fontMetrics().height() + 2;
}

}  // namespace

QPoint CascadePosition(QPoint designed, int n, QSize window, QRect screen) {
    if (n == 0) return screen.topLeft() + designed;
    const auto wrap = [](int start, int room) { return room > 0 ? start % room : start; };
    const int left = wrap(designed.x() + 20 * n, screen.width() - window.width());
    const int top = wrap(designed.y() + 20 * n, screen.height() - window.height());
    return screen.topLeft() + QPoint(left, top);
}

GraphWindow::GraphWindow(QWidget* owner, const GraphWindowDesign& design)
    : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Graph");
    setFont(LabelFont(8, false));
    BuildButtons(design);
    BuildLabels(design);
    BuildCharts(design);
    BuildExportMenu();

    int width = 0, height = ChartsTop() - kChartGap;
    for (const GraphChartDesign& c : design.charts) {
        width = std::max(width, kMargin + c.size.width() + kMargin);
        height += kChartGap + c.size.height();
    }
    designed_ = QSize(width, height + kMargin);
    setMinimumSize(designed_);
    resize(designed_);
    LayOut(designed_);
    Placement(0);
}

void GraphWindow::BuildButtons(const GraphWindowDesign& design) {
    close_ = new QPushButton("&Close", this);
    close_->setObjectName(design.closeButtonName);
    if (*design.closeHint) close_->setToolTip(design.closeHint);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);

    help_ = new QPushButton("&Help", this);
    help_->setObjectName("Help_button");
    help_->setIcon(HelpIcon());
    const auto help = [this] { ShowHelpContext(kGraphWindowHelp, this); };
    connect(help_, &QPushButton::clicked, this, help);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, help);

    export_ = new QToolButton(this);
    export_->setObjectName("Export_button");
    export_->setText("Export");
    export_->setToolTip("Copy or save the chart, or save its points");
    export_->setPopupMode(QToolButton::InstantPopup);
}

void GraphWindow::BuildLabels(const GraphWindowDesign& design) {
    for (const GraphLabelDesign& l : design.labels) {
        auto* label = new QLabel(l.caption, this);
        label->setObjectName(l.objectName);
        label->setTextFormat(Qt::PlainText);
        if (labels_.empty()) {
            label->setFont(LabelFont(9, true));
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        labels_.push_back(label);
    }
}

void GraphWindow::BuildCharts(const GraphWindowDesign& design) {
    for (const GraphChartDesign& c : design.charts) {
        auto* graph = new chart::TxyGraph(this);
        graph->setObjectName(c.objectName);
        LayOutChart(*graph, c);
        auto* interaction = new chart::ChartInteraction(*graph);
        graph->setContextMenuPolicy(Qt::CustomContextMenu);
        QMenu* menu = BuildChartMenu(graph);
        QMenu* context = BuildContextMenu(graph, menu, interaction->View());
        connect(graph, &QWidget::customContextMenuRequested, context,
                [graph, context](const QPoint& at) { context->popup(graph->mapToGlobal(at)); });
        charts_.push_back(graph);
        chartMenus_.push_back(menu);
        chartSizes_.push_back(c.size);
    }
}

QMenu* GraphWindow::BuildChartMenu(chart::TxyGraph* graph) {
    auto* menu = new QMenu(graph);
    menu->setObjectName("ChartMenu");
    const auto add = [&](const char* name, const QString& text, auto&& handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
    };
    add("CopyChartAction", "&Copy Chart", [graph] { CopyChartImage(*graph); });
    add("SaveChartImageAction", "Save Chart as &Image...", [this, graph] {
        exportFromLastFolder(
            [&](QString& folder) { SaveChartImage(*graph, this, folder, captions()); });
    });
    add("SaveChartDataAction", "Save Chart &Data as CSV...", [this, graph] {
        exportFromLastFolder([&](QString& folder) { SaveChartData(*graph, this, folder); });
    });
    return menu;
}

void GraphWindow::exportFromLastFolder(const std::function<void(QString&)>& save) {
    QString folder = settings_ ? settings_->folder(AppSettings::Folder::Export) : QString();
    const QString before = folder;
    save(folder);
    if (settings_ && folder != before) settings_->setFolder(AppSettings::Folder::Export, folder);
}

// The export actions, then what changes the view: zoom, the kind of y axis, the ranges.
QMenu* GraphWindow::BuildContextMenu(chart::TxyGraph* graph, QMenu* exports,
                                     chart::ChartView& view) {
    auto* menu = new QMenu(graph);
    menu->setObjectName("ChartContextMenu");
    menu->addActions(exports->actions());
    menu->addSeparator();
    QAction* reset = menu->addAction("&Reset Zoom");
    reset->setObjectName("ResetZoomAction");
    connect(reset, &QAction::triggered, this, [&view] { view.Reset(); });
    QAction* log = menu->addAction("&Logarithmic Y Axis");
    log->setObjectName("LogYAxisAction");
    log->setCheckable(true);
    log->setChecked(graph->YAxis().LogScale);
    connect(log, &QAction::toggled, this, [graph, &view, log](bool on) {
        // Zero or less has no place on a logarithmic axis.
        if (on && !chart::AllYPositive(graph->AllSeries())) {
            const QSignalBlocker quiet(log);
            log->setChecked(false);
            return;
        }
        view.SetYLog(on);
    });
    QAction* ranges = menu->addAction("&Axis Ranges...");
    ranges->setObjectName("AxisRangesAction");
    connect(ranges, &QAction::triggered, this, [this, graph, &view] {
        AxisRangeDialog dialog(*graph, view, this);
        dialog.exec();
    });
    connect(menu, &QMenu::aboutToShow, this, [graph, &view, reset, log] {
        reset->setEnabled(view.Zoomed());
        const bool isLog = graph->YAxis().LogScale;
        const QSignalBlocker quiet(log);
        log->setChecked(isLog);
        log->setEnabled(isLog || chart::AllYPositive(graph->AllSeries()));
    });
    return menu;
}

QStringList GraphWindow::captions() const {
    QStringList lines;
    for (const QLabel* label : labels_)
        lines << label->text();
    return lines;
}

void GraphWindow::BuildExportMenu() {
    if (chartMenus_.size() == 1) {
        export_->setMenu(chartMenus_.front());
        return;
    }
    auto* menu = new QMenu(export_);
    for (std::size_t i = 0; i < chartMenus_.size(); ++i)
        menu->addMenu(chartMenus_[i]);
    // Named after the charts' titles as they are when the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this] {
        for (std::size_t i = 0; i < chartMenus_.size(); ++i) {
            const QString title = QString::fromStdString(charts_[i]->Appearance().GraphTitle);
            chartMenus_[i]->setTitle(title.isEmpty() ? QString("Chart %1").arg(i + 1) : title);
        }
    });
    export_->setMenu(menu);
}

// Two lines for the title, one for each other label.
int GraphWindow::LabelHeight(int index) const {
    return LineHeight(labels_[index]) * (index == 0 ? 2 : 1);
}

// Below the labels and the buttons beside them.
int GraphWindow::ChartsTop() const {
    int y = kTop;
    for (int i = 0; i < labelCount(); ++i)
        y += LabelHeight(i);
    const int buttonsBottom = kTop + 3 * kButtonHeight + 2 * kButtonGap;
    return std::max(y, buttonsBottom) + kChartGap + 2;
}

void GraphWindow::LayOut(QSize client) {
    const int buttonsLeft = client.width() - kMargin - kButtonWidth;
    int y = kTop;
    for (QWidget* button : {static_cast<QWidget*>(close_), static_cast<QWidget*>(help_),
                            static_cast<QWidget*>(export_)}) {
        button->setGeometry(buttonsLeft, y, kButtonWidth, kButtonHeight);
        y += kButtonHeight + kButtonGap;
    }
    const int labelWidth = buttonsLeft - 2 * kMargin;
    y = kTop;
    for (int i = 0; i < labelCount(); ++i) {
        labels_[i]->setGeometry(kMargin, y, labelWidth, LabelHeight(i));
        y += LabelHeight(i);
    }
    // The charts share the room below the labels as designed, growing with the window.
    int top = ChartsTop();
    const int extraWidth = client.width() - designed_.width();
    int extraHeight = client.height() - designed_.height();
    const int count = chartCount();
    for (int i = 0; i < count; ++i) {
        const int grow = extraHeight / (count - i);
        extraHeight -= grow;
        const QSize size = chartSizes_[i] + QSize(extraWidth, grow);
        charts_[i]->setGeometry(kMargin, top, size.width(), size.height());
        FitSeriesLegend(*charts_[i]);
        top += size.height() + kChartGap;
    }
}

void GraphWindow::resizeEvent(QResizeEvent*) {
    LayOut(size());
}

void GraphWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

chart::TxyGraph* GraphWindow::chart(int index) const {
    return index >= 0 && index < chartCount() ? charts_[index] : nullptr;
}

QLabel* GraphWindow::label(int index) const {
    return index >= 0 && index < labelCount() ? labels_[index] : nullptr;
}

void GraphWindow::setLabelCaptions(const std::vector<std::string>& captions) {
    const std::size_t count = std::min(captions.size(), labels_.size());
    for (std::size_t i = 0; i < count; ++i)
        labels_[i]->setText(QString::fromStdString(captions[i]));
}

bool GraphWindow::applyPlot(int index, const ChartPlot& plot) {
    chart::TxyGraph* graph = chart(index);
    if (!graph) return false;
    ApplyChartPlot(*graph, plot);
    FitSeriesLegend(*graph);
    return true;
}

void GraphWindow::Placement(int n) {
    const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect work = on->availableGeometry();
    const QRect area = openArea_.isEmpty() ? work : openArea_.intersected(work);
    if (area.isEmpty()) {
        move(CascadePosition(kDesignedPosition, n, size(), work));
        return;
    }
    move(CascadePosition(openArea_.isEmpty() ? kDesignedPosition : openOffset_, n, size(), area));
}

void GraphWindow::setOpenArea(const QRect& area, QPoint offset) {
    openArea_ = area;
    openOffset_ = offset;
}

}  // namespace wachtrix::ui
