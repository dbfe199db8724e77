// The named, coloured depth intervals marked on the open document.
#pragma once

#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

class QPainter;

// Most bytes of an interval's name in UTF-8: what a session keeps.
inline constexpr int kIntervalNameBytes = 127;

struct IntervalItem {
    double Top = 0.0;
    double Bottom = 0.0;
    std::uint32_t Color = 0;  // 0x00BBGGRR
    std::string Name;         // UTF-8, at most kIntervalNameBytes
    bool Active = true;
};

using IntervalParts = std::vector<IntervalItem>;

class IntervalManager {
public:
    IntervalManager() = default;
    virtual ~IntervalManager() = default;

    // The loaded depth range (first and last depth of the document); the list is not touched.
    void SetTopBottom(float top, float bottom);
    float GetTop() const { return Top; }
    float GetBottom() const { return Bottom; }

    // Places a new interval, trimming, splitting or removing the ones it overlaps.
    // The returned pointer is valid until the next change of the list.
    IntervalItem* SetInterval(float top, float bottom);
    IntervalItem* ChangeInterval(int index, float top, float bottom);
    void DeleteInterval(int index);
    IntervalItem* MergeWithNext(int index);

    // Indexes of the intervals holding the depth under pixel row y of the area.
    std::vector<int> FindIntervalAt(const QRect& area, int y, float visibleTop, float visibleBottom) const;
    // The gap (or the interval) around the depth under row y.
    bool GetFreeRangeAt(const QRect& area, int y, float visibleTop, float visibleBottom,
                        float& freeTop, float& freeBottom) const;
    // Bands of the active intervals, merged by exclusive or: drawing twice restores the image.
    void DrawIntervals(QPainter& painter, const QRect& area, float visibleTop, float visibleBottom) const;

    float Top = 0.0f;
    float Bottom = -1.0f;
    IntervalParts List;
};
