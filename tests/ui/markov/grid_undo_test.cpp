// Undo and Redo of the chain's grids: each cell edit, paste, Clear and change of the number of
// states is one step, and undoing it gives back exactly the texts that were there.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "ui/common/ui_test_support.h"
#include "ui/markov/markov_keuze_dialoog.h"
#include "ui/markov/string_grid.h"

using wachtrix::testing::Child;
using wachtrix::testing::DialogRecorder;
using namespace wachtrix::ui;

namespace {

// Every text of the grid, row by row.
QStringList Texts(const TStringGrid* grid) {
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            texts << grid->cell(r, c);
    return texts;
}

}  // namespace

class GridUndoTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogRecorder> boxes;
    std::unique_ptr<TMarkovKeuzeDialoog> dialog;

    TStringGrid* matrix() const { return Child<TStringGrid>(dialog.get(), "sgOvergangsMatrix"); }
    TStringGrid* costs() const { return Child<TStringGrid>(dialog.get(), "sgKostenVector"); }

    // Both grids, as one state of the chain.
    QStringList Chain() const { return Texts(matrix()) + QStringList{"|"} + Texts(costs()); }

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

private slots:
    void init() {
        boxes = std::make_unique<DialogRecorder>();
        dialog = std::make_unique<TMarkovKeuzeDialoog>();
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }
    void cleanup() {
        dialog.reset();
        boxes.reset();
    }

    void editPasteAndClearAreUndoneOneByOne() {
        const QStringList start = Chain();
        TypeIntoCell(0, 1, "0.5");
        const QStringList edited = Chain();

        QGuiApplication::clipboard()->setText("0.25 0.75\n1 0\n");
        matrix()->setCurrentCell(1, 0);
        QTest::keyClick(matrix(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(matrix()->cell(2, 0), QString("1"));
        costs()->setCurrentCell(3, 0);
        QGuiApplication::clipboard()->setText("7\n8\n");
        QTest::keyClick(costs(), Qt::Key_V, Qt::ControlModifier);
        const QStringList pasted = Chain();

        Child<QPushButton>(dialog.get(), "ClearBtn")->click();
        const QStringList cleared = Chain();
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
        TypeIntoCell(4, 4, "0.125");
        const QStringList five = Chain();
        auto* states = Child<QLineEdit>(dialog.get(), "EditAantalStates");
        states->setText("3");
        QTest::keyClick(states, Qt::Key_Return);
        QCOMPARE(matrix()->rowCount(), 3);
        TypeIntoCell(0, 0, "1");
        const QStringList three = Chain();

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
};

QTEST_MAIN(GridUndoTest)
#include "grid_undo_test.moc"
