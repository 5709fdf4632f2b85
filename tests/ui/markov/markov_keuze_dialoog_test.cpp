#include "ui/markov/markov_keuze_dialoog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "ui/common/help.h"
#include "ui/common/radio_group.h"
#include "ui/markov/markov_progress.h"
#include "ui/markov/markov_test_support.h"
#include "ui/markov/spin_edit.h"
#include "ui/markov/string_grid.h"

using wachtrix::ChainKind;
using wachtrix::testing::Child;
using wachtrix::testing::DialogRecorder;
using namespace wachtrix::ui;

namespace {
using Rows = QList<QStringList>;
}

class MarkovKeuzeDialoogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMarkovKeuzeDialoog> dialog;
    std::unique_ptr<DialogRecorder> boxes;

    template <class T>
    T* w(const char* name) {
        return Child<T>(dialog.get(), name);
    }
    QTabWidget* pages() { return w<QTabWidget>("PageControl1"); }
    TStringGrid* matrix() { return w<TStringGrid>("sgOvergangsMatrix"); }
    TStringGrid* costs() { return w<TStringGrid>("sgKostenVector"); }
    QPlainTextEdit* memo(const char* name) { return w<QPlainTextEdit>(name); }

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
    void EnterChain(const Rows& m, const Rows& c) {
        SetStates(QString::number(m.size()));
        SetGrid(matrix(), m);
        SetGrid(costs(), c);
    }
    void Run(int analysis) {
        pages()->setCurrentIndex(TMarkovKeuzeDialoog::ChoicePage);
        w<RadioGroup>("rgSoort")->item(analysis)->click();
        w<QPushButton>("SimuleerBtn")->click();
    }
    QStringList MemoLines(const char* name) { return memo(name)->toPlainText().split('\n'); }

    // The output-choice page with an analysis chosen; its options may be set next.
    void Choose(int analysis) {
        pages()->setCurrentIndex(TMarkovKeuzeDialoog::ChoicePage);
        w<RadioGroup>("rgSoort")->item(analysis)->click();
    }
    void SetOptions(const char* spin, const char* grid, const QStringList& values) {
        w<TSpinEdit>(spin)->setValue(values.size());
        for (int r = 0; r < values.size(); ++r)
            w<TStringGrid>(grid)->item(r, 0)->setText(values[r]);
    }
    // A walk on three states; from state 1, P(X(t) = 1) = 1/4 + (1/2)^(t+1).
    void EnterWalk() {
        EnterChain({{"0.5", "0.5", "0"}, {"0.25", "0.5", "0.25"}, {"0", "0.5", "0.5"}},
                   {{"2"}, {"2"}, {"2"}});
    }
    // Shown when its page and tab are: not hidden on its own.
    static bool Shown(const QWidget* widget) { return !widget->isHidden(); }

    QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text);
        return path;
    }

private slots:
    void init() {
        boxes = std::make_unique<DialogRecorder>();
        dialog = std::make_unique<TMarkovKeuzeDialoog>();
        dialog->show();
    }
    void cleanup() {
        dialog.reset();
        boxes.reset();
    }

    void startsWithFiveDiscreteStatesOnTheInputPage() {
        QCOMPARE(dialog->windowTitle(), QString("Discrete Time Markov Chains"));
        QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(w<QLineEdit>("EditAantalStates")->text(), QString("5"));
        QCOMPARE(Cells(matrix()), Filled(5, 5, "0"));
        QCOMPARE(Cells(costs()), Filled(5, 1, "0"));
        QCOMPARE(Labels(matrix(), Qt::Horizontal), QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(Labels(matrix(), Qt::Vertical), QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(Labels(costs(), Qt::Horizontal), QStringList{"c(j)"});
        QCOMPARE(w<QComboBox>("cbSoortMarkovChain")->itemText(1),
                 QString("Continuous Time Markov Chains "));
        QCOMPARE(pages()->currentIndex(), 0);
        QVERIFY(!w<QPushButton>("VorigeBtn")->isEnabled());
        QVERIFY(w<QPushButton>("VolgendeBtn")->isEnabled());
        QCOMPARE(w<RadioGroup>("rgSoort")->itemIndex(), 0);
        QVERIFY(!Shown(w<QGroupBox>("gbTransient")));
        QVERIFY(!Shown(w<QGroupBox>("gbFirstPassage")));
        for (const char* name : {"MemoChainStructure", "MemoSteadyState", "MemoTransient",
                                 "MemoFirstPassageTime", "MemoMeanPassage"})
            QVERIFY(!Shown(memo(name)));
        QCOMPARE(w<RadioGroup>("rgSoort")->item(4)->text(), QString("Mean passage and absorption"));
        QCOMPARE(w<QLabel>("NoResultsSteadyState")->text(), QString("No results"));
    }

    void navigationStopsBeforeTheResultsUntilTheFirstRun() {
        QPushButton* next = w<QPushButton>("VolgendeBtn");
        QPushButton* previous = w<QPushButton>("VorigeBtn");
        next->click();
        QCOMPARE(pages()->currentIndex(), 1);
        QVERIFY(previous->isEnabled());
        QVERIFY(!next->isEnabled());
        pages()->setCurrentIndex(TMarkovKeuzeDialoog::ResultsPage);
        QCOMPARE(pages()->currentIndex(), 1);  // undone
        previous->click();
        QCOMPARE(pages()->currentIndex(), 0);
        QVERIFY(!previous->isEnabled());

        EnterChain({{"1"}}, {{"0"}});
        Run(0);
        QCOMPARE(pages()->currentIndex(), 2);
        QVERIFY(!next->isEnabled());
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
        QCOMPARE(Cells(matrix()), Rows({{"0", "0.5", "0"}, {"0", "0", "0"}, {"0", "0", "0"}}));
        QCOMPARE(Cells(costs()), Rows({{"0"}, {"7"}, {"0"}}));
        SetStates("4");
        QCOMPARE(Cells(matrix())[0], QStringList({"0", "0.5", "0", "0"}));
        QCOMPARE(Cells(matrix())[3], QStringList(4, "0"));
        QCOMPARE(Labels(costs(), Qt::Vertical), QStringList({"1", "2", "3", "4"}));
        w<QLineEdit>("EditAantalStates")->setText("100");
        w<QToolButton>("SpeedButton1")->click();
        QCOMPARE(matrix()->rowCount(), 100);
        QCOMPARE(matrix()->columnCount(), 100);
        QCOMPARE(matrix()->item(99, 99)->text(), QString("0"));
        QVERIFY(boxes->requests.empty());
    }

    void numberOfStatesRefusesBadInput() {
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
        QCOMPARE(matrix()->rowCount(), 5);
    }

    void chainKindChangeRebuildsTheCostGridAndClears() {
        matrix()->item(0, 0)->setText("1");
        costs()->item(0, 0)->setText("3");
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(1);
        QCOMPARE(dialog->windowTitle(), QString("Continuous Time Markov Chains "));
        QCOMPARE(dialog->chainKind(), ChainKind::Continuous);
        QCOMPARE(Cells(matrix()), Filled(5, 5, "0"));
        QCOMPARE(Cells(costs()), Filled(5, 2, "0"));
        QCOMPARE(Labels(costs(), Qt::Horizontal), QStringList({"r(j)", "F(k)"}));
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(0);
        QCOMPARE(Cells(costs()), Filled(5, 1, "0"));
        QCOMPARE(Labels(costs(), Qt::Horizontal), QStringList{"c(j)"});
        QCOMPARE(dialog->chainKind(), ChainKind::Discrete);
    }

    void clearWritesZerosIntoMatrixAndCosts() {
        SetGrid(matrix(), {{"0.5", "0.5"}, {"x"}});
        costs()->item(4, 0)->setText("-2");
        w<QPushButton>("ClearBtn")->click();
        QCOMPARE(Cells(matrix()), Filled(5, 5, "0"));
        QCOMPARE(Cells(costs()), Filled(5, 1, "0"));
    }

    void enterMovesThroughTheGrids() {
        TStringGrid* m = matrix();
        m->setFocus();
        m->setCurrentCell(0, 0);
        QTest::keyClick(m, Qt::Key_Return);
        QCOMPARE(QPoint(m->currentRow(), m->currentColumn()), QPoint(0, 1));
        m->setCurrentCell(0, 4);
        QTest::keyClick(m, Qt::Key_Enter);
        QCOMPARE(QPoint(m->currentRow(), m->currentColumn()), QPoint(1, 0));
        m->setCurrentCell(4, 4);
        QTest::keyClick(m, Qt::Key_Return);
        QCOMPARE(QPoint(m->currentRow(), m->currentColumn()), QPoint(4, 4));

        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(1);
        TStringGrid* c = costs();
        c->setCurrentCell(3, 0);
        QTest::keyClick(c, Qt::Key_Return);
        QCOMPARE(QPoint(c->currentRow(), c->currentColumn()), QPoint(4, 0));
        QTest::keyClick(c, Qt::Key_Return);
        QCOMPARE(QPoint(c->currentRow(), c->currentColumn()), QPoint(0, 1));

        pages()->setCurrentIndex(1);
        w<RadioGroup>("rgSoort")->item(2)->click();
        TStringGrid* t = w<TStringGrid>("sgTimePoints");
        t->setCurrentCell(2, 0);
        QTest::keyClick(t, Qt::Key_Return);
        QCOMPARE(t->currentRow(), 3);
        QTest::keyClick(t, Qt::Key_Return);
        QCOMPARE(t->currentRow(), 3);
    }

    void enterInACellEditorStoresTheTextAndMovesOn() {
        TStringGrid* m = matrix();
        m->setCurrentCell(1, 4);
        m->editItem(m->item(1, 4));
        auto* editor = m->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "0.25");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the editor submits its text queued
        QCOMPARE(m->item(1, 4)->text(), QString("0.25"));
        QCOMPARE(QPoint(m->currentRow(), m->currentColumn()), QPoint(2, 0));
    }

    // Clicking the cell that is already current and typing at once, quicker than a double
    // click: the text replaces that cell's value, whenever the click's own edit timer fires.
    // The keys go to the grid, where they were queued before any editor opened.
    void typingRightAfterAClickOnTheCurrentCellEditsThatCell() {
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        TStringGrid* m = matrix();
        m->item(1, 2)->setText("0.3");
        const QPoint cell = m->visualItemRect(m->item(1, 2)).center();
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(QPoint(m->currentRow(), m->currentColumn()), QPoint(1, 2));
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, cell);
        QTest::keyClicks(m, "0.7");
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(m->item(1, 2)->text(), QString("0.7"));
        QCOMPARE(m->item(2, 2)->text(), QString("0"));
        QCOMPARE(m->item(1, 3)->text(), QString("0"));
        QCOMPARE(QPoint(m->currentRow(), m->currentColumn()), QPoint(1, 3));

        // A cell reached by a click on another one takes typing at once as well.
        const QPoint other = m->visualItemRect(m->item(3, 0)).center();
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, other);
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

    // A block copied from a spreadsheet or a text file goes in from the current cell.
    void pasteFillsABlockFromTheCurrentCell_data() {
        QTest::addColumn<QString>("clip");
        QTest::newRow("tabs, CRLF, trailing tab") << "0.5\t0.5\t\r\n0.25\t0.75\t\r\n";
        QTest::newRow("blanks") << "  0.5   0.5\n0.25 0.75\n\n";
        QTest::newRow("semicolons") << "0.5;0.5\n0.25; 0.75";
    }
    void pasteFillsABlockFromTheCurrentCell() {
        QFETCH(QString, clip);
        TStringGrid* m = matrix();
        m->setFocus();
        m->setCurrentCell(1, 2);
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(m, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Cells(m), Rows({{"0", "0", "0", "0", "0"},
                                 {"0", "0", "0.5", "0.5", "0"},
                                 {"0", "0", "0.25", "0.75", "0"},
                                 {"0", "0", "0", "0", "0"},
                                 {"0", "0", "0", "0", "0"}}));
        QVERIFY(boxes->requests.empty());
    }

    // A block that does not fit, is not rectangular or holds a text that is not a number is
    // refused with one message, and no cell changes.
    void pasteRefusesWhatItCannotPlace_data() {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("message");
        QTest::newRow("too wide")
            << "1 2 3 4"
            << "A block of 1 x 4 values does not fit here: from row 2, column "
               "3 there is room for 4 x 3.";
        QTest::newRow("too long")
            << "1\n2\n3\n4\n5"
            << "A block of 5 x 1 values does not fit here: from row 2, column "
               "3 there is room for 4 x 3.";
        QTest::newRow("ragged") << "1\t2\n3"
                                << "The rows of the copied block do not all have the same number "
                                   "of values.";
        QTest::newRow("text") << "1;2\n3;x4"
                              << "\"x4\" for row 3, column 4 is not a number.";
        QTest::newRow("decimal comma") << "0,5\t1"
                                       << "\"0,5\" for row 2, column 3 is not a number.";
    }
    void pasteRefusesWhatItCannotPlace() {
        QFETCH(QString, clip);
        QFETCH(QString, message);
        TStringGrid* m = matrix();
        m->item(1, 2)->setText("0.9");
        const Rows before = Cells(m);
        m->setFocus();
        m->setCurrentCell(1, 2);
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(m, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(boxes->texts(), QStringList{message});
        QCOMPARE(boxes->requests[0].kind, DialogKind::Error);
        QCOMPARE(Cells(m), before);
    }

    // Ctrl+C gives the selected block as tab-separated rows, which paste back elsewhere; a block
    // pasted into an open cell editor still goes in as a block.
    void copyAndPasteABlock() {
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        TStringGrid* m = matrix();
        SetGrid(m, {{"0.1", "0.2", "0.7"}, {"1", "0", "0"}});
        m->setFocus();
        m->setCurrentCell(0, 0);
        m->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 2), true);
        QTest::keyClick(m, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("0.1\t0.2\t0.7\n1\t0\t0\n"));

        // A click on the current cell opens its editor; the block still lands in the grid.
        const QPoint cell = m->visualItemRect(m->item(3, 2)).center();
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, cell);
        QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QCOMPARE(Cells(m)[3], QStringList({"0", "0", "0.1", "0.2", "0.7"}));
        QCOMPARE(Cells(m)[4], QStringList({"0", "0", "1", "0", "0"}));
        QVERIFY(boxes->requests.empty());

        // One value in an open editor is ordinary text for that cell.
        QGuiApplication::clipboard()->setText("0.35");
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {},
                          m->visualItemRect(m->item(0, 4)).center());
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {},
                          m->visualItemRect(m->item(0, 4)).center());
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(m->item(0, 4)->text(), QString("0.35"));
    }

    void pageChangeResetsTheOutputChoicesOnlyAfterAnInputChange() {
        pages()->setCurrentIndex(1);
        w<RadioGroup>("rgSoort")->item(2)->click();
        auto* times = w<TSpinEdit>("seTimePoints");
        auto* timeGrid = w<TStringGrid>("sgTimePoints");
        times->setValue(6);
        timeGrid->item(5, 0)->setText("12");
        w<QLineEdit>("EditInitialState")->setText("3");
        w<RadioGroup>("rgTransientChoice")->setItemIndex(1);
        w<QLineEdit>("EditStateA")->setText("2");
        w<RadioGroup>("rgReturnSet")->setItemIndex(2);

        pages()->setCurrentIndex(0);
        pages()->setCurrentIndex(1);
        QCOMPARE(times->value(), 6);
        QCOMPARE(timeGrid->item(5, 0)->text(), QString("12"));

        pages()->setCurrentIndex(0);
        QTest::keyClick(matrix(), Qt::Key_Down);  // any key in the matrix counts as a change
        pages()->setCurrentIndex(1);
        QCOMPARE(times->value(), 4);
        QCOMPARE(Cells(timeGrid), Filled(4, 1, "0"));
        QCOMPARE(Labels(timeGrid, Qt::Vertical),
                 QStringList({"time point 1 (<=5000)", "time point 2 (<=5000)",
                              "time point 3 (<=5000)", "time point 4 (<=5000)"}));
        QCOMPARE(w<QLineEdit>("EditInitialState")->text(), QString("1"));
        QCOMPARE(w<RadioGroup>("rgTransientChoice")->itemIndex(), 0);
        QCOMPARE(w<QLineEdit>("editStartingState")->text(), QString("1"));
        QCOMPARE(w<QLineEdit>("EditStateA")->text(), QString());
        QCOMPARE(w<RadioGroup>("rgReturnSet")->itemIndex(), 0);
        QCOMPARE(w<RadioGroup>("rgSoort")->itemIndex(), 2);  // the analysis stays chosen
    }

    void inputChangeHidesTheResults() {
        EnterChain({{"1"}}, {{"0"}});
        Run(0);
        QVERIFY(Shown(memo("MemoChainStructure")));
        QVERIFY(!Shown(w<QLabel>("NoResultsChainStructure")));
        pages()->setCurrentIndex(1);
        pages()->setCurrentIndex(2);
        QVERIFY2(Shown(memo("MemoChainStructure")), "no change, results stay");
        pages()->setCurrentIndex(0);
        matrix()->item(0, 0)->setText("1.0");
        pages()->setCurrentIndex(1);
        QVERIFY(!Shown(memo("MemoChainStructure")));
        QVERIFY(Shown(w<QLabel>("NoResultsChainStructure")));
    }

    void spinEditsResizeTheirGrids() {
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
        QCOMPARE(Cells(grid), Rows({{"0"}, {"0"}, {"0"}, {"40"}, {"0"}}));
        QCOMPARE(Labels(grid, Qt::Vertical).last(), QString("time point 5 (<=5000)"));
        times2->setValue(2);
        QCOMPARE(grid->rowCount(), 2);

        auto* ends = w<TSpinEdit>("seEndStates");
        auto* endGrid = w<TStringGrid>("sgEndStates");
        QCOMPARE(ends->value(), 2);
        QCOMPARE(ends->maximum(), 4);
        QCOMPARE(Labels(endGrid, Qt::Vertical), QStringList({"end state 1", "end state 2"}));
        ends->setValue(3);
        QCOMPARE(Labels(endGrid, Qt::Vertical).last(), QString("end state 3"));
        QCOMPARE(w<QLabel>("LabelEndStates")->text(), QString("Number of end states (max 4):"));
    }

    void endStateLimitFollowsTheNumberOfStates() {
        auto* ends = w<TSpinEdit>("seEndStates");
        auto* label = w<QLabel>("LabelEndStates");
        SetStates("1");
        pages()->setCurrentIndex(1);
        QCOMPARE(ends->value(), 1);
        QCOMPARE(ends->maximum(), 1);
        ends->stepUp();
        QCOMPARE(ends->value(), 1);
        QCOMPARE(label->text(), QString("Number of end states (max 1):"));
        QCOMPARE(w<TStringGrid>("sgEndStates")->rowCount(), 1);

        pages()->setCurrentIndex(0);
        SetStates("3");
        pages()->setCurrentIndex(1);
        QCOMPARE(ends->value(), 2);
        QCOMPARE(ends->maximum(), 3);
        QCOMPARE(label->text(), QString("Number of end states (max 3):"));
    }

    void choicesShowTheirGroupsAndCostsNeedNoEndStates() {
        pages()->setCurrentIndex(1);
        for (const auto& [item, transient, firstPassage] :
             {std::tuple{2, true, false}, std::tuple{3, false, true},
              std::tuple{1, false, false}}) {
            w<RadioGroup>("rgSoort")->item(item)->click();
            QCOMPARE(Shown(w<QGroupBox>("gbTransient")), transient);
            QCOMPARE(Shown(w<QGroupBox>("gbFirstPassage")), firstPassage);
        }

        auto* choice = w<RadioGroup>("rgTransientChoice");
        choice->item(2)->click();
        QVERIFY(!w<QLabel>("LabelEndStates")->isEnabled());
        QVERIFY(!w<TSpinEdit>("seEndStates")->isEnabled());
        QVERIFY(!w<TStringGrid>("sgEndStates")->isEnabled());
        choice->item(1)->click();
        QVERIFY(w<TStringGrid>("sgEndStates")->isEnabled());
    }

    void runRefusesABadChainWithOneMessageAndReturnsToTheInput() {
        struct Case {
            int kind;
            Rows m, c;
            QString message;
        };
        // Every message comes from the chain input check, tested with all its rules on its own;
        // here one rule per chain kind shows the dialog's handling of a refusal.
        const Case cases[] = {
            {0,
             {{"0.5", "0.49999"}, {"0", "1"}},
             {{"0"}, {"0"}},
             "Sum of rows not 1 in transitionmatrix."},
            {1,
             {{"0", "1"}, {"1", "0"}},
             {{"0", "0"}, {"0", "abc"}},
             "Illegal value in cost vector."},
        };
        for (const Case& c : cases) {
            boxes->requests.clear();
            pages()->setCurrentIndex(0);
            w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(c.kind);
            EnterChain(c.m, c.c);
            Run(1);
            QCOMPARE(boxes->texts(), QStringList{c.message});
            QCOMPARE(boxes->requests[0].kind, DialogKind::Error);
            QCOMPARE(pages()->currentIndex(), 0);
            QVERIFY(!dialog->chainData().DataLoaded);
            QVERIFY(!dialog->chainData().CostVectorRead);
            QVERIFY(!Shown(memo("MemoSteadyState")));
        }
    }

    void runAcceptsTheEdgesOfTheRules() {
        EnterChain({{"0.5", "0.499995"}, {"0", "1"}}, {{"-100000"}, {"0"}});
        Run(0);
        QVERIFY(boxes->requests.empty());
        QCOMPARE(pages()->currentIndex(), 2);
    }

    void chainStructureRunFillsItsMemo() {
        EnterChain({{"0", "1", "0"}, {"0", "0", "1"}, {"0", "0", "1"}}, {{"0"}, {"0"}, {"0"}});
        Run(0);
        QCOMPARE(MemoLines("MemoChainStructure"),
                 QStringList({"=====================", "   CHAIN STRUCTURE",
                              "=====================", " ", "Recurrent subchain 1: 3", " ",
                              "There is a single recurrent class.", "", "Transient states: 1 2 "}));
        QCOMPARE(pages()->currentIndex(), 2);
        QCOMPARE(w<QTabWidget>("PageControl2")->currentIndex(), 0);
        QVERIFY(Shown(memo("MemoChainStructure")));
        QVERIFY(!Shown(memo("MemoSteadyState")));
        QVERIFY(!w<QPushButton>("VolgendeBtn")->isEnabled());
    }

    // The report on view can be kept as text or PDF; without a report there is nothing to keep.
    void resultsOnViewCanBeSaved() {
        auto* save = w<QPushButton>("SaveMemoBtn");
        QVERIFY(!save->isEnabled());
        QVERIFY(!w<QPushButton>("PrintMemoBtn")->isEnabled());
        EnterChain({{"0", "1", "0"}, {"0", "0", "1"}, {"0", "0", "1"}}, {{"0"}, {"0"}, {"0"}});
        Run(0);
        QVERIFY(save->isEnabled());
        QVERIFY(w<QPushButton>("PreviewMemoBtn")->isEnabled());

        QTemporaryDir dir;
        boxes->fileName = dir.filePath("structure.txt");
        save->click();
        QCOMPARE(boxes->fileRequests.size(), 1);
        QVERIFY(boxes->fileRequests[0].save);
        QFile text(boxes->fileName);
        QVERIFY(text.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(text.readAll()),
                 memo("MemoChainStructure")->toPlainText() + "\n");

        boxes->fileName = dir.filePath("structure.pdf");
        save->click();
        QFile pdf(boxes->fileName);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-1.") && bytes.trimmed().endsWith("%%EOF"));
        QVERIFY(boxes->requests.empty());

        // Another result tab, still empty: nothing to keep there.
        w<QTabWidget>("PageControl2")->setCurrentIndex(TMarkovKeuzeDialoog::SteadyStateTab);
        QVERIFY(!save->isEnabled());
    }

    void steadyStateRunHandsTheChainOverAndFillsItsMemo() {
        EnterChain({{"0.75", "0.25"}, {"0.75", "0.25"}}, {{"1"}, {"2"}});
        Run(1);
        QCOMPARE(MemoLines("MemoSteadyState"),
                 QStringList({"============================", "   STEADY-STATE BEHAVIOUR",
                              "============================", " ", "The solution is: ", " ",
                              "State 1: pi[1] = 0.7500000000", "State 2: pi[2] = 0.2500000000", "",
                              "Average cost per unit time: 1.2500000000", " ",
                              "Accuracy check: 0.0000000000"}));
        QCOMPARE(w<QTabWidget>("PageControl2")->currentIndex(), 1);
        const wachtrix::ChainData& chain = dialog->chainData();
        QCOMPARE(chain.StateCount, 2);
        QCOMPARE(chain.TransitionMatrix[2][1], 0.75);
        QCOMPARE(chain.CostMatrix[2][1], 2.0);
        QVERIFY(chain.DataLoaded && chain.CostVectorRead);
    }

    void continuousRunsUseTheRates() {
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(1);
        EnterChain({{"0", "1"}, {"3", "0"}}, {{"1", "0"}, {"2", "10"}});
        Run(1);
        const QStringList steady = MemoLines("MemoSteadyState");
        QCOMPARE(steady.mid(6, 4),
                 QStringList({"State 1: p[1] = 0.7500000000", "State 2: p[2] = 0.2500000000", "",
                              "Average cost per unit time: 8.7500000000"}));
        Run(0);
        QCOMPARE(MemoLines("MemoChainStructure").last(),
                 QString("Transient states      : None   "));
        QVERIFY2(Shown(memo("MemoSteadyState")), "earlier results stay until the input changes");
    }

    void meanPassageRunFillsItsOwnTab() {
        // pi = (2/3, 1/3): return times 1.5 and 3; m(1,2) = 1 / 0.25, m(2,1) = 1 / 0.5.
        EnterChain({{"0.75", "0.25"}, {"0.5", "0.5"}}, {{"1"}, {"2"}});
        Run(4);
        QVERIFY(boxes->requests.empty());
        QVERIFY(!Shown(w<QGroupBox>("gbTransient")));
        QVERIFY(!Shown(w<QGroupBox>("gbFirstPassage")));
        QCOMPARE(MemoLines("MemoMeanPassage").mid(0, 10),
                 QStringList({"=================================", "   MEAN PASSAGE AND ABSORPTION",
                              "=================================", " ",
                              "Mean first-passage times m(i,j) in steps",
                              "(m(i,i) is the mean return time to state i)", " ",
                              "          To 1          To 2", "From 1    1.5000000     4.0000000",
                              "From 2    2.0000000     3.0000000"}));
        QCOMPARE(MemoLines("MemoMeanPassage").last(), QString("Accuracy check: 0.0000000000"));
        QCOMPARE(pages()->currentIndex(), 2);
        QTabWidget* tabs = w<QTabWidget>("PageControl2");
        QCOMPARE(tabs->currentIndex(), int(TMarkovKeuzeDialoog::MeanPassageTab));
        QCOMPARE(tabs->tabText(4), QString("Mean Passage and Absorption"));
        QVERIFY(Shown(memo("MemoMeanPassage")));
        QVERIFY(!Shown(w<QLabel>("NoResultsMeanPassage")));
        QVERIFY(!Shown(memo("MemoSteadyState")));
        QVERIFY(!w<QPushButton>("VolgendeBtn")->isEnabled());

        // A changed chain hides the results, as for the other analyses.
        pages()->setCurrentIndex(TMarkovKeuzeDialoog::InputPage);
        matrix()->item(0, 0)->setText("0.7");
        matrix()->item(0, 1)->setText("0.3");
        pages()->setCurrentIndex(TMarkovKeuzeDialoog::ChoicePage);
        QVERIFY(!Shown(memo("MemoMeanPassage")));
    }

    void timeAnalysesCheckTheirInputsAndStayOnTheChoicePage() {
        EnterChain({{"1", "0"}, {"0", "1"}}, {{"0"}, {"0"}});
        pages()->setCurrentIndex(1);
        w<RadioGroup>("rgSoort")->item(2)->click();
        w<QLineEdit>("EditInitialState")->setText("3");
        w<QPushButton>("SimuleerBtn")->click();
        w<RadioGroup>("rgSoort")->item(3)->click();
        w<TStringGrid>("sgTimePoints2")->item(0, 0)->setText("5001");
        w<QPushButton>("SimuleerBtn")->click();
        QCOMPARE(boxes->texts(), QStringList({"Initial state doesn't exist ",
                                              "Time points must be between 1 and 5000"}));
        QCOMPARE(pages()->currentIndex(), 1);
        QVERIFY2(dialog->chainData().DataLoaded, "the chain was handed over before");
        QVERIFY2(w<QPushButton>("VolgendeBtn")->isEnabled(), "the results page is reachable");
    }

    void transientRunShowsProgressAndFillsItsMemo() {
        TMarkovProgress progress;
        SetMarkovProgress(&progress);
        EnterWalk();
        Choose(2);
        SetOptions("seTimePoints", "sgTimePoints", {"5", "1", "5"});
        SetOptions("seEndStates", "sgEndStates", {"1", "3"});
        bool shownDuringTheRun = false;
        QTimer::singleShot(0, &progress, [&] { shownDuringTheRun = progress.isVisible(); });
        w<QPushButton>("SimuleerBtn")->click();
        SetMarkovProgress(nullptr);

        QVERIFY(boxes->requests.empty());
        QVERIFY(shownDuringTheRun);
        QVERIFY(!progress.isVisible());
        QCOMPARE(progress.Position(), 100);
        QCOMPARE(
            MemoLines("MemoTransient"),
            QStringList(
                {"=========================", "   TRANSIENT BEHAVIOUR",
                 "=========================", " ", "Transient probabilities", "",
                 "Initial State = 1", "", "              State 1       State 3",
                 "At t = 1     0.500000000   0.000000000", "At t = 5     0.265625000   0.234375000",
                 "At t = 5     0.265625000   0.234375000", "", "Accuracy check: 0.000000000"}));
        QCOMPARE(pages()->currentIndex(), 2);
        QCOMPARE(w<QTabWidget>("PageControl2")->currentIndex(), 2);
        QVERIFY(Shown(memo("MemoTransient")));
        QVERIFY(!w<QPushButton>("VolgendeBtn")->isEnabled());

        // Expected costs need no end states, whatever their grid holds.
        Choose(2);
        w<RadioGroup>("rgTransientChoice")->item(2)->click();
        SetOptions("seEndStates", "sgEndStates", {"9"});
        w<QPushButton>("SimuleerBtn")->click();
        QVERIFY(boxes->requests.empty());
        QCOMPARE(
            MemoLines("MemoTransient").mid(8, 4),
            QStringList(
                {"             Total costs   Average costs", "t1 = 1         2.000000     2.000000",
                 "t2 = 5         10.00000     2.000000", "t3 = 5         10.00000     2.000000"}));
    }

    void firstPassageRunOfAContinuousChainFillsItsMemo() {
        // q(1,2) = 1, q(2,1) = 3: P(T({2}) > t | X(0) = 1) = e^{-t}.
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(1);
        EnterChain({{"0", "1"}, {"3", "0"}}, {{"0", "0"}, {"0", "0"}});
        Choose(3);
        SetOptions("seTimePoints2", "sgTimePoints2", {"2.5", "1"});
        w<QLineEdit>("EditStateA")->setText("2");
        w<QPushButton>("SimuleerBtn")->click();
        QVERIFY(boxes->requests.empty());
        QCOMPARE(
            MemoLines("MemoFirstPassageTime"),
            QStringList({"==================================", "FIRST-PASSAGE TIME PROBABILITIES",
                         "==================================", " ", "Initial State = 1",
                         "Return Set = {2}", "", "P( T({2}) > t | X(0) = 1 )", "",
                         "At t = 1.000:     0.36787944 ", "At t = 2.500:     0.08208500 "}));
        QCOMPARE(pages()->currentIndex(), 2);
        QCOMPARE(w<QTabWidget>("PageControl2")->currentIndex(), 3);
        QVERIFY(Shown(memo("MemoFirstPassageTime")));
    }

    // Stop pressed during a run: the memo keeps only its header and is not shown, the dialog
    // stays on its page, and the progress dialog goes.
    void stopDuringARunLeavesOnlyTheHeader() {
        struct Case {
            int analysis;
            const char* memo;
            QString title;
        };
        for (const Case& c :
             {Case{2, "MemoTransient", "   TRANSIENT BEHAVIOUR"},
              Case{3, "MemoFirstPassageTime", "FIRST-PASSAGE TIME PROBABILITIES"}}) {
            TMarkovProgress progress;
            SetMarkovProgress(&progress);
            w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(1);
            EnterChain({{"0", "20"}, {"20", "0"}}, {{"0", "0"}, {"0", "0"}});  // nu t = 1e5
            Choose(c.analysis);
            SetOptions("seTimePoints", "sgTimePoints", {"5000"});
            SetOptions("seTimePoints2", "sgTimePoints2", {"5000"});
            w<QLineEdit>("EditStateA")->setText("2");
            SetOptions("seEndStates", "sgEndStates", {"1"});
            QTimer::singleShot(0, &progress,
                               [&] { Child<QPushButton>(&progress, "StopBtn")->click(); });
            w<QPushButton>("SimuleerBtn")->click();
            SetMarkovProgress(nullptr);

            QVERIFY(progress.StopRequested());
            QVERIFY(!progress.isVisible());
            QCOMPARE(MemoLines(c.memo).size(), 4);
            QCOMPARE(MemoLines(c.memo)[1], c.title);
            QVERIFY(!Shown(memo(c.memo)));
            QCOMPARE(pages()->currentIndex(), 1);
            QVERIFY(boxes->requests.empty());
        }
    }

    void saveThenOpenGivesTheSameGrids() {
        QTemporaryDir dir;
        const QString path = dir.filePath("chain.txt");
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(1);
        EnterChain({{"0", "2.5", "1"}, {"0.5", "0", "0"}, {"1E-007", "3", "0"}},
                   {{"1", "0"}, {"-2", "4"}, {"0", "0.125"}});
        const Rows m = Cells(matrix());
        const Rows c = Cells(costs());
        boxes->fileName = path;
        w<QPushButton>("SaveBtn")->click();
        QCOMPARE(boxes->fileRequests.size(), 1);
        QVERIFY(boxes->fileRequests[0].save);
        QCOMPARE(boxes->fileRequests[0].filter,
                 QString("tekstbestanden (*.txt)|*.txt|Alle bestanden (*.*)|*.*"));
        QCOMPARE(boxes->fileRequests[0].defaultSuffix, QString("txt"));

        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(0);
        SetStates("2");
        w<QPushButton>("OpenBtn")->click();
        QVERIFY(!boxes->fileRequests[1].save);
        QCOMPARE(dialog->chainKind(), ChainKind::Continuous);
        QCOMPARE(w<QComboBox>("cbSoortMarkovChain")->currentIndex(), 1);
        QCOMPARE(Cells(matrix()), m);
        QCOMPARE(Cells(costs()), c);
        QCOMPARE(Labels(costs(), Qt::Horizontal), QStringList({"r(j)", "F(k)"}));
        QVERIFY(boxes->requests.empty());
    }

    void openOfAnotherSizeKeepsTheStatesEditAndRunUsesTheGrid() {
        QTemporaryDir dir;
        boxes->fileName = WriteFile(dir, "three.txt", "99\n3\n0 1 0\n0 0 1\n1 0 0\n1 2 3\n");
        w<QPushButton>("OpenBtn")->click();
        QCOMPARE(w<QLineEdit>("EditAantalStates")->text(), QString("5"));
        QCOMPARE(Cells(matrix()), Rows({{"0", "1", "0"}, {"0", "0", "1"}, {"1", "0", "0"}}));
        QCOMPARE(Labels(matrix(), Qt::Vertical), QStringList({"1", "2", "3"}));
        QCOMPARE(Cells(costs()), Rows({{"1"}, {"2"}, {"3"}}));
        Run(1);
        QCOMPARE(dialog->chainData().StateCount, 3);
        QCOMPARE(MemoLines("MemoSteadyState").at(8), QString("State 3: pi[3] = 0.3333333333"));
    }

    void openOfAnUnreadableFileLeavesTheGrids() {
        QTemporaryDir dir;
        matrix()->item(0, 0)->setText("1");
        const Rows before = Cells(matrix());
        boxes->fileName = WriteFile(dir, "bad.txt", "99\n2\n0.5 0.5\n");
        w<QPushButton>("OpenBtn")->click();
        QCOMPARE(boxes->texts(), QStringList{"Cannot read file " + boxes->fileName});
        QCOMPARE(boxes->requests[0].kind, DialogKind::Error);
        QCOMPARE(Cells(matrix()), before);

        boxes->fileName.clear();  // cancelled
        w<QPushButton>("OpenBtn")->click();
        QCOMPARE(boxes->requests.size(), 1);
    }

    void aFailedSaveSaysSoAndLeavesTheOldFile() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("taken.txt/inside");
        boxes->fileName = dir.filePath("taken.txt");
        w<QPushButton>("SaveBtn")->click();
        QCOMPARE(boxes->texts(), QStringList{"Cannot write file " + boxes->fileName});
        QVERIFY(QDir(dir.filePath("taken.txt/inside")).exists());
    }

    void helpOpensTheMarkovTopicAndShowsTheHelpPicture() {
        w<QPushButton>("BitBtn4")->click();
        QCOMPARE(LastHelpContext(), 13);
        const QImage help = HelpIcon().pixmap(16, 16).toImage();
        QVERIFY(!help.isNull());
        QCOMPARE(w<QPushButton>("BitBtn4")->icon().pixmap(16, 16).toImage(), help);
    }

    void quitAndTheCloseBoxAskTheOwnerInsteadOfClosing() {
        QSignalSpy quit(dialog.get(), &TMarkovKeuzeDialoog::quitRequested);
        w<QPushButton>("TerugBtn")->click();
        QCOMPARE(quit.count(), 1);
        dialog->close();
        QCOMPARE(quit.count(), 2);
        QVERIFY(dialog->isVisible());
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        dialog->SetOwnerClosing();
        QVERIFY(dialog->close());
        QCOMPARE(quit.count(), 2);
    }
};

QTEST_MAIN(MarkovKeuzeDialoogTest)
#include "markov_keuze_dialoog_test.moc"
