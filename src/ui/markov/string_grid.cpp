#include "ui/markov/string_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QUndoStack>
#include <functional>

#include "core/text/number_parse.h"
#include "ui/common/dialogs.h"

namespace wachtrix::ui {
namespace {

using Block = QList<QStringList>;

// The style draws grid lines a shade off the window colour, which vanishes on a dark Base; on a
// dark desktop they are drawn two fifths of the way from Base to Text instead.
class DarkGridLines : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint != SH_Table_GridLineColor || !widget)
            return QProxyStyle::styleHint(hint, option, widget, returnData);
        const QColor base = widget->palette().color(QPalette::Base);
        const QColor text = widget->palette().color(QPalette::Text);
        const auto mix = [](int b, int t) { return b + (t - b) * 2 / 5; };
        return static_cast<int>(QColor(mix(base.red(), text.red()), mix(base.green(), text.green()),
                                       mix(base.blue(), text.blue()))
                                    .rgba());
    }
};

bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() < palette.color(QPalette::Text).lightness();
}

// The rows of a copied block, empty lines at its end dropped. The separator is the first of tab
// and semicolon that occurs; without either, runs of blanks separate.
Block SplitBlock(QString text) {
    text.replace("\r\n", "\n").replace('\r', '\n');
    QStringList lines = text.split('\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    Block rows;
    static const QRegularExpression blanks("\\s+");
    for (const QString& line : lines) {
        QStringList cells;
        if (text.contains('\t'))
            cells = line.split('\t');
        else if (text.contains(';'))
            cells = line.split(';');
        else
            cells = line.trimmed().split(blanks, Qt::SkipEmptyParts);
        for (QString& cell : cells)
            cell = cell.trimmed();
        // Spreadsheets end a row with a separator now and then.
        if (cells.size() > 1 && cells.last().isEmpty()) cells.removeLast();
        rows << cells;
    }
    return rows;
}

// More than one value: a block for the grid rather than text for one cell's editor.
bool IsBlock(const QString& text) {
    const Block rows = SplitBlock(text);
    return rows.size() > 1 || (rows.size() == 1 && rows[0].size() > 1);
}

// Tells the grid of each cell its editor changed, with the text the cell held before.
class EditDelegate : public QStyledItemDelegate {
public:
    using Edited = std::function<void(const QModelIndex&, const QString& before)>;
    EditDelegate(QObject* parent, Edited edited)
        : QStyledItemDelegate(parent), edited_(std::move(edited)) {}

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        const QString before = index.data(Qt::EditRole).toString();
        QStyledItemDelegate::setModelData(editor, model, index);
        if (index.data(Qt::EditRole).toString() != before) edited_(index, before);
    }

private:
    Edited edited_;
};

}  // namespace

CellsCommand::CellsCommand(const QString& step, std::vector<CellChange> changes)
    : QUndoCommand(step), changes_(std::move(changes)) {}

void CellsCommand::undo() {
    for (const CellChange& change : changes_)
        change.grid->setCell(change.row, change.column, change.before);
}

void CellsCommand::redo() {
    for (const CellChange& change : changes_)
        change.grid->setCell(change.row, change.column, change.after);
}

void ChangeCells(QUndoStack* stack, const QString& step, std::vector<CellChange> changes) {
    std::erase_if(changes, [](const CellChange& change) { return change.before == change.after; });
    if (changes.empty()) return;
    if (stack) {
        stack->push(new CellsCommand(step, std::move(changes)));
        return;
    }
    for (const CellChange& change : changes)
        change.grid->setCell(change.row, change.column, change.after);
}

TStringGrid::TStringGrid(EnterMove move, QWidget* parent) : QTableWidget(parent), move_(move) {
    setSelectionMode(QAbstractItemView::ContiguousSelection);  // a block to copy
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    // Only on a dark desktop: the light look stays the application style's own.
    if (IsDark(palette())) {
        auto* lines = new DarkGridLines(QApplication::style()->name());
        lines->setParent(this);
        setStyle(lines);
    }
    // The editor has already written the cell: the step holds what was there before.
    setItemDelegate(new EditDelegate(this, [this](const QModelIndex& index, const QString& before) {
        if (undo_)
            undo_->push(new CellsCommand("Edit", {{this, index.row(), index.column(), before,
                                                   cell(index.row(), index.column())}}));
    }));
}

QString TStringGrid::cell(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void TStringGrid::setCell(int row, int column, const QString& text) {
    if (QTableWidgetItem* it = item(row, column)) {
        it->setText(text);
    } else {
        setItem(row, column, new QTableWidgetItem(text));
    }
}

void TStringGrid::resizeCells(int rows, int columns, const QString& fill) {
    const int oldRows = rowCount();
    const int oldColumns = columnCount();
    setRowCount(rows);
    setColumnCount(columns);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (r >= oldRows || c >= oldColumns || !item(r, c)) setCell(r, c, fill);
        }
    }
}

void TStringGrid::fillEmpty(int firstColumn, int lastColumn, const QString& fill) {
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = firstColumn; c <= lastColumn && c < columnCount(); ++c) {
            if (cell(r, c).isEmpty()) setCell(r, c, fill);
        }
    }
}

void TStringGrid::copyCells() {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    QTableWidgetSelectionRange block =
        ranges.isEmpty() ? QTableWidgetSelectionRange(currentRow(), currentColumn(), currentRow(),
                                                      currentColumn())
                         : ranges.first();
    if (block.topRow() < 0 || block.leftColumn() < 0) return;
    QStringList lines;
    for (int r = block.topRow(); r <= block.bottomRow(); ++r) {
        QStringList cells;
        for (int c = block.leftColumn(); c <= block.rightColumn(); ++c)
            cells << cell(r, c);
        lines << cells.join('\t');
    }
    QGuiApplication::clipboard()->setText(lines.join('\n') + '\n');
}

bool TStringGrid::pasteCells() {
    const int top = currentRow();
    const int left = currentColumn();
    if (top < 0 || left < 0) return false;
    const Block rows = SplitBlock(QGuiApplication::clipboard()->text());
    if (rows.isEmpty()) return false;
    const auto refuse = [this](const QString& text) {
        Dialogs::show(this, DialogKind::Error, "Paste", text);
        return false;
    };
    const qsizetype width = rows[0].size();
    for (const QStringList& row : rows)
        if (row.size() != width)
            return refuse(
                "The rows of the copied block do not all have the same number of values.");
    if (top + rows.size() > rowCount() || left + width > columnCount())
        return refuse(QString("A block of %1 x %2 values does not fit here: from row %3, column %4 "
                              "there is room for %5 x %6.")
                          .arg(rows.size())
                          .arg(width)
                          .arg(top + 1)
                          .arg(left + 1)
                          .arg(rowCount() - top)
                          .arg(columnCount() - left));
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (qsizetype c = 0; c < width; ++c)
            if (!ParseReal(rows[r][c].toStdString()))
                return refuse(QString("\"%1\" for row %2, column %3 is not a number.")
                                  .arg(rows[r][c])
                                  .arg(top + r + 1)
                                  .arg(left + c + 1));
    std::vector<CellChange> changes;
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (qsizetype c = 0; c < width; ++c) {
            const int row = top + static_cast<int>(r);
            const int column = left + static_cast<int>(c);
            changes.push_back({this, row, column, cell(row, column), rows[r][c]});
        }
    ChangeCells(undo_, "Paste", std::move(changes));
    setRangeSelected(QTableWidgetSelectionRange(top, left, top + static_cast<int>(rows.size()) - 1,
                                                left + static_cast<int>(width) - 1),
                     true);
    return true;
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+V of a whole block in a cell's editor pastes the block, not one line of it.
    auto* editor = qobject_cast<QWidget*>(watched);
    if (editor && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) &&
        IsBlock(QGuiApplication::clipboard()->text())) {
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        setFocus();
        pasteCells();
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    emit keyPressed();
    if (event->matches(QKeySequence::Copy)) {
        copyCells();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteCells();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // While a cell is being edited the editor's own Enter closes it, and closeEditor moves.
        // (An editor opened by a click leaves the view's state at rest, hence the second test.)
        const bool editing =
            state() == QAbstractItemView::EditingState || indexWidget(currentIndex()) != nullptr;
        if (!editing) moveOnEnter();
        event->accept();
        return;
    }
    // Keys queued for the grid before the cell's editor opened belong in that editor.
    QWidget* editor = indexWidget(currentIndex());
    if (editor && !forwarding_ && !event->text().isEmpty() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QScopedValueRollback<bool> once(forwarding_, true);
        QCoreApplication::sendEvent(editor, event);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TStringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableWidget::closeEditor(editor, hint);
    // Enter in an editor submits the cell; Tab and Escape come with other hints.
    if (hint == QAbstractItemDelegate::SubmitModelCache) moveOnEnter();
}

bool TStringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // The view waits a double-click interval before editing a clicked current cell; keys typed
    // meanwhile opened another edit that the late one then overran, and the text went astray.
    const bool opened = QTableWidget::edit(
        index,
        trigger == QAbstractItemView::SelectedClicked ? QAbstractItemView::EditKeyPressed : trigger,
        event);
    if (opened) {
        if (QWidget* editor = indexWidget(index)) {
            editor->removeEventFilter(this);
            editor->installEventFilter(this);
        }
    }
    return opened;
}

void TStringGrid::moveOnEnter() {
    int row = currentRow();
    int column = currentColumn();
    if (row < 0 || column < 0) return;
    if (move_ == EnterMove::RowByRow) {
        if (column + 1 < columnCount()) {
            ++column;
        } else if (row + 1 < rowCount()) {
            ++row;
            column = 0;
        } else {
            return;
        }
    } else {
        if (row + 1 < rowCount()) {
            ++row;
        } else if (column + 1 < columnCount()) {
            ++column;
            row = 0;
        } else {
            return;
        }
    }
    setCurrentCell(row, column);
}

}  // namespace wachtrix::ui
