// Range dialog.
#include "editing/IntervalLimiter.h"

#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/NumberText.h"
#include "ui_IntervalLimiter.h"


namespace {
constexpr int kDecimals = 3;  // a range one thousandth wide must pass
}  // namespace

TDlgIntervalLimiter::TDlgIntervalLimiter(QWidget* parent)
    : TGradientDialog(parent), ui(std::make_unique<Ui::TDlgIntervalLimiter>())
{
    ui->setupUi(this);
    SetLimits(min_, max_);
    connect(ui->OKBtn, &QPushButton::clicked, this, platform::Guarded([this] { OKBtnClick(); }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TDlgIntervalLimiter::~TDlgIntervalLimiter() = default;

void TDlgIntervalLimiter::SetLimits(double min, double max)
{
    ShowLimits(min, max, 2, kDecimals);
}

void TDlgIntervalLimiter::SetDepthLimits(double min, double max, int decimals)
{
    ShowLimits(min, max, decimals, decimals);
}

void TDlgIntervalLimiter::ShowLimits(double min, double max, int labelDecimals, int valueDecimals)
{
    min_ = min;
    max_ = max;
    ui->LabelMinMax->setText(platform::DecimalText(min, labelDecimals) + QStringLiteral(" * ") +
                             platform::DecimalText(max, labelDecimals));
    for (TFloatSpinEdit* spin : {ui->SpEdFrom, ui->SpEdTo}) {
        const double value = spin->Value();
        spin->SetDisplayDecimals(valueDecimals);
        spin->setRange(min, max);
        spin->SetValue(value);
    }
}

void TDlgIntervalLimiter::SetFrom(double value)
{
    ui->SpEdFrom->SetValue(value);
}

void TDlgIntervalLimiter::SetTo(double value)
{
    ui->SpEdTo->SetValue(value);
}

void TDlgIntervalLimiter::SetInfoText(const QString& text)
{
    ui->LabelPrompt->setText(text);
}

double TDlgIntervalLimiter::GetFrom() const
{
    return ui->SpEdFrom->Value();
}

double TDlgIntervalLimiter::GetTo() const
{
    return ui->SpEdTo->Value();
}

bool TDlgIntervalLimiter::Execute()
{
    return platform::ExecDialog(*this) == QDialog::Accepted;
}

// Each failed check is reported and focuses its edit; the dialog stays open.
void TDlgIntervalLimiter::OKBtnClick()
{
    bool valid = true;
    const auto refuse = [this, &valid](TFloatSpinEdit* edit, const QString& text) {
        platform::MessageBox(this, text, QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
        edit->setFocus();
        valid = false;
    };
    if (GetFrom() < min_)
        refuse(ui->SpEdFrom, QStringLiteral("Верхняя граница интервала задана некорректно!"));
    if (GetTo() > max_)
        refuse(ui->SpEdTo, QStringLiteral("Нижняя граница интервала задана некорректно!"));
    if (!(GetTo() > GetFrom()))
        refuse(ui->SpEdFrom, QStringLiteral("Верхняя граница интервала должна быть меньше нижней!"));
    if (valid)
        accept();
}
