// Copy buffer of the table editor.
#include "datawin/CopyBuffer.h"

void TCopyBuffer::Copy(const GridRect& selection)
{
    rect_ = selection;
    cells_.clear();
    for (int row = selection.Top; row <= selection.Bottom; ++row)
        for (int col = selection.Left; col <= selection.Right; ++col)
            cells_ << grid_.Text(col, row);
    empty_ = false;
}

void TCopyBuffer::Paste(int col, int row)
{
    if (empty_ || cells_.isEmpty())
        return;
    const int w = rect_.Right - rect_.Left;
    const int h = rect_.Bottom - rect_.Top;
    for (int i = 0; i <= h && row + i < grid_.RowCount(); ++i)
        for (int j = 0; j <= w && col + j < grid_.ColCount(); ++j) {
            const qsizetype item = qsizetype(i) * (w + 1) + j;
            if (item < cells_.size())
                grid_.SetText(col + j, row + i, cells_[item]);
        }
}

void TCopyBuffer::Clear()
{
    empty_ = true;
    cells_.clear();
    rect_.Right = -1;
    rect_.Bottom = -1;
}

QString TCopyBuffer::FirstItem() const
{
    return empty_ || cells_.isEmpty() ? QString() : cells_.first();
}
