// The value grid of the table editor: a table view over LasTableModel that is also the
// cursor the copy buffer and the find window work with (grid coordinates).
#pragma once

#include "datawin/GridCells.h"

#include <QTableView>

class LasTableModel;

class LasGridView : public QTableView, public GridCursor
{
    Q_OBJECT
public:
    explicit LasGridView(QWidget* parent = nullptr);

    void SetGridModel(LasTableModel* model);
    LasTableModel* GridModel() const { return model_; }

    int CurrentCol() const override;
    int CurrentRow() const override;
    void SetCurrent(int col, int row) override;
    // The bounding rectangle of the selection; the current cell when nothing is selected.
    GridRect Selection() const override;
    void SetSelection(const GridRect& rect);
    // Opens the cell's editor there.
    void EditCell(int col, int row);
    // The grid cell at a point of the viewport, (-1, -1) outside the data cells.
    void CellAt(const QPoint& pos, int& col, int& row) const;

signals:
    // A cell editor closed after its text was committed (or dropped).
    void EditorClosed();

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    LasTableModel* model_ = nullptr;
};
