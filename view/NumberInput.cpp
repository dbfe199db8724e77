// Number input box and its two entry functions.
#include "view/NumberInput.h"

#include "platform/DialogRunner.h"
#include "platform/NumberText.h"
#include "ui_NumberInput.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

namespace {
TNumberInputBox* theBox = nullptr;
}

TNumberInputBox* NumberInputBox()
{
    return theBox;
}

namespace {
// The main window creates the box at start-up; a caller running without it gets one
// owned by the active window so that its answer stays readable after the call.
TNumberInputBox* EnsureBox()
{
    return theBox ? theBox : new TNumberInputBox(QApplication::activeWindow());
}
}

TNumberInputBox::TNumberInputBox(QWidget* parent)
    : TGradientDialog(parent), ui(std::make_unique<Ui::TNumberInputBox>())
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    if (!theBox)
        theBox = this;
}

TNumberInputBox::~TNumberInputBox()
{
    if (theBox == this)
        theBox = nullptr;
}

void TNumberInputBox::Prepare(int decimals, double minValue, double maxValue, double value)
{
    if (decimals <= 0) {
        minValue = std::trunc(minValue);
        maxValue = std::trunc(maxValue);
        value = std::trunc(value);
    }
    min_ = minValue;
    max_ = maxValue;
    QDoubleSpinBox* spin = ui->RxSpinEdit1;
    spin->setDecimals(std::max(decimals, 0));
    spin->setRange(minValue, maxValue);
    spin->setValue(value);
}

long double TNumberInputBox::GetValue() const
{
    // The text may hold more than the spin edit accepted as its value (typed, not confirmed).
    double typed = ui->RxSpinEdit1->value();
    platform::TryStrToFloat(ui->RxSpinEdit1->cleanText(), typed);
    if (ui->RxSpinEdit1->decimals() == 0)
        typed = std::round(typed);  // as the field rounds a typed fraction when it takes it
    return std::clamp(typed, min_, max_);
}

void TNumberInputBox::SetInfo(const QString& text)
{
    ui->LabelInfo->setText(text);
}

QString TNumberInputBox::Info() const
{
    return ui->LabelInfo->text();
}

double TNumberInputBox::MinValue() const
{
    return min_;
}

double TNumberInputBox::MaxValue() const
{
    return max_;
}

int TNumberInputBox::Decimals() const
{
    return ui->RxSpinEdit1->decimals();
}

QDoubleSpinBox* TNumberInputBox::SpinEdit() const
{
    return ui->RxSpinEdit1;
}

void TNumberInputBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->RxSpinEdit1->setFocus();
    ui->RxSpinEdit1->selectAll();
}

bool InputNumberBox(int decimals, const QString& caption, double minValue, double maxValue, double value)
{
    TNumberInputBox* box = EnsureBox();
    box->setWindowTitle(caption);
    box->Prepare(decimals, minValue, maxValue, value);
    return platform::ExecDialog(*box) == QDialog::Accepted;
}

bool InputNumberBoxEx(int decimals, const QString& caption, const QString& prompt, double minValue,
                      double maxValue, double value)
{
    TNumberInputBox* box = EnsureBox();
    box->SetInfo(prompt);
    const bool ok = InputNumberBox(decimals, caption, minValue, maxValue, value);
    box->SetInfo(QStringLiteral(" "));
    return ok;
}
