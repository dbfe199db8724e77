// The cell texts of a grid with a fixed row 0 (column captions) and a fixed column 0 (row
// numbers), and its cursor: what the copy buffer and the grid search work on.
#pragma once

#include <QString>

struct GridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

class GridCells {
public:
    virtual ~GridCells() = default;
    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual QString Text(int col, int row) const = 0;
    // A text put into a data cell as if the user had typed it.
    virtual void SetText(int col, int row, const QString& text) = 0;
};

class GridCursor {
public:
    virtual ~GridCursor() = default;
    virtual int CurrentCol() const = 0;
    virtual int CurrentRow() const = 0;
    // Moves the cursor there, collapsing the selection to that cell and making it visible.
    virtual void SetCurrent(int col, int row) = 0;
    virtual GridRect Selection() const = 0;
};
