// Depth step recalculation dialog.
#include "editing/DeptRecalc.h"

#include "core/LasParser2.h"
#include "editing/CurveNameRules.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/NumberText.h"
#include "ui_DeptRecalc.h"

#include <QSignalBlocker>
#include <algorithm>

TDeptRecalcDlg::TDeptRecalcDlg(QWidget* parent)
    : TGradientDialog(parent, 10), ui(std::make_unique<Ui::TDeptRecalcDlg>())
{
    ui->setupUi(this);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xFF));
    setPalette(palette);
    QCheckBox* boxes[3] = {ui->CheckBoxStart, ui->CheckBoxStep, ui->CheckBoxStop};
    for (int i = 0; i < 3; ++i)
        connect(boxes[i], &QCheckBox::clicked, this,
                platform::Guarded([this, i](bool checked) { CheckBoxClick(i, checked); }));
    connect(ui->ButtonCalc, &QPushButton::clicked, this, platform::Guarded([this] { ButtonCalcClick(); }));
    connect(ui->CheckBoxPrecision, &QCheckBox::clicked, this, platform::Guarded([this] { PrecisionChanged(); }));
    connect(ui->RxSpEdPrecision, &QSpinBox::valueChanged, this, platform::Guarded([this] { PrecisionChanged(); }));
    connect(ui->EditDeptName, &QLineEdit::textEdited, this, platform::Guarded([this] { EditDeptNameEdited(); }));
    connect(ui->EditMesUnits, &QLineEdit::textEdited, this, platform::Guarded([this] { EditMesUnitsEdited(); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, platform::Guarded([this] { OKBtnClick(); }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectHelpButton(ui->BitBtnHelp);
}

TDeptRecalcDlg::~TDeptRecalcDlg() = default;

bool TDeptRecalcDlg::Execute(const Params& params)
{
    params_ = params;
    series_ = {};
    FormShow();
    const bool ok = platform::ExecDialog(*this) == QDialog::Accepted;
    params_ = {};
    if (!ok)
        series_ = {};
    return ok;
}

void TDeptRecalcDlg::SetPrecision(int n)
{
    initialDecimals_ = chosenDecimals_ = std::clamp(n, 0, 32);
    QSignalBlocker block(ui->RxSpEdPrecision);
    ui->RxSpEdPrecision->setValue(chosenDecimals_);
}

void TDeptRecalcDlg::FormShow()
{
    SetChecks();
    if (params_.step && params_.first && params_.last && params_.depths && params_.count > 0) {
        ui->LabelStep->setText(QStringLiteral("Шаг = ") + platform::LasNumberText(*params_.step, initialDecimals_) +
                               QStringLiteral("; Отсчетов = ") + QString::number(params_.count));
        ui->LabelInterval->setText(QStringLiteral("Интервал: ") +
                                   platform::DecimalText(*params_.first, initialDecimals_) + QStringLiteral(" - ") +
                                   platform::DecimalText(*params_.last, initialDecimals_));
        ui->SpEdStart->SetValue(*params_.first);
        ui->SpEdStop->SetValue(*params_.last);
        ui->SpEdStep->SetValue(*params_.step);
        if (params_.mnemonic)
            ui->EditDeptName->setText(*params_.mnemonic);
        if (params_.unit)
            ui->EditMesUnits->setText(*params_.unit);
        PrecisionChanged();
    } else {
        ui->LabelStep->setText(QStringLiteral("Массив глубин не определен!"));
        ui->LabelInterval->clear();
    }
}

void TDeptRecalcDlg::SetChecks()
{
    QCheckBox* boxes[3] = {ui->CheckBoxStart, ui->CheckBoxStep, ui->CheckBoxStop};
    for (int i = 0; i < 3; ++i) {
        QSignalBlocker block(boxes[i]);
        boxes[i]->setChecked(i == replaceable_ || i == anchor_);
    }
}

void TDeptRecalcDlg::CheckBoxClick(int parameter, bool checked)
{
    const bool chosen = parameter == replaceable_ || parameter == anchor_;
    if (checked && !chosen) {
        replaceable_ = parameter;
    } else if (!checked && chosen) {
        const int other = parameter == replaceable_ ? anchor_ : replaceable_;
        replaceable_ = other;
        anchor_ = 3 - parameter - other;
    }
    SetChecks();
}

int TDeptRecalcDlg::CheckParams() const
{
    int mask = 0;
    if (!params_.depths)
        mask |= NoDepths;
    if (params_.count <= 0)
        mask |= BadCount;
    if (!params_.first)
        mask |= NoFirst;
    if (!params_.last)
        mask |= NoLast;
    if (!params_.step)
        mask |= NoStep;
    if (static_cast<float>(ui->SpEdStart->Value()) >= static_cast<float>(ui->SpEdStop->Value()))
        mask |= FirstNotBelowLast;
    const int mode = replaceable_ + anchor_;
    if (mode != static_cast<int>(DepthRecalcMode::FirstAndLast) && static_cast<float>(ui->SpEdStep->Value()) <= 0.0f)
        mask |= StepNotPositive;
    return mask;
}

void TDeptRecalcDlg::ButtonCalcClick()
{
    const int mask = CheckParams();
    if (mask != 0) {
        static const char* const lines[] = {"Не задан массив глубин\n", "Переданный размер массива меньше 0\n",
                                            "Не задана начальная глубина\n", "Не задана конечная глубина\n",
                                            "Не задан шаг\n", "Начальное значение глубины больше конечного",
                                            "Шаг должен быть больше нуля"};
        QString text = QStringLiteral("Один или более параметров заданы неверно!:\n--------\n");
        for (int bit = 0; bit < 7; ++bit) {
            if (!(mask & (1 << bit)))
                continue;
            if (bit == 6 && (mask & FirstNotBelowLast))
                text += QLatin1Char('\n');
            text += QString::fromUtf8(lines[bit]);
        }
        platform::MessageBox(this, text, QStringLiteral("Ошибка"), platform::MB_ICONERROR);
        return;
    }
    Recalculate(static_cast<DepthRecalcMode>(replaceable_ + anchor_));
}

void TDeptRecalcDlg::Recalculate(DepthRecalcMode mode)
{
    series_ = RecalculateDepths(mode, ui->SpEdStart->Value(), ui->SpEdStep->Value(), ui->SpEdStop->Value(),
                                params_.count);
    ui->SpEdStart->SetValue(series_.gridFirst);
    ui->SpEdStop->SetValue(series_.gridLast);
    ui->SpEdStep->SetValue(series_.gridStep);
}

void TDeptRecalcDlg::OKBtnClick()
{
    if (ui->CheckBoxMnem->isChecked()) {
        if (params_.document && params_.mnemonic &&
            (RefusedCurveText(this, *params_.document, *params_.mnemonic, TLasParsParsedString::kMnemonic,
                              ui->EditDeptName->text()) ||
             RefusedCurveText(this, *params_.document, *params_.mnemonic, TLasParsParsedString::kUnit,
                              ui->EditMesUnits->text())))
            return;
        if (params_.mnemonic)
            *params_.mnemonic = ui->EditDeptName->text();
        if (params_.unit)
            *params_.unit = ui->EditMesUnits->text();
    }
    if (!series_.depths.empty() && params_.first && params_.last && params_.step) {
        *params_.first = series_.gridFirst;
        *params_.last = series_.gridLast;
        if (series_.step > 0.0f)
            *params_.step = series_.step;
    }
    accept();
}

void TDeptRecalcDlg::PrecisionChanged()
{
    const bool ticked = ui->CheckBoxPrecision->isChecked();
    ui->RxSpEdPrecision->setEnabled(ticked);
    chosenDecimals_ = ticked ? ui->RxSpEdPrecision->value() : initialDecimals_;
    ShowDecimals(chosenDecimals_);
}

void TDeptRecalcDlg::ShowDecimals(int decimals)
{
    for (TFloatSpinEdit* edit : {ui->SpEdStart, ui->SpEdStep, ui->SpEdStop})
        edit->SetDisplayDecimals(decimals);
}

void TDeptRecalcDlg::EditDeptNameEdited()
{
    const QString text = ui->EditDeptName->text().toUpper();
    QString kept;
    for (QChar c : text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            kept += c;
    if (kept != ui->EditDeptName->text())
        ui->EditDeptName->setText(kept);
}

void TDeptRecalcDlg::EditMesUnitsEdited()
{
    const QString text = ui->EditMesUnits->text().toUpper();
    QString kept = text.left(1);
    if (!kept.isEmpty() && (kept[0] < QLatin1Char('A') || kept[0] > QLatin1Char('Z')))
        kept.clear();
    if (kept != ui->EditMesUnits->text())
        ui->EditMesUnits->setText(kept);
}

int TDeptRecalcDlg::GradientTop() const
{
    return ui->GroupBox2->geometry().bottom() + 1;
}
