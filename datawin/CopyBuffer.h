// The table editor's own copy buffer of cell texts (the system clipboard is never used).
#pragma once

#include "datawin/GridCells.h"

#include <QStringList>

class TCopyBuffer {
public:
    explicit TCopyBuffer(GridCells& grid) : grid_(grid) {}

    // The texts of `selection`, row by row.
    void Copy(const GridRect& selection);
    // The copied block with its top left corner at (col, row), clipped at the grid's edges.
    void Paste(int col, int row);
    void Clear();
    QString FirstItem() const;
    bool IsEmpty() const { return empty_; }

private:
    GridCells& grid_;
    QStringList cells_;
    bool empty_ = true;
    GridRect rect_{0, 0, -1, -1};
};
