// One printed curve: its borrowed samples, value range and horizontal scale, appearance,
// logarithmic scale, off-scale behaviour and its keys in a template file.
#pragma once

#include "platform/Canvas.h"
#include "printing/OffsideMode.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TPrintingColumn;
class TPrintingDept;
class TRxIniFile;

// A tick of a column's scale and a line of its vertical grid: every 0.5 cm (major every
// 2 cm), or at 1..9 times each decade of a logarithmic scale (major at the decades).
struct ScaleTick {
    double cm = 0.0;  // from the column's left edge
    bool major = false;
};
std::vector<ScaleTick> ScaleTicks(bool logarithmic, int module, double widthCm);

class TCurveForPrinting {
public:
    // The range is taken from the samples that are not NULL (0 to 1.0 when there are none)
    // and the scale spreads it over the column's width.
    TCurveForPrinting(const float* samples, TPrintingColumn* column, float nullValue, int sampleCount);

    TPrintingColumn* Column = nullptr;  // owner, not owned
    const float* Samples = nullptr;     // borrowed from the document
    int SampleCount = 0;
    std::string Mnemonic;
    int Color = 0;
    float Width = 0.01f;  // cm
    float LeftValue = 0.0f;
    float RightValue = 1.0f;
    float NullValue = 0.0f;
    float ScaleValue = 1.0f;  // value units per cm
    std::unique_ptr<TOffsideMode> OffsideMode = std::make_unique<TOffsideMode>();
    std::int8_t BlikTitleType = 0;  // 0 none, 1 right edge, 2 left edge, 3 trace start
    bool BlikTitle = false;         // false: the value; true: the off-scale number
    platform::CanvasFont TitleFont{"Arial", 12.0};
    platform::CanvasFont UnitsFont{"Arial", 9.0};
    bool LogarithmicScale = false;
    int LogScaleModule = 2;  // cm per decade
    float LogLeftValue = 1.0f;
    bool ShowTitle = true;
    bool ShowUnits = true;
    bool ShowComment = false;
    std::string Unit;
    std::string Comment;

    void SetScaleValue(float v);
    void SetLeftValue(float v);
    void SetRightValue(float v);
    void SetLogarithmicScale(bool on) { LogarithmicScale = on; }
    void SetLogScaleModule(int m);
    void SetLogLeftValue(float v);

    void LoadFromIni(const TRxIniFile& ini, const std::string& section);
    void SaveToIni(TRxIniFile& ini, const std::string& section) const;

    // The header block between xL and xR from y0 down; its height in pixels. Vertical
    // lengths use fy, horizontal ones fx.
    int DrawHeader(platform::Canvas& canvas, int y0, float fy, int xR, int xL, float fx);
    // The height DrawHeader takes from y0, without drawing.
    int HeaderHeight(platform::Canvas& canvas, int y0, float fy) const;
    // The trace over the depths top..bottom in the data rectangle.
    void DrawTrace(platform::Canvas& canvas, const TPrintingDept& dept, float fv, float bottom, float top,
                   float fh, const platform::CanvasRect& r);
    void DrawBlikLabel(platform::Canvas& canvas, int n, float value, int x, int y, int rightBound);

    // The header's title line: name, unit and comment as switched on.
    std::string TitleText() const;
    // Whether a sample can be drawn: not NULL, finite, and above 0 on a logarithmic scale.
    bool IsDrawable(float v) const;
};
