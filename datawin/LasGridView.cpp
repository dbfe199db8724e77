// Value grid view of the table editor.
#include "datawin/LasGridView.h"

#include "datawin/LasTableModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>
#include <climits>

LasGridView::LasGridView(QWidget* parent) : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    // Fixed sections keep a grid of hundreds of thousands of rows as quick as a small one.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setDefaultSectionSize(134);
    verticalHeader()->setMinimumWidth(64);
    // A double click on a mnemonic selects its column, on a row number its row.
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int section) {
        if (model_ && model_->rowCount() > 0)
            SetSelection({section + 1, 1, section + 1, model_->RowCount() - 1});
    });
    connect(verticalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int section) {
        if (model_ && model_->columnCount() > 0)
            SetSelection({1, section + 1, model_->ColCount() - 1, section + 1});
    });
}

void LasGridView::SetGridModel(LasTableModel* model)
{
    model_ = model;
    setModel(model);
}

int LasGridView::CurrentCol() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() + 1 : 1;
}

int LasGridView::CurrentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void LasGridView::SetCurrent(int col, int row)
{
    const QModelIndex cell = model_->IndexOf(col, row);
    if (!cell.isValid())
        return;
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    scrollTo(cell);
}

GridRect LasGridView::Selection() const
{
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return {CurrentCol(), CurrentRow(), CurrentCol(), CurrentRow()};
    GridRect rect{INT_MAX, INT_MAX, -1, -1};
    for (const QItemSelectionRange& range : selection) {
        rect.Left = std::min(rect.Left, range.left() + 1);
        rect.Top = std::min(rect.Top, range.top() + 1);
        rect.Right = std::max(rect.Right, range.right() + 1);
        rect.Bottom = std::max(rect.Bottom, range.bottom() + 1);
    }
    return rect;
}

void LasGridView::SetSelection(const GridRect& rect)
{
    const QItemSelection selection(model_->IndexOf(rect.Left, rect.Top), model_->IndexOf(rect.Right, rect.Bottom));
    if (selectionModel()->selection() == selection)
        return;
    selectionModel()->setCurrentIndex(model_->IndexOf(rect.Left, rect.Top), QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void LasGridView::EditCell(int col, int row)
{
    SetCurrent(col, row);
    edit(model_->IndexOf(col, row));
}

void LasGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    emit EditorClosed();
}

void LasGridView::CellAt(const QPoint& pos, int& col, int& row) const
{
    const QModelIndex cell = indexAt(pos);
    col = cell.isValid() ? cell.column() + 1 : -1;
    row = cell.isValid() ? cell.row() + 1 : -1;
}
