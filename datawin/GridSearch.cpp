// Grid search and replace.
#include "datawin/GridSearch.h"

bool CellMatches(const QString& text, const QString& pattern)
{
    const qsizetype n = pattern.size();
    if (n == 0)
        return true;
    const QChar* p = pattern.constData();
    const QChar* t = text.constData();
    for (qsizetype start = 0; start + n <= text.size(); ++start) {
        qsizetype i = 0;
        while (i < n && (p[i] == u'?' || p[i] == t[start + i]))
            ++i;
        if (i == n)
            return true;
    }
    return false;
}

void GridSearch::SetArea()
{
    switch (place) {
    case Everywhere:
        area_ = {1, 1, cells_.ColCount() - 1, cells_.RowCount() - 1};
        break;
    case InSelection:
        area_ = cursor_.Selection();
        break;
    case InCurrentColumn:
        area_ = {cursor_.CurrentCol(), 1, cursor_.CurrentCol(), cells_.RowCount() - 1};
        break;
    }
    hasArea_ = true;
}

bool GridSearch::SetAreaAndFind(const QString& pattern)
{
    SetArea();
    return FindFromCurrent(pattern);
}

bool GridSearch::IsEnd(int col, int row) const
{
    return direction == Forward ? col == area_.Right && row == area_.Bottom : col == area_.Left && row == area_.Top;
}

bool GridSearch::Next(int& col, int& row) const
{
    if (IsEnd(col, row))
        return false;
    if (direction == Forward) {
        if (col >= area_.Right) {
            col = area_.Left;
            ++row;
        } else {
            ++col;
        }
    } else {
        if (col <= area_.Left) {
            col = area_.Right;
            --row;
        } else {
            --col;
        }
    }
    return true;
}

bool GridSearch::Scan(int col, int row, const QString& pattern)
{
    const GridRect& a = area_;
    if (a.Left > a.Right || a.Top > a.Bottom)
        return false;
    // A start outside the area begins at the first area cell that follows it in scan order.
    if (direction == Forward) {
        if (row < a.Top || (row == a.Top && col < a.Left)) {
            row = a.Top;
            col = a.Left;
        } else if (col < a.Left) {
            col = a.Left;
        } else if (col > a.Right) {
            col = a.Left;
            ++row;
        }
        for (; row <= a.Bottom; ++row, col = a.Left)
            for (; col <= a.Right; ++col)
                if (CellMatches(cells_.Text(col, row), pattern)) {
                    cursor_.SetCurrent(col, row);
                    return true;
                }
    } else {
        if (row > a.Bottom || (row == a.Bottom && col > a.Right)) {
            row = a.Bottom;
            col = a.Right;
        } else if (col > a.Right) {
            col = a.Right;
        } else if (col < a.Left) {
            col = a.Right;
            --row;
        }
        for (; row >= a.Top; --row, col = a.Right)
            for (; col >= a.Left; --col)
                if (CellMatches(cells_.Text(col, row), pattern)) {
                    cursor_.SetCurrent(col, row);
                    return true;
                }
    }
    return false;
}

bool GridSearch::FindFromCurrent(const QString& pattern)
{
    return Scan(cursor_.CurrentCol(), cursor_.CurrentRow(), pattern);
}

bool GridSearch::FindAfterCurrent(const QString& pattern)
{
    int col = cursor_.CurrentCol();
    int row = cursor_.CurrentRow();
    return Next(col, row) && Scan(col, row, pattern);
}

int GridSearch::ReplaceAllMatches(const QString& pattern, const QString& replacement)
{
    SetArea();
    int count = 0;
    int lastCol = -1;
    int lastRow = -1;
    for (int row = area_.Top; row <= area_.Bottom; ++row)
        for (int col = area_.Left; col <= area_.Right; ++col)
            if (CellMatches(cells_.Text(col, row), pattern)) {
                cells_.SetText(col, row, replacement);
                lastCol = col;
                lastRow = row;
                ++count;
            }
    if (count > 0)
        cursor_.SetCurrent(lastCol, lastRow);
    return count;
}
