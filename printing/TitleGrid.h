// The cell grid of the title editor: draws a title table through the cells' own painting in
// design view, over the grid shape it mirrors (fixed first row and column, sizes changed with
// the mouse, range selection, a current cell, an in-place editor, scrolling).
#pragma once

#include "printing/Q7Cell.h"

#include <QAbstractScrollArea>
#include <functional>

class QFont;
class QLineEdit;
class TQ7CellsArray;
class TQ7GridShape;

// The Qt font of a cell's font record.
QFont CellQFont(const TQ7CellFont& record);

class TTitleGrid : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TTitleGrid(QWidget* parent = nullptr);

    // The table and its shape, both the editor's; the grid draws and edits them.
    void SetTable(TQ7CellsArray* cells, TQ7GridShape* shape);
    // While set nothing is painted.
    bool Updating = false;

    int Col() const { return col_; }
    int Row() const { return row_; }
    // The current cell, the selection collapsed onto it.
    void SetCurrent(int col, int row);
    TCellRange Selection() const;
    void SetSelection(const TCellRange& range);

    // The in-place editor: open on the current cell, whether open, its line edit.
    void OpenEditor(const QString& initial = {}, bool replace = false);
    void CloseEditor(bool store = true);
    bool EditorOpen() const;
    QLineEdit* Editor() const { return editor_; }

    // Screen rectangle of a cell in the viewport (cells scrolled away lie outside it).
    QRect CellRect(int col, int row) const;
    // Cell under a viewport point; false outside the cells.
    bool CellAt(const QPoint& p, int& col, int& row) const;

    // Counts or sizes changed: scroll ranges and the picture follow.
    void ShapeChanged();

signals:
    // Before the current cell moves to (col, row); the selection is still the old one.
    void SelectingCell(int col, int row);
    void CellSelected(int col, int row);
    void CellTextEdited(int col, int row);
    void SizesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int ColX(int col) const;
    int RowY(int row) const;
    // A column (row) border near a point of the fixed row (column) that the mouse may drag.
    int ColumnBorderAt(const QPoint& p) const;
    int RowBorderAt(const QPoint& p) const;
    void MoveTo(int col, int row, bool extend);
    void UpdateScrollBars();
    void PlaceEditor();

    TQ7CellsArray* cells_ = nullptr;
    TQ7GridShape* shape_ = nullptr;
    int col_ = 1;
    int row_ = 1;
    int anchorCol_ = 1;
    int anchorRow_ = 1;
    int sizingCol_ = -1;
    int sizingRow_ = -1;
    bool selecting_ = false;
    QLineEdit* editor_ = nullptr;
};
