// The ten model tabs and the Staffing tab of the queue window, laid out top to bottom in the order
// a user fills them in, which is also their tab order.

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "core/queue/dmc.h"
#include "core/queue/finqueue.h"
#include "core/queue/gmc.h"
#include "core/queue/machine.h"
#include "core/queue/mdc.h"
#include "core/queue/mg1.h"
#include "core/queue/mm1_tran.h"
#include "core/queue/mmc.h"
#include "core/queue/qgraph.h"
#include "core/queue/staffing.h"
#include "ui/common/help.h"
#include "ui/common/radio_group.h"
#include "ui/queue/label_rules.h"
#include "ui/queue/limit_texts.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/queue_main_form.h"

namespace wachtrix::ui {
namespace {

constexpr int kEditWidth = 64;
constexpr int kBoundEditWidth = 48;  // two on a line with their captions

const QStringList kFiveOutputs = Captions(kStandardOutput);
const QStringList kSixOutputs = Captions(kAverageStateOutput);
const char* const kOutputHint = "The type of output can be specified here";

template <std::size_t N>
QStringList Items(const char* const (&items)[N]) {
    QStringList list;
    for (const char* item : items)
        list << item;
    return list;
}

QString ValueHint(char kind) {
    switch (kind) {
        case 'T':
            return "Enter t values for which P(w>t) will be calculated";
        case 'N':
            return "Enter values n for which state probabilities will be calculated";
        default:
            return "Enter values p for which percentiles will be calculated";
    }
}

// A label whose caption changes keeps the width of its widest caption.
void ReserveWidth(QLabel* label, const QStringList& captions) {
    int widest = 0;
    for (const QString& caption : captions)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(caption));
    label->setMinimumWidth(widest + 2 * label->margin() + 2);
}

// "MMC_C_edit" -> "MMC_C": the stem of a parameter's caption and range label names.
QString FieldStem(const QString& editName) {
    return editName.endsWith("_edit", Qt::CaseInsensitive) ? editName.chopped(5) : editName;
}

// One tab sheet. Enter runs the tab, as its Run is the default button; the help key opens the
// tab's own help topic.
class QueuePage : public QWidget {
public:
    QueuePage(const QString& objectName, int helpContext) : helpContext_(helpContext) {
        setObjectName(objectName);
    }
    void setRunButton(QPushButton* run) { run_ = run; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F1) {
            ShowHelpContext(helpContext_, this);
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::NoModifier) {
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            if (focused)
                focused->click();
            else if (run_ && run_->isEnabled())
                run_->click();
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    int helpContext_;
    QPushButton* run_ = nullptr;
};

}  // namespace

// Adds the controls of one tab (or of a group box within it) below each other. Consecutive
// parameter fields share one grid so that their edits line up.
class TQueueMainForm::PageBuilder {
public:
    PageBuilder(TQueueMainForm* form, QWidget* container, QVBoxLayout* layout)
        : form_(form), container_(container), layout_(layout) {}

    // A new tab with its centred title.
    static PageBuilder Page(TQueueMainForm* form, const QString& sheetName, int helpContext,
                            const QString& caption, const QString& title) {
        auto* page = new QueuePage(sheetName, helpContext);
        auto* scroll = new QScrollArea;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setWidget(page);
        form->PageControl->addPage(scroll, caption);

        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(8, 6, 8, 6);
        layout->setSpacing(6);
        auto* heading = new QLabel(title, page);
        heading->setObjectName(sheetName + "_Title_label");
        heading->setAlignment(Qt::AlignCenter);
        heading->setWordWrap(true);
        QFont font = heading->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.15);
        heading->setFont(font);
        layout->addWidget(heading);
        return PageBuilder(form, page, layout);
    }

    // Captions on their own line above the edits, for tabs whose captions are long.
    void setStackedCaptions(bool stacked) { stacked_ = stacked; }

    ParameterField parameter(const QString& editName, const QString& caption, const QString& range,
                             EditFilter filter) {
        ParameterField field;
        field.edit = newEdit(editName, filter);
        field.label = newLabel(FieldStem(editName) + "_label", caption);
        field.label->setBuddy(field.edit);
        field.range = newLabel(FieldStem(editName) + "_range_label", range);
        QGridLayout* fields = grid();
        if (stacked_) {
            fields->addWidget(field.label, row_++, 0, 1, 4);
            fields->addWidget(field.edit, row_, 0);
            fields->addWidget(field.range, row_++, 1, 1, 3);
        } else {
            fields->addWidget(field.label, row_, 0);
            fields->addWidget(field.edit, row_, 1);
            fields->addWidget(field.range, row_++, 2);
        }
        return field;
    }

    // "Vary c from [ ] to [ ]  1...100": the two bounds of a range on one line.
    std::pair<ParameterField, ParameterField> bounds(const QString& fromName,
                                                     const QString& fromCaption,
                                                     const QString& toName,
                                                     const QString& toCaption,
                                                     const QString& range) {
        ParameterField from, to;
        from.label = newLabel(FieldStem(fromName) + "_label", fromCaption);
        from.edit = newEdit(fromName, EditFilter::Integer);
        from.edit->setFixedWidth(kBoundEditWidth);
        from.label->setBuddy(from.edit);
        to.label = newLabel(FieldStem(toName) + "_label", toCaption);
        to.edit = newEdit(toName, EditFilter::Integer);
        to.edit->setFixedWidth(kBoundEditWidth);
        to.label->setBuddy(to.edit);
        to.range = newLabel(FieldStem(toName) + "_range_label", range);
        auto* line = new QHBoxLayout;
        line->addWidget(from.label);
        line->addWidget(from.edit);
        line->addWidget(to.label);
        line->addWidget(to.edit);
        line->addWidget(to.range);
        line->addStretch();
        closeGrid();
        layout_->addLayout(line);
        return {from, to};
    }

    RadioGroup* radioGroup(const QString& name, const QString& title, const QStringList& items,
                           const QString& hint = QString()) {
        closeGrid();
        auto* group = new RadioGroup(name, title, items, container_);
        group->setToolTip(hint);
        layout_->addWidget(group);
        return group;
    }

    // A titled box whose own controls are added through the returned builder.
    std::pair<QGroupBox*, PageBuilder> groupBox(const QString& name, const QString& title) {
        closeGrid();
        auto* box = new QGroupBox(title, container_);
        box->setObjectName(name);
        auto* inner = new QVBoxLayout(box);
        inner->setContentsMargins(8, 4, 8, 6);
        layout_->addWidget(box);
        PageBuilder builder(form_, box, inner);
        builder.stacked_ = stacked_;
        return {box, builder};
    }

    QCheckBox* checkBox(const QString& name, const QString& text) {
        closeGrid();
        auto* box = new QCheckBox(text, container_);
        box->setObjectName(name);
        layout_->addWidget(box);
        return box;
    }

    // Twelve edits "<prefix>_<kind>Edit1".."12" in a box, three rows of four.
    QGroupBox* valueGroup(const QString& prefix, char kind, const QString& caption,
                          EditGroup& edits, EditFilter filter, bool firstUnfiltered = false) {
        closeGrid();
        auto* box = new QGroupBox(caption, container_);
        box->setObjectName(QString("%1_%2Values_GroupBox").arg(prefix).arg(kind));
        auto* cells = new QGridLayout(box);
        cells->setContentsMargins(8, 4, 8, 6);
        cells->setSpacing(4);
        PageBuilder inner(form_, box, nullptr);
        for (int i = 0; i < 12; ++i) {
            const EditFilter own = (i == 0 && firstUnfiltered) ? EditFilter::None : filter;
            QLineEdit* edit =
                inner.newEdit(QString("%1_%2Edit%3").arg(prefix).arg(kind).arg(i + 1), own);
            edit->setMinimumWidth(0);
            edit->setMaximumWidth(QWIDGETSIZE_MAX);
            edit->setToolTip(ValueHint(kind));
            cells->addWidget(edit, i / 4, i % 4);
            edits[i] = edit;
        }
        layout_->addWidget(box);
        return box;
    }

    // Run, Quit and Help, closing the tab.
    void buttons(const QString& prefix, void (TQueueMainForm::*run)()) {
        closeGrid();
        auto* runButton =
            newButton(prefix + "_Run_Button", "&Run", "Perform calculations (Alt-R is a shortcut)");
        auto* quit = newButton(prefix + "_Quit_Button", "&Quit",
                               "Exit the application (Alt-Q is a shortcut)");
        auto* help = newButton(prefix + "_Help_Button", "&Help", QString());
        help->setIcon(HelpIcon());
        connect(runButton, &QPushButton::clicked, form_, run);
        connect(quit, &QPushButton::clicked, form_, &TQueueMainForm::MG1_Quit_ButtonClick);
        connect(help, &QPushButton::clicked, form_, &TQueueMainForm::FinCap_Help_ButtonClick);
        if (auto* page = dynamic_cast<QueuePage*>(container_)) page->setRunButton(runButton);

        auto* line = new QHBoxLayout;
        line->addWidget(runButton);
        line->addWidget(quit);
        line->addWidget(help);
        layout_->addSpacing(4);
        layout_->addLayout(line);
        layout_->addStretch(1);
    }

private:
    QLineEdit* newEdit(const QString& name, EditFilter filter) {
        auto* edit = new QLineEdit(container_);
        edit->setObjectName(name);
        edit->setFixedWidth(kEditWidth);
        form_->wireEdit(edit, filter);
        return edit;
    }

    QLabel* newLabel(const QString& name, const QString& text) {
        auto* label = new QLabel(text, container_);
        label->setObjectName(name);
        return label;
    }

    QPushButton* newButton(const QString& name, const QString& text, const QString& hint) {
        auto* button = new QPushButton(text, container_);
        button->setObjectName(name);
        button->setToolTip(hint);
        return button;
    }

    QGridLayout* grid() {
        if (!grid_) {
            grid_ = new QGridLayout;
            grid_->setHorizontalSpacing(6);
            grid_->setVerticalSpacing(4);
            grid_->setColumnStretch(3, 1);
            layout_->addLayout(grid_);
            row_ = 0;
        }
        return grid_;
    }

    void closeGrid() { grid_ = nullptr; }

    TQueueMainForm* form_;
    QWidget* container_;
    QVBoxLayout* layout_;
    QGridLayout* grid_ = nullptr;
    int row_ = 0;
    bool stacked_ = false;
};

void TQueueMainForm::buildMG1Page() {
    auto page = PageBuilder::Page(this, "MG1_TabSheet", 100, "M/G/1", "M/G/1 Queue");
    mg1_.cs2 = page.parameter("MG1_CS2_edit", "CS2:", Label(kMg1ErlangianCs2), EditFilter::Real);
    mg1_.rho = page.parameter("MG1_Rho_edit", "Rho:", Label(kMg1Load), EditFilter::Real);
    mg1_.cs2.label->setToolTip("Square of the coefficient of variation");
    mg1_.cs2.range->setToolTip("CS2 should be between these two values");
    mg1_.cs2.edit->setToolTip("Enter squared coefficient of variation of the service time");
    mg1_.rho.label->setToolTip("rho=lambda*E(s)/c");
    mg1_.rho.range->setToolTip("Rho should be greater than zero and lower than this value");
    mg1_.rho.edit->setToolTip("Enter rho=lambda*E(s)/c");
    mg1_.service = page.radioGroup(
        "MG1_Service_Type_RadioGroup", "Service Times",
        {"Erlangian", "Coxian-2 (Gamma Normalization)", "Coxian-2 (Balanced Means)"},
        "The type of M/G/1 queue can be specified here");
    mg1_.output = page.radioGroup("MG1_Output_RadioGroup", "Output", kFiveOutputs, kOutputHint);
    mg1_.values.t =
        page.valueGroup("MG1", 'T', Caption(kMg1Limits, 'T'), MG1_TEdits, EditFilter::Real);
    mg1_.values.n =
        page.valueGroup("MG1", 'N', Caption(kMg1Limits, 'N'), MG1_NEdits, EditFilter::Integer);
    mg1_.values.p =
        page.valueGroup("MG1", 'P', Caption(kMg1Limits, 'P'), MG1_PEdits, EditFilter::Real);
    page.buttons("MG1", &TQueueMainForm::MG1_Run_ButtonClick);
}

void TQueueMainForm::buildDG1Page() {
    auto page = PageBuilder::Page(this, "DG1_TabSheet", 110, "D/G/1", "D/G/1 Queue");
    dg1_.cs2 =
        page.parameter("DG1_CS2_edit", Dg1Cs2Caption(false), "0.01 <= CS2 <= 1 ", EditFilter::Real);
    // Room for the Pure Erlang caption from the start, so that the edits stay put.
    ReserveWidth(dg1_.cs2.label, {Dg1Cs2Caption(false), Dg1Cs2Caption(true)});
    dg1_.rho = page.parameter("DG1_Rho_edit", "Rho:", "<= 0.99 ", EditFilter::Real);
    dg1_.cs2.edit->setToolTip("Enter squared coefficient of variation of the service time");
    dg1_.rho.edit->setToolTip("Enter rho=lambda*E(s)/c");
    dg1_.service = page.radioGroup(
        "DG1_Service_Type_RadioGroup", "Service Times",
        {"Erlangian", "Pure Erlang", "Coxian-2 (Gamma Normalization)", "Coxian-2 (Balanced Means)"},
        "The type of D/G/1 queue can be specified here");
    dg1_.coxianOutput = page.radioGroup(
        "DG1_Coxian_Output_RadioGroup", "Output",
        {"Standard Statistics", "Waiting Time Probabilities", "Waiting Time Percentiles", "Graphs"},
        kOutputHint);
    dg1_.pureErlangOutput = page.radioGroup("DG1_Pure_Erlang_Output_RadioGroup",
                                            "Output (Pure Erlang)", kSixOutputs, kOutputHint);
    dg1_.pureErlangOutput->hide();
    dg1_.values.t =
        page.valueGroup("DG1", 'T', "t-values (<= 75000)", DG1_TEdits, EditFilter::Real);
    dg1_.values.p =
        page.valueGroup("DG1", 'P', "p-values (<= 0.999999)", DG1_PEdits, EditFilter::Real);
    // The first n-value edit has never had a filter; the reader marks what is not a number.
    dg1_.values.n =
        page.valueGroup("DG1", 'N', "n-values (<= 1250)", DG1_NEdits, EditFilter::Integer, true);
    page.buttons("DG1", &TQueueMainForm::DG1_Run_ButtonClick);
}

void TQueueMainForm::buildMMCPage() {
    auto page = PageBuilder::Page(this, "MMC_TabSheet", 120, "M/M/c", "M/M/c Queue");
    mmc_.c = page.parameter("MMC_C_edit", "C:", Label(kMmcServers), EditFilter::Integer);
    mmc_.rho = page.parameter("MMC_Rho_edit", "Rho:", Label(kMmcLoad), EditFilter::Real);
    mmc_.output = page.radioGroup("MMC_Output_RadioGroup", "Output", kFiveOutputs, kOutputHint);
    mmc_.values.t =
        page.valueGroup("MMC", 'T', Caption(kMmcLimits, 'T'), MMC_TEdits, EditFilter::Real);
    mmc_.values.n =
        page.valueGroup("MMC", 'N', Caption(kMmcLimits, 'N'), MMC_NEdits, EditFilter::Integer);
    mmc_.values.p =
        page.valueGroup("MMC", 'P', Caption(kMmcLimits, 'P'), MMC_PEdits, EditFilter::Real);
    page.buttons("MMC", &TQueueMainForm::MMC_Run_ButtonClick);
}

void TQueueMainForm::buildMDCPage() {
    auto page = PageBuilder::Page(this, "MDC_TabSheet", 130, "M/D/c", "M/D/c Queue");
    mdc_.c = page.parameter("MDC_C_edit", "C:", Label(kMdcServers), EditFilter::Integer);
    mdc_.rho = page.parameter("MDC_Rho_edit", "Rho:", Label(kMdcLoad), EditFilter::Real);
    mdc_.output = page.radioGroup("MDC_Output_RadioGroup", "Output", kFiveOutputs, kOutputHint);
    mdc_.values.t =
        page.valueGroup("MDC", 'T', Caption(kMdcLimits, 'T'), MDC_TEdits, EditFilter::Real);
    mdc_.values.n =
        page.valueGroup("MDC", 'N', Caption(kMdcLimits, 'N'), MDC_NEdits, EditFilter::Integer);
    mdc_.values.p =
        page.valueGroup("MDC", 'P', Caption(kMdcLimits, 'P'), MDC_PEdits, EditFilter::Real);
    page.buttons("MDC", &TQueueMainForm::MDC_Run_ButtonClick);
}

void TQueueMainForm::buildDMCPage() {
    auto page = PageBuilder::Page(this, "DMC_TabSheet", 140, "D/M/c", "D/M/c Queue");
    dmc_.c = page.parameter("DMC_C_edit", "C:", Label(kDmcServers), EditFilter::Integer);
    dmc_.rho = page.parameter("DMC_Rho_edit", "Rho:", Label(kDmcLoad), EditFilter::Real);
    dmc_.output = page.radioGroup("DMC_Output_RadioGroup", "Output", kSixOutputs, kOutputHint);
    QStringList curves;
    for (const char* item : kDmcGraphItems)
        curves << item;
    dmc_.graphs = page.radioGroup("DMC_Graph_GroupBox", "Conditional Probability Graphs", curves);
    dmc_.values.t =
        page.valueGroup("DMC", 'T', Caption(kDmcLimits, 'T'), DMC_TEdits, EditFilter::Real);
    dmc_.values.n =
        page.valueGroup("DMC", 'N', Caption(kDmcLimits, 'N'), DMC_NEdits, EditFilter::Integer);
    dmc_.values.p =
        page.valueGroup("DMC", 'P', Caption(kDmcLimits, 'P'), DMC_PEdits, EditFilter::Real);
    page.buttons("DMC", &TQueueMainForm::DMC_Run_ButtonClick);
}

void TQueueMainForm::buildGMCPage() {
    auto page = PageBuilder::Page(this, "GMC_TabSheet", 150, "G/M/c", "G/M/c Queue");
    gmc_.c = page.parameter("GMC_C_edit", "C:", Label(kGmcServers), EditFilter::Integer);
    gmc_.rho = page.parameter("GMC_Rho_edit", "Rho:", Label(kGmcLoad), EditFilter::Real);
    gmc_.ca2 = page.parameter("GMC_CA2_Edit", "CA2:", "(deterministic)", EditFilter::Real);
    gmc_.ca2.edit->setText("0");
    gmc_.ca2.edit->setEnabled(false);
    gmc_.arrivals = page.radioGroup("GMC_Arrivals_RadioGroup", "Arrivals Distribution",
                                    Items(kGmcArrivalItems));
    gmc_.output =
        page.radioGroup("GMC_Output_RadioGroup", "Output", Captions(kWaitingOutput), kOutputHint);
    gmc_.values.t =
        page.valueGroup("GMC", 'T', Caption(kGmcLimits, 'T'), GMC_TEdits, EditFilter::Real);
    gmc_.values.p =
        page.valueGroup("GMC", 'P', Caption(kGmcLimits, 'P'), GMC_PEdits, EditFilter::Real);
    page.buttons("GMC", &TQueueMainForm::GMC_Run_ButtonClick);
}

void TQueueMainForm::buildFinCapPage() {
    auto page = PageBuilder::Page(this, "Finite_Capacity_TabSheet", 160, "Finite Capacity",
                                  "Finite Capacity Queues");
    finCap_.c = page.parameter("FinCap_C_edit", "c:", Label(kFinCapServersMM), EditFilter::Own);
    finCap_.rho = page.parameter("FinCap_Rho_edit", "Rho:", Label(kFinCapLoad), EditFilter::Real);
    finCap_.n = page.parameter("FinCap_N_edit", "N:", Label(kFinCapPlaces), EditFilter::Own);
    finCap_.type = page.radioGroup(
        "FinCap_Queue_Type", "Queue Type",
        {FinCapName(FinCapType::MM), FinCapName(FinCapType::MD), FinCapName(FinCapType::DM)});
    finCap_.output1 =
        page.radioGroup("FinCap_Output1", "Output", Captions(kFinCapMMLimits.output), kOutputHint);
    finCap_.output2 =
        page.radioGroup("FinCap_Output2", "Output", Captions(kFinCapDMLimits.output), kOutputHint);
    finCap_.output2->hide();
    finCap_.values.t = page.valueGroup("FinCap", 'T', Caption(kFinCapMMLimits, 'T'), FinCap_TEdits,
                                       EditFilter::Real);
    finCap_.values.n = page.valueGroup("FinCap", 'N', Caption(kFinCapMMLimits, 'N'), FinCap_NEdits,
                                       EditFilter::Integer);
    page.buttons("FinCap", &TQueueMainForm::FinCap_Run_ButtonClick);
}

void TQueueMainForm::buildMMCNPage() {
    auto page = PageBuilder::Page(this, "MMCN_Graphs_sheet", 200, "M/M/c/c+N", "M/M/c/c+N Graphs");
    page.setStackedCaptions(true);
    mmcn_.arrival = page.parameter("MMCN_Arrival_edit",
                                   "Average arrival rate:", Label(kMmcnArrival), EditFilter::Real);
    mmcn_.es = page.parameter("MMCN_ES_edit", "Mean service time:", Label(kMmcnServiceTime),
                              EditFilter::Real);
    mmcn_.xAxis = page.radioGroup("MMCN_type_radio_group", "Graph X-Axis",
                                  {"Vary the number of servers c for a fixed capacity N",
                                   "Vary the capacity N for a fixed number of servers c"});

    auto [varyC, inC] = page.groupBox("MMCN_Input_vary_c", "Fixed N, varying c");
    mmcn_.varyC = varyC;
    mmcn_.cap =
        inC.parameter("MMCN_cap_edit", "Capacity N:", Label(kMmcnCapacity), EditFilter::Integer);
    std::tie(mmcn_.cFrom, mmcn_.cTo) = inC.bounds("MMCN_c_from_edit", "Vary c from",
                                                  "MMCN_c_to_edit", "to", Label(kMmcnServersFrom));

    auto [varyN, inN] = page.groupBox("MMCN_input_vary_N", "Fixed c, varying N");
    mmcn_.varyN = varyN;
    mmcn_.c = inN.parameter("MMCN_c_edit", "Number of servers c:", Label(kMmcnServers),
                            EditFilter::Integer);
    std::tie(mmcn_.nFrom, mmcn_.nTo) = inN.bounds("MMCN_N_from_edit", "Vary N from",
                                                  "MMCN_N_to_edit", "to", Label(kMmcnCapacityFrom));
    varyN->hide();

    mmcn_.yAxis = page.radioGroup(
        "MMCN_Graph_radio_group", "Graph Y-Axis",
        {"Rejection probabilities Prej", "Waiting time probabilities P{Wq>t} for fixed t"});
    mmcn_.t = page.parameter("MMCN_t_edit", "Time t:", Label(kMmcnTime), EditFilter::Real);
    mmcn_.t.setVisible(false);
    page.buttons("MMCN", &TQueueMainForm::MMCN_Run_ButtonClick);
}

void TQueueMainForm::buildFinSrcPage() {
    auto page =
        PageBuilder::Page(this, "FinSrc_sheet", 170, "Finite Source", "Machine Repair Queue");
    page.setStackedCaptions(true);
    finSrc_.c = page.parameter("FinSrc_c_Edit", "Number of servers c:", Label(kFinSrcServersExp),
                               EditFilter::Integer);
    finSrc_.m = page.parameter("FinSrc_N_Edit", "Number of machines M:", Label(kFinSrcMachines),
                               EditFilter::Own);
    finSrc_.nu = page.parameter("FinSrc_nu_edit", "Failure rate nu:", Label(kFinSrcFailureRate),
                                EditFilter::Real);
    finSrc_.service =
        page.radioGroup("FinSrc_service_radio_group", "Service Type Machine Repair Queue",
                        {"Exponential services", "Deterministic services"});
    finSrc_.output = page.radioGroup("FinSrc_Output_radio_group", "Output", Captions(kFinSrcOutput),
                                     kOutputHint);
    finSrc_.graphs =
        page.radioGroup("FinSrc_Graph_Radio_Group", "Graphs",
                        {kFinSrcGraphItems[0], kFinSrcGraphItems[1], kFinSrcGraphItems[2]});
    finSrc_.values.t = page.valueGroup("FinSrc", 'T', Caption(kFinSrcExpLimits, 'T'), FinSrc_TEdits,
                                       EditFilter::Real);
    finSrc_.values.n =
        page.valueGroup("FinSrc", 'N', "n-values", FinSrc_NEdits, EditFilter::Integer);
    page.buttons("FinSrc", &TQueueMainForm::FinSrc_Run_ButtonClick);
}

void TQueueMainForm::buildMM1Page() {
    auto page =
        PageBuilder::Page(this, "Trans_MM1_sheet", 180, "Transient M/M/1", "Transient M/M/1 Queue");
    mm1_.rho = page.parameter("MM1_Rho_edit", "Rho:", Label(kMM1TranLoad), EditFilter::Own);
    mm1_.initial =
        page.parameter("MM1_initial_state_edit", "Initial state i:", Label(kMM1TranInitialState),
                       EditFilter::Integer);
    mm1_.end = page.parameter("MM1_end_state_edit", "End state j:", Label(kMM1TranEndState),
                              EditFilter::Integer);
    mm1_.t = page.parameter("MM1_t_edit", "t:", Label(kMM1TranHorizon), EditFilter::Real);
    mm1_.output =
        page.radioGroup("MM1_Output_radio_group", "Output", Captions(kMM1TranOutput), kOutputHint);
    mm1_.values.t =
        page.valueGroup("MM1", 'T', Caption(kMM1TranLimits, 'T'), MM1_TEdits, EditFilter::Real);
    page.buttons("MM1", &TQueueMainForm::MM1_Run_ButtonClick);
}

// Beyond the model tabs: the smallest c that meets a service level, for the models with c servers.
void TQueueMainForm::buildStaffingPage() {
    auto page = PageBuilder::Page(this, "Staffing_TabSheet", 190, "Staffing", "Staffing");
    staffing_.model =
        page.radioGroup("Staffing_Model_RadioGroup", "Model", Items(kStaffingModelItems));
    staffing_.a = page.parameter("Staffing_Load_edit", "a (Erlangs):", Label(kStaffingLoad),
                                 EditFilter::Real);
    staffing_.a.edit->setToolTip("Enter the offered load a = lambda*E(s)");
    staffing_.arrivals = page.radioGroup("Staffing_Arrivals_RadioGroup", "Arrivals Distribution",
                                         Items(kGmcArrivalItems));
    staffing_.ca2 =
        page.parameter("Staffing_CA2_Edit", "CA2:", "(deterministic)", EditFilter::Real);
    staffing_.ca2.edit->setText("0");
    staffing_.ca2.edit->setEnabled(false);
    staffing_.target =
        page.radioGroup("Staffing_Target_RadioGroup", "Target", Items(kStaffingTargetItems));
    staffing_.t = page.parameter("Staffing_T_edit", "t:", Label(kStaffingTime), EditFilter::Real);
    staffing_.alpha =
        page.parameter("Staffing_Alpha_edit", "alpha:", Label(kStaffingAlpha), EditFilter::Real);
    staffing_.w =
        page.parameter("Staffing_W_edit", "w:", Label(kStaffingMeanWait), EditFilter::Real);
    staffing_.maxRho = page.parameter("Staffing_MaxRho_edit",
                                      "Largest rho:", Label(kStaffingMaxRho), EditFilter::Real);
    staffing_.maxRho.edit->setToolTip("Leave empty for no bound on the utilisation");
    staffing_.graph = page.checkBox("Staffing_Graph_CheckBox", "Graph of the target against c");
    page.buttons("Staffing", &TQueueMainForm::Staffing_Run_ButtonClick);
}

}  // namespace wachtrix::ui
