// Curve information dialog.
#include "app/CurveNameDlg.h"

#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_CurveNameDlg.h"

#include <QHBoxLayout>

TCurveNameDlg::TCurveNameDlg(QWidget* parent)
    : TOKRightDlg(parent), fields_(std::make_unique<Ui::TCurveNameFields>())
{
    setWindowTitle(QStringLiteral("Свойства кривой"));
    auto* holder = new QWidget(Bevel());
    fields_->setupUi(holder);
    auto* layout = new QHBoxLayout(Bevel());
    layout->addWidget(holder);
    connect(fields_->ButtonColor, &QPushButton::clicked, this, platform::Guarded([this] { ButtonColorClick(); }));
}

TCurveNameDlg::~TCurveNameDlg() = default;

bool TCurveNameDlg::Execute(TCurveInfo& info)
{
    fields_->EditName->setText(info.Name);
    fields_->EditUnit->setText(info.Unit);
    fields_->EditDescription->setText(info.Description);
    fields_->SpinDecimals->setValue(info.Decimals);
    color_ = info.Color;
    ShowColor();
    if (platform::ExecDialog(*this) != QDialog::Accepted)
        return false;
    info.Name = fields_->EditName->text().trimmed();
    info.Unit = fields_->EditUnit->text().trimmed();
    info.Description = fields_->EditDescription->text().trimmed();
    info.Decimals = fields_->SpinDecimals->value();
    info.Color = color_;
    return true;
}

void TCurveNameDlg::ButtonColorClick()
{
    platform::ColorRef color = color_;
    if (platform::ChooseColor(this, color)) {
        color_ = color;
        ShowColor();
    }
}

void TCurveNameDlg::ShowColor()
{
    fields_->ButtonColor->setStyleSheet(
        QStringLiteral("background-color: %1").arg(platform::ToQColor(color_).name()));
}
