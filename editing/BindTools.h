// Depth binding by hand (the same feature clicked on the base curve and on the bound curve) and
// automatic (the shift of best correlation within limits).
#pragma once

#include "editing/TwoPickTool.h"

#include <memory>

class TDlgIntervalLimiter;
class TSelectCurvesDlg;

// Moves document curve `bound` by (base index - bound index) samples, with an undo step and
// the message naming the shift; nothing unless both curves are data curves that differ and
// both indexes lie in the depth array and differ.
void BindCurvesManual(TToolHost& host, int base, int bound, int baseIndex, int boundIndex);

// Asks the limits of the shift, finds the shift of best correlation of document curve `bound`
// against `base` and, when the user agrees, moves `bound` by it, growing the document so that
// no value is lost; further curves chosen then move by the same shift in the same undo step.
// Nothing when STEP is not positive.
void BindCurvesAuto(TToolHost& host, TDlgIntervalLimiter& limits, TSelectCurvesDlg& choice, int base, int bound);

class TBindManualTool : public TTwoPickTool {
public:
    explicit TBindManualTool(TToolHost& host) : TTwoPickTool(host, true) {}
    QString Prompt() const override;

protected:
    void Picked(int base, int baseIndex, int bound, int boundIndex) override
    {
        BindCurvesManual(host_, base + 1, bound + 1, baseIndex, boundIndex);
    }
};

class TBindAutoTool : public TTwoPickTool {
public:
    explicit TBindAutoTool(TToolHost& host);
    ~TBindAutoTool() override;
    QString Prompt() const override;

    TDlgIntervalLimiter& LimitsDialog() const { return *limits_; }
    TSelectCurvesDlg& ChoiceDialog() const { return *choice_; }

protected:
    void Picked(int base, int, int bound, int) override;

private:
    std::unique_ptr<TDlgIntervalLimiter> limits_;
    std::unique_ptr<TSelectCurvesDlg> choice_;
};
