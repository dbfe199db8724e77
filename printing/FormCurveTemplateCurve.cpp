// Template editor: the controls of the current curve.
#include "printing/FormCurveTemplate.h"

#include "ui_FormCurveTemplate.h"

#include <QSignalBlocker>

namespace {

int CheckedItem(const QGroupBox* group, const char* prefix)
{
    for (int i = 0;; ++i) {
        const auto* button = group->findChild<QRadioButton*>(QString::fromLatin1(prefix) + QString::number(i));
        if (!button)
            return -1;
        if (button->isChecked())
            return i;
    }
}

void CheckItem(QGroupBox* group, const char* prefix, int item)
{
    if (auto* button = group->findChild<QRadioButton*>(QString::fromLatin1(prefix) + QString::number(item));
        button && !button->isChecked())
        button->setChecked(true);
}

template <class Spin, class Value>
void SetIfDifferent(Spin* spin, Value value)
{
    if (spin->value() != value)
        spin->setValue(value);
}

}  // namespace

// The current curve: the one the curve list shows, when the list holds exactly the selected
// column's curves.
TCurveForPrinting* TFormCurveTemplate::CurrentCurve() const
{
    const int c = SelectedColumn();
    if (c < 0)
        return nullptr;
    const auto& curves = Model.Columns[static_cast<size_t>(c)]->Curves;
    const int i = ui->ComboBoxCurrentCurve->currentIndex();
    if (curves.empty() || ui->ComboBoxCurrentCurve->count() != static_cast<int>(curves.size()) || i < 0)
        return nullptr;
    return curves[static_cast<size_t>(i)].get();
}

void TFormCurveTemplate::LoadCurveControls(const TCurveForPrinting& curve)
{
    loading_ = true;
    if (ui->ColorCBCurve->Color() != static_cast<platform::ColorRef>(curve.Color))
        ui->ColorCBCurve->SetColor(static_cast<platform::ColorRef>(curve.Color));
    SetIfDifferent(ui->SpEdcurveWidth, static_cast<double>(curve.Width));
    ui->CheckBoxShowTitle->setChecked(curve.ShowTitle);
    ui->CheckBoxShowUnits->setChecked(curve.ShowUnits);
    ui->CheckBoxShowComment->setChecked(curve.ShowComment);
    SetIfDifferent(ui->SpEdBlikScale, static_cast<double>(curve.OffsideMode->BlikScale));
    CheckItem(ui->RadioGroupBlikMode, "RadioGroupBlikModeItem", curve.OffsideMode->BlikIsProgressive ? 0 : 1);
    CheckItem(ui->RadioGroupTitles, "RadioGroupTitlesItem", curve.BlikTitleType);
    CheckItem(ui->RadioGroupTitleType, "RadioGroupTitleTypeItem", curve.BlikTitle ? 1 : 0);
    if (curve.LogarithmicScale) {
        ui->PageControlCurveScale->setCurrentIndex(1);
        SetIfDifferent(ui->EdLogModule, curve.LogScaleModule);
        SetIfDifferent(ui->EdLogOffset, static_cast<double>(curve.LogLeftValue));
    } else {
        ui->PageControlCurveScale->setCurrentIndex(0);
        SetIfDifferent(ui->SpEdLeftValue, static_cast<double>(curve.LeftValue));
        SetIfDifferent(ui->SpEdCurrentCurveScale, static_cast<double>(curve.ScaleValue));
    }
    loading_ = false;
}

void TFormCurveTemplate::ComboBoxCurrentCurveChange(QObject* sender)
{
    if (loading_)
        return;
    TCurveForPrinting* curve = CurrentCurve();
    if (!curve)
        return;
    if (sender == ui->ComboBoxCurrentCurve) {
        LoadCurveControls(*curve);
        Repaint();
        return;
    }
    if (sender == ui->ColorCBCurve)
        curve->Color = static_cast<int>(ui->ColorCBCurve->Color());
    else if (sender == ui->SpEdcurveWidth)
        curve->Width = static_cast<float>(ui->SpEdcurveWidth->value());
    else if (sender == ui->SpEdLeftValue)
        curve->SetLeftValue(static_cast<float>(ui->SpEdLeftValue->value()));
    else if (sender == ui->SpEdCurrentCurveScale)
        curve->SetScaleValue(static_cast<float>(ui->SpEdCurrentCurveScale->value()));
    else if (sender == ui->SpEdBlikScale)
        curve->OffsideMode->BlikScale = static_cast<float>(ui->SpEdBlikScale->value());
    else if (sender == ui->RadioGroupBlikMode)
        curve->OffsideMode->BlikIsProgressive = CheckedItem(ui->RadioGroupBlikMode, "RadioGroupBlikModeItem") == 0;
    else if (sender == ui->RadioGroupTitles)
        curve->BlikTitleType = static_cast<std::int8_t>(CheckedItem(ui->RadioGroupTitles, "RadioGroupTitlesItem"));
    else if (sender == ui->RadioGroupTitleType)
        curve->BlikTitle = CheckedItem(ui->RadioGroupTitleType, "RadioGroupTitleTypeItem") != 0;
    else if (sender == ui->PageControlCurveScale)
        curve->SetLogarithmicScale(ui->PageControlCurveScale->currentIndex() == 1);
    else if (sender == ui->EdLogModule && ui->EdLogModule->value() != curve->LogScaleModule)
        curve->SetLogScaleModule(ui->EdLogModule->value());
    else if (sender == ui->EdLogOffset) {
        const double v = ui->EdLogOffset->value();
        if (v >= 1e-13 && v <= 1e14)
            curve->SetLogLeftValue(static_cast<float>(v));
    } else if (sender == ui->CheckBoxShowTitle)
        curve->ShowTitle = ui->CheckBoxShowTitle->isChecked();
    else if (sender == ui->CheckBoxShowUnits)
        curve->ShowUnits = ui->CheckBoxShowUnits->isChecked();
    else if (sender == ui->CheckBoxShowComment)
        curve->ShowComment = ui->CheckBoxShowComment->isChecked();
    Repaint();
}

void TFormCurveTemplate::TBZoomInClick()
{
    if (TCurveForPrinting* curve = CurrentCurve()) {
        curve->SetScaleValue(static_cast<float>(curve->ScaleValue * 0.8333333333333334));
        LoadCurveControls(*curve);
        Repaint();
    }
}

void TFormCurveTemplate::TBZoomOutClick()
{
    if (TCurveForPrinting* curve = CurrentCurve()) {
        curve->SetScaleValue(static_cast<float>(curve->ScaleValue * 1.2));
        LoadCurveControls(*curve);
        Repaint();
    }
}
