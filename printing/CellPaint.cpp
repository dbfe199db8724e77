// Layout and painting of one title cell.
#include "printing/CellPaint.h"

using platform::CanvasColor;
using platform::CanvasRect;

namespace {

constexpr CanvasColor kBlack = 0x000000;
constexpr CanvasColor kWhite = 0xFFFFFF;
constexpr CanvasColor kGrey = 0x808080;
constexpr CanvasColor kSilver = 0xC0C0C0;
constexpr int kDesignPen = 1;
constexpr int kDefaultMargin = 3;  // pixels, also for a zero margin

// n tenths of a millimetre at `scale` pixels per centimetre, truncated; `fallback` when not positive.
int TenthsToPixels(int tenths, float scale, int fallback)
{
    const int px = static_cast<int>(tenths * 0.01 * scale);
    return px > 0 ? px : fallback;
}

bool HasSide(const TQ7DrawGridCell& cell, int side)
{
    return (cell.Format.Borders & side) != 0;
}

bool HasText(const TQ7DrawGridCell* cell)
{
    return cell && !cell->Content.Text.empty();
}

// An empty cell gives way to the text spilling from its neighbours.
void LayoutEmpty(TCellLayout& l, const TCellNeighbours& n)
{
    if (n.left && n.left->OverflowRight > 0) {
        l.rect.left += n.left->OverflowRight;
        if (l.rect.left > l.rect.right)
            l.overflowRight = l.rect.left - l.rect.right;  // the spill goes on past this cell
    }
    if (n.right && n.right->OverflowLeft > 0) {
        l.rect.right -= n.right->OverflowLeft;
        if (l.overflowRight <= 0 && l.rect.right < l.rect.left)
            l.overflowLeft = l.rect.left - l.rect.right;
    }
}

void LayoutText(TCellLayout& l, const TQ7DrawGridCell& cell, platform::Canvas& canvas, const TCellNeighbours& n,
                bool fixed)
{
    const std::string& text = cell.Content.Text;
    TQ7CellFont::AssignToFont(l.font, cell.Format.Font);
    l.font.color = l.textColor;
    canvas.font = l.font;
    const int th = canvas.TextHeight(text);
    const int bw = canvas.TextWidth(text) + 2 * l.margin;

    CanvasRect& r = l.rect;
    l.textRect.top = r.top + l.penY;
    l.textRect.bottom = r.bottom - l.penY;
    l.textY = (l.textRect.top + l.textRect.bottom) / 2 - th / 2;
    switch (cell.Format.HorzAlign & 0xFF) {
    case TQ7CellFormat::AlignRight: l.textX = r.right - l.penX - bw - l.margin; break;
    case TQ7CellFormat::AlignCenter: l.textX = (r.left + r.right) / 2 - bw / 2; break;
    default: l.textX = r.left + l.penX + l.margin; break;
    }
    if (fixed)
        return;

    // Text spills only into empty neighbours; at the table's edges it is clipped to its cell.
    if (!n.left || HasText(n.left)) {
        l.textRect.left = r.left + l.penX + l.margin;
    } else {
        l.textRect.left = l.textX;
        if (l.textX < r.left)
            l.overflowLeft = r.left - l.textX;
    }
    if (!n.right || HasText(n.right)) {
        l.textRect.right = r.right - l.penX - l.margin;
    } else {
        l.textRect.right = l.textX + bw;
        if (l.textRect.right > r.right)
            l.overflowRight = l.textRect.right - r.right;
    }
    r.left -= l.overflowLeft;
    r.right += l.overflowRight;
}

void LayoutBorders(TCellLayout& l, const TQ7DrawGridCell& cell, const TCellNeighbours& n, bool design)
{
    const CanvasRect& r = l.rect;
    auto add = [&](int side, platform::CanvasPoint from, platform::CanvasPoint to, int width) {
        l.borders.push_back({from, to, width, HasSide(cell, side) ? kBlack : kGrey});
    };
    auto shows = [&](const TQ7DrawGridCell& c, int side) { return HasSide(c, side) || design; };

    if (shows(cell, TQ7CellFormat::SideLeft) && !(n.left && shows(*n.left, TQ7CellFormat::SideRight)))
        add(TQ7CellFormat::SideLeft, {r.left, r.top}, {r.left, r.bottom}, l.penX);
    if (shows(cell, TQ7CellFormat::SideTop) && !(n.upper && shows(*n.upper, TQ7CellFormat::SideBottom)))
        add(TQ7CellFormat::SideTop, {r.left, r.top}, {r.right, r.top}, l.penY);
    if (shows(cell, TQ7CellFormat::SideRight))
        add(TQ7CellFormat::SideRight, {r.right, r.top}, {r.right, r.bottom}, l.penX);
    if (shows(cell, TQ7CellFormat::SideBottom))
        add(TQ7CellFormat::SideBottom, {r.left, r.bottom}, {r.right, r.bottom}, l.penY);
}

void PaintFixed(platform::Canvas& canvas, const CanvasRect& r)
{
    canvas.brush = {kSilver, platform::BrushStyle::Solid};
    canvas.FillRect(r);
    canvas.pen = {kWhite, 1, platform::PenStyle::Solid};
    canvas.MoveTo(r.left, r.bottom);
    canvas.LineTo(r.left, r.top);
    canvas.LineTo(r.right - 1, r.top);
    canvas.pen.color = kGrey;
    canvas.LineTo(r.right - 1, r.bottom - 1);
    canvas.LineTo(r.left - 1, r.bottom - 1);
}

}  // namespace

TCellLayout LayoutCell(const TQ7DrawGridCell& cell, platform::Canvas& canvas, const CanvasRect& rect, float hScale,
                       float vScale, const TCellNeighbours& neighbours, TCellDrawState state, bool design)
{
    TCellLayout l;
    l.rect = rect;
    const CanvasColor fill = cell.Format.FillColor;
    const CanvasColor ink = cell.Format.Font.Color;
    const bool inverted = state.selected && !state.focused;
    l.brushColor = inverted ? ink : fill;
    l.textColor = inverted ? fill : ink;

    if ((hScale <= 0 || vScale <= 0) && design) {
        l.penX = l.penY = kDesignPen;
        l.margin = kDefaultMargin;
    } else {
        l.penX = TenthsToPixels(cell.Format.BorderWidth, hScale, 1);
        l.penY = TenthsToPixels(cell.Format.BorderWidth, vScale, 1);
        l.margin = TenthsToPixels(cell.Format.Margin & 0xFF, hScale, kDefaultMargin);
    }

    l.text = cell.Content.Text;
    if (l.text.empty()) {
        if (!state.fixed)
            LayoutEmpty(l, neighbours);
    } else {
        LayoutText(l, cell, canvas, neighbours, state.fixed);
    }

    if (state.fixed) {
        l.kind = TCellLayout::Kind::Fixed;
        return l;
    }
    if (l.text.empty() && (l.overflowLeft > 0 || l.overflowRight > 0)) {
        l.kind = TCellLayout::Kind::Covered;
        return l;
    }
    const int d = design ? 0 : 1;
    l.fillRect = {l.rect.left + d, l.rect.top + d, l.rect.right, l.rect.bottom};
    LayoutBorders(l, cell, neighbours, design);
    l.focusFrame = state.focused;
    return l;
}

void PaintCell(platform::Canvas& canvas, const TCellLayout& l)
{
    if (l.kind == TCellLayout::Kind::Fixed) {
        PaintFixed(canvas, l.rect);
        return;
    }
    if (l.kind == TCellLayout::Kind::Covered)
        return;

    canvas.brush = {l.brushColor, platform::BrushStyle::Solid};
    canvas.FillRect(l.fillRect);
    for (const TCellLine& line : l.borders) {
        canvas.pen = {line.color, line.width, platform::PenStyle::Solid};
        canvas.MoveTo(line.from.x, line.from.y);
        canvas.LineTo(line.to.x, line.to.y);
    }
    if (!l.text.empty()) {
        canvas.brush = {l.brushColor, platform::BrushStyle::Clear};
        canvas.font = l.font;
        canvas.TextRect(l.textRect, l.textX, l.textY, l.text);
    }
    if (l.focusFrame) {
        const CanvasRect& r = l.rect;
        canvas.pen = {kBlack, 1, platform::PenStyle::Dot};
        canvas.Polyline({{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}});
        canvas.pen.style = platform::PenStyle::Solid;
    }
}

void TQ7DrawGridCell::Draw(platform::Canvas& canvas, platform::CanvasRect& rect, float hScale, float vScale,
                           const TQ7DrawGridCell* left, const TQ7DrawGridCell* upper, const TQ7DrawGridCell* right,
                           [[maybe_unused]] const TQ7DrawGridCell* lower, TCellDrawState state, bool design)
{
    const TCellLayout layout = LayoutCell(*this, canvas, rect, hScale, vScale, {left, upper, right}, state, design);
    OverflowLeft = layout.overflowLeft;
    OverflowRight = layout.overflowRight;
    rect = layout.rect;
    PaintCell(canvas, layout);
}
