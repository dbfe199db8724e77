// The range dialog: two values From and To held within limits, To above From.
#pragma once

#include "view/GradientDialog.h"

#include <QString>
#include <memory>

namespace Ui { class TDlgIntervalLimiter; }

class TDlgIntervalLimiter : public TGradientDialog {
    Q_OBJECT
public:
    explicit TDlgIntervalLimiter(QWidget* parent = nullptr);
    ~TDlgIntervalLimiter() override;

    // Both values are held within [min, max]; the label shows the two.
    void SetLimits(double min, double max);
    // The same for limits that are depths of a document (decimal depths): the label and both
    // values show the depths' decimals.
    void SetDepthLimits(double min, double max, int decimals);
    void SetFrom(double value);
    void SetTo(double value);
    void SetInfoText(const QString& text);
    // True on OK; the values then lie within the limits and To is above From.
    bool Execute();
    double GetFrom() const;
    double GetTo() const;

    Ui::TDlgIntervalLimiter& Form() const { return *ui; }

private:
    void ShowLimits(double min, double max, int labelDecimals, int valueDecimals);
    void OKBtnClick();

    std::unique_ptr<Ui::TDlgIntervalLimiter> ui;
    double min_ = -50000000.0;
    double max_ = 50000000.0;
};
