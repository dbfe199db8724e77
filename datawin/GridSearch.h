// Find and replace over grid cell texts: the match rule, the scan in both directions and the
// search area of the find window.
#pragma once

#include "datawin/GridCells.h"

// Whether `pattern` occurs in `text`, letter case significant, each '?' matching any one character.
bool CellMatches(const QString& text, const QString& pattern);

class GridSearch {
public:
    enum Direction { Forward = 0, Backward = 1 };
    enum Place { Everywhere = 0, InSelection = 1, InCurrentColumn = 2 };

    GridSearch(GridCells& cells, GridCursor& cursor) : cells_(cells), cursor_(cursor) {}

    Direction direction = Forward;
    Place place = Everywhere;

    // The area of `place` stored for the later searches.
    void SetArea();
    const GridRect& Area() const { return area_; }
    bool HasArea() const { return hasArea_; }
    // From the current cell itself (examined first) to the end cell of the area.
    bool FindFromCurrent(const QString& pattern);
    // From the cell after the current one to the end cell; nothing when the current cell is the end.
    bool FindAfterCurrent(const QString& pattern);
    // SetArea, then FindFromCurrent.
    bool SetAreaAndFind(const QString& pattern);
    // Every matching cell of a fresh area gets `replacement` as its whole text, each once; the
    // cursor ends on the last one. Returns how many were replaced.
    int ReplaceAllMatches(const QString& pattern, const QString& replacement);

private:
    // The cell after (col, row) in scan order; false past the end cell.
    bool Next(int& col, int& row) const;
    bool IsEnd(int col, int row) const;
    bool Scan(int col, int row, const QString& pattern);

    GridCells& cells_;
    GridCursor& cursor_;
    GridRect area_;
    bool hasArea_ = false;
};
