// The dialog of a semi-automatic binding: which curve in the marked area is the base (first
// area) or the bound curve (second area), and whether its feature is the minimum or maximum.
#pragma once

#include "view/GradientDialog.h"

#include <memory>
#include <vector>

namespace Ui { class TDlgBindSemiAuto; }
class TLASFile;
class TSemiAutoBindCurves;

class TDlgBindSemiAuto : public TGradientDialog {
    Q_OBJECT
public:
    explicit TDlgBindSemiAuto(QWidget* parent = nullptr);
    ~TDlgBindSemiAuto() override;

    // See ShowBindSemiAutoDialog.
    bool Execute(bool baseStage, TLASFile& document, const std::vector<int>& candidates, int first, int last,
                 TSemiAutoBindCurves& state);

    Ui::TDlgBindSemiAuto& Form() const { return *ui; }

private:
    void OKBtnClick();

    std::unique_ptr<Ui::TDlgBindSemiAuto> ui;
    bool baseStage_ = true;
    TLASFile* document_ = nullptr;
    std::vector<int> candidates_;
    int first_ = 0;
    int last_ = 0;
    TSemiAutoBindCurves* state_ = nullptr;
};

// Shows the dialog for an area holding depth indexes first..last and the LAS curves
// `candidates`; on OK the chosen curve (and, in the bound stage, every other curve selected in
// the list, moving with it) enters `state` with its feature. True on OK.
bool ShowBindSemiAutoDialog(TDlgBindSemiAuto& dialog, bool baseStage, TLASFile& document,
                            const std::vector<int>& candidates, int first, int last, TSemiAutoBindCurves& state);
