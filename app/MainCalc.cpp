// Main window: the statistics report, the values window, the smoothing write-back, the depth
// step recalculation and new curves from typed values.
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "editing/CreateCurveByValues.h"
#include "editing/DeptRecalc.h"
#include "editing/DetailStatistics.h"
#include "editing/ViewValuesAtInterval.h"
#include "platform/DialogRunner.h"
#include "platform/NumberText.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <set>

void TFormMain::CreateCalcCommands()
{
    FormDetailStatistics = new TFormDetailStatistics(this);
    FormViewValuesAtInterval = new TFormViewValuesAtInterval(this);
    DeptRecalcDlg = new TDeptRecalcDlg(this);
    FormCreateCurveByValues = new TFormCreateCurveByValues(this);
    Ui::TFormMain& f = *ui;
    f.MMIIntervals->addAction(f.MMIViewValuesAtIntervals);
    PMenuBound->addAction(f.PMIIntViewValues);
    connect(f.MMIDetailStat, &QAction::triggered, this, Command([this] { MMIDetailStatClick(); }));
    connect(f.MMIViewValuesAtIntervals, &QAction::triggered, this,
            Command([this] { MMIViewValuesAtIntervalsClick(); }));
    connect(f.PMIIntViewValues, &QAction::triggered, this, Command([this] { PMIIntViewValuesClick(); }));
    connect(f.MenuStepRecalc, &QAction::triggered, this, Command([this] { MenuStepRecalcClick(); }));
    connect(f.MMICurvesAddNew, &QAction::triggered, this, Command([this] { MMICurvesAddNewClick(); }));
    CreateCalcBar();
}

void TFormMain::MMIDetailStatClick()
{
    if (lasFile_)
        FormDetailStatistics->BuildReport(*lasFile_, GetSelectedCurvesList(), Intervals, -1, DocumentPlace());
}

void TFormMain::MMIViewValuesAtIntervalsClick()
{
    if (!lasFile_)
        return;
    const std::vector<int> selected = GetSelectedCurvesList();
    FormViewValuesAtInterval->ShowValues(lasFile_.get(), &Intervals, {selected.begin(), selected.end()}, -1);
}

void TFormMain::PMIIntViewValuesClick()
{
    if (!lasFile_)
        return;
    const std::vector<int> selected = GetSelectedCurvesList();
    FormViewValuesAtInterval->ShowValues(lasFile_.get(), &Intervals, {selected.begin(), selected.end()},
                                         ClickIntervals.empty() ? -1 : ClickIntervals.front());
}

void TFormMain::WriteSmoothedSegments(int curve, const ListOfFloatValuesWithIndex& list)
{
    TCurve* shown = curve >= 0 ? PanelCurves->GetCurve(curve) : nullptr;
    if (!lasFile_ || !shown)
        return;
    float* values = shown->Values();
    for (const FloatValuesWithIndex& record : list)
        std::copy(record.values.begin(), record.values.end(), values + record.index);
    shown->Update();
    PanelCurves->UpdateCurves();
    // The single-curve windows repaint here once the window keeps a list of them.
}

void TFormMain::MenuStepRecalcClick()
{
    if (!lasFile_) {
        platform::MessageBox(this, QStringLiteral("Не загружен LAS файл"), QStringLiteral("Strativ"),
                             platform::MB_ICONWARNING);
        return;
    }
    double first = lasFile_->DepthAt(0);
    float step = lasFile_->GetStep();
    double last = lasFile_->DepthAt(lasFile_->GetPointCount() - 1);
    QString mnemonic = QString::fromStdString(lasFile_->GetCurveName(0));
    QString unit = QString::fromStdString(lasFile_->GetCurveUnit(0));
    DeptRecalcDlg->SetPrecision(lasFile_->GetDepthDecimals());
    const TDeptRecalcDlg::Params params{&step, &first, &last, lasFile_->GetCurveData(0), lasFile_->GetPointCount(),
                                        &mnemonic, &unit, lasFile_.get()};
    if (!DeptRecalcDlg->Execute(params))
        return;
    // Taken once the dialog is accepted: a cancelled one leaves the undo and redo steps as they were.
    Snapshot("'Пересчет шага глубины'");
    // Written through the document's operations, which move its generation: the view, the
    // overview, the interval range and the status bar follow through the document-changed routine.
    lasFile_->SetDepthDecimals(DeptRecalcDlg->GetPrecision());
    const DepthSeries& series = DeptRecalcDlg->NewSeries();
    if (!series.depths.empty())
        lasFile_->SetDepthGrid(series.gridFirst, series.gridStep);
    lasFile_->SetStep(step);
    lasFile_->SetCurveName(0, mnemonic.toStdString());
    lasFile_->SetCurveUnit(0, unit.toStdString());
    ReattachView();
    MIScale100Click(ui->MIScale200);
    SetModified();
    UpdateStatusBar();
}

void TFormMain::MMICurvesAddNewClick()
{
    if (!lasFile_) {
        platform::MessageBox(this, QStringLiteral("Не загружен файл"), QStringLiteral("Ошибка"),
                             platform::MB_ICONERROR);
        return;
    }
    const float* depth = lasFile_->GetCurveData(0);
    const FloatVector depths(depth, depth + lasFile_->GetPointCount());
    FloatVector values;
    QString name;
    if (!FormCreateCurveByValues->SetPoints(values, name, lasFile_->GetNullValue(), depths,
                                              platform::RowDepthText(*lasFile_, 0)))
        return;
    const int index = lasFile_->AddCurve(name.toStdString(), values.data());
    // Written with every decimal typed for it, and the values typed as typed.
    if (FormCreateCurveByValues->TypedDecimals() > lasFile_->GetCurveDecimals(index))
        lasFile_->SetCurveDecimals(index, FormCreateCurveByValues->TypedDecimals());
    for (const auto& [sample, text] : FormCreateCurveByValues->ValueTexts())
        lasFile_->SetTypedText(index, sample, text);
    platform::ColorRef color = 0;
    if (!platform::ChooseColor(this, color))
        color = 0;
    ShowNewCurve(index, color);
    SetModified();
}
