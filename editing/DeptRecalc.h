// Depth step recalculation: the depth column re-stamped as an even series chosen by two of
// first value, step and last value; the depth mnemonic, unit and decimals may change too.
#pragma once

#include "core/DepthRecalc.h"
#include "view/GradientDialog.h"

#include <QString>
#include <memory>
#include <optional>

class TLASFile;
namespace Ui { class TDeptRecalcDlg; }

class TDeptRecalcDlg : public TGradientDialog
{
    Q_OBJECT
public:
    // The command's values, read when the dialog is shown and written back on OK; the first and
    // last value are decimal depths, shown with the decimals given to SetPrecision.
    struct Params {
        float* step = nullptr;
        double* first = nullptr;
        double* last = nullptr;
        const float* depths = nullptr;
        int count = 0;
        QString* mnemonic = nullptr;
        QString* unit = nullptr;
        // When set, OK keeps the dialog open on a mnemonic or unit the document cannot hold.
        const TLASFile* document = nullptr;
    };
    // Bits of CheckParams.
    enum : int { NoDepths = 1, BadCount = 2, NoFirst = 4, NoLast = 8, NoStep = 16, FirstNotBelowLast = 32,
                 StepNotPositive = 64 };

    explicit TDeptRecalcDlg(QWidget* parent = nullptr);
    ~TDeptRecalcDlg() override;

    // Shows the dialog on `params`; true on OK. The computed series, if any, is then in NewDepths
    // and, as decimals, in NewSeries.
    bool Execute(const Params& params);
    const FloatVector& NewDepths() const { return series_.depths; }
    const DepthSeries& NewSeries() const { return series_; }

    void SetPrecision(int n);
    int GetPrecision() const { return chosenDecimals_; }
    int CheckParams() const;
    void Recalculate(DepthRecalcMode mode);

    Ui::TDeptRecalcDlg& Form() const { return *ui; }

protected:
    int GradientTop() const override;

private:
    void FormShow();
    void SetChecks();
    void CheckBoxClick(int parameter, bool checked);
    void ButtonCalcClick();
    void OKBtnClick();
    void PrecisionChanged();
    void ShowDecimals(int decimals);
    void EditDeptNameEdited();
    void EditMesUnitsEdited();

    std::unique_ptr<Ui::TDeptRecalcDlg> ui;
    int replaceable_ = 0;  // 0 first value, 1 step, 2 last value
    int anchor_ = 1;
    DepthSeries series_;
    int initialDecimals_ = 2;
    int chosenDecimals_ = 2;
    Params params_;
};
