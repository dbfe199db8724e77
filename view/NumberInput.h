// Modal box asking for one number within limits, whole or with a given number of decimals.
#pragma once

#include "view/GradientDialog.h"

#include <QString>
#include <memory>

namespace Ui { class TNumberInputBox; }

class TNumberInputBox : public TGradientDialog
{
    Q_OBJECT
public:
    explicit TNumberInputBox(QWidget* parent = nullptr);
    ~TNumberInputBox() override;

    // Decimals <= 0: whole numbers, limits and value truncated toward zero.
    void Prepare(int decimals, double minValue, double maxValue, double value);
    // The typed value clamped to the box's limits.
    long double GetValue() const;

    void SetInfo(const QString& text);
    QString Info() const;
    double MinValue() const;
    double MaxValue() const;
    int Decimals() const;
    // The spin edit, for tests that type into it.
    class QDoubleSpinBox* SpinEdit() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TNumberInputBox> ui;
    double min_ = 0.0;
    double max_ = 0.0;
};

// The one box of the program (registered by its first construction; null before).
TNumberInputBox* NumberInputBox();

// Sets the caption and the limits, shows the box modally; true when closed with OK.
// Read the answer with NumberInputBox()->GetValue().
bool InputNumberBox(int decimals, const QString& caption, double minValue, double maxValue, double value);
// The same with a prompt above the spin edit; the prompt is replaced by a blank afterwards.
bool InputNumberBoxEx(int decimals, const QString& caption, const QString& prompt, double minValue,
                      double maxValue, double value);
