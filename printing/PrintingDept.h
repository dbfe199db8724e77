// The depth track of a printout: the printed depth range on a strip of paper at a vertical
// scale, cut into pages; depth labels and the lookup of curve values at a depth.
#pragma once

#include "platform/Canvas.h"

#include <cstdint>
#include <string>

class TPrintingDept {
public:
    TPrintingDept(float top, float bottom, float step);

    float DataTop;
    float DataBottom;
    float PrintTop;
    float PrintBottom;
    float Step;
    float PageHeight = 0.0f;  // cm of a full page
    double Scale = 2.0;       // depth units per cm of paper (1:N gives N × 0.01)
    float FirstPageHeight = 0.0f;
    std::int8_t ScaleFormat = 0;  // 0 numbers; 1 h m; 2 m s; 3 h m s
    const float* Depths = nullptr;  // borrowed, increasing
    int DepthCount = 0;

    void SetScale(double s);
    void SetPrintTop(float v);
    void SetPrintBottom(float v);
    // Negative (header taller than the page) and non-finite lengths are taken as 0.
    void SetFirstPageHeight(float cm);

    int GetPageCount() const;
    // Depth range of page i; the number of depth steps on it.
    int GetPageRange(int page, float& top, float& bottom) const;
    float GetLastPageLength() const;
    static int GetMinorDivisions(float p, float q);

    int FindDepthIndex(float depth, bool after, float& found) const;
    float InterpolateAt(float depth, const float* values) const;
    // The value at a depth only from samples that are not NULL: false when the depth lies
    // outside the data or a sample it needs is missing.
    bool TryInterpolateAt(float depth, const float* values, float nullValue, float& value) const;

    // Origin of the labels and grid lines of a page whose bottom depth is `pageBottom`:
    // cm below PrintTop, with the whole-number distance `frac` and the round-depth `offset`.
    struct LabelOrigin {
        double frac = 0.0;
        double offset = 0.0;
        double origin = 0.0;  // cm
    };
    LabelOrigin GetLabelOrigin(float pageBottom) const;

    // Labels and solid lines of page i in `rect` (its bottom is not used); lengths along y
    // with pxY, the label indent with pxX.
    void DrawDepthTrack(platform::Canvas& canvas, int page, float pxY, const platform::CanvasRect& rect,
                        float pxX) const;
    std::string FormatTimeLabel(int value) const;

    // Index range of the major lines of a page (labels and solid grid lines).
    struct MajorRange {
        int first = 0;
        int last = -1;
        double major = 2.0;  // cm
        double pageTop = 0.0;  // cm of strip above the page
        LabelOrigin origin;
    };
    MajorRange GetMajorRange(int page) const;
    std::string LabelText(double depth) const;
};
