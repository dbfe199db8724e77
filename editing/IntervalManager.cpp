#include "editing/IntervalManager.h"

#include "platform/Colors.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Depth and pixel rows are related linearly over the area.
struct RowScale {
    double pixelsPerDepth;
    float visibleTop;
    int areaTop;

    RowScale(const QRect& area, float top, float bottom)
        : pixelsPerDepth(double(AreaHeight(area)) / double(bottom - top)), visibleTop(top), areaTop(area.top())
    {
    }
    static int AreaHeight(const QRect& area) { return area.bottom() + 1 - area.top(); }
    double DepthAt(int y) const { return (y - areaTop) / pixelsPerDepth + visibleTop; }
    int RowOf(double depth) const { return static_cast<int>((depth - visibleTop) * pixelsPerDepth + areaTop); }
};

bool DegenerateView(const QRect& area, float visibleTop, float visibleBottom)
{
    return std::fabs(visibleBottom - visibleTop) < 1e-7 || RowScale::AreaHeight(area) <= 0;
}

} // namespace

void IntervalManager::SetTopBottom(float top, float bottom)
{
    Top = top;
    Bottom = bottom;
}

IntervalItem* IntervalManager::SetInterval(float top, float bottom)
{
    if (Top <= Bottom) {
        top = std::max(top, Top);
        bottom = std::min(bottom, Bottom);
    }
    std::sort(List.begin(), List.end(), [](const IntervalItem& a, const IntervalItem& b) { return a.Top < b.Top; });
    if (top > bottom)
        std::swap(top, bottom);

    IntervalItem item;
    item.Top = top;
    item.Bottom = bottom;
    const double newTop = top;
    const double newBottom = bottom;

    auto it = std::lower_bound(List.begin(), List.end(), newTop,
                               [](const IntervalItem& a, double value) { return a.Top < value; });
    if (it == List.end() && (List.empty() || List.back().Bottom <= newTop)) {
        List.push_back(item);
        return &List.back();
    }

    // Intervals from `first` on that lie inside the new one go; the next one left is trimmed.
    const auto removeCovered = [&](IntervalParts::iterator first) {
        auto last = first;
        while (last != List.end() && last->Bottom <= newBottom)
            ++last;
        if (last != List.end() && last->Top < newBottom)
            last->Top = newBottom;
        return List.erase(first, last);
    };

    if (it == List.begin()) {
        it = removeCovered(it);
        return &*List.insert(it, item);
    }

    auto previous = std::prev(it);
    if (previous->Bottom > newBottom) {
        IntervalItem lower = *previous;
        lower.Top = newBottom;
        previous->Bottom = newTop;
        const auto index = std::distance(List.begin(), previous) + 1;
        List.insert(List.begin() + index, {item, lower});
        return &List[static_cast<size_t>(index)];
    }
    if (previous->Bottom > newTop)
        previous->Bottom = newTop;
    it = removeCovered(it);
    return &*List.insert(it, item);
}

IntervalItem* IntervalManager::ChangeInterval(int index, float top, float bottom)
{
    const IntervalItem kept = List[static_cast<size_t>(index)];
    DeleteInterval(index);
    IntervalItem* changed = SetInterval(top, bottom);
    changed->Color = kept.Color;
    changed->Name = kept.Name;
    changed->Active = kept.Active;
    return changed;
}

void IntervalManager::DeleteInterval(int index)
{
    List.erase(List.begin() + index);
}

IntervalItem* IntervalManager::MergeWithNext(int index)
{
    if (static_cast<size_t>(index) + 1 >= List.size())
        return &List.back();
    List[static_cast<size_t>(index)].Bottom = List[static_cast<size_t>(index) + 1].Bottom;
    List.erase(List.begin() + index + 1);
    return &List[static_cast<size_t>(index)];
}

std::vector<int> IntervalManager::FindIntervalAt(const QRect& area, int y, float visibleTop,
                                                 float visibleBottom) const
{
    std::vector<int> found;
    if (DegenerateView(area, visibleTop, visibleBottom))
        return found;
    const double depth = RowScale(area, visibleTop, visibleBottom).DepthAt(y);
    for (size_t i = 0; i < List.size(); ++i) {
        if (List[i].Top <= depth && depth <= List[i].Bottom)
            found.push_back(static_cast<int>(i));
    }
    return found;
}

bool IntervalManager::GetFreeRangeAt(const QRect& area, int y, float visibleTop, float visibleBottom,
                                     float& freeTop, float& freeBottom) const
{
    if (DegenerateView(area, visibleTop, visibleBottom))
        return false;
    const double depth = RowScale(area, visibleTop, visibleBottom).DepthAt(y);
    if (depth < Top || depth > Bottom)
        return false;
    double upper = Top;
    double lower = Bottom;
    for (const IntervalItem& item : List) {
        if (item.Top > depth)
            break;
        upper = item.Bottom > depth ? item.Top : item.Bottom;
    }
    for (auto it = List.rbegin(); it != List.rend(); ++it) {
        if (it->Bottom < depth)
            break;
        lower = it->Top < depth ? it->Bottom : it->Top;
    }
    freeTop = static_cast<float>(upper);
    freeBottom = static_cast<float>(lower);
    return true;
}

void IntervalManager::DrawIntervals(QPainter& painter, const QRect& area, float visibleTop,
                                    float visibleBottom) const
{
    if (std::fabs(visibleBottom - visibleTop) < 1e-7)
        return;
    const RowScale scale(area, visibleTop, visibleBottom);
    const int areaBottom = area.bottom() + 1;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const IntervalItem& item : List) {
        if (!item.Active || !(item.Top < visibleBottom) || !(item.Bottom > visibleTop))
            continue;
        const int y1 = item.Top >= visibleTop ? scale.RowOf(item.Top) : area.top();
        const int y2 = item.Bottom <= visibleBottom ? scale.RowOf(item.Bottom) : areaBottom;
        if (y2 - y1 <= 0)
            continue;
        // On white the band shows exactly the interval's colour.
        const std::uint32_t inverse = 0xFFFFFFu - (item.Color & 0xFFFFFFu);
        painter.fillRect(QRect(area.left(), y1, area.width(), y2 - y1), platform::ToQColor(inverse));
    }
    painter.restore();
}
