// One axis of the curve panel: the value axis across (XAxisInfo) or the depth axis down (YAxisInfo).
#pragma once

#include <functional>

class TAxis {
public:
    enum Kind { ValueAxis, DepthAxis };

    explicit TAxis(Kind kind);

    // Borrows the document's depth array (never freed here) and recomputes.
    void SetDepthArray(const float* values, int count);
    void ClearDepthArray();
    // Recomputes the derived values (scale in pixels, label interval, offset range).
    void Recalculate();
    // Pixels scrolled; the depth axis keeps it within 0 .. span - view length.
    // Fires OnOffsetChange when the value changes.
    void SetOffset(int offset);
    int Offset() const { return offset_; }

    // Depth scale 1:N (1 cm of screen shows N cm of depth); N below 1 is ignored.
    void SetScaleFactorValue(int n);
    // Metres in one depth unit (1 for metres and for a unit that gives no length).
    void SetUnitMetres(double metres);
    int ScaleFactorValue() const { return scaleFactor_; }
    void SetPixelsPerCm(float pixels);
    float PixelsPerCm() const { return pixelsPerCm_; }
    // Length of the drawing area along this axis, for the depth offset range.
    void SetViewLength(int pixels);
    int ViewLength() const { return viewLength_; }

    // Value axis: a tick every TickInterval pixels worth TickStepValue value units, a
    // labelled mark every MarksStep ticks, MarksInterval pixels apart (0: not drawn).
    int TickInterval = 0;
    double TickStepValue = 0;
    int MarksStep = 0;
    int MarksInterval = 0;
    // Depth axis: the document STEP and trunc(STEP x 1000), set by whoever attaches a document.
    float MarksStepValue = 0;
    int DepthStepValue = 0;
    // Sets both from STEP; the thousandths are held to the int range (a STEP beyond it, or not
    // finite, gives the nearest limit, 0 for NaN).
    void SetDepthStep(float step);

    const float* DepthArray() const { return depths_; }
    int DepthCount() const { return count_; }
    float FirstDepth() const { return count_ > 0 ? depths_[0] : 0.0f; }
    float LastDepth() const { return count_ > 0 ? depths_[count_ - 1] : 0.0f; }
    // MarksStepValue when set, else the mean step of the array.
    float DepthStep() const;
    // Screen pixels per depth unit at the current scale.
    double PixelsPerUnit() const { return pixelsPerUnit_; }
    // Height in pixels of the whole depth range.
    int SpanPixels() const { return spanPixels_; }
    int MaxOffset() const;
    // Depth distance between labelled depths (1, 2 or 5 x 10^k, at least 1.5 cm apart).
    double LabelInterval() const { return labelInterval_; }

    std::function<void(int offset)> OnOffsetChange;

private:
    Kind kind_;
    const float* depths_ = nullptr;
    int count_ = 0;
    int offset_ = 0;
    int scaleFactor_ = 200;
    double unitMetres_ = 1.0;
    float pixelsPerCm_;
    int viewLength_ = 0;
    double pixelsPerUnit_ = 1;
    int spanPixels_ = 0;
    double labelInterval_ = 1;
};
