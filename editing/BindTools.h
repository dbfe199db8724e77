// Depth binding by hand: the same feature clicked on the base curve and on the bound curve.
#pragma once

#include "editing/PanelTool.h"

// Moves document curve `bound` by (base index - bound index) samples, with an undo step and
// the message naming the shift; nothing unless both curves are data curves that differ and
// both indexes lie in the depth array and differ.
void BindCurvesManual(TToolHost& host, int base, int bound, int baseIndex, int boundIndex);

class TBindManualTool : public TPanelTool {
public:
    using TPanelTool::TPanelTool;
    void CurveClick(int curve, QPoint at) override;
    void Cancel() override;
    QString Prompt() const override;

private:
    int FBindBase = -1;
    int FBindBound = -1;
    int FBindDepthIndex = -1;
};
