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
    double Scale = 2.0;       // depth units per cm of paper (1:N gives N × 0.01 / UnitMetres)
    double UnitMetres = 1.0;  // metres in one depth unit
    float FirstPageHeight = 0.0f;
    std::int8_t ScaleFormat = 0;  // 0 numbers; 1 h m; 2 m s; 3 h m s
    const float* Depths = nullptr;  // borrowed, increasing
    int DepthCount = 0;

    void SetScale(double s);
    // The scale 1:N on paper, whatever the depth unit; N of the scale in force.
    void SetRatio(double n) { SetScale(n * 0.01 / UnitMetres); }
    double Ratio() const { return Scale * UnitMetres * 100.0; }
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

    // Depth lines of a page. Lines fall on whole multiples of a round depth step (1, 2 or 5
    // × 10^k depth units, at least the paper spacing of the labels apart); every
    // `minorPerMajor`-th minor line is a labelled major one.
    struct DepthLines {
        int stepMantissa = 2;  // label step = stepMantissa × 10^stepExponent
        int stepExponent = 0;
        int minorPerMajor = 4;
        long long firstMinor = 0;  // minor line j lies at depth j × minor step
        long long lastMinor = -1;
        double pageTopCm = 0.0;  // strip cm below PrintTop
        double pageBottomCm = 0.0;
        bool lastPage = true;
    };
    DepthLines GetDepthLines(int page) const;
    // Depth of minor line j, exact to the double nearest the decimal value.
    static double MinorDepth(const DepthLines& lines, long long j);
    double StripCm(double depth) const { return (depth - PrintTop) / Scale; }
    // Whether the label of major line j is printed on the page: each on exactly one page,
    // the one whose strip holds its line (a line on a page boundary belongs to the later).
    bool OwnsLabel(const DepthLines& lines, long long j) const;
    // Strip cm of the top and bottom of page i.
    void GetPageStrip(int page, double& topCm, double& bottomCm) const;

    // Labels and solid lines of page i in `rect` (its bottom is not used), in the depth
    // track's own font; lengths along y with pxY, the label indent with pxX.
    void DrawDepthTrack(platform::Canvas& canvas, int page, float pxY, const platform::CanvasRect& rect,
                        float pxX) const;
    std::string FormatTimeLabel(int value) const;

    std::string LabelText(const DepthLines& lines, long long j) const;
};
