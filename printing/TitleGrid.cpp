// The title editor's cell grid.
#include "printing/TitleGrid.h"

#include "platform/PainterCanvas.h"
#include "printing/Q7CellsArray.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace {

constexpr int kSizingMargin = 3;  // pixels either side of a border that start a resize
constexpr int kMinSize = 4;

}  // namespace

QFont CellQFont(const TQ7CellFont& record)
{
    platform::CanvasFont font;
    TQ7CellFont::AssignToFont(font, record);
    QFont q(QString::fromStdString(font.name));
    q.setPointSizeF(font.size > 0 ? font.size : 10.0);
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    q.setStrikeOut(font.strikeOut);
    return q;
}

TTitleGrid::TTitleGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    editor_ = new QLineEdit(viewport());
    editor_->hide();
    connect(editor_, &QLineEdit::returnPressed, this, [this] {
        CloseEditor(true);
        setFocus();
    });
    editor_->installEventFilter(this);
}

void TTitleGrid::SetTable(TQ7CellsArray* cells, TQ7GridShape* shape)
{
    cells_ = cells;
    shape_ = shape;
    ShapeChanged();
}

void TTitleGrid::ShapeChanged()
{
    if (!shape_)
        return;
    col_ = std::clamp(col_, shape_->FixedCols(), shape_->ColCount() - 1);
    row_ = std::clamp(row_, shape_->FixedRows(), shape_->RowCount() - 1);
    anchorCol_ = std::clamp(anchorCol_, shape_->FixedCols(), shape_->ColCount() - 1);
    anchorRow_ = std::clamp(anchorRow_, shape_->FixedRows(), shape_->RowCount() - 1);
    UpdateScrollBars();
    PlaceEditor();
    viewport()->update();
}

void TTitleGrid::UpdateScrollBars()
{
    horizontalScrollBar()->setRange(0, std::max(0, shape_->ColCount() - shape_->FixedCols() - 1));
    verticalScrollBar()->setRange(0, std::max(0, shape_->RowCount() - shape_->FixedRows() - 1));
    horizontalScrollBar()->setPageStep(1);
    verticalScrollBar()->setPageStep(1);
}

int TTitleGrid::ColX(int col) const
{
    int x = 0;
    for (int c = 0; c < std::min(col, shape_->FixedCols()); ++c)
        x += shape_->ColWidth(c);
    if (col < shape_->FixedCols())
        return x;
    const int first = shape_->FixedCols() + horizontalScrollBar()->value();
    for (int c = first; c < col; ++c)
        x += shape_->ColWidth(c);
    for (int c = col; c < first; ++c)
        x -= shape_->ColWidth(c);
    return x;
}

int TTitleGrid::RowY(int row) const
{
    int y = 0;
    for (int r = 0; r < std::min(row, shape_->FixedRows()); ++r)
        y += shape_->RowHeight(r);
    if (row < shape_->FixedRows())
        return y;
    const int first = shape_->FixedRows() + verticalScrollBar()->value();
    for (int r = first; r < row; ++r)
        y += shape_->RowHeight(r);
    for (int r = row; r < first; ++r)
        y -= shape_->RowHeight(r);
    return y;
}

QRect TTitleGrid::CellRect(int col, int row) const
{
    if (!shape_)
        return {};
    return QRect(ColX(col), RowY(row), shape_->ColWidth(col), shape_->RowHeight(row));
}

bool TTitleGrid::CellAt(const QPoint& p, int& col, int& row) const
{
    if (!shape_)
        return false;
    col = row = -1;
    for (int c = 0; c < shape_->ColCount(); ++c) {
        const QRect r = CellRect(c, 0);
        if (p.x() >= r.left() && p.x() < r.left() + r.width() &&
            (c < shape_->FixedCols() || r.left() >= ColX(shape_->FixedCols()))) {
            col = c;
            break;
        }
    }
    for (int r = 0; r < shape_->RowCount(); ++r) {
        const QRect rect = CellRect(0, r);
        if (p.y() >= rect.top() && p.y() < rect.top() + rect.height() &&
            (r < shape_->FixedRows() || rect.top() >= RowY(shape_->FixedRows()))) {
            row = r;
            break;
        }
    }
    return col >= 0 && row >= 0;
}

TCellRange TTitleGrid::Selection() const
{
    return {std::min(col_, anchorCol_), std::min(row_, anchorRow_), std::max(col_, anchorCol_),
            std::max(row_, anchorRow_)};
}

void TTitleGrid::SetSelection(const TCellRange& range)
{
    anchorCol_ = range.left;
    anchorRow_ = range.top;
    col_ = range.right;
    row_ = range.bottom;
    viewport()->update();
}

void TTitleGrid::SetCurrent(int col, int row) { MoveTo(col, row, false); }

void TTitleGrid::MoveTo(int col, int row, bool extend)
{
    if (!shape_)
        return;
    col = std::clamp(col, shape_->FixedCols(), shape_->ColCount() - 1);
    row = std::clamp(row, shape_->FixedRows(), shape_->RowCount() - 1);
    if (EditorOpen())
        CloseEditor(true);
    emit SelectingCell(col, row);
    col_ = col;
    row_ = row;
    if (!extend) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    // Scrolled so that the current cell is in view.
    const int firstCol = shape_->FixedCols() + horizontalScrollBar()->value();
    if (col < firstCol)
        horizontalScrollBar()->setValue(col - shape_->FixedCols());
    else if (ColX(col) + shape_->ColWidth(col) > viewport()->width() && col > firstCol)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + 1);
    const int firstRow = shape_->FixedRows() + verticalScrollBar()->value();
    if (row < firstRow)
        verticalScrollBar()->setValue(row - shape_->FixedRows());
    else if (RowY(row) + shape_->RowHeight(row) > viewport()->height() && row > firstRow)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
    viewport()->update();
    emit CellSelected(col, row);
}

bool TTitleGrid::EditorOpen() const { return !editor_->isHidden(); }

void TTitleGrid::OpenEditor(const QString& initial, bool replace)
{
    if (!cells_ || !shape_ || col_ >= cells_->ColCount() || row_ >= cells_->RowCount()) {
        editor_->setText(replace ? initial : QString());
    } else {
        const TQ7DrawGridCell& cell = cells_->Cell(col_, row_);
        editor_->setFont(CellQFont(cell.Format.Font));
        editor_->setText(replace ? initial : QString::fromStdString(cell.Content.Text));
    }
    PlaceEditor();
    editor_->show();
    editor_->setFocus();
    if (!replace)
        editor_->selectAll();
    viewport()->update();
}

void TTitleGrid::CloseEditor(bool store)
{
    if (!EditorOpen())
        return;
    editor_->hide();
    if (store && cells_ && col_ < cells_->ColCount() && row_ < cells_->RowCount()) {
        std::string& text = cells_->Cell(col_, row_).Content.Text;
        const std::string edited = editor_->text().toStdString();
        if (edited != text) {
            text = edited;
            emit CellTextEdited(col_, row_);
        }
    }
    viewport()->update();
}

void TTitleGrid::PlaceEditor()
{
    if (shape_ && col_ < shape_->ColCount() && row_ < shape_->RowCount())
        editor_->setGeometry(CellRect(col_, row_));
}

int TTitleGrid::ColumnBorderAt(const QPoint& p) const
{
    if (!shape_ || p.y() >= RowY(shape_->FixedRows()))
        return -1;
    const int fixedWidth = ColX(shape_->FixedCols());
    for (int c = 0; c < shape_->ColCount(); ++c) {
        const int right = ColX(c) + shape_->ColWidth(c);
        const bool shown = c < shape_->FixedCols() || ColX(c) >= fixedWidth;
        if (shown && std::abs(p.x() - right) <= kSizingMargin && right > 0)
            return c;
    }
    return -1;
}

int TTitleGrid::RowBorderAt(const QPoint& p) const
{
    if (!shape_ || p.x() >= ColX(shape_->FixedCols()))
        return -1;
    const int fixedHeight = RowY(shape_->FixedRows());
    for (int r = 0; r < shape_->RowCount(); ++r) {
        const int bottom = RowY(r) + shape_->RowHeight(r);
        const bool shown = r < shape_->FixedRows() || RowY(r) >= fixedHeight;
        if (shown && std::abs(p.y() - bottom) <= kSizingMargin && bottom > 0)
            return r;
    }
    return -1;
}

void TTitleGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    if (Updating || !cells_ || !shape_)
        return;
    // The cells follow the grid's counts before anything is drawn.
    cells_->Resize(shape_->ColCount(), shape_->RowCount());
    if (EditorOpen()) {
        cells_->Cell(col_, row_).OverflowLeft = 0;
        cells_->Cell(col_, row_).OverflowRight = 0;
    }
    platform::PainterCanvas canvas(painter);
    const TCellRange selection = Selection();
    const int cols = shape_->ColCount();
    const int rows = shape_->RowCount();
    const auto draw = [&](int c, int r) {
        const QRect q = CellRect(c, r);
        if (q.right() < 0 || q.bottom() < 0 || q.left() > viewport()->width() || q.top() > viewport()->height())
            return;
        platform::CanvasRect rect{q.left(), q.top(), q.left() + q.width(), q.top() + q.height()};
        const auto at = [&](int cc, int rr) -> const TQ7DrawGridCell* {
            return cc >= 0 && rr >= 0 && cc < cols && rr < rows ? &cells_->Cell(cc, rr) : nullptr;
        };
        TCellDrawState state;
        state.fixed = c < shape_->FixedCols() || r < shape_->FixedRows();
        state.selected = !state.fixed && c >= selection.left && c <= selection.right && r >= selection.top &&
                         r <= selection.bottom && !(c == col_ && r == row_);
        state.focused = c == col_ && r == row_ && hasFocus();
        cells_->Cell(c, r).Draw(canvas, rect, 0.0f, 0.0f, at(c - 1, r), at(c, r - 1), at(c + 1, r), at(c, r + 1),
                                state, true);
    };
    const int firstCol = shape_->FixedCols() + horizontalScrollBar()->value();
    const int firstRow = shape_->FixedRows() + verticalScrollBar()->value();
    for (int r = firstRow; r < rows && RowY(r) < viewport()->height(); ++r)
        for (int c = firstCol; c < cols && ColX(c) < viewport()->width(); ++c)
            draw(c, r);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < shape_->FixedCols(); ++c)
            if (r < shape_->FixedRows() || r >= firstRow)
                draw(c, r);
    for (int r = 0; r < shape_->FixedRows(); ++r)
        for (int c = firstCol; c < cols; ++c)
            draw(c, r);
}

void TTitleGrid::mousePressEvent(QMouseEvent* event)
{
    if (!shape_ || event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    sizingCol_ = ColumnBorderAt(p);
    sizingRow_ = sizingCol_ < 0 ? RowBorderAt(p) : -1;
    if (sizingCol_ >= 0 || sizingRow_ >= 0)
        return;
    int col = 0;
    int row = 0;
    if (!CellAt(p, col, row))
        return;
    setFocus();
    MoveTo(col, row, event->modifiers() & Qt::ShiftModifier);
    selecting_ = true;
}

void TTitleGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (!shape_)
        return;
    const QPoint p = event->position().toPoint();
    if (sizingCol_ >= 0) {
        shape_->SetColWidth(sizingCol_, std::max(kMinSize, p.x() - ColX(sizingCol_)));
        UpdateScrollBars();
        PlaceEditor();
        viewport()->update();
        emit SizesChanged();
        return;
    }
    if (sizingRow_ >= 0) {
        shape_->SetRowHeight(sizingRow_, std::max(kMinSize, p.y() - RowY(sizingRow_)));
        PlaceEditor();
        viewport()->update();
        emit SizesChanged();
        return;
    }
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        int col = 0;
        int row = 0;
        if (CellAt(p, col, row) && (col != col_ || row != row_))
            MoveTo(col, row, true);
        return;
    }
    const bool sizing = ColumnBorderAt(p) >= 0 || RowBorderAt(p) >= 0;
    viewport()->setCursor(ColumnBorderAt(p) >= 0 ? Qt::SplitHCursor
                          : sizing               ? Qt::SplitVCursor
                                                 : Qt::ArrowCursor);
}

void TTitleGrid::mouseReleaseEvent(QMouseEvent*)
{
    sizingCol_ = sizingRow_ = -1;
    selecting_ = false;
}

void TTitleGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    int col = 0;
    int row = 0;
    if (CellAt(event->position().toPoint(), col, row) && col >= shape_->FixedCols() && row >= shape_->FixedRows())
        OpenEditor();
}

void TTitleGrid::keyPressEvent(QKeyEvent* event)
{
    if (!shape_)
        return;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left: MoveTo(col_ - 1, row_, extend); return;
    case Qt::Key_Right: MoveTo(col_ + 1, row_, extend); return;
    case Qt::Key_Up: MoveTo(col_, row_ - 1, extend); return;
    case Qt::Key_Down: MoveTo(col_, row_ + 1, extend); return;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter: OpenEditor(); return;
    default: break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        OpenEditor(text, true);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TTitleGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (shape_)
        UpdateScrollBars();
}

bool TTitleGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CloseEditor(false);
        setFocus();
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void TTitleGrid::scrollContentsBy(int, int)
{
    PlaceEditor();
    viewport()->update();
}
