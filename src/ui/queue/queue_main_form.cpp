#include "ui/queue/queue_main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "core/queue/dg1.h"
#include "core/queue/dmc.h"
#include "core/queue/finqueue.h"
#include "core/queue/gmc.h"
#include "core/queue/machine.h"
#include "core/queue/mdc.h"
#include "core/queue/mg1.h"
#include "core/queue/mm1_tran.h"
#include "core/queue/mmc.h"
#include "core/queue/qgraph.h"
#include "core/queue/report.h"
#include "core/queue/staffing.h"
#include "ui/common/dialogs.h"
#include "ui/common/document_output.h"
#include "ui/common/help.h"
#include "ui/common/radio_group.h"
#include "ui/graph/create_graph_window.h"
#include "ui/graph/graph_window.h"
#include "ui/queue/edit_filter.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/results_panel.h"

namespace wachtrix::ui {

TQueueMainForm* QueueMainForm = nullptr;

namespace {

constexpr int kQueueWindowHelp = 12;
constexpr int kPageColumnWidth = 300;
const char* const kPrintJob = "QUEUE";
const char* const kBanner = "QUEUE, queueing models; all times in units of the mean service time.";

// The hourglass for the length of a computation; the cursor before it comes back.
class HourglassGuard : public BusyGuard {
public:
    HourglassGuard() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourglassGuard() override { QApplication::restoreOverrideCursor(); }
};

}  // namespace

TEditArray EditTexts(const EditGroup& edits) {
    TEditArray texts;
    for (std::size_t i = 0; i < edits.size(); ++i)
        texts[i] = edits[i]->text().toStdString();
    return texts;
}

void SetEditTexts(const EditGroup& edits, const TEditArray& texts) {
    for (std::size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(QString::fromStdString(texts[i]));
}

void ParameterField::setVisible(bool visible) const {
    if (label) label->setVisible(visible);
    if (range) range->setVisible(visible);
    if (edit) edit->setVisible(visible);
}

void ValueGroups::show(bool showT, bool showN, bool showP) const {
    if (t) t->setVisible(showT);
    if (n) n->setVisible(showN);
    if (p) p->setVisible(showP);
}

TQueueMainForm::TQueueMainForm(QWidget* parent)
    : QWidget(parent), Results(new ResultsPanel(this)), writer_(*Results) {
    setObjectName("QueueMainForm");
    setWindowTitle("Module Queue");
    setAttribute(Qt::WA_DeleteOnClose);
    QueueMainForm = this;
    lastDirectory_ = QDir::currentPath();

    buildMenus();
    PageControl = new MultiRowTabWidget(this);
    PageControl->setObjectName("PageControl");
    PageControl->setFixedWidth(kPageColumnWidth);
    PageControl->setKeyboardScope(this);  // the tab keys work from Results as well
    buildMG1Page();
    buildDG1Page();
    buildMMCPage();
    buildMDCPage();
    buildDMCPage();
    buildGMCPage();
    buildFinCapPage();
    buildMMCNPage();
    buildFinSrcPage();
    buildMM1Page();
    buildStaffingPage();
    connectRules();
    PageControl->setCurrentIndex(3);  // "M/D/c"

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
    QAction* print =
        fileMenu_->addAction("&Print Results...", this, [this] { PrintButtonClick(); });
    print->setObjectName("PrintResults1");
    QAction* preview =
        fileMenu_->addAction("Print Pre&view...", this, [this] { PreviewButtonClick(); });
    preview->setObjectName("PrintPreview1");
    fileMenu_->addSeparator();
    QAction* close = fileMenu_->addAction("Close &Queue", this, [this] { Close1Click(); });
    close->setObjectName("Close1");
    QAction* exit = fileMenu_->addAction("Close &Wachtrix", this, [this] { Exit1Click(); });
    exit->setObjectName("Exit1");
    helpMenu_ = new QMenu("&Help", this);
    QAction* topics = helpMenu_->addAction("&Help content", this, [this] { HelpTopics1Click(); });
    topics->setObjectName("HelpTopics1");
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

std::string TQueueMainForm::Text(const ParameterField& field) {
    return field.edit->text().toStdString();
}

// Each Run gathers its tab into the model's form, runs the model with this window as its host,
// and shows the value texts the readers rewrote.
void TQueueMainForm::MG1_Run_ButtonClick() {
    setRefusable({{"cs2", mg1_.cs2.edit}, {"rho", mg1_.rho.edit}});
    Mg1Form form{.serviceType = mg1_.service->itemIndex(),
                 .cs2 = Text(mg1_.cs2),
                 .rho = Text(mg1_.rho),
                 .output = mg1_.output->itemIndex(),
                 .t = EditTexts(MG1_TEdits),
                 .p = EditTexts(MG1_PEdits),
                 .n = EditTexts(MG1_NEdits)};
    RunMG1(form, *this);
    SetEditTexts(MG1_TEdits, form.t);
    SetEditTexts(MG1_PEdits, form.p);
    SetEditTexts(MG1_NEdits, form.n);
}

void TQueueMainForm::DG1_Run_ButtonClick() {
    setRefusable({{"cs2", dg1_.cs2.edit}, {"rho", dg1_.rho.edit}});
    const int service = dg1_.service->itemIndex();
    // Pure Erlang has its own Output group, with the state probabilities.
    const RadioGroup* output =
        service == kDg1PureErlang ? dg1_.pureErlangOutput : dg1_.coxianOutput;
    Dg1Form form{.serviceType = service,
                 .cs2 = Text(dg1_.cs2),
                 .rho = Text(dg1_.rho),
                 .output = output->itemIndex(),
                 .t = EditTexts(DG1_TEdits),
                 .p = EditTexts(DG1_PEdits),
                 .n = EditTexts(DG1_NEdits)};
    RunDG1(form, *this);
    SetEditTexts(DG1_TEdits, form.t);
    SetEditTexts(DG1_PEdits, form.p);
    SetEditTexts(DG1_NEdits, form.n);
}

template <class Form>
void TQueueMainForm::runMultiServerTab(const MultiServerTab& tab, const EditGroup& t,
                                       const EditGroup& p, const EditGroup& n,
                                       void (*run)(Form&, QueueHost&)) {
    setRefusable({{"c", tab.c.edit}, {"rho", tab.rho.edit}});
    Form form{.c = Text(tab.c),
              .rho = Text(tab.rho),
              .output = tab.output->itemIndex(),
              .t = EditTexts(t),
              .p = EditTexts(p),
              .n = EditTexts(n)};
    run(form, *this);
    SetEditTexts(t, form.t);
    SetEditTexts(p, form.p);
    SetEditTexts(n, form.n);
}

void TQueueMainForm::MMC_Run_ButtonClick() {
    runMultiServerTab(mmc_, MMC_TEdits, MMC_PEdits, MMC_NEdits, &RunMMC);
}

void TQueueMainForm::MDC_Run_ButtonClick() {
    runMultiServerTab(mdc_, MDC_TEdits, MDC_PEdits, MDC_NEdits, &RunMDC);
}

void TQueueMainForm::DMC_Run_ButtonClick() {
    setRefusable({{"c", dmc_.c.edit}, {"rho", dmc_.rho.edit}});
    DmcForm form{.c = Text(dmc_.c),
                 .rho = Text(dmc_.rho),
                 .output = dmc_.output->itemIndex(),
                 .graph = dmc_.graphs->itemIndex(),
                 .t = EditTexts(DMC_TEdits),
                 .p = EditTexts(DMC_PEdits),
                 .n = EditTexts(DMC_NEdits)};
    RunDMC(form, *this);
    SetEditTexts(DMC_TEdits, form.t);
    SetEditTexts(DMC_PEdits, form.p);
    SetEditTexts(DMC_NEdits, form.n);
}

void TQueueMainForm::GMC_Run_ButtonClick() {
    setRefusable({{"ca2", gmc_.ca2.edit}, {"c", gmc_.c.edit}, {"rho", gmc_.rho.edit}});
    GmcForm form{.arrivals = gmc_.arrivals->itemIndex(),
                 .ca2 = Text(gmc_.ca2),
                 .c = Text(gmc_.c),
                 .rho = Text(gmc_.rho),
                 .output = gmc_.output->itemIndex(),
                 .t = EditTexts(GMC_TEdits),
                 .p = EditTexts(GMC_PEdits)};
    RunGMC(form, *this);
    SetEditTexts(GMC_TEdits, form.t);
    SetEditTexts(GMC_PEdits, form.p);
}

void TQueueMainForm::Staffing_Run_ButtonClick() {
    setRefusable({{"a", staffing_.a.edit},
                  {"ca2", staffing_.ca2.edit},
                  {"t", staffing_.t.edit},
                  {"w", staffing_.w.edit},
                  {"alpha", staffing_.alpha.edit},
                  {"Largest utilisation", staffing_.maxRho.edit}});
    StaffingForm form{.model = staffing_.model->itemIndex(),
                      .arrivals = staffing_.arrivals->itemIndex(),
                      .ca2 = Text(staffing_.ca2),
                      .a = Text(staffing_.a),
                      .target = staffing_.target->itemIndex(),
                      .t = Text(staffing_.t),
                      .alpha = Text(staffing_.alpha),
                      .w = Text(staffing_.w),
                      .maxRho = Text(staffing_.maxRho),
                      .graph = staffing_.graph->isChecked()};
    RunStaffing(form, *this);
}

void TQueueMainForm::FinCap_Run_ButtonClick() {
    setRefusable({{"c", finCap_.c.edit},
                  {"rho", finCap_.rho.edit},
                  {"n", finCap_.n.edit},
                  {"0 <= N <= 500 required", finCap_.n.edit}});
    const int type = finCap_.type->itemIndex();
    FinCapForm form{.type = type,
                    .c = Text(finCap_.c),
                    .rho = Text(finCap_.rho),
                    .N = Text(finCap_.n),
                    .output = (type == 2 ? finCap_.output2 : finCap_.output1)->itemIndex(),
                    .t = EditTexts(FinCap_TEdits),
                    .n = EditTexts(FinCap_NEdits)};
    RunFinCap(form, *this);
    SetEditTexts(FinCap_TEdits, form.t);
    SetEditTexts(FinCap_NEdits, form.n);
}

void TQueueMainForm::MMCN_Run_ButtonClick() {
    const bool varyC = mmcn_.xAxis->itemIndex() == 0;
    setRefusable({{"lambda", mmcn_.arrival.edit},
                  {"es", mmcn_.es.edit},
                  {"n", mmcn_.cap.edit},
                  {"c", mmcn_.c.edit},
                  {"Lower bound on c", mmcn_.cFrom.edit},
                  {"Upper bound on c", mmcn_.cTo.edit},
                  {"Lower bound on N", mmcn_.nFrom.edit},
                  {"Upper bound on N", mmcn_.nTo.edit},
                  {"Upper bound should be greater than lower bound",
                   varyC ? mmcn_.cTo.edit : mmcn_.nTo.edit},
                  {"t", mmcn_.t.edit}});
    MmcnForm form{.lambda = Text(mmcn_.arrival),
                  .es = Text(mmcn_.es),
                  .xAxis = mmcn_.xAxis->itemIndex(),
                  .N = Text(mmcn_.cap),
                  .cFrom = Text(mmcn_.cFrom),
                  .cTo = Text(mmcn_.cTo),
                  .c = Text(mmcn_.c),
                  .nFrom = Text(mmcn_.nFrom),
                  .nTo = Text(mmcn_.nTo),
                  .yAxis = mmcn_.yAxis->itemIndex(),
                  .t = Text(mmcn_.t)};
    RunMMCN(form, *this);
}

void TQueueMainForm::FinSrc_Run_ButtonClick() {
    setRefusable({{"c", finSrc_.c.edit}, {"m", finSrc_.m.edit}, {"nu", finSrc_.nu.edit}});
    FinSrcForm form{.service = finSrc_.service->itemIndex(),
                    .c = Text(finSrc_.c),
                    .M = Text(finSrc_.m),
                    .nu = Text(finSrc_.nu),
                    .output = finSrc_.output->itemIndex(),
                    .graph = finSrc_.graphs->itemIndex(),
                    .t = EditTexts(FinSrc_TEdits),
                    .n = EditTexts(FinSrc_NEdits)};
    RunFinSrc(form, *this);
    SetEditTexts(FinSrc_TEdits, form.t);
    SetEditTexts(FinSrc_NEdits, form.n);
}

void TQueueMainForm::MM1_Run_ButtonClick() {
    setRefusable({{"rho", mm1_.rho.edit},
                  {"i", mm1_.initial.edit},
                  {"j", mm1_.end.edit},
                  {"t", mm1_.t.edit}});
    MM1TranForm form{.rho = Text(mm1_.rho),
                     .i = Text(mm1_.initial),
                     .j = Text(mm1_.end),
                     .T = Text(mm1_.t),
                     .output = mm1_.output->itemIndex(),
                     .t = EditTexts(MM1_TEdits)};
    RunMM1Tran(form, *this);
    SetEditTexts(MM1_TEdits, form.t);
}

// A tab whose model is not part of this version says so rather than doing nothing.
void TQueueMainForm::modelNotAvailable() {
    Dialogs::show(this, DialogKind::Information, "Run",
                  "This model is not available yet in this version of Wachtrix.");
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
    PrintDocument(this, *Results->document(), kPrintJob, lastDirectory_);
}

void TQueueMainForm::SaveButtonClick() {
    SaveDocumentAs(this, *Results->document(), kPrintJob, lastDirectory_);
}

void TQueueMainForm::PreviewButtonClick() {
    PreviewDocument(this, *Results->document(), kPrintJob);
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

void TQueueMainForm::RealEditChange(QLineEdit* edit) {
    FilterEditText(edit, RealChars);
}

void TQueueMainForm::IntEditChange(QLineEdit* edit) {
    FilterEditText(edit, IntChars);
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
        case EditFilter::Own:  // the caller connects a handler that filters first
            break;
    }
}

void TQueueMainForm::showError(const std::string& title, const std::string& text) {
    const QString message = QString::fromStdString(text);
    Dialogs::show(this, DialogKind::ErrorOkCancel, QString::fromStdString(title), message);
    // Ready for the user to retype the refused value.
    if (QLineEdit* field = RefusedField(message); field && field->isVisibleTo(this)) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

QLineEdit* TQueueMainForm::RefusedField(const QString& text) const {
    QString subject = text;
    for (const char* verdict : {" incorrect", " out of range", " out of bounds"}) {
        if (subject.endsWith(verdict)) {
            subject.chop(static_cast<int>(qstrlen(verdict)));
            break;
        }
    }
    for (const RefusableField& field : refusable_) {
        if (subject.compare(field.subject, Qt::CaseInsensitive) == 0) return field.edit;
    }
    return nullptr;
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
