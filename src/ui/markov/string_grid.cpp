#include "ui/markov/string_grid.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace wachtrix::ui {

TStringGrid::TStringGrid(EnterMove move, QWidget* parent) : QTableWidget(parent), move_(move) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
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

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    emit keyPressed();
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
    if (trigger == QAbstractItemView::SelectedClicked) {
        return QTableWidget::edit(index, QAbstractItemView::EditKeyPressed, event);
    }
    return QTableWidget::edit(index, trigger, event);
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
