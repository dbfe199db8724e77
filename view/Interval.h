// The panel's selected depth-index range and the horizontal bound lines that mark its ends.
#pragma once

#include <cstdint>
#include <functional>

class QPainter;
class TAxis;
struct PanelCoordinates;

// A horizontal line across the drawing area at a depth index.
struct THorzBound {
    int Index = -1;
    std::uint32_t Color = 0xFF9090;

    void Draw(QPainter& painter, const PanelCoordinates& coordinates) const;
};

class TInterval {
public:
    // Indexes are clamped to the depth array of `depthAxis`.
    explicit TInterval(const TAxis& depthAxis);

    // The ends always index the current depth array: a range the array has shrunk under
    // is cut at its last sample, or reads as not set when it lies wholly beyond it.
    int First() const;
    int Last() const;
    bool IsSet() const;
    void Clear();
    // Ordered and clamped to 0 .. count-1; clears when the depth array is empty.
    void SetRange(int first, int last);

    // Band between the rows of the two ends, with a bound line at each end.
    void Draw(QPainter& painter, const PanelCoordinates& coordinates) const;

    std::uint32_t FillColor = 0xE0FFE0;
    std::uint32_t BoundColor = 0xFF9090;
    // Fired with the new ends whenever they change.
    std::function<void(int first, int last)> OnChange;

private:
    void Assign(int first, int last);

    const TAxis& axis_;
    int first_ = -1;
    int last_ = -1;
};
