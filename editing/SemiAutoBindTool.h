// Semi-automatic depth binding: an area dragged around a feature of the base curve, then one
// around the same feature of the bound curves; the minimum or maximum in each area is the
// feature, and the bound curves move so that their features meet the base's.
#pragma once

#include "editing/RectDragTool.h"
#include "editing/SemiAutoBind.h"

#include <memory>

class TDlgBindSemiAuto;

class TBindSemiAutoTool : public TRectDragTool {
public:
    explicit TBindSemiAutoTool(TToolHost& host);
    ~TBindSemiAutoTool() override;
    // Also empties the binding state.
    void Cancel() override;
    QString Prompt() const override;

    // One released area, corners in any order: nothing for an area lower than 3 pixels, holding
    // no sample or no curve; else the dialog of the stage, and after the bound curves the
    // question and the binding.
    void BindCurvesSemiAuto(QPoint corner1, QPoint corner2);

    const TSemiAutoBindCurves& State() const { return state_; }
    TDlgBindSemiAuto& Dialog() const { return *dialog_; }

protected:
    void RectDragged(QPoint corner1, QPoint corner2) override { BindCurvesSemiAuto(corner1, corner2); }

private:
    void ApplyBinding();

    TSemiAutoBindCurves state_;
    unsigned long long baseGeneration_ = 0;  // the document's arrays when the base was marked
    std::unique_ptr<TDlgBindSemiAuto> dialog_;
};
