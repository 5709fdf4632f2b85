#pragma once
// A grid of editable cell texts, as the chain and option grids of the Markov dialog use it.
// Enter moves on instead of starting an edit: row by row (right, then to the first column of
// the next row) or column by column (down, then to the first row of the next column); nothing
// happens at the last cell. A click on the current cell opens its editor at once, so typing that
// follows the click lands in that cell however quickly it comes.
//
// Ctrl+C copies the selected block as rows of tab-separated texts; Ctrl+V pastes such a block of
// numbers (rows separated by tabs, blanks or semicolons, as spreadsheets and text files give
// them) from the current cell on. A block that does not fit, has rows of different lengths or
// holds a text that is not a number is refused with a message, and no cell changes.
//
// Given an undo stack, each edit of a cell and each paste is one step on it.

#include <QTableWidget>
#include <QUndoCommand>
#include <vector>

class QUndoStack;

namespace wachtrix::ui {

class TStringGrid;

// What one cell held before a change and holds after it.
struct CellChange {
    TStringGrid* grid;
    int row;
    int column;
    QString before;
    QString after;
};

// One undo step of cell texts, in one grid or several: redo writes the texts after the change,
// undo the texts before it.
class CellsCommand : public QUndoCommand {
public:
    CellsCommand(const QString& step, std::vector<CellChange> changes);
    void undo() override;
    void redo() override;

private:
    std::vector<CellChange> changes_;
};

// The changes as one step on `stack`, or at once where there is none; nothing when no cell
// changes.
void ChangeCells(QUndoStack* stack, const QString& step, std::vector<CellChange> changes);

class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    enum class EnterMove { RowByRow, ColumnByColumn };

    TStringGrid(EnterMove move, QWidget* parent = nullptr);

    // "" for a cell without text.
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);

    // Row and column counts; every new cell gets `fill`, existing cells keep their texts.
    void resizeCells(int rows, int columns, const QString& fill);

    // Empty cells of the given columns get `fill`.
    void fillEmpty(int firstColumn, int lastColumn, const QString& fill);

    // The selected block (or the current cell) to the clipboard.
    void copyCells();
    // The clipboard's block into the grid from the current cell; false when it was refused.
    bool pasteCells();

    void setUndoStack(QUndoStack* stack) { undo_ = stack; }

signals:
    // Any key pressed in the grid itself (not inside an open cell editor).
    void keyPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void moveOnEnter();

    EnterMove move_;
    bool forwarding_ = false;  // a key passed on to the open editor
    QUndoStack* undo_ = nullptr;
};

}  // namespace wachtrix::ui
