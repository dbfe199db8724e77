// Perforation-mark dialog.
#include "editing/MetkaInfo.h"

#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/NumberText.h"
#include "ui_MetkaInfo.h"


TDlgMetkaInfo::TDlgMetkaInfo(QWidget* parent) : TGradientDialog(parent), ui(std::make_unique<Ui::TDlgMetkaInfo>())
{
    ui->setupUi(this);
    for (TFloatSpinEdit* spin : {ui->SpinEditKontrMetka, ui->SpinEditPodoshva, ui->SpinEditGK, ui->SpinEditPerf}) {
        spin->setDecimals(3);
        spin->setRange(0.0, 12000.0);
        connect(spin, &QDoubleSpinBox::valueChanged, this, platform::Guarded([this](double) { SpinEditKontrMetkaChange(); }));
    }
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    SpinEditKontrMetkaChange();
}

TDlgMetkaInfo::~TDlgMetkaInfo() = default;

bool TDlgMetkaInfo::Execute()
{
    FormShow();
    if (platform::ExecDialog(*this) != QDialog::Accepted)
        return false;
    TakeShownValues();
    return true;
}

void TDlgMetkaInfo::FormShow()
{
    ui->SpinEditGK->SetValue(info_.GK);
    ui->SpinEditPerf->SetValue(info_.Perf);
    ui->SpinEditPodoshva->SetValue(info_.Podoshva);
    ui->SpinEditKontrMetka->SetValue(info_.KontrMetka);
    ui->EditTitleText->setText(QString::fromStdString(info_.TitleText));
    ui->CheckBoxPrint->setChecked(info_.Print);
    SpinEditKontrMetkaChange();
}

// The shown values, clamped to the spin edits' limits, give the distance.
void TDlgMetkaInfo::SpinEditKontrMetkaChange()
{
    const long double distance = ((static_cast<long double>(ui->SpinEditPodoshva->value()) -
                                   ui->SpinEditKontrMetka->value()) +
                                  ui->SpinEditGK->value()) -
                                 ui->SpinEditPerf->value();
    ui->LabelResult->setText(platform::FloatToStrF(static_cast<float>(distance), 7, 2));
}

void TDlgMetkaInfo::TakeShownValues()
{
    info_.GK = static_cast<float>(ui->SpinEditGK->value());
    info_.Perf = static_cast<float>(ui->SpinEditPerf->value());
    info_.Podoshva = static_cast<float>(ui->SpinEditPodoshva->value());
    info_.KontrMetka = static_cast<float>(ui->SpinEditKontrMetka->value());
    info_.TitleText = ui->EditTitleText->text().toStdString();
    info_.Print = ui->CheckBoxPrint->isChecked();
}

float TDlgMetkaInfo::GetMetkaValue(int code) const
{
    switch (code) {
    case 1: return info_.GK;
    case 2: return info_.Perf;
    case 3: return info_.KontrMetka;
    case 4: return info_.Podoshva;
    case 5: return info_.GetDistance();
    default: return -1.0f;
    }
}
