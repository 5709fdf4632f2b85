// The Markov dialog driven through its widgets: the grids, their undo, the runs and their
// reports, the chain files; the module's window around it and the progress dialog.

#include "ui/markov/markov_keuze_dialoog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <memory>
#include <optional>

#include "ui/common/help.h"
#include "ui/common/radio_group.h"
#include "ui/common/ui_test_support.h"
#include "ui/markov/markov_progress.h"
#include "ui/markov/markov_window.h"
#include "ui/markov/spin_edit.h"
#include "ui/markov/string_grid.h"

using wachtrix::ChainKind;
using wachtrix::testing::Child;
using wachtrix::testing::DataRows;
using wachtrix::testing::DataText;
using wachtrix::testing::DialogRecorder;
using namespace wachtrix::ui;

namespace {

using Rows = QList<QStringList>;

// Grid texts row by row: "0.5 0.5 / 0 1" -> {{"0.5", "0.5"}, {"0", "1"}}.
Rows Grid(const QString& text) {
    Rows rows;
    for (const QString& row : text.split('/'))
        rows << row.split(' ', Qt::SkipEmptyParts);
    return rows;
}

// The result memos, in the order of the analyses and their tabs.
const char* const kMemos[] = {"MemoChainStructure", "MemoSteadyState", "MemoTransient",
                              "MemoFirstPassageTime", "MemoMeanPassage"};
const char* const kReports = "markov_reports.txt";

// A walk on three states; from state 1, P(X(t) = 1) = 1/4 + (1/2)^(t+1).
const char* const kWalk = "0.5 0.5 0 / 0.25 0.5 0.25 / 0 0.5 0.5";

}  // namespace

class MarkovKeuzeDialoogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMarkovKeuzeDialoog> dialog;
    std::unique_ptr<DialogRecorder> boxes;
    QPointer<TMarkov> module;  // the Markov module's window, when a test opens it

    template <class T>
    T* w(const QString& name) {
        return Child<T>(dialog.get(), name);
    }
    QTabWidget* pages() { return w<QTabWidget>("PageControl1"); }
    TStringGrid* matrix() { return w<TStringGrid>("sgOvergangsMatrix"); }
    TStringGrid* costs() { return w<TStringGrid>("sgKostenVector"); }
    QPlainTextEdit* memo(const QString& name) { return w<QPlainTextEdit>(name); }
    QLabel* noResults(const QString& memo) {
        return w<QLabel>(QString(memo).replace("Memo", "NoResults"));
    }

    static Rows Cells(const QTableWidget* grid) {
        Rows rows;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < grid->columnCount(); ++c)
                row << (grid->item(r, c) ? grid->item(r, c)->text() : QString("<none>"));
            rows << row;
        }
        return rows;
    }
    static QStringList Labels(const QTableWidget* grid, Qt::Orientation orientation) {
        QStringList labels;
        const int count = orientation == Qt::Vertical ? grid->rowCount() : grid->columnCount();
        for (int k = 0; k < count; ++k) {
            const QTableWidgetItem* item = orientation == Qt::Vertical
                                               ? grid->verticalHeaderItem(k)
                                               : grid->horizontalHeaderItem(k);
            labels << (item ? item->text() : QString());
        }
        return labels;
    }
    static Rows Filled(int rows, int columns, const QString& text) {
        return Rows(rows, QStringList(columns, text));
    }
    static QPoint Current(const QTableWidget* grid) {
        return {grid->currentRow(), grid->currentColumn()};
    }

    void SetStates(const QString& text) {
        QLineEdit* edit = w<QLineEdit>("EditAantalStates");
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void SetGrid(QTableWidget* grid, const Rows& rows) {
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                grid->item(r, c)->setText(rows[r][c]);
    }
    // The chain of that kind (the kind combo's item) with its rows and costs.
    void EnterChain(const QString& m, const QString& c, int kind = 0) {
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(kind);
        SetStates(QString::number(Grid(m).size()));
        SetGrid(matrix(), Grid(m));
        SetGrid(costs(), Grid(c));
    }
    // The output-choice page with an analysis chosen; its options may be set next.
    void Choose(int analysis) {
        pages()->setCurrentIndex(TMarkovKeuzeDialoog::ChoicePage);
        w<RadioGroup>("rgSoort")->item(analysis)->click();
    }
    void Run(int analysis) {
        Choose(analysis);
        w<QPushButton>("SimuleerBtn")->click();
    }
    // Output options as words: "seTimePoints=5,1,5" sets a count and fills its grid,
    // "rgTransientChoice=2" clicks that item, "EditStateA=2" types into the edit.
    void Set(const QString& options) {
        for (const QString& word : options.split(' ', Qt::SkipEmptyParts)) {
            const QString name = word.section('=', 0, 0);
            const QStringList values = word.section('=', 1).split(',');
            if (name.startsWith("se")) {
                w<TSpinEdit>(name)->setValue(values.size());
                SetGrid(w<TStringGrid>("sg" + name.mid(2)), Grid(values.join('/')));
            } else if (name.startsWith("rg")) {
                w<RadioGroup>(name)->item(values[0].toInt())->click();
            } else {
                w<QLineEdit>(name)->setText(values[0]);
            }
        }
    }
    // The module's window, shown, and its own dialog.
    TMarkovKeuzeDialoog* OpenModule() {
        module = new TMarkov;
        module->show();
        return module->dialog();
    }
    static QAction* Action(QMenu* menu, const QString& text) {
        for (QAction* action : menu->actions())
            if (action->text() == text) return action;
        qFatal("no menu item %s", qPrintable(text));
    }
    void Activate() {
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }
    void ClickCell(int row, int column) {
        QTest::mouseClick(matrix()->viewport(), Qt::LeftButton, {},
                          matrix()->visualItemRect(matrix()->item(row, column)).center());
    }
    // Both grids, as one state of the chain.
    Rows Chain() { return Cells(matrix()) + Rows{{"|"}} + Cells(costs()); }
    void TypeIntoCell(int row, int column, const QString& text) {
        TStringGrid* grid = matrix();
        grid->setFocus();
        grid->setCurrentCell(row, column);
        QTest::keyClicks(grid, text);  // any key opens the cell's editor
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the editor hands its text over from the queue
        QCOMPARE(grid->cell(row, column), text);
    }
    void Undo() { QTest::keyClick(matrix(), Qt::Key_Z, Qt::ControlModifier); }
    void Redo() { QTest::keyClick(matrix(), Qt::Key_Y, Qt::ControlModifier); }
    QStringList MemoLines(const QString& name) { return memo(name)->toPlainText().split('\n'); }
    // Shown when its page and tab are: not hidden on its own.
    static bool Shown(const QWidget* widget) { return !widget->isHidden(); }

private slots:
    void init() {
        boxes = std::make_unique<DialogRecorder>();
        dialog = std::make_unique<TMarkovKeuzeDialoog>();
        dialog->show();
    }
    void cleanup() {
        delete module;
        wachtrix::testing::DeleteClosedWindows();
        dialog.reset();
        boxes.reset();
    }

    void startsWithFiveDiscreteStatesOnTheInputPage() {
        QCOMPARE(dialog->windowTitle(), QString("Discrete Time Markov Chains"));
        QCOMPARE(w<QLineEdit>("EditAantalStates")->text(), QString("5"));
        QCOMPARE(Cells(matrix()), Filled(5, 5, "0"));
        QCOMPARE(Cells(costs()), Filled(5, 1, "0"));
        QCOMPARE(Labels(matrix(), Qt::Horizontal), QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(Labels(matrix(), Qt::Vertical), QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(Labels(costs(), Qt::Horizontal), QStringList{"c(j)"});
        QCOMPARE(pages()->currentIndex(), 0);
        QCOMPARE(w<RadioGroup>("rgSoort")->itemIndex(), 0);
        for (const char* name : kMemos)
            QVERIFY(!Shown(memo(name)) && Shown(noResults(name)));
    }

    // The results page opens with the first run, showing each result tab's whole title at the
    // size the dialog opens with.
    void navigationStopsBeforeTheResultsUntilTheFirstRun() {
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QPushButton* next = w<QPushButton>("VolgendeBtn");
        QPushButton* previous = w<QPushButton>("VorigeBtn");
        QVERIFY(!previous->isEnabled() && next->isEnabled());
        next->click();
        QCOMPARE(pages()->currentIndex(), 1);
        QVERIFY(previous->isEnabled());
        QVERIFY(!next->isEnabled());
        pages()->setCurrentIndex(TMarkovKeuzeDialoog::ResultsPage);
        QCOMPARE(pages()->currentIndex(), 1);  // undone
        previous->click();
        QCOMPARE(pages()->currentIndex(), 0);
        QVERIFY(!previous->isEnabled());

        EnterChain("1", "0");
        Run(0);
        QCOMPARE(pages()->currentIndex(), 2);
        QVERIFY(!next->isEnabled());
        QTabBar* bar = w<QTabWidget>("PageControl2")->tabBar();
        QCOMPARE(bar->count(), TMarkovKeuzeDialoog::kResultTabs);
        for (int k = 0; k < bar->count(); ++k) {
            const QRect tab = bar->tabRect(k);
            QVERIFY2(bar->rect().contains(tab) &&
                         tab.width() > bar->fontMetrics().horizontalAdvance(bar->tabText(k)),
                     qPrintable(bar->tabText(k)));
        }
        previous->click();
        QCOMPARE(pages()->currentIndex(), 1);
        QVERIFY(next->isEnabled());
        next->click();
        QCOMPARE(pages()->currentIndex(), 2);
    }

    void numberOfStatesResizesTheGridsAndKeepsEntries() {
        matrix()->item(0, 1)->setText("0.5");
        matrix()->item(2, 2)->setText("");
        costs()->item(1, 0)->setText("7");
        SetStates("3");
        QCOMPARE(Cells(matrix()), Grid("0 0.5 0 / 0 0 0 / 0 0 0"));
        QCOMPARE(Cells(costs()), Grid("0 / 7 / 0"));
        SetStates("4");
        QCOMPARE(Cells(matrix()), Grid("0 0.5 0 0 / 0 0 0 0 / 0 0 0 0 / 0 0 0 0"));
        QCOMPARE(Labels(costs(), Qt::Vertical), QStringList({"1", "2", "3", "4"}));
        w<QLineEdit>("EditAantalStates")->setText("100");
        w<QToolButton>("SpeedButton1")->click();
        QCOMPARE(matrix()->rowCount(), 100);
        QCOMPARE(matrix()->columnCount(), 100);
        QCOMPARE(matrix()->item(99, 99)->text(), QString("0"));
        QVERIFY(boxes->requests.empty());

        QLineEdit* edit = w<QLineEdit>("EditAantalStates");
        SetStates("abc");
        SetStates("0");
        SetStates("101");
        QCOMPARE(boxes->texts(), QStringList({"Invalid value for number of states.",
                                              "Number of states must be between 1 and 100.",
                                              "Number of states must be between 1 and 100."}));
        for (const auto& r : boxes->requests) {
            QCOMPARE(r.kind, DialogKind::Error);
            QCOMPARE(r.title, QString("Error"));
        }
        QCOMPARE(edit->text(), QString("101"));  // only an unreadable text is cleared
        SetStates("x");
        QCOMPARE(edit->text(), QString());
        QCOMPARE(matrix()->rowCount(), 100);
    }

    // The other kind rebuilds the cost grid and clears both grids, after asking when they hold
    // more than zeros; No keeps the chain as it was.
    void chainKindChangeAsksBeforeItClears() {
        auto* kind = w<QComboBox>("cbSoortMarkovChain");
        matrix()->item(0, 0)->setText("1");
        costs()->item(0, 0)->setText("3");
        const Rows m = Cells(matrix()), c = Cells(costs());
        kind->setCurrentIndex(1);
        QCOMPARE(boxes->texts(), QStringList{"The transition matrix and the cost vector are "
                                             "cleared for the other kind of chain.\nClear them?"});
        QCOMPARE(boxes->requests[0].kind, DialogKind::Confirm);
        QCOMPARE(kind->currentIndex(), 0);
        QCOMPARE(dialog->chainKind(), ChainKind::Discrete);
        QCOMPARE(Cells(matrix()), m);
        QCOMPARE(Cells(costs()), c);

        boxes->answer(DialogButton::Yes);
        kind->setCurrentIndex(1);
        QCOMPARE(boxes->requests.size(), 2);
        QCOMPARE(dialog->windowTitle(), QString("Continuous Time Markov Chains "));
        QCOMPARE(dialog->chainKind(), ChainKind::Continuous);
        QCOMPARE(Cells(matrix()), Filled(5, 5, "0"));
        QCOMPARE(Cells(costs()), Filled(5, 2, "0"));
        QCOMPARE(Labels(costs(), Qt::Horizontal), QStringList({"r(j)", "F(k)"}));
        kind->setCurrentIndex(0);  // only zeros: nothing to ask
        QCOMPARE(boxes->requests.size(), 2);
        QCOMPARE(Cells(costs()), Filled(5, 1, "0"));
        QCOMPARE(Labels(costs(), Qt::Horizontal), QStringList{"c(j)"});
        QCOMPARE(dialog->chainKind(), ChainKind::Discrete);
    }

    // Enter moves right through the matrix, down through the costs and the option grids, and
    // stores what a cell editor holds.
    void enterMovesThroughTheGrids() {
        Activate();
        // Enter in a grid from a cell made current first, or from where the last Enter went.
        const auto enter = [](TStringGrid* grid, std::optional<QPoint> from, Qt::Key key) {
            if (from) grid->setCurrentCell(from->x(), from->y());
            QTest::keyClick(grid, key);
            return Current(grid);
        };
        TStringGrid* m = matrix();
        m->setFocus();
        QCOMPARE(enter(m, QPoint(0, 0), Qt::Key_Return), QPoint(0, 1));
        QCOMPARE(enter(m, QPoint(0, 4), Qt::Key_Enter), QPoint(1, 0));
        QCOMPARE(enter(m, QPoint(4, 4), Qt::Key_Return), QPoint(4, 4));

        TypeIntoCell(1, 4, "0.25");
        QCOMPARE(Current(m), QPoint(2, 0));

        boxes->answer(DialogButton::Yes);
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(1);
        QCOMPARE(enter(costs(), QPoint(3, 0), Qt::Key_Return), QPoint(4, 0));
        QCOMPARE(enter(costs(), std::nullopt, Qt::Key_Return), QPoint(0, 1));
        Choose(2);
        TStringGrid* t = w<TStringGrid>("sgTimePoints");
        QCOMPARE(enter(t, QPoint(2, 0), Qt::Key_Return), QPoint(3, 0));
        QCOMPARE(enter(t, std::nullopt, Qt::Key_Return), QPoint(3, 0));
    }

    // Clicking the cell that is already current and typing at once, quicker than a double
    // click: the text replaces that cell's value, whenever the click's own edit timer fires.
    // The keys go to the grid, where they were queued before any editor opened.
    void typingRightAfterAClickOnTheCurrentCellEditsThatCell() {
        Activate();
        TStringGrid* m = matrix();
        m->item(1, 2)->setText("0.3");
        ClickCell(1, 2);
        QCOMPARE(Current(m), QPoint(1, 2));
        ClickCell(1, 2);
        QTest::keyClicks(m, "0.7");
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(m->item(1, 2)->text(), QString("0.7"));
        QCOMPARE(m->item(2, 2)->text(), QString("0"));
        QCOMPARE(m->item(1, 3)->text(), QString("0"));
        QCOMPARE(Current(m), QPoint(1, 3));

        // A cell reached by a click on another one takes typing at once as well.
        ClickCell(3, 0);
        QTest::keyClicks(m, "0.25");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(m->item(3, 0)->text(), QString("0.25"));
    }

    // Showing the transient or first-passage group moves nothing else on the page: the choices
    // keep their lines, "&Run" its size, the dialog its size.
    void choicePageKeepsItsLayoutWhicheverGroupShows() {
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        Choose(0);
        QApplication::processEvents();
        auto* choices = w<RadioGroup>("rgSoort");
        auto* run = w<QPushButton>("SimuleerBtn");
        const QRect choicesAt = choices->geometry();
        const QRect runAt = run->geometry();
        const QSize dialogSize = dialog->size();
        for (int item : {2, 3, 1, 3, 2, 0}) {
            choices->item(item)->click();
            QApplication::processEvents();
            QCOMPARE(Shown(w<QGroupBox>("gbTransient")), item == 2);
            QCOMPARE(Shown(w<QGroupBox>("gbFirstPassage")), item == 3);
            QCOMPARE(choices->geometry(), choicesAt);
            QCOMPARE(run->geometry(), runAt);
            QCOMPARE(dialog->size(), dialogSize);
            for (int k = 0; k < choices->count(); ++k) {
                QRadioButton* button = choices->item(k);
                QCOMPARE(button->height(),
                         button->heightForWidth(button->sizeHint().width()));  // one line
            }
            QVERIFY(run->width() >= run->sizeHint().width());
        }
    }

    // A block copied from a spreadsheet or a text file goes in from the current cell; one that
    // does not fit, is not rectangular or holds a text that is not a number is refused with
    // one message, and no cell changes (the blocks of tests/data/ui/markov_reports.txt).
    void pasteFillsABlockFromTheCurrentCell_data() {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("message");
        for (const QStringList& r : DataRows(kReports, "paste"))
            QTest::newRow(qPrintable(r.at(0)))
                << QString(r.at(1)).replace("\\t", "\t").replace("\\r", "\r").replace("\\n", "\n")
                << r.at(2);
    }
    void pasteFillsABlockFromTheCurrentCell() {
        QFETCH(QString, clip);
        QFETCH(QString, message);
        TStringGrid* m = matrix();
        m->item(1, 2)->setText("0.9");
        const Rows before = Cells(m);
        m->setFocus();
        m->setCurrentCell(1, 2);
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(m, Qt::Key_V, Qt::ControlModifier);
        if (message.isEmpty()) {
            QVERIFY(boxes->requests.empty());
            QCOMPARE(Cells(m), Grid("0 0 0 0 0 / 0 0 0.5 0.5 0 / 0 0 0.25 0.75 0 / 0 0 0 0 0 / "
                                    "0 0 0 0 0"));
        } else {
            QCOMPARE(boxes->texts(), QStringList{message});
            QCOMPARE(boxes->requests[0].kind, DialogKind::Error);
            QCOMPARE(Cells(m), before);
        }
    }

    // Ctrl+C gives the selected block as tab-separated rows, which paste back elsewhere; a block
    // pasted into an open cell editor still goes in as a block.
    void copyAndPasteABlock() {
        Activate();
        TStringGrid* m = matrix();
        SetGrid(m, Grid("0.1 0.2 0.7 / 1 0 0"));
        m->setFocus();
        m->setCurrentCell(0, 0);
        m->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 2), true);
        QTest::keyClick(m, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("0.1\t0.2\t0.7\n1\t0\t0\n"));

        // A click on the current cell opens its editor; the block still lands in the grid.
        ClickCell(3, 2);
        ClickCell(3, 2);
        QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QCOMPARE(Cells(m).mid(3), Grid("0 0 0.1 0.2 0.7 / 0 0 1 0 0"));
        QVERIFY(boxes->requests.empty());

        // One value in an open editor is ordinary text for that cell.
        QGuiApplication::clipboard()->setText("0.35");
        ClickCell(0, 4);
        ClickCell(0, 4);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(m->item(0, 4)->text(), QString("0.35"));
    }

    // The choices as offered run at once on any chain. Results stay, whatever page is shown,
    // until the input changes; then all of them go. What the user chose stays when the input
    // changes, but for states the chain no longer has.
    void outputChoicesRunAsOfferedAndStayAfterAnInputChange() {
        EnterChain(kWalk, "2 / 2 / 2");
        Choose(2);
        QCOMPARE(Cells(w<TStringGrid>("sgTimePoints")), Grid("1 / 2 / 5 / 10"));
        QCOMPARE(Cells(w<TStringGrid>("sgEndStates")), Grid("1 / 2"));
        for (int analysis = 0; analysis < 5; ++analysis)
            Run(analysis);
        QVERIFY(boxes->requests.empty());
        for (const int page : {1, 2, 0}) {
            pages()->setCurrentIndex(page);
            for (const char* name : kMemos)
                QVERIFY2(Shown(memo(name)), name);
        }
        matrix()->item(0, 0)->setText("0.4");
        matrix()->item(0, 1)->setText("0.6");
        pages()->setCurrentIndex(1);
        for (const char* name : kMemos)
            QVERIFY2(!Shown(memo(name)) && Shown(noResults(name)), name);
        Run(0);

        Choose(3);
        Set("seTimePoints2=7,3 editStartingState=3 EditStateA=2 rgReturnSet=2");
        Choose(2);
        Set("EditInitialState=3 rgTransientChoice=1 seEndStates=3,2");
        pages()->setCurrentIndex(0);
        SetStates("2");
        pages()->setCurrentIndex(1);
        for (const char* name : kMemos)
            QVERIFY2(!Shown(memo(name)), name);  // the results were of the other chain
        QCOMPARE(w<TSpinEdit>("seTimePoints2")->value(), 2);
        QCOMPARE(Cells(w<TStringGrid>("sgTimePoints2")), Grid("7 / 3"));
        QCOMPARE(w<RadioGroup>("rgReturnSet")->itemIndex(), 2);
        QCOMPARE(w<QLineEdit>("EditStateA")->text(), QString("2"));
        QCOMPARE(w<RadioGroup>("rgTransientChoice")->itemIndex(), 1);
        QCOMPARE(w<RadioGroup>("rgSoort")->itemIndex(), 2);
        // State 3 is gone: back to the defaults.
        QCOMPARE(w<QLineEdit>("EditInitialState")->text(), QString("1"));
        QCOMPARE(w<QLineEdit>("editStartingState")->text(), QString("1"));
        QCOMPARE(Cells(w<TStringGrid>("sgEndStates")), Grid("1 / 2"));
    }

    // The time-point and end-state grids follow their counts, the end states the states; the
    // expected costs need no end states.
    void optionGridsFollowTheirCounts() {
        pages()->setCurrentIndex(1);
        auto* times = w<TSpinEdit>("seTimePoints");
        auto* times2 = w<TSpinEdit>("seTimePoints2");
        QVERIFY(!times->typeable());
        QVERIFY(times2->typeable());
        QCOMPARE(times->minimum(), 1);
        QCOMPARE(times->maximum(), 25);
        auto* grid = w<TStringGrid>("sgTimePoints2");
        grid->item(3, 0)->setText("40");
        times2->setValue(5);
        QCOMPARE(Cells(grid), Grid("1 / 2 / 5 / 40 / 20"));
        QCOMPARE(Labels(grid, Qt::Vertical).last(), QString("time point 5 (<=5000)"));
        times2->setValue(2);
        QCOMPARE(grid->rowCount(), 2);

        auto* ends = w<TSpinEdit>("seEndStates");
        auto* endGrid = w<TStringGrid>("sgEndStates");
        auto* label = w<QLabel>("LabelEndStates");
        QCOMPARE(ends->value(), 2);
        QCOMPARE(ends->maximum(), 4);
        QCOMPARE(Labels(endGrid, Qt::Vertical), QStringList({"end state 1", "end state 2"}));
        ends->setValue(3);
        QCOMPARE(Labels(endGrid, Qt::Vertical).last(), QString("end state 3"));
        QCOMPARE(label->text(), QString("Number of end states (max 4):"));
        auto* choice = w<RadioGroup>("rgTransientChoice");
        choice->item(2)->click();
        QVERIFY(!label->isEnabled() && !ends->isEnabled() && !endGrid->isEnabled());
        choice->item(1)->click();
        QVERIFY(label->isEnabled() && ends->isEnabled() && endGrid->isEnabled());

        // The count stays as far as the states allow.
        for (const auto& [states, count, maximum] : {std::tuple{"1", 1, 1}, {"3", 1, 3}}) {
            pages()->setCurrentIndex(0);
            SetStates(states);
            pages()->setCurrentIndex(1);
            QCOMPARE(ends->value(), count);
            QCOMPARE(ends->maximum(), maximum);
            ends->stepUp();
            QCOMPARE(ends->value(), std::min(count + 1, maximum));
            QCOMPARE(endGrid->rowCount(), ends->value());
            QCOMPARE(label->text(), QString("Number of end states (max %1):").arg(maximum));
        }
    }

    // Each analysis reads the grids and its options, hands the chain over and shows its report
    // on its own tab; the time analyses show the progress dialog meanwhile. A refused Run shows
    // one box and leaves the user where the input can be mended.
    // One Run: a row of the section [runs] of tests/data/ui/markov_reports.txt.
    void runReadsTheInputAndShowsTheReport_data() {
        wachtrix::testing::AddDataRows(kReports, "runs");
    }
    void runReadsTheInputAndShowsTheReport() {
        QFETCH(QStringList, row);
        const QString &matrixText = row.at(2), &costText = row.at(3), &cursor = row.at(8);
        const int analysis = row.at(4).toInt(), refusedOnPage = row.at(7).toInt();
        const QString refusal = QString(row.at(6)).replace("\\n", "\n");
        TMarkovProgress progress;
        SetMarkovProgress(&progress);
        EnterChain(matrixText, costText, row.at(1).toInt());
        Choose(analysis);
        Set(row.at(5));
        bool progressShown = false;
        QTimer::singleShot(0, &progress, [&] { progressShown = progress.isVisible(); });
        w<QPushButton>("SimuleerBtn")->click();
        SetMarkovProgress(nullptr);

        const wachtrix::ChainData& chain = dialog->chainData();
        const char* shown = kMemos[analysis];
        if (!refusal.isEmpty()) {
            QCOMPARE(boxes->texts(), QStringList{refusal});
            QCOMPARE(boxes->requests[0].kind, DialogKind::Error);
            QCOMPARE(pages()->currentIndex(), refusedOnPage);
            const QStringList at = cursor.split(' ');
            QCOMPARE(dialog->focusWidget()->objectName(), at[0]);
            if (at.size() == 3)
                QCOMPARE(Current(w<TStringGrid>(at[0])), QPoint(at[1].toInt(), at[2].toInt()));
            QCOMPARE(chain.DataLoaded, refusedOnPage == TMarkovKeuzeDialoog::ChoicePage);
            QVERIFY(!Shown(memo(shown)));
            // The results page: reachable once a chain was handed over.
            pages()->setCurrentIndex(TMarkovKeuzeDialoog::ResultsPage);
            QCOMPARE(pages()->currentIndex() == TMarkovKeuzeDialoog::ResultsPage, chain.DataLoaded);
            return;
        }
        QVERIFY(boxes->requests.empty());
        QCOMPARE(MemoLines(shown), DataText(kReports, qPrintable(row.at(0))));
        QCOMPARE(progressShown, analysis == 2 || analysis == 3);
        QVERIFY(!progress.isVisible());
        QCOMPARE(pages()->currentIndex(), int(TMarkovKeuzeDialoog::ResultsPage));
        QCOMPARE(w<QTabWidget>("PageControl2")->currentIndex(), analysis);
        for (const char* name : kMemos)
            QCOMPARE(Shown(memo(name)), name == shown);
        QVERIFY(!Shown(noResults(shown)));
        QVERIFY(!w<QPushButton>("VolgendeBtn")->isEnabled());
        // The chain as handed over to the analyses, 1-based.
        QVERIFY(chain.DataLoaded && chain.CostVectorRead);
        const Rows m = Grid(matrixText), costs = Grid(costText);
        QCOMPARE(chain.StateCount, int(m.size()));
        for (int i = 0; i < m.size(); ++i) {
            for (int j = 0; j < m.size(); ++j)
                QCOMPARE(chain.TransitionMatrix[i + 1][j + 1], m[i][j].toDouble());
            for (int k = 0; k < costs[i].size(); ++k)
                QCOMPARE(chain.CostMatrix[i + 1][k + 1], costs[i][k].toDouble());
        }
    }

    // While a run lasts, the progress dialog is kept above the dialog that started it (its
    // transient parent), so that a click on the dialog cannot bury Stop.
    void progressStaysAboveTheDialogDuringARun() {
        QWidget owner;  // as the program's main window owns the progress dialog
        TMarkovProgress progress(&owner);
        SetMarkovProgress(&progress);
        EnterChain(kWalk, "2 / 2 / 2");
        Choose(2);
        const QWindow* over = nullptr;
        QTimer::singleShot(0, &progress, [&] {
            dialog->raise();
            dialog->activateWindow();
            if (progress.isVisible()) over = progress.windowHandle()->transientParent();
        });
        w<QPushButton>("SimuleerBtn")->click();
        SetMarkovProgress(nullptr);
        QVERIFY(boxes->requests.empty());
        QVERIFY(over);
        QCOMPARE(over, dialog->windowHandle());
        QVERIFY(!progress.isVisible());
    }

    // Stop pressed during a run: the memo keeps only its four header lines and is not shown,
    // the dialog stays on its page, and the progress dialog goes.
    void stopDuringARunLeavesOnlyTheHeader_data() {
        wachtrix::testing::AddDataRows(kReports, "stop");
    }
    void stopDuringARunLeavesOnlyTheHeader() {
        QFETCH(QStringList, row);
        const int analysis = row.at(1).toInt();
        TMarkovProgress progress;
        SetMarkovProgress(&progress);
        EnterChain("0 20 / 20 0", "0 0 / 0 0", 1);  // nu t = 1e5
        Choose(analysis);
        Set(row.at(2));
        QTimer::singleShot(0, &progress,
                           [&] { Child<QPushButton>(&progress, "StopBtn")->click(); });
        w<QPushButton>("SimuleerBtn")->click();
        SetMarkovProgress(nullptr);

        QVERIFY(progress.StopRequested());
        QVERIFY(!progress.isVisible());
        QCOMPARE(MemoLines(kMemos[analysis]), DataText(kReports, qPrintable(row.at(3))).mid(0, 4));
        QVERIFY(!Shown(memo(kMemos[analysis])));
        QCOMPARE(pages()->currentIndex(), 1);
        QVERIFY(boxes->requests.empty());
    }

    // The report on view can be kept as text or PDF; without a report there is nothing to keep.
    void resultsOnViewCanBeSaved() {
        auto* save = w<QPushButton>("SaveMemoBtn");
        QVERIFY(!save->isEnabled());
        QVERIFY(!w<QPushButton>("PrintMemoBtn")->isEnabled());
        EnterChain("0 1 0 / 0 0 1 / 0 0 1", "0 / 0 / 0");
        Run(0);
        QVERIFY(save->isEnabled());
        QVERIFY(w<QPushButton>("PreviewMemoBtn")->isEnabled());

        // As text: keptReportsStartWithTheChain.
        QTemporaryDir dir;
        boxes->fileName = dir.filePath("structure.pdf");
        save->click();
        QVERIFY(boxes->fileRequests.at(0).save);
        QVERIFY(wachtrix::testing::IsPdf(boxes->fileName));
        QVERIFY(boxes->requests.empty());

        // Another result tab, still empty: nothing to keep there.
        w<QTabWidget>("PageControl2")->setCurrentIndex(TMarkovKeuzeDialoog::SteadyStateTab);
        QVERIFY(!save->isEnabled());
    }

    // A kept report carries the chain it answers, as entered; its HTML falls back to any fixed
    // pitch.
    void keptReportsStartWithTheChain() {
        EnterChain("0 2.5 / 10 0", "1 0 / -2 4", 1);
        Run(1);
        QTemporaryDir dir;
        boxes->fileName = dir.filePath("steady.txt");
        w<QPushButton>("SaveMemoBtn")->click();
        QCOMPARE(QString::fromUtf8(wachtrix::testing::ReadBytes(boxes->fileName)),
                 "Continuous-time Markov chain, 2 states\n\nRate matrix Q\n   0  2.5\n  10    0\n\n"
                 "Cost vectors\n  r(j)  F(k)\n     1     0\n    -2     4\n\n" +
                     memo("MemoSteadyState")->toPlainText() + "\n");
        boxes->fileName = dir.filePath("steady.html");
        w<QPushButton>("SaveMemoBtn")->click();
        const QString html = QString::fromUtf8(wachtrix::testing::ReadBytes(boxes->fileName));
        QVERIFY(html.contains(",monospace;") && html.contains("Rate matrix Q"));
    }

    void saveThenOpenGivesTheSameGrids() {
        QTemporaryDir dir;
        EnterChain("0 2.5 1 / 0.5 0 0 / 1E-007 3 0", "1 0 / -2 4 / 0 0.125", 1);
        const Rows m = Cells(matrix());
        const Rows c = Cells(costs());
        boxes->fileName = dir.filePath("chain.txt");
        w<QPushButton>("SaveBtn")->click();
        QCOMPARE(boxes->fileRequests.size(), 1);
        QVERIFY(boxes->fileRequests[0].save);
        QCOMPARE(boxes->fileRequests[0].filter,
                 QString("tekstbestanden (*.txt)|*.txt|Alle bestanden (*.*)|*.*"));
        QCOMPARE(boxes->fileRequests[0].defaultSuffix, QString("txt"));

        boxes->answer(DialogButton::Yes);
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(0);
        SetStates("2");
        w<QPushButton>("OpenBtn")->click();
        QVERIFY(!boxes->fileRequests[1].save);
        QCOMPARE(dialog->chainKind(), ChainKind::Continuous);
        QCOMPARE(w<QComboBox>("cbSoortMarkovChain")->currentIndex(), 1);
        QCOMPARE(Cells(matrix()), m);
        QCOMPARE(Cells(costs()), c);
        QCOMPARE(Labels(costs(), Qt::Horizontal), QStringList({"r(j)", "F(k)"}));
        // Every control shows the opened chain.
        QCOMPARE(w<QLineEdit>("EditAantalStates")->text(), QString("3"));
        QCOMPARE(dialog->windowTitle(), QString("Continuous Time Markov Chains "));
        QCOMPARE(Labels(matrix(), Qt::Vertical), QStringList({"1", "2", "3"}));
        Run(1);
        QCOMPARE(dialog->chainData().StateCount, 3);
        QCOMPARE(boxes->requests.size(), 1);  // the kind change above, and nothing since
    }

    // A file that cannot be read or written is named in one box; nothing else changes.
    void fileFailuresSaySoAndChangeNothing() {
        QTemporaryDir dir;
        matrix()->item(0, 0)->setText("1");
        const Rows before = Cells(matrix());
        QFile bad(dir.filePath("bad.txt"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("99\n2\n0.5 0.5\n") > 0);
        bad.close();
        boxes->fileName = bad.fileName();
        w<QPushButton>("OpenBtn")->click();
        QCOMPARE(boxes->texts(), QStringList{"Cannot read file " + boxes->fileName});
        QCOMPARE(boxes->requests[0].kind, DialogKind::Error);
        QCOMPARE(Cells(matrix()), before);

        QDir(dir.path()).mkpath("taken.txt/inside");
        boxes->fileName = dir.filePath("taken.txt");
        w<QPushButton>("SaveBtn")->click();
        QCOMPARE(boxes->texts().last(), "Cannot write file " + boxes->fileName);
        QVERIFY(QDir(dir.filePath("taken.txt/inside")).exists());

        boxes->fileName.clear();  // cancelled
        w<QPushButton>("OpenBtn")->click();
        QCOMPARE(boxes->requests.size(), 2);
        QCOMPARE(Cells(matrix()), before);
    }

    void helpOpensTheMarkovTopicAndShowsTheHelpPicture() {
        w<QPushButton>("BitBtn4")->click();
        QCOMPARE(LastHelpContext(), 13);
        const QImage help = HelpIcon().pixmap(16, 16).toImage();
        QVERIFY(!help.isNull());
        QCOMPARE(w<QPushButton>("BitBtn4")->icon().pixmap(16, 16).toImage(), help);
    }

    // Quit and the close box ask the owner (moduleCloseRequestsAsk...); Escape does nothing.
    void escapeNeitherClosesNorAsks() {
        QSignalSpy quit(dialog.get(), &TMarkovKeuzeDialoog::quitRequested);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        QCOMPARE(quit.count(), 0);
    }

    // Undo and Redo of the chain's grids: each cell edit, paste, Clear and change of the number
    // of states is one step, and undoing it gives back exactly the texts that were there.
    void editPasteAndClearAreUndoneOneByOne() {
        Activate();
        const Rows start = Chain();
        TypeIntoCell(0, 1, "0.5");
        const Rows edited = Chain();

        QGuiApplication::clipboard()->setText("0.25 0.75\n1 0\n");
        matrix()->setCurrentCell(1, 0);
        QTest::keyClick(matrix(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(matrix()->cell(2, 0), QString("1"));
        costs()->setCurrentCell(3, 0);
        QGuiApplication::clipboard()->setText("7\n8\n");
        QTest::keyClick(costs(), Qt::Key_V, Qt::ControlModifier);
        const Rows pasted = Chain();

        Child<QPushButton>(dialog.get(), "ClearBtn")->click();
        const Rows cleared = Chain();
        QCOMPARE(cleared, start);

        // Ctrl+Z in either grid undoes the last step of the chain; the menu text names it.
        QCOMPARE(dialog->undoAction()->text(), QString("&Undo Clear"));
        Undo();
        QCOMPARE(Chain(), pasted);
        QTest::keyClick(costs(), Qt::Key_Z, Qt::ControlModifier);  // the costs' paste
        Undo();
        QCOMPARE(Chain(), edited);
        Undo();
        QCOMPARE(Chain(), start);
        QVERIFY(!dialog->undoAction()->isEnabled());
        Undo();  // nothing left: nothing changes
        QCOMPARE(Chain(), start);

        Redo();
        QCOMPARE(Chain(), edited);
        Redo();
        Redo();
        QCOMPARE(Chain(), pasted);
        QTest::keyClick(matrix(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Chain(), cleared);
        QVERIFY(!dialog->redoAction()->isEnabled());
        QVERIFY(boxes->requests.empty());
    }

    // Fewer states cut cells off; undoing that brings them back with the number of states, and
    // the steps before it apply to the grid they were made in.
    void undoReachesBackOverAChangeOfTheNumberOfStates() {
        Activate();
        TypeIntoCell(4, 4, "0.125");
        const Rows five = Chain();
        auto* states = Child<QLineEdit>(dialog.get(), "EditAantalStates");
        states->setText("3");
        QTest::keyClick(states, Qt::Key_Return);
        QCOMPARE(matrix()->rowCount(), 3);
        TypeIntoCell(0, 0, "1");
        const Rows three = Chain();

        Undo();
        Undo();
        QCOMPARE(matrix()->rowCount(), 5);
        QCOMPARE(states->text(), QString("5"));
        QCOMPARE(Chain(), five);
        Undo();
        QCOMPARE(matrix()->cell(4, 4), QString("0"));

        Redo();
        Redo();
        Redo();
        QCOMPARE(states->text(), QString("3"));
        QCOMPARE(Chain(), three);
    }

    // The Markov module's window shows its dialog as a tool window and offers the module's
    // menus; the menu item, "&Quit" and the dialog's close box ask each time, and only Yes
    // closes the window and its dialog.
    void moduleShowsItsDialogAsAToolWindow() {
        QPointer<TMarkovKeuzeDialoog> owned = OpenModule();
        QCOMPARE(module->windowTitle(), QString("Markov Chains"));
        QVERIFY(owned);
        QCOMPARE(owned->parent(), module.data());
        QVERIFY(owned->isVisible());
        QCOMPARE(owned->windowType(), Qt::Tool);
        TMarkov fresh;
        QVERIFY(!fresh.dialog()->isVisible());
        fresh.show();
        QVERIFY(fresh.dialog()->isVisible());

        QCOMPARE(module->fileMenu()->title(), QString("&File"));
        QCOMPARE(module->helpMenu()->title(), QString("&Help"));
        QStringList items;
        for (QAction* action : module->fileMenu()->actions())
            items << action->text();
        QCOMPARE(items, QStringList({"&Open Chain...", "&Save Chain...", "Recent &Chains", "",
                                     "Close &Markov Chains", "Close &Wachtrix"}));
        Action(module->helpMenu(), "&Help Content")->trigger();
        QCOMPARE(LastHelpContext(), 13);

        // As when the program ends: closed without the user's request, nothing is asked.
        QVERIFY(module->close());
        wachtrix::testing::DeleteClosedWindows();
        QVERIFY(boxes->requests.empty());
        QVERIFY(!module);
        QVERIFY(!owned);
    }

    void moduleCloseRequestsAskAndOnlyYesCloses_data() {
        wachtrix::testing::AddTagRows("way", {"menu", "quit", "close box"});
    }
    void moduleCloseRequestsAskAndOnlyYesCloses() {
        QFETCH(int, way);
        QPointer<TMarkovKeuzeDialoog> owned = OpenModule();
        const auto request = [&] {
            if (way == 0) Action(module->fileMenu(), "Close &Markov Chains")->trigger();
            if (way == 1) Child<QPushButton>(owned, "TerugBtn")->click();
            if (way == 2) owned->close();
            wachtrix::testing::DeleteClosedWindows();
        };
        request();
        QCOMPARE(boxes->texts(), QStringList{"Do you want to quit from Markov Chains?"});
        QCOMPARE(boxes->requests[0].kind, DialogKind::Confirm);
        QVERIFY(module && module->isVisible());
        QVERIFY(owned && owned->isVisible());

        boxes->answer(DialogButton::Yes);
        request();
        QCOMPARE(boxes->requests.size(), 2);
        QVERIFY(!module);
        QVERIFY(!owned);
    }

    void moduleCloseWachtrixClosesTheProgramsWindow() {
        QWidget host;
        auto* inner = new TMarkov(&host);
        host.show();
        Action(inner->fileMenu(), "Close &Wachtrix")->trigger();
        QVERIFY(!host.isVisible());
    }

    // The progress dialog on its own.
    void showsAProgressBarAndStop() {
        TMarkovProgress progress;
        QCOMPARE(progress.windowTitle(), QString("Calculating..."));
        QVERIFY(progress.windowFlags() & Qt::WindowStaysOnTopHint);
        auto* bar = Child<QProgressBar>(&progress, "ProgressBar1");
        progress.SetPosition(70);
        progress.ResetProgress();
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(Child<QPushButton>(&progress, "StopBtn")->text(), QString("&Stop"));
    }

    void stopAndCloseRequestAStopAndKeepTheWindow() {
        TMarkovProgress progress;
        progress.show();
        QVERIFY(!progress.StopRequested());
        Child<QPushButton>(&progress, "StopBtn")->click();
        QVERIFY(progress.StopRequested());

        progress.ClearStopRequest();
        QVERIFY(!progress.close());
        QVERIFY(progress.isVisible());
        QVERIFY(progress.StopRequested());

        progress.ClearStopRequest();
        QTest::keyClick(&progress, Qt::Key_Escape);
        QVERIFY(progress.isVisible());
        QVERIFY(progress.StopRequested());
    }

    // A run lets events through at its first step, so that a Stop pressed at once is seen (later
    // only every so many milliseconds), and moves the bar of its progress dialog; without a
    // dialog every call does nothing. Showing, hiding and Stop are the runs' above.
    void aRunTalksToItsProgressDialog() {
        TMarkovProgress progress;
        MarkovProgressRun run(&progress);
        bool delivered = false;
        QTimer::singleShot(0, &progress, [&] { delivered = true; });
        run.processEvents();
        QVERIFY(delivered);
        run.position(40);
        QCOMPARE(progress.Position(), 40);

        MarkovProgressRun none(nullptr);
        none.reset();
        none.show();
        none.position(50);
        QVERIFY(!none.stopRequested());
    }
};

QTEST_MAIN(MarkovKeuzeDialoogTest)
#include "markov_keuze_dialoog_test.moc"
