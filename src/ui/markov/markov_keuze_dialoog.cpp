#include "ui/markov/markov_keuze_dialoog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "core/markov/chain_file.h"
#include "core/markov/markov_analysis.h"
#include "core/numeric/numerical_failure.h"
#include "core/text/number_parse.h"
#include "ui/common/app_settings.h"
#include "ui/common/dialogs.h"
#include "ui/common/document_output.h"
#include "ui/common/help.h"
#include "ui/common/radio_group.h"
#include "ui/markov/markov_progress.h"
#include "ui/markov/spin_edit.h"
#include "ui/markov/string_grid.h"

namespace wachtrix::ui {
namespace {

constexpr int kInitialStates = 5;
constexpr int kMaxStates = 100;
constexpr int kInitialTimePoints = 4;
constexpr int kMaxTimePoints = 25;
constexpr int kMaxEndStates = 4;
const char* const kChainFileFilter = "tekstbestanden (*.txt)|*.txt|Alle bestanden (*.*)|*.*";
const char* const kDiscreteItem = "Discrete Time Markov Chains";
const char* const kContinuousItem = "Continuous Time Markov Chains ";
const char* const kSettingsKey = "MarkovDialog";
const char* const kInputsKey = "MarkovDialog/inputs";

// An undo step that the dialog itself carries out both ways.
class DialogCommand : public QUndoCommand {
public:
    DialogCommand(const QString& step, std::function<void()> undo, std::function<void()> redo)
        : QUndoCommand(step), undo_(std::move(undo)), redo_(std::move(redo)) {}
    void undo() override { undo_(); }
    void redo() override { redo_(); }

private:
    std::function<void()> undo_;
    std::function<void()> redo_;
};

QString FolderOr(AppSettings* settings, AppSettings::Folder purpose) {
    const QString folder = settings ? settings->folder(purpose) : QString();
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}
std::string Std(const QString& text) {
    return text.toStdString();
}

QString JoinLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const auto& line : lines)
        text << Qs(line);
    return text.join('\n');
}

QStringList Numbered(int n) {
    QStringList labels;
    for (int k = 1; k <= n; ++k)
        labels << QString::number(k);
    return labels;
}

// Time point k, as a new row offers it: 1, 2, 5, 10, 20, 50 ... up to 5000, a run that shows
// the chain settling.
QString DefaultTimePoint(int k) {
    static constexpr int kMantissas[] = {1, 2, 5};
    int value = kMantissas[(k - 1) % 3];
    for (int decade = (k - 1) / 3; decade > 0 && value < 5000; --decade)
        value *= 10;
    return QString::number(std::min(value, 5000));
}

// End state k of a chain of n states, as a new row offers it: states 1, 2 ... as far as there
// are.
QString DefaultEndState(int k, int n) {
    return QString::number(std::max(1, std::min(k, n)));
}

// Resizes one of the option grids (one value column) to `rows`, labelling row k with
// `label` + k + `suffix`; new row k gets value(k), existing values stay.
template <class Value>
void SizeOptionGrid(TStringGrid* grid, int rows, const QString& label, const QString& suffix,
                    Value value) {
    const int kept = grid->rowCount();
    grid->resizeCells(rows, 1, QString());
    QStringList labels;
    for (int k = 1; k <= rows; ++k) {
        labels << label + QString::number(k) + suffix;
        if (k > kept) grid->setCell(k - 1, 0, value(k));
    }
    grid->setVerticalHeaderLabels(labels);
}

void SizeTimePointGrid(TStringGrid* grid, int rows) {
    SizeOptionGrid(grid, rows, "time point ", " (<=5000)", DefaultTimePoint);
}

void SizeEndStateGrid(TStringGrid* grid, int rows, int states) {
    SizeOptionGrid(grid, rows, "end state ", "",
                   [states](int k) { return DefaultEndState(k, states); });
}

QStringList CostHeaders(ChainKind kind) {
    return kind == ChainKind::Discrete ? QStringList{"c(j)"} : QStringList{"r(j)", "F(k)"};
}

// A state typed into an edit or a grid cell that the chain no longer has: back to `fallback`.
QString WithoutLostState(const QString& text, int states, const QString& fallback) {
    const auto state = ParseInt(Std(text));
    return state && *state > states ? fallback : text;
}

std::vector<std::string> OptionValues(const TStringGrid* grid, int count) {
    std::vector<std::string> values;
    for (int r = 0; r < count && r < grid->rowCount(); ++r)
        values.push_back(Std(grid->cell(r, 0)));
    return values;
}

TStringGrid* MakeOptionGrid(const QString& name, QWidget* parent) {
    auto* grid = new TStringGrid(TStringGrid::EnterMove::ColumnByColumn, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setFixedHeight(150);
    grid->setMinimumWidth(170);
    return grid;
}

QLabel* MakeLabel(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

}  // namespace

TMarkovKeuzeDialoog::TMarkovKeuzeDialoog(QWidget* parent, AppSettings* settings)
    : QDialog(parent),
      settings_(settings),
      openDirectory_(FolderOr(settings, AppSettings::Folder::Open)),
      saveDirectory_(FolderOr(settings, AppSettings::Folder::Save)),
      undo_(new QUndoStack(this)) {
    setObjectName("MarkovKeuzeDialoog");
    // A tool window of the program: above its windows, as their own, not above everyone else's
    // (a student keeps an exercise open beside it).
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(kDiscreteItem);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(BuildInputPage(), "Input");
    PageControl1->addTab(BuildChoicePage(), "Choice of Output");
    PageControl1->addTab(BuildResultsPage(), "Results");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(BuildButtonBar());

    // Enter belongs to the edits and grids here; no button is pressed by it.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    ApplyStateCount(kInitialStates);
    InputChanged = true;
    ResetOutputChoices();
    rgSoortClick(rgSoort->itemIndex());
    PageControl1->setCurrentIndex(InputPage);
    PageControl1->setTabEnabled(ResultsPage, false);
    connect(PageControl1, &QTabWidget::currentChanged, this,
            &TMarkovKeuzeDialoog::PageControl1Change);
    UpdateNavigation();
    // Wide enough for every result tab's title.
    resize(QSize(760, 580).expandedTo(minimumSizeHint()));

    // The shortcuts work wherever the focus is in the dialog, but in an edit, which undoes its
    // own typing.
    undoAction_ = undo_->createUndoAction(this, "&Undo");
    undoAction_->setObjectName("UndoAction");
    undoAction_->setShortcuts(QKeySequence::Undo);
    redoAction_ = undo_->createRedoAction(this, "&Redo");
    redoAction_->setObjectName("RedoAction");
    // Both keys people know for it, whatever the platform's own is.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(keys)) redoKeys << keys;
    redoAction_->setShortcuts(redoKeys);
    addAction(undoAction_);
    addAction(redoAction_);
    sgOvergangsMatrix->setUndoStack(undo_);
    sgKostenVector->setUndoStack(undo_);

    if (settings_) RestoreSettings();
}

// The simple fields come back in order: the kind of chain, the choices, then the texts; the
// number of states brings a grid of that size (of zeros: the chain itself is in its file).
void TMarkovKeuzeDialoog::RestoreSettings() {
    settings_->restoreWindow(*this, kSettingsKey);
    settings_->restoreInputs(*this, kInputsKey);
    const auto n = ParseInt(Std(EditAantalStates->text()));
    if (n && *n >= 1 && *n <= kMaxStates)
        ApplyStateCount(*n);
    else
        EditAantalStates->setText(QString::number(StateCount()));
    FollowInputChange();
}

void TMarkovKeuzeDialoog::SaveSettings() {
    if (!settings_) return;
    settings_->saveWindow(*this, kSettingsKey);
    settings_->saveInputs(*this, kInputsKey);
}

// ---------------------------------------------------------------------------------------------
// Building

QWidget* TMarkovKeuzeDialoog::BuildInputPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");

    EditAantalStates = new QLineEdit(QString::number(kInitialStates), page);
    EditAantalStates->setObjectName("EditAantalStates");
    EditAantalStates->setMaximumWidth(60);
    connect(EditAantalStates, &QLineEdit::returnPressed, this,
            &TMarkovKeuzeDialoog::SpeedButton1Click);

    SpeedButton1 = new QToolButton(page);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setToolTip("Udate the number of states");
    SpeedButton1->setText("Update");
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    connect(SpeedButton1, &QToolButton::clicked, this, &TMarkovKeuzeDialoog::SpeedButton1Click);

    cbSoortMarkovChain = new QComboBox(page);
    cbSoortMarkovChain->setObjectName("cbSoortMarkovChain");
    cbSoortMarkovChain->addItems({kDiscreteItem, kContinuousItem});
    connect(cbSoortMarkovChain, &QComboBox::currentIndexChanged, this,
            &TMarkovKeuzeDialoog::cbSoortMarkovChainChange);

    auto* top = new QHBoxLayout;
    auto* statesLabel = MakeLabel("Number of states (1 to 100):", page);
    statesLabel->setBuddy(EditAantalStates);
    top->addWidget(statesLabel);
    top->addWidget(EditAantalStates);
    top->addWidget(SpeedButton1);
    top->addStretch();
    top->addWidget(cbSoortMarkovChain);

    sgOvergangsMatrix = new TStringGrid(TStringGrid::EnterMove::RowByRow, page);
    sgOvergangsMatrix->setObjectName("sgOvergangsMatrix");
    sgKostenVector = new TStringGrid(TStringGrid::EnterMove::ColumnByColumn, page);
    sgKostenVector->setObjectName("sgKostenVector");
    sgKostenVector->setColumnCount(1);
    for (TStringGrid* grid : {sgOvergangsMatrix, sgKostenVector}) {
        connect(grid, &TStringGrid::keyPressed, this, [this] { InputChanged = true; });
        connect(grid, &QTableWidget::itemChanged, this, [this] { InputChanged = true; });
    }

    auto* matrixGroup = new QGroupBox("Transitionmatrix", page);
    matrixGroup->setObjectName("GroupBox1");
    (new QVBoxLayout(matrixGroup))->addWidget(sgOvergangsMatrix);
    auto* costGroup = new QGroupBox("Cost vector", page);
    costGroup->setObjectName("GroupBox2");
    (new QVBoxLayout(costGroup))->addWidget(sgKostenVector);
    costGroup->setMinimumWidth(200);

    auto* grids = new QHBoxLayout;
    grids->addWidget(matrixGroup, 3);
    grids->addWidget(costGroup, 1);

    auto* openBtn = new QPushButton("Open...", page);
    openBtn->setObjectName("OpenBtn");
    connect(openBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::OpenBtnClick);
    auto* saveBtn = new QPushButton("Save...", page);
    saveBtn->setObjectName("SaveBtn");
    connect(saveBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::SaveBtnClick);
    auto* clearBtn = new QPushButton("Clear", page);
    clearBtn->setObjectName("ClearBtn");
    connect(clearBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::ClearBtnClick);
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(openBtn);
    fileButtons->addWidget(saveBtn);
    fileButtons->addWidget(clearBtn);
    fileButtons->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addLayout(grids, 1);
    layout->addLayout(fileButtons);
    return page;
}

QWidget* TMarkovKeuzeDialoog::BuildChoicePage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheet2");

    rgSoort = new RadioGroup("rgSoort", "Choice of output",
                             {"Chain Structure", "Steady-state behaviour", "Transient behaviour",
                              "First-passage Time Probabilities", "Mean passage and absorption"},
                             page);
    connect(rgSoort, &RadioGroup::itemIndexChanged, this, &TMarkovKeuzeDialoog::rgSoortClick);
    SimuleerBtn = new QPushButton("&Run", page);
    SimuleerBtn->setObjectName("SimuleerBtn");
    connect(SimuleerBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::SimuleerBtnClick);

    // The left column keeps its width whichever group shows beside it, so that the choices
    // never wrap and "&Run" keeps its size.
    auto* leftColumn = new QWidget(page);
    leftColumn->setObjectName("ChoiceColumn");
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(rgSoort);
    left->addWidget(SimuleerBtn);
    left->addStretch();
    leftColumn->setFixedWidth(leftColumn->sizeHint().width());

    gbTransient = BuildTransientGroup();
    gbFirstPassage = BuildFirstPassageGroup();
    // The groups share a place that is always as large as the larger of them, so that showing
    // one never makes the dialog grow.
    auto* rightColumn = new QWidget(page);
    rightColumn->setObjectName("ChoiceGroups");
    auto* right = new QVBoxLayout(rightColumn);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(gbTransient);
    right->addWidget(gbFirstPassage);
    right->addStretch();
    QSize room;
    for (QGroupBox* group : {gbTransient, gbFirstPassage})
        room = room.expandedTo(group->minimumSizeHint());
    rightColumn->setMinimumSize(room);

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(leftColumn);
    layout->addWidget(rightColumn, 1);
    return page;
}

QGroupBox* TMarkovKeuzeDialoog::BuildTransientGroup() {
    auto* group = new QGroupBox("Transient Behaviour");
    group->setObjectName("gbTransient");

    EditInitialState = new QLineEdit("1", group);
    EditInitialState->setObjectName("EditInitialState");
    EditInitialState->setMaximumWidth(60);
    seTimePoints = new TSpinEdit("seTimePoints", 1, kMaxTimePoints, kInitialTimePoints, group);
    seTimePoints->setTypeable(false);
    connect(seTimePoints, &QSpinBox::valueChanged, this, &TMarkovKeuzeDialoog::seTimePointsChange);
    sgTimePoints = MakeOptionGrid("sgTimePoints", group);

    rgTransientChoice = new RadioGroup(
        "rgTransientChoice", "Choice",
        {"Transient probabilities", "Expected sojourn times", "Expected costs"}, group);
    connect(rgTransientChoice, &RadioGroup::itemIndexChanged, this,
            &TMarkovKeuzeDialoog::rgTransientChoiceClick);
    LabelEndStates = MakeLabel("Number of end states (max 4):", group);
    LabelEndStates->setObjectName("LabelEndStates");
    seEndStates = new TSpinEdit("seEndStates", 1, kMaxEndStates, 2, group);
    connect(seEndStates, &QSpinBox::valueChanged, this, &TMarkovKeuzeDialoog::seEndStatesChange);
    sgEndStates = MakeOptionGrid("sgEndStates", group);

    auto* times = new QGridLayout;
    times->addWidget(MakeLabel("Initial state:", group), 0, 0);
    times->addWidget(EditInitialState, 0, 1);
    times->addWidget(MakeLabel("Number of time points (max 25):", group), 1, 0);
    times->addWidget(seTimePoints, 1, 1);
    times->addWidget(sgTimePoints, 2, 0, 1, 2);
    auto* ends = new QGridLayout;
    ends->addWidget(rgTransientChoice, 0, 0, 1, 2);
    ends->addWidget(LabelEndStates, 1, 0);
    ends->addWidget(seEndStates, 1, 1);
    ends->addWidget(sgEndStates, 2, 0, 1, 2);
    auto* layout = new QHBoxLayout(group);
    layout->addLayout(times);
    layout->addLayout(ends);
    return group;
}

QGroupBox* TMarkovKeuzeDialoog::BuildFirstPassageGroup() {
    auto* group = new QGroupBox("First-Passage Time Probabilities");
    group->setObjectName("gbFirstPassage");

    editStartingState = new QLineEdit("1", group);
    editStartingState->setObjectName("editStartingState");
    editStartingState->setMaximumWidth(60);
    seTimePoints2 = new TSpinEdit("seTimePoints2", 1, kMaxTimePoints, kInitialTimePoints, group);
    connect(seTimePoints2, &QSpinBox::valueChanged, this,
            &TMarkovKeuzeDialoog::seTimePoints2Change);
    sgTimePoints2 = MakeOptionGrid("sgTimePoints2", group);
    rgReturnSet = new RadioGroup("rgReturnSet", "Type of the return set A of states",
                                 {"A = {a}", "A = {1..a}", "A = {a..N}"}, group);
    EditStateA = new QLineEdit(group);
    EditStateA->setObjectName("EditStateA");
    EditStateA->setMaximumWidth(60);

    auto* times = new QGridLayout;
    times->addWidget(MakeLabel("Starting state:", group), 0, 0);
    times->addWidget(editStartingState, 0, 1);
    times->addWidget(MakeLabel("Number of time points (max 25):", group), 1, 0);
    times->addWidget(seTimePoints2, 1, 1);
    times->addWidget(sgTimePoints2, 2, 0, 1, 2);
    auto* set = new QGridLayout;
    set->addWidget(rgReturnSet, 0, 0, 1, 2);
    set->addWidget(MakeLabel("State a:", group), 1, 0);
    set->addWidget(EditStateA, 1, 1);
    set->setRowStretch(2, 1);
    auto* layout = new QHBoxLayout(group);
    layout->addLayout(times);
    layout->addLayout(set);
    return group;
}

QWidget* TMarkovKeuzeDialoog::BuildResultsPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheet3");
    PageControl2 = new QTabWidget(page);
    PageControl2->setObjectName("PageControl2");
    PageControl2->setTabPosition(QTabWidget::South);
    // Whole titles, never elided or scrolled away.
    PageControl2->setElideMode(Qt::ElideNone);
    PageControl2->setUsesScrollButtons(false);

    const char* titles[kResultTabs] = {"Chain Structure", "Steady-State Behaviour",
                                       "Transient Behaviour", "First-Passage Time Behaviour",
                                       "Mean Passage and Absorption"};
    const char* memoNames[kResultTabs] = {"MemoChainStructure", "MemoSteadyState", "MemoTransient",
                                          "MemoFirstPassageTime", "MemoMeanPassage"};
    QFont fixed;
    fixed.setFamilies({"Courier New", "Liberation Mono"});
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    QFont bold = font();
    bold.setBold(true);
    for (int k = 0; k < kResultTabs; ++k) {
        auto* tab = new QWidget;
        auto* memo = new QPlainTextEdit(tab);
        memo->setObjectName(memoNames[k]);
        memo->setReadOnly(true);
        memo->setFont(fixed);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->hide();
        auto* label = new QLabel("No results", tab);
        label->setObjectName(QString(memoNames[k]).replace("Memo", "NoResults"));
        label->setFont(bold);
        auto* layout = new QVBoxLayout(tab);
        layout->addWidget(memo, 1);
        layout->addWidget(label);
        layout->addStretch();
        memos_[k] = memo;
        noResults_[k] = label;
        PageControl2->addTab(tab, titles[k]);
    }
    // Keeping the report of the tab on view.
    auto* save = new QPushButton("Save...", page);
    save->setObjectName("SaveMemoBtn");
    save->setToolTip("Save these results as plain text, HTML or PDF");
    connect(save, &QPushButton::clicked, this, [this] {
        if (const auto document = KeptReport()) {
            const QString before = saveDirectory_;
            SaveDocumentAs(this, *document, MemoTitle(), saveDirectory_);
            RememberSaveFolder(before);
        }
    });
    auto* print = new QPushButton("Print...", page);
    print->setObjectName("PrintMemoBtn");
    connect(print, &QPushButton::clicked, this, [this] {
        if (const auto document = KeptReport()) {
            const QString before = saveDirectory_;
            PrintDocument(this, *document, MemoTitle(), saveDirectory_);
            RememberSaveFolder(before);
        }
    });
    auto* preview = new QPushButton("Preview...", page);
    preview->setObjectName("PreviewMemoBtn");
    connect(preview, &QPushButton::clicked, this, [this] {
        if (const auto document = KeptReport()) PreviewDocument(this, *document, MemoTitle());
    });
    resultButtons_ = {save, print, preview};
    connect(PageControl2, &QTabWidget::currentChanged, this,
            &TMarkovKeuzeDialoog::UpdateResultButtons);

    auto* keep = new QHBoxLayout;
    keep->addStretch();
    keep->addWidget(save);
    keep->addWidget(print);
    keep->addWidget(preview);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(PageControl2, 1);
    layout->addLayout(keep);
    return page;
}

QLayout* TMarkovKeuzeDialoog::BuildButtonBar() {
    auto* help = new QPushButton("&Help", this);
    help->setObjectName("BitBtn4");
    help->setIcon(HelpIcon());
    connect(help, &QPushButton::clicked, this, [this] { ShowHelpContext(kMarkovHelp, this); });
    VorigeBtn = new QPushButton("&Previous", this);
    VorigeBtn->setObjectName("VorigeBtn");
    connect(VorigeBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::VorigeBtnClick);
    VolgendeBtn = new QPushButton("&Next", this);
    VolgendeBtn->setObjectName("VolgendeBtn");
    connect(VolgendeBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::VolgendeBtnClick);
    auto* quit = new QPushButton("&Quit", this);
    quit->setObjectName("TerugBtn");
    connect(quit, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::quitRequested);

    auto* bar = new QHBoxLayout;
    bar->addWidget(help);
    bar->addStretch();
    bar->addWidget(VorigeBtn);
    bar->addWidget(VolgendeBtn);
    bar->addWidget(quit);
    return bar;
}

// ---------------------------------------------------------------------------------------------
// Closing

void TMarkovKeuzeDialoog::closeEvent(QCloseEvent* event) {
    if (ownerClosing_) {
        event->accept();
        return;
    }
    // The dialog goes only with its window; the window asks the user first.
    event->ignore();
    emit quitRequested();
}

void TMarkovKeuzeDialoog::reject() {
    // Escape would hide the dialog and leave the module without its controls.
}

// ---------------------------------------------------------------------------------------------
// Page "Input"

int TMarkovKeuzeDialoog::StateCount() const {
    return sgOvergangsMatrix->rowCount();
}

void TMarkovKeuzeDialoog::SpeedButton1Click() {
    const auto n = ParseInt(Std(EditAantalStates->text()));
    if (!n) {
        ShowError("Invalid value for number of states.");
        EditAantalStates->clear();
        EditAantalStates->setFocus();
        return;
    }
    if (*n < 1 || *n > kMaxStates) {
        ShowError("Number of states must be between 1 and 100.");
        EditAantalStates->setFocus();
        return;
    }
    InputChanged = true;
    const GridTexts before = CurrentGridTexts();
    ApplyStateCount(*n);
    const GridTexts after = CurrentGridTexts();
    // The cells a smaller chain cuts off come back with the step's undo.
    if (after != before)
        undo_->push(new DialogCommand(
            "Number of States", [this, before] { RestoreGridTexts(before); },
            [this, after] { RestoreGridTexts(after); }));
}

TMarkovKeuzeDialoog::GridTexts TMarkovKeuzeDialoog::CurrentGridTexts() const {
    GridTexts texts{StateCount(), {}, {}};
    for (int i = 0; i < texts.states; ++i) {
        for (int j = 0; j < sgOvergangsMatrix->columnCount(); ++j)
            texts.matrix << sgOvergangsMatrix->cell(i, j);
        for (int k = 0; k < sgKostenVector->columnCount(); ++k)
            texts.costs << sgKostenVector->cell(i, k);
    }
    return texts;
}

void TMarkovKeuzeDialoog::RestoreGridTexts(const GridTexts& texts) {
    InputChanged = true;  // a new size changes no text the grids could report
    const int n = texts.states;
    EditAantalStates->setText(QString::number(n));
    ApplyStateCount(n);
    const int costColumns = sgKostenVector->columnCount();
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            sgOvergangsMatrix->setCell(i, j, texts.matrix.value(i * n + j));
        for (int k = 0; k < costColumns; ++k)
            sgKostenVector->setCell(i, k, texts.costs.value(i * costColumns + k));
    }
}

void TMarkovKeuzeDialoog::ApplyStateCount(int n) {
    sgOvergangsMatrix->resizeCells(n, n, "0");
    sgOvergangsMatrix->setHorizontalHeaderLabels(Numbered(n));
    sgOvergangsMatrix->setVerticalHeaderLabels(Numbered(n));
    sgOvergangsMatrix->fillEmpty(0, n - 1, "0");
    const int costColumns = CostColumnCount(ChainKind);
    sgKostenVector->resizeCells(n, costColumns, "0");
    sgKostenVector->setVerticalHeaderLabels(Numbered(n));
    sgKostenVector->setHorizontalHeaderLabels(CostHeaders(ChainKind));
    sgKostenVector->fillEmpty(0, costColumns - 1, "0");
}

// The other kind of chain clears the grids: asked first when they hold more than zeros.
void TMarkovKeuzeDialoog::cbSoortMarkovChainChange(int index) {
    const auto wanted =
        index == 1 ? wachtrix::ChainKind::Continuous : wachtrix::ChainKind::Discrete;
    if (wanted == ChainKind) return;
    if (!GridsHoldOnlyZeros() &&
        Dialogs::show(this, DialogKind::Confirm, "Confirm",
                      "The transition matrix and the cost vector are cleared for the other kind "
                      "of chain.\nClear them?") != DialogButton::Yes) {
        const QSignalBlocker quiet(cbSoortMarkovChain);
        cbSoortMarkovChain->setCurrentIndex(ChainKind == wachtrix::ChainKind::Continuous ? 1 : 0);
        return;
    }
    SetChainKind(wanted);
}

void TMarkovKeuzeDialoog::SetChainKind(wachtrix::ChainKind kind) {
    {
        const QSignalBlocker quiet(cbSoortMarkovChain);
        cbSoortMarkovChain->setCurrentIndex(kind == wachtrix::ChainKind::Continuous ? 1 : 0);
    }
    setWindowTitle(cbSoortMarkovChain->currentText());
    ChainKind = kind;
    RebuildCostGrid();
    InputChanged = true;
    ChangeCells(nullptr, {}, ClearChanges());
    // The steps so far were of grids of another shape.
    undo_->clear();
}

bool TMarkovKeuzeDialoog::GridsHoldOnlyZeros() const {
    for (const TStringGrid* grid : {sgOvergangsMatrix, sgKostenVector})
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c) {
                const QString text = grid->cell(r, c);
                if (!text.trimmed().isEmpty() && ParseReal(Std(text)) != 0.0) return false;
            }
    return true;
}

void TMarkovKeuzeDialoog::RebuildCostGrid() {
    const int costColumns = CostColumnCount(ChainKind);
    sgKostenVector->setColumnCount(costColumns);
    for (int r = 0; r < sgKostenVector->rowCount(); ++r) {
        for (int c = 0; c < costColumns; ++c)
            sgKostenVector->setCell(r, c, "0");
    }
    sgKostenVector->setHorizontalHeaderLabels(CostHeaders(ChainKind));
}

void TMarkovKeuzeDialoog::ClearBtnClick() {
    ChangeCells(undo_, "Clear", ClearChanges());
}

std::vector<CellChange> TMarkovKeuzeDialoog::ClearChanges() const {
    const int n = StateCount();
    std::vector<CellChange> changes;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            changes.push_back({sgOvergangsMatrix, i, j, sgOvergangsMatrix->cell(i, j), "0"});
        changes.push_back({sgKostenVector, i, 0, sgKostenVector->cell(i, 0), "0"});
    }
    return changes;
}

ChainInput TMarkovKeuzeDialoog::CurrentChain() const {
    const int n = StateCount();
    const int costColumns = CostColumnCount(ChainKind);
    ChainInput chain;
    chain.kind = ChainKind;
    chain.matrix.assign(n, std::vector<std::string>(n));
    chain.costs.assign(n, std::vector<std::string>(costColumns));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            chain.matrix[i][j] = Std(sgOvergangsMatrix->cell(i, j));
        for (int k = 0; k < costColumns; ++k)
            chain.costs[i][k] = Std(sgKostenVector->cell(i, k));
    }
    return chain;
}

void TMarkovKeuzeDialoog::LoadChain(const ChainInput& chain) {
    // The file replaces what the grids held: nothing to ask.
    if (chain.kind != ChainKind) SetChainKind(chain.kind);
    const int n = chain.StateCount();
    EditAantalStates->setText(QString::number(n));
    ApplyStateCount(n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            sgOvergangsMatrix->setCell(i, j, Qs(chain.matrix[i][j]));
        for (std::size_t k = 0; k < chain.costs[i].size(); ++k)
            sgKostenVector->setCell(i, static_cast<int>(k), Qs(chain.costs[i][k]));
    }
    // Another chain: undo does not reach back into the one it replaced.
    undo_->clear();
}

void TMarkovKeuzeDialoog::OpenBtnClick() {
    const QString name =
        Dialogs::chooseFile(this, {false, "Open", kChainFileFilter, "txt", openDirectory_});
    if (name.isEmpty()) return;
    openDirectory_ = QFileInfo(name).absolutePath();
    if (settings_) settings_->setFolder(AppSettings::Folder::Open, openDirectory_);
    OpenChain(name);
}

void TMarkovKeuzeDialoog::OpenChain(const QString& file) {
    const auto chain = ReadChainFile(QFile::encodeName(file).toStdString());
    if (!chain) {
        ShowError("Cannot read file " + file);
        return;
    }
    LoadChain(*chain);
    if (settings_) settings_->addRecentChain(file);
}

void TMarkovKeuzeDialoog::OpenRecentChain(const QString& file) {
    if (!QFileInfo::exists(file)) {
        if (settings_) settings_->removeRecentChain(file);
        Dialogs::show(this, DialogKind::Error, "Recent Chains",
                      "The chain file " + file +
                          " no longer exists.\n\nIt is taken off the list of recent chains.");
        return;
    }
    PageControl1->setCurrentIndex(InputPage);  // where the chain shows
    OpenChain(file);
}

// A report or a chain went to another folder: the next save dialog opens there.
void TMarkovKeuzeDialoog::RememberSaveFolder(const QString& before) {
    if (settings_ && saveDirectory_ != before)
        settings_->setFolder(AppSettings::Folder::Save, saveDirectory_);
}

void TMarkovKeuzeDialoog::SaveBtnClick() {
    const QString name =
        Dialogs::chooseFile(this, {true, "Save As", kChainFileFilter, "txt", saveDirectory_});
    if (name.isEmpty()) return;
    const QString before = saveDirectory_;
    saveDirectory_ = QFileInfo(name).absolutePath();
    RememberSaveFolder(before);
    if (!WriteChainFile(QFile::encodeName(name).toStdString(), CurrentChain())) {
        ShowError("Cannot write file " + name);
        return;
    }
    if (settings_) settings_->addRecentChain(name);
}

// ---------------------------------------------------------------------------------------------
// Page "Choice of Output"

// As a new dialog offers them, every analysis runs on any chain as it stands.
void TMarkovKeuzeDialoog::ResetOutputChoices() {
    for (TSpinEdit* spin : {seTimePoints, seTimePoints2}) {
        const QSignalBlocker quiet(spin);
        spin->setValue(kInitialTimePoints);
    }
    for (TStringGrid* grid : {sgTimePoints, sgTimePoints2, sgEndStates})
        grid->setRowCount(0);
    for (TStringGrid* grid : {sgTimePoints, sgTimePoints2})
        SizeTimePointGrid(grid, kInitialTimePoints);
    {
        const QSignalBlocker quiet(seEndStates);
        seEndStates->setValue(std::min(StateCount(), 2));
    }
    EditInitialState->setText("1");
    rgTransientChoice->setItemIndex(0);
    editStartingState->setText("1");
    rgReturnSet->setItemIndex(0);
    EditStateA->setText("1");
    FollowInputChange();
}

// The results were of another chain and go. The choices stay, but for states the chain no
// longer has, which go back to their defaults; the end states follow the number of states.
void TMarkovKeuzeDialoog::FollowInputChange() {
    for (int k = 0; k < kResultTabs; ++k)
        SetMemoVisible(k, false);

    const int n = StateCount();
    const int maxEnd = std::min(n, kMaxEndStates);
    {
        const QSignalBlocker quiet(seEndStates);
        seEndStates->setMaximum(maxEnd);
    }
    LabelEndStates->setText("Number of end states (max " + QString::number(maxEnd) + "):");
    SizeEndStateGrid(sgEndStates, seEndStates->value(), n);
    for (int r = 0; r < sgEndStates->rowCount(); ++r)
        sgEndStates->setCell(
            r, 0, WithoutLostState(sgEndStates->cell(r, 0), n, DefaultEndState(r + 1, n)));
    for (QLineEdit* edit : {EditInitialState, editStartingState, EditStateA})
        edit->setText(WithoutLostState(edit->text(), n, "1"));
}

void TMarkovKeuzeDialoog::seTimePointsChange(int count) {
    SizeTimePointGrid(sgTimePoints, count);
}

void TMarkovKeuzeDialoog::seTimePoints2Change(int count) {
    SizeTimePointGrid(sgTimePoints2, count);
}

void TMarkovKeuzeDialoog::seEndStatesChange(int count) {
    SizeEndStateGrid(sgEndStates, count, StateCount());
}

void TMarkovKeuzeDialoog::rgSoortClick(int index) {
    gbTransient->setVisible(index == 2);
    gbFirstPassage->setVisible(index == 3);
}

void TMarkovKeuzeDialoog::rgTransientChoiceClick(int index) {
    const bool endStatesCount = index != static_cast<int>(TransientChoice::Costs);
    LabelEndStates->setEnabled(endStatesCount);
    seEndStates->setEnabled(endStatesCount);
    sgEndStates->setEnabled(endStatesCount);
}

void TMarkovKeuzeDialoog::SimuleerBtnClick() {
    // Events are let through during a run; a second Run must wait for the first.
    if (running_) return;
    chain_.CostVectorRead = false;
    chain_.DataLoaded = false;
    const ChainInput input = CurrentChain();
    if (const auto fault = FindChainFault(ChainNumbersFromInput(input))) {
        ShowError(Qs(fault->message));
        PageControl1->setCurrentIndex(InputPage);
        PutCursorOn(fault->inCosts ? sgKostenVector : sgOvergangsMatrix, fault->row, fault->column);
        return;
    }
    if (FirstRun) {
        LastPage = ResultsPage;
        FirstRun = false;
        PageControl1->setTabEnabled(ResultsPage, true);
        UpdateNavigation();
    }
    chain_ = ChainDataFromInput(input);
    const auto request = CheckMarkovChoice(CurrentChoice(), chain_);
    if (!request.ok()) {
        ShowError(Qs(request.error));
        ShowRefusedChoice(request.place);
        return;
    }

    // The result tabs are in the order of the analyses.
    const int tab = static_cast<int>(request.value.analysis);
    memos_[tab]->clear();
    if (TMarkovProgress* dialog = MarkovProgress()) dialog->ClearStopRequest();
    MarkovProgressRun progress(MarkovProgress(), this);
    MarkovReport report;
    {
        const QScopedValueRollback<bool> running(running_, true);
        report = RunMarkovAnalysis(request.value, chain_, progress);
    }
    if (!report.failure.empty()) PrintFailureLines(report.failure);
    if (report.stopped) {
        // Only the header was written; the memo is not shown and the dialog stays where it is.
        memos_[tab]->setPlainText(JoinLines(report.lines));
        return;
    }
    ShowReport(tab, report.lines);
}

void TMarkovKeuzeDialoog::PutCursorOn(TStringGrid* grid, int row, int column) {
    grid->setCurrentCell(row, column);
    grid->scrollToItem(grid->item(row, column));
    grid->setFocus();
}

// The input a refused choice concerns, of the analysis chosen, ready to be mended.
void TMarkovKeuzeDialoog::ShowRefusedChoice(const InputPlace& place) {
    const bool transient = rgSoort->itemIndex() == static_cast<int>(MarkovAnalysis::Transient);
    switch (place.input) {
        case ChoiceInput::None:
            return;
        case ChoiceInput::InitialState: {
            QLineEdit* edit = transient ? EditInitialState : editStartingState;
            edit->setFocus();
            edit->selectAll();
            return;
        }
        case ChoiceInput::TimePoints:
            PutCursorOn(transient ? sgTimePoints : sgTimePoints2, place.row, 0);
            return;
        case ChoiceInput::EndStates:
            PutCursorOn(sgEndStates, place.row, 0);
            return;
        case ChoiceInput::StateA:
            EditStateA->setFocus();
            EditStateA->selectAll();
            return;
    }
}

MarkovChoice TMarkovKeuzeDialoog::CurrentChoice() const {
    MarkovChoice choice;
    choice.analysis = static_cast<MarkovAnalysis>(rgSoort->itemIndex());
    choice.transient = {Std(EditInitialState->text()),
                        OptionValues(sgTimePoints, seTimePoints->value()),
                        static_cast<TransientChoice>(rgTransientChoice->itemIndex()),
                        OptionValues(sgEndStates, seEndStates->value())};
    choice.firstPassage = {
        Std(editStartingState->text()), OptionValues(sgTimePoints2, seTimePoints2->value()),
        static_cast<ReturnSetType>(rgReturnSet->itemIndex()), Std(EditStateA->text())};
    return choice;
}

// ---------------------------------------------------------------------------------------------
// Pages and results

void TMarkovKeuzeDialoog::VolgendeBtnClick() {
    const int next = PageControl1->currentIndex() + 1;
    if (next <= LastPage) PageControl1->setCurrentIndex(next);
}

void TMarkovKeuzeDialoog::VorigeBtnClick() {
    const int previous = PageControl1->currentIndex() - 1;
    if (previous >= 0) PageControl1->setCurrentIndex(previous);
}

void TMarkovKeuzeDialoog::PageControl1Change(int index) {
    if (index == ResultsPage && FirstRun) {
        // No results before the first Run: back to where the user was.
        const QSignalBlocker quiet(PageControl1);
        PageControl1->setCurrentIndex(activePage_);
        return;
    }
    activePage_ = index;
    if (InputChanged) {
        FollowInputChange();
        InputChanged = false;
    }
    UpdateNavigation();
}

void TMarkovKeuzeDialoog::UpdateNavigation() {
    const int page = PageControl1->currentIndex();
    VorigeBtn->setEnabled(page != InputPage);
    VolgendeBtn->setEnabled(page != LastPage);
}

void TMarkovKeuzeDialoog::SetMemoVisible(int tab, bool visible) {
    memos_[tab]->setVisible(visible);
    noResults_[tab]->setVisible(!visible);
    UpdateResultButtons();
}

QPlainTextEdit* TMarkovKeuzeDialoog::VisibleMemo() const {
    QPlainTextEdit* memo = memos_[PageControl2->currentIndex()];
    return memo->isHidden() ? nullptr : memo;
}

// A report kept on its own has to say which chain it answers; results are cleared whenever the
// grids change, so the grids still hold the chain that was analysed.
std::unique_ptr<QTextDocument> TMarkovKeuzeDialoog::KeptReport() const {
    const QPlainTextEdit* memo = VisibleMemo();
    if (!memo) return nullptr;
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(memo->font());
    document->setPlainText(JoinLines(ChainListing(CurrentChain())) + "\n\n" + memo->toPlainText());
    return document;
}

QString TMarkovKeuzeDialoog::MemoTitle() const {
    return PageControl2->tabText(PageControl2->currentIndex());
}

void TMarkovKeuzeDialoog::UpdateResultButtons() {
    const bool results = VisibleMemo() != nullptr;
    for (QPushButton* button : resultButtons_)
        if (button) button->setEnabled(results);
}

void TMarkovKeuzeDialoog::ShowReport(int tab, const std::vector<std::string>& lines) {
    PageControl1->setCurrentIndex(ResultsPage);
    PageControl2->setCurrentIndex(tab);
    memos_[tab]->setPlainText(JoinLines(lines));
    SetMemoVisible(tab, true);
    VolgendeBtn->setEnabled(false);
}

void TMarkovKeuzeDialoog::ShowError(const QString& text) {
    Dialogs::show(this, DialogKind::Error, "Error", text);
}

}  // namespace wachtrix::ui
