// Tools acting on clicked curves: cutting, joining two curves and matching horizontal scales.
#pragma once

#include "editing/TwoPickTool.h"

// Sets NULL from the first sample down to depth index k (top) or from k to the last sample
// (bottom) of panel curve `curve`, with an undo step; nothing for k < 1 or k >= point count.
// True when the curve changed.
bool CutCurve(TToolHost& host, int curve, int k, bool top);

// Each click on a curve cuts it at the clicked depth; the tool stays current.
class TCutCurveTool : public TPanelTool {
public:
    TCutCurveTool(TToolHost& host, bool top) : TPanelTool(host), top_(top) {}
    void CurveClick(int curve, QPoint at) override;
    QString Prompt() const override;

private:
    bool top_;
};

// The upper curve picked at a depth, then the lower one: a new curve made of the upper curve
// down to that depth and the lower curve below it.
class TJoinCurvesTool : public TTwoPickTool {
public:
    explicit TJoinCurvesTool(TToolHost& host) : TTwoPickTool(host, true) {}
    QString Prompt() const override;

    // Asks the new curve's name and colour, then adds it; false when the user ended it.
    bool JoinCurves(int upper, int lower, int depthIndex);

protected:
    void Picked(int upper, int depthIndex, int lower, int) override { JoinCurves(upper, lower, depthIndex); }
};

// The first click picks the reference; every later click on another curve gives that curve
// the reference's scale, placed so that equal values stand at equal x.
class TScaleMatchTool : public TPanelTool {
public:
    using TPanelTool::TPanelTool;
    void CurveClick(int curve, QPoint at) override;
    void Cancel() override;
    QString Prompt() const override;

private:
    int FScaleRef = -1;
    int FScaleTarget = -1;
};
