#include "ui/queue/queue_main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "core/queue/queue_model.h"
#include "ui/common/app_settings.h"
#include "ui/common/dialogs.h"
#include "ui/common/document_output.h"
#include "ui/common/help.h"
#include "ui/graph/create_graph_window.h"
#include "ui/graph/graph_window.h"
#include "ui/queue/edit_filter.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/results_panel.h"
#include "ui/queue/scenario_dialog.h"
#include "ui/queue/simulation_dialog.h"

namespace wachtrix::ui {

TQueueMainForm* QueueMainForm = nullptr;

namespace {

constexpr int kPageColumnWidth = 300;
const char* const kPrintJob = "QUEUE";
const char* const kBanner = "QUEUE, queueing models; all times in units of the mean service time.";
const char* const kTabKey = "QueueWindow/tab";
const char* const kInputsKey = "QueueWindow/inputs";

// The hourglass for the length of a computation; the cursor before it comes back.
class HourglassGuard : public BusyGuard {
public:
    HourglassGuard() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourglassGuard() override { QApplication::restoreOverrideCursor(); }
};

}  // namespace

TQueueMainForm::TQueueMainForm(QWidget* parent, AppSettings* settings)
    : QWidget(parent), settings_(settings), Results(new ResultsPanel(this)), writer_(*Results) {
    setObjectName("QueueMainForm");
    setWindowTitle("Module Queue");
    setAttribute(Qt::WA_DeleteOnClose);
    QueueMainForm = this;
    lastDirectory_ = settings_ ? settings_->folder(AppSettings::Folder::Save) : QString();
    if (lastDirectory_.isEmpty()) lastDirectory_ = QDir::currentPath();

    buildMenus();
    PageControl = new MultiRowTabWidget(this);
    PageControl->setObjectName("PageControl");
    PageControl->setFixedWidth(kPageColumnWidth);
    PageControl->setKeyboardScope(this);  // the tab keys work from Results as well
    for (const QueueModelSpec* model : QueueModels())
        tabs_.push_back(std::make_unique<QueueTab>(*model, this));
    PageControl->setCurrentIndex(3);  // "M/D/c"
    if (settings_) {
        if (const auto tab = settings_->index(kTabKey, PageControl->count()))
            PageControl->setCurrentIndex(*tab);
        settings_->restoreInputs(*PageControl, kInputsKey);
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(PageControl);
    layout->addWidget(buildResultsColumn(), 1);

    ClearButtonClick();
}

TQueueMainForm::~TQueueMainForm() {
    if (QueueMainForm == this) QueueMainForm = nullptr;
}

void TQueueMainForm::buildMenus() {
    fileMenu_ = new QMenu("&File", this);
    // Keeping the results first; the two commands of the module after them.
    QAction* save = fileMenu_->addAction("&Save Results...", this, [this] { SaveButtonClick(); });
    save->setObjectName("SaveResults1");
    save->setShortcuts(QKeySequence::Save);
    QAction* print =
        fileMenu_->addAction("&Print Results...", this, [this] { PrintButtonClick(); });
    print->setObjectName("PrintResults1");
    print->setShortcuts(QKeySequence::Print);
    QAction* preview =
        fileMenu_->addAction("Print Pre&view...", this, [this] { PreviewButtonClick(); });
    preview->setObjectName("PrintPreview1");
    fileMenu_->addSeparator();
    QAction* close = fileMenu_->addAction("Close &Queue", this, [this] { Close1Click(); });
    close->setObjectName("Close1");
    QAction* exit = fileMenu_->addAction("Close &Wachtrix", this, [this] { Exit1Click(); });
    exit->setObjectName("Exit1");
    windowMenu_ = new QMenu("&Window", this);
    windowMenu_->menuAction()->setObjectName("Window1");
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] { listGraphWindows(); });
    listGraphWindows();
    helpMenu_ = new QMenu("&Help", this);
    QAction* topics = helpMenu_->addAction("&Help content", this, [this] { HelpTopics1Click(); });
    topics->setObjectName("HelpTopics1");
    // The key is shown here but stays with the window, which opens the topic of the tab the
    // user is in.
    topics->setShortcuts(QKeySequence::HelpContents);
    topics->setShortcutContext(Qt::WidgetShortcut);
}

// Each open graph window by its labels (their captions all read "Graph"), then the commands
// over all of them.
void TQueueMainForm::listGraphWindows() {
    windowMenu_->clear();
    const std::vector<GraphWindow*> windows = openGraphWindows();
    int number = 0;
    for (GraphWindow* window : windows) {
        QStringList details;
        for (int i = 1; i < window->labelCount(); ++i)
            if (!window->label(i)->text().isEmpty()) details << window->label(i)->text();
        QString text = QString("&%1 %2").arg(++number).arg(window->label(0)->text());
        if (!details.isEmpty()) text += ": " + details.join(", ");
        QAction* show = windowMenu_->addAction(text, window, [window] {
            window->show();
            window->raise();
            window->activateWindow();
        });
        show->setObjectName("GraphWindowItem");
    }
    if (!windows.empty()) windowMenu_->addSeparator();
    const auto command = [&](const char* name, const QString& text,
                             void (TQueueMainForm::*slot)()) {
        QAction* action = windowMenu_->addAction(text, this, slot);
        action->setObjectName(name);
        action->setEnabled(!windows.empty());
    };
    command("Cascade1", "&Cascade", &TQueueMainForm::CascadeGraphsClick);
    command("Tile1", "&Tile", &TQueueMainForm::TileGraphsClick);
    command("CloseAllGraphs1", "Close &All Graphs", &TQueueMainForm::CloseAllGraphsClick);
}

std::vector<GraphWindow*> TQueueMainForm::openGraphWindows() const {
    std::vector<GraphWindow*> open;
    for (const QPointer<GraphWindow>& window : graphWindows_)
        if (window && window->isVisible()) open.push_back(window);
    return open;
}

QRect TQueueMainForm::graphArea() const {
    const QRect work = screen()->availableGeometry();
    const QRect results(Results->mapToGlobal(QPoint(0, 0)), work.bottomRight());
    const QRect area = results.intersected(work);
    return area.isEmpty() ? work : area;
}

void TQueueMainForm::CascadeGraphsClick() {
    int n = 0;
    for (GraphWindow* window : openGraphWindows()) {
        window->Placement(n++);
        window->raise();
    }
}

namespace {

// Columns and rows of equal cells over `area` for `count` windows of at least `least` each:
// the grid whose cells leave the windows the most room, and whether they fit at all.
struct Tiling {
    int columns = 1;
    int rows = 1;
    double room = 0;  // how many times the least size fits a cell, the narrower way
};

Tiling BestTiling(QSize area, int count, QSize least) {
    Tiling best;
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const double room = std::min(area.width() / double(columns) / std::max(1, least.width()),
                                     area.height() / double(rows) / std::max(1, least.height()));
        if (room > best.room) best = {columns, rows, room};
    }
    return best;
}

}  // namespace

// Side by side over the Results side, or over the whole screen where they do not fit there.
void TQueueMainForm::TileGraphsClick() {
    const std::vector<GraphWindow*> windows = openGraphWindows();
    if (windows.empty()) return;
    QSize least;
    for (GraphWindow* window : windows)
        least = least.expandedTo(window->minimumSize() + window->frameGeometry().size() -
                                 window->size());
    const int count = static_cast<int>(windows.size());
    QRect area = graphArea();
    Tiling tiling = BestTiling(area.size(), count, least);
    if (tiling.room < 1) {
        area = screen()->availableGeometry();
        tiling = BestTiling(area.size(), count, least);
    }
    const QSize cell(area.width() / tiling.columns, area.height() / tiling.rows);
    for (int k = 0; k < count; ++k) {
        GraphWindow* window = windows[static_cast<std::size_t>(k)];
        const QSize frame = window->frameGeometry().size() - window->size();
        window->resize((cell - frame).expandedTo(window->minimumSize()));
        window->move(area.topLeft() +
                     QPoint(k % tiling.columns * cell.width(), k / tiling.columns * cell.height()));
        window->raise();
    }
}

void TQueueMainForm::CloseAllGraphsClick() {
    for (GraphWindow* window : openGraphWindows())
        window->close();
}

QWidget* TQueueMainForm::buildResultsColumn() {
    auto* column = new QWidget(this);
    auto* print = new QPushButton("&Print", column);
    print->setObjectName("PrintButton");
    auto* save = new QPushButton("Save...", column);
    save->setObjectName("SaveButton");
    save->setToolTip("Save the results as plain text, HTML or PDF");
    auto* clear = new QPushButton("&Clear", column);
    clear->setObjectName("ClearButton");
    connect(print, &QPushButton::clicked, this, [this] { PrintButtonClick(); });
    connect(save, &QPushButton::clicked, this, [this] { SaveButtonClick(); });
    connect(clear, &QPushButton::clicked, this, [this] { ClearButtonClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(save);
    buttons->addWidget(clear);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Results, 1);
    layout->addLayout(buttons);
    return column;
}

QueueTab* TQueueMainForm::tab(std::string_view key) const {
    for (const auto& tab : tabs_)
        if (tab->model().key == key) return tab.get();
    return nullptr;
}

// Gathers the tab into the model's form, runs the model with this window as its host, and shows
// the value texts the readers rewrote.
void TQueueMainForm::Run(QueueTab& tab) {
    runningTab_ = &tab;
    QueueForm form = tab.form();
    RunQueueModel(tab.model(), form, *this);
    tab.showValues(form);
    runningTab_ = nullptr;
}

// The dialog stays over the window until OK or Cancel; the table is then written as a run's
// report is, and its curves drawn as a run draws its graphs.
void TQueueMainForm::Scenario(QueueTab& tab) {
    auto* dialog = new ScenarioDialog(tab.model(), tab.form(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        // The dialog goes when it closes: what the run needs is copied first.
        const QueueModelSpec& model = dialog->model();
        const QueueForm form = dialog->form();
        const ScenarioRequest request = dialog->request();
        const ScenarioTable table = RunScenarioWithProgress(model, form, request, this);
        WriteScenarioTable(results(), table);
        const GraphHandle window = createGraphWindow(GraphWindowKind::GMC, {table.title});
        for (const ChartPlot& plot : ScenarioPlots(model, table))
            this->plot(window, 0, plot);
    });
    dialog->open();
}

// As a Scenario: the dialog over the window (which keeps the tab as it is), then the tab's Run,
// its report and graphs, and the simulation's block after them. A tab that refuses its fields
// says so in its Run's box and nothing is simulated.
void TQueueMainForm::Simulate(QueueTab& tab) {
    auto* dialog = new SimulationDialog(tab.model(), tab.form(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, &tab] {
        const QueueModelSpec& model = dialog->model();
        const QueueForm form = dialog->form();
        const SimulationOptions options = dialog->options();
        Run(tab);
        const Simulation simulation = RunSimulationWithProgress(model, form, options, this);
        if (simulation.refusal.empty()) WriteSimulationBlock(results(), simulation);
    });
    dialog->open();
}

void TQueueMainForm::MG1_Quit_ButtonClick() {
    if (Dialogs::show(this, DialogKind::Confirm, "Confirm", "Do you want to quit from queue?") ==
        DialogButton::Yes)
        closeModule();
}

void TQueueMainForm::FinCap_Help_ButtonClick() {
    ShowHelpContext(kQueueWindowHelp, this);
}

void TQueueMainForm::ClearButtonClick() {
    Results->clearLines();
    writer_.SetNormalStyle();
    writer_.AddResultLine(kBanner);
    writer_.AddResultLine("");
}

void TQueueMainForm::PrintButtonClick() {
    const QString before = lastDirectory_;
    PrintDocument(this, *Results->paperDocument(), kPrintJob, lastDirectory_);
    rememberSaveFolder(before);
}

void TQueueMainForm::SaveButtonClick() {
    const QString before = lastDirectory_;
    SaveDocumentAs(this, *Results->paperDocument(), kPrintJob, lastDirectory_);
    rememberSaveFolder(before);
}

void TQueueMainForm::rememberSaveFolder(const QString& before) {
    if (settings_ && lastDirectory_ != before)
        settings_->setFolder(AppSettings::Folder::Save, lastDirectory_);
}

void TQueueMainForm::PreviewButtonClick() {
    PreviewDocument(this, *Results->paperDocument(), kPrintJob);
}

void TQueueMainForm::Close1Click() {
    if (Dialogs::show(this, DialogKind::DutchConfirm, "Bevestiging", "Wilt u Queue afsluiten?") ==
        DialogButton::Yes)
        closeModule();
}

void TQueueMainForm::Exit1Click() {
    window()->close();
}

void TQueueMainForm::HelpTopics1Click() {
    ShowHelpContext(kQueueWindowHelp, this);
}

void TQueueMainForm::closeModule() {
    close();
}

void TQueueMainForm::closeEvent(QCloseEvent* event) {
    if (settings_) {
        settings_->saveIndex(kTabKey, PageControl->currentIndex());
        settings_->saveInputs(*PageControl, kInputsKey);
    }
    QWidget::closeEvent(event);
}

void TQueueMainForm::RealEditChange(QLineEdit* edit) {
    FilterEditText(edit, EditFilter::Real);
}

void TQueueMainForm::IntEditChange(QLineEdit* edit) {
    FilterEditText(edit, EditFilter::Integer);
}

void TQueueMainForm::EditEnter(QLineEdit* edit) {
    QPalette colours;
    colours.setColor(QPalette::Base, Qt::yellow);
    edit->setPalette(colours);
}

void TQueueMainForm::EditExit(QLineEdit* edit) {
    edit->setPalette(QPalette());  // back to the system's colours
}

bool TQueueMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::FocusIn) EditEnter(edit);
        if (event->type() == QEvent::FocusOut) EditExit(edit);
    }
    return QWidget::eventFilter(watched, event);
}

void TQueueMainForm::keyPressEvent(QKeyEvent* event) {
    // Within a tab the tab's own topic opens (the tab sees the key first); elsewhere this one.
    if (event->key() == Qt::Key_F1) {
        ShowHelpContext(kQueueWindowHelp, this);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TQueueMainForm::wireEdit(QLineEdit* edit, EditFilter filter) {
    edit->installEventFilter(this);
    switch (filter) {
        case EditFilter::Real:
            connect(edit, &QLineEdit::textEdited, this, [this, edit] { RealEditChange(edit); });
            break;
        case EditFilter::Integer:
            connect(edit, &QLineEdit::textEdited, this, [this, edit] { IntEditChange(edit); });
            break;
        case EditFilter::None:
            break;
    }
}

void TQueueMainForm::showError(const std::string& title, const std::string& text,
                               const std::string& field) {
    Dialogs::show(this, DialogKind::ErrorOkCancel, QString::fromStdString(title),
                  QString::fromStdString(text));
    // Ready for the user to retype the refused value.
    QLineEdit* edit = runningTab_ ? runningTab_->edit(field) : nullptr;
    if (edit && edit->isVisibleTo(this)) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
}

std::unique_ptr<BusyGuard> TQueueMainForm::busy() {
    return std::make_unique<HourglassGuard>();
}

// A window that is never plotted into stays hidden; it closes with this window.
GraphHandle TQueueMainForm::createGraphWindow(GraphWindowKind kind,
                                              const std::vector<std::string>& labels) {
    // Over the Results side, right of the tabs, so that the edits stay in view; to the
    // right-hand edge of the screen, where the cascade wraps.
    const QPoint resultsTopLeft = Results->mapToGlobal(QPoint(0, 0));
    const QRect openArea(resultsTopLeft, QPoint(std::numeric_limits<int>::max() / 2,
                                                std::numeric_limits<int>::max() / 2));
    graphWindows_.emplace_back(CreateGraphWindow(kind, this, labels, openArea));
    graphWindows_.back()->setSettings(settings_);
    return static_cast<GraphHandle>(graphWindows_.size()) - 1;
}

GraphWindow* TQueueMainForm::graphWindow(GraphHandle handle) const {
    if (handle < 0 || handle >= static_cast<GraphHandle>(graphWindows_.size())) return nullptr;
    return graphWindows_[handle].data();
}

void TQueueMainForm::plot(GraphHandle handle, int chart, const ChartPlot& plot) {
    GraphWindow* window = graphWindow(handle);
    if (!window || !window->applyPlot(chart, plot)) return;
    window->show();
    window->raise();
}

void TQueueMainForm::numericalFailure(const std::vector<std::string>& lines) {
    PrintFailureLines(lines);
}

}  // namespace wachtrix::ui
