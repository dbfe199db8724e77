// The smoothing buttons: a click on a curve asks the intervals and runs the smoothing dialog
// over them, by spectrum or by points.
#pragma once

#include "editing/PanelTool.h"

#include <memory>

class TDlgAADegree;
class TFormAntiAliasingByPoints;

class TSmoothingTool : public TPanelTool {
public:
    TSmoothingTool(TToolHost& host, bool byPoints);
    ~TSmoothingTool() override;

    void Activate() override;
    void Deactivate() override;
    void CurveClick(int curve, QPoint at) override;

    TDlgAADegree* SpectrumDialog() const { return spectrum_.get(); }
    TFormAntiAliasingByPoints* PointsDialog() const { return points_.get(); }

private:
    static void WriteBack(void* context, const ListOfFloatValuesWithIndex& list);

    bool byPoints_;
    std::unique_ptr<TDlgAADegree> spectrum_;
    std::unique_ptr<TFormAntiAliasingByPoints> points_;
    int FSmoothedCurve = -1;  // panel curve being smoothed
    bool crossMouse_ = true;
};
