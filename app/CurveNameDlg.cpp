// Curve information dialog.
#include "app/CurveNameDlg.h"

#include "core/LasParser2.h"
#include "core/StringUtils.h"
#include "editing/CurveNameRules.h"
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

bool TCurveNameDlg::Execute(TCurveInfo& info, const TLASFile& document)
{
    document_ = &document;
    curve_ = info.Name;
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

// The name is checked as it will be written: blanks, points and colons removed (the caller says so).
void TCurveNameDlg::accept()
{
    const QString name = QString::fromStdString(RemoveCurveNameInvalidChars(fields_->EditName->text().trimmed().toStdString()));
    const std::pair<int, QString> texts[] = {
        {TLasParsParsedString::kMnemonic, name},
        {TLasParsParsedString::kUnit, fields_->EditUnit->text().trimmed()},
        {TLasParsParsedString::kDescription, fields_->EditDescription->text().trimmed()},
    };
    for (const auto& [field, text] : texts)
        if (document_ && !(field == TLasParsParsedString::kMnemonic && text.isEmpty()) &&
            RefusedCurveText(this, *document_, curve_, field, text))
            return;
    TOKRightDlg::accept();
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
