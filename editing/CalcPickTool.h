// Picking the arguments of a calculation script: each click on a curve, in the panel or in the
// curve list, gives the next argument; the last one runs the script into a new curve.
#pragma once

#include "editing/PanelTool.h"

#include <cstdint>
#include <functional>
#include <vector>

class TExprList;

class TCalcPickTool : public TPanelTool {
public:
    // `releaseButtons` raises every calculation button.
    TCalcPickTool(TToolHost& host, TExprList& scripts, std::function<void()> releaseButtons);

    // Starts picking for script `script` needing `count` arguments (count >= 1).
    void Start(int script, int count);
    bool Picking() const { return FCalcPick != 0; }

    void CurveClick(int curve, QPoint at) override;
    void CurveListClick(int curve) override;
    // Drops the picks and raises the calculation buttons.
    void Cancel() override;
    QString Prompt() const override;

    // Bits 0-7: script + 1; 8-15: arguments picked; 16-31: arguments needed.
    std::uint32_t FCalcPick = 0;

private:
    void Pick(int lasIndex);
    void CalculateNewCurve();
    int Needed() const { return static_cast<int>(FCalcPick >> 16); }

    TExprList& scripts_;
    std::function<void()> releaseButtons_;
    // Document curve indexes of the picks, resolved into arrays only when the script runs: undo,
    // added curves and a hand-over replace the arrays meanwhile.
    std::vector<int> picks_;
};
