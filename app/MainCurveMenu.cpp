// Main window: the curve pop-up menu and its commands, and the curve names command.
#include "app/MainUnit.h"

#include "app/CurveNameDlg.h"
#include "core/LasParser2.h"
#include "core/Lasfile.h"
#include "editing/CurveEditTools.h"
#include "editing/CurveNameRules.h"
#include "editing/DlgCurveNames.h"
#include "platform/DialogRunner.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <vector>

void TFormMain::CreateMenus()
{
    Ui::TFormMain& f = *ui;
    PMenuCurves = new QMenu(this);
    PMenuCurves->setObjectName(QStringLiteral("PMenuCurves"));
    PMenuCurves->addAction(f.MICurveName);
    PMenuCurves->addAction(f.PMenuCurveClone);
    PMenuCurves->addSeparator();
    PMenuCurves->addAction(f.MIEnlargeCurveWidth);
    PMenuCurves->addAction(f.MIDecrCurveWidth);
    PMenuCurves->addAction(f.MIInverseCurve);
    QMenu* cut = PMenuCurves->addMenu(QStringLiteral("Обрезать кривую"));
    cut->setObjectName(QStringLiteral("MICutCurve"));
    cut->addAction(f.MICutTop);
    cut->addAction(f.MICutBottom);

    PMenuBound = new QMenu(this);
    PMenuBound->setObjectName(QStringLiteral("PMenuBound"));
    PMenuBound->addAction(f.PMIIntervalSet);
    PMenuBound->addAction(f.MIRemoveInterval);
    PMenuBound->addAction(f.PMIMergeCurrentIntWithNext);
    PMenuBound->addAction(f.PMIIntViewValues);
    PMenuAddInterval = new QMenu(this);
    PMenuAddInterval->setObjectName(QStringLiteral("PMenuAddInterval"));
    PMenuAddInterval->addAction(f.PMIAddFillInterval);

    const std::pair<QAction*, void (TFormMain::*)()> commands[] = {
        {f.MICurveName, &TFormMain::MICurveNameClick},
        {f.MICurveNames, &TFormMain::MICurveNamesClick},
        {f.PMenuCurveClone, &TFormMain::PMenuCurveCloneClick},
        {f.MIEnlargeCurveWidth, &TFormMain::MIEnlargeCurveWidthClick},
        {f.MIDecrCurveWidth, &TFormMain::MIDecrCurveWidthClick},
        {f.MIInverseCurve, &TFormMain::MIInverseCurveClick},
        {f.MICutTop, &TFormMain::MICutTopClick},
        {f.MICutBottom, &TFormMain::MICutBottomClick},
        {f.PMIIntervalSet, &TFormMain::MMIIntervalSetClick},
        {f.MIRemoveInterval, &TFormMain::MIRemoveIntervalClick},
        {f.PMIMergeCurrentIntWithNext, &TFormMain::PMIMergeCurrentIntWithNextClick},
        {f.PMIAddFillInterval, &TFormMain::PMIAddFillIntervalClick},
        {f.MMIIntervalsShow, &TFormMain::MMIIntervalsShowClick},
        {f.MMINewIntEnabled, &TFormMain::MMINewIntEnabledClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, Command([this, handler = handler] { (this->*handler)(); }));

    ListCurveNames->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListCurveNames, &QListWidget::customContextMenuRequested, this, Command([this](const QPoint& at) {
                if (QListWidgetItem* item = ListCurveNames->itemAt(at))
                    ListCurveNames->setCurrentItem(item);
                PMenuCurvesPopup(true, ListCurveNames->viewport()->mapToGlobal(at));
            }));
}

// Right button released over the panel: over a curve its menu; else over an interval the
// interval's menu, over a gap the menu that fills it.
void TFormMain::PanelCurvesPopup(QMouseEvent& event)
{
    const QPoint global = event.globalPosition().toPoint();
    if (const int current = PanelCurves->GetCurrentCurve(); current > 0) {
        if (GetSelectedCurveCount() >= 2 && PanelCurves->GetCurve(current - 1)->IsSelected())
            PMenuCurveGroup->popup(global);
        else
            PMenuCurvesPopup(false, global);
        return;
    }
    if (!ClickIntervals.empty()) {
        ui->MIRemoveInterval->setEnabled(true);
        PMenuBound->popup(global);
    } else if (Intervals.GetFreeRangeAt(PanelCurves->DrawingArea(), event.position().toPoint().y(),
                                        static_cast<float>(PanelCurves->GetFirstVisibleDepth()),
                                        static_cast<float>(PanelCurves->GetLastVisibleDepth()), NewIntervalTop,
                                        NewIntervalBottom)) {
        PMenuAddInterval->popup(global);
    }
}

void TFormMain::PMenuCurvesPopup(bool overList, QPoint globalPos)
{
    popupOverList_ = overList;
    if (overList) {
        const int row = ListCurveNames->currentRow();
        FPopupCurve = row >= 0 ? row + 1 : 0;
        FPopupDepthIndex = -1;
    } else {
        FPopupCurve = PanelCurves->GetCurrentCurve();
        FPopupDepthIndex = PanelCurves->GetDepthArrayNumber(PanelCurves->MousePosition().y());
    }
    PMenuCurves->popup(globalPos);
}

int TFormMain::PopupDataCurve() const
{
    return lasFile_ && FPopupCurve >= 1 && FPopupCurve < lasFile_->GetCurvesCount() ? FPopupCurve : 0;
}

// The captions of the panel curves and the lines of the curve list show the current names.
void TFormMain::RefreshCurveNames()
{
    const bool captions = ui->MIShowCurveCaptions->isChecked();
    for (int i = 0; i < PanelCurves->GetCurvesCount(); ++i) {
        const QString name = QString::fromStdString(lasFile_->GetCurveName(i + 1));
        PanelCurves->GetCurve(i)->SetCaption(captions ? name : QString());
        if (QListWidgetItem* item = ListCurveNames->item(i)) {
            const QSignalBlocker block(ListCurveNames);
            item->setText(name);
        }
    }
    PanelCurves->Repaint();
}

bool TFormMain::RenameCurve(int index, const QString& name)
{
    if (!lasFile_ || index < 1 || index >= lasFile_->GetCurvesCount())
        return false;
    const QString clean = name.isEmpty() ? name : CleanCurveName(name);
    if (clean.isEmpty()) {
        ShowEmptyCurveNameMessage();
        return false;
    }
    if (RefusedCurveText(this, *lasFile_, QString::fromStdString(lasFile_->GetCurveName(index)),
                         TLasParsParsedString::kMnemonic, clean))
        return false;
    lasFile_->SetCurveName(index, clean.toStdString());
    RefreshCurveNames();
    SetModified();
    return true;
}

void TFormMain::MICurveNameClick()
{
    const int index = PopupDataCurve();
    if (!index)
        return;
    TCurve* curve = PanelCurves->GetCurve(index - 1);
    TCurveInfo info;
    info.Name = QString::fromStdString(lasFile_->GetCurveName(index));
    info.Unit = QString::fromStdString(lasFile_->GetCurveUnit(index));
    info.Description = QString::fromStdString(lasFile_->GetCurveDescription(index));
    info.Color = curve->Color();
    info.Decimals = lasFile_->GetCurveDecimals(index);
    if (!CurveNameDlg->Execute(info, *lasFile_))
        return;
    RenameCurve(index, info.Name);
    lasFile_->SetCurveUnit(index, info.Unit.toStdString());
    lasFile_->SetCurveDescription(index, info.Description.toStdString());
    lasFile_->SetCurveDecimals(index, info.Decimals);
    curve->SetColor(info.Color);
    if (QListWidgetItem* item = ListCurveNames->item(index - 1))
        item->setForeground(platform::ToQColor(info.Color));
    SetModified();
    PanelCurves->Repaint();
}

void TFormMain::MICurveNamesClick()
{
    if (!lasFile_)
        return;
    DialogCurveNames->Document = lasFile_.get();
    DialogCurveNames->OldNames.clear();
    for (int i = 1; i < lasFile_->GetCurvesCount(); ++i)
        DialogCurveNames->OldNames.append(QString::fromStdString(lasFile_->GetCurveName(i)));
    if (!DialogCurveNames->Execute())
        return;
    for (int i = 0; i < DialogCurveNames->NewNames.size(); ++i)
        RenameCurve(i + 1, DialogCurveNames->NewNames[i]);
    SetModified();
}

void TFormMain::PMenuCurveCloneClick()
{
    const int index = PopupDataCurve();
    if (!index)
        return;
    QString name = QString::fromStdString(lasFile_->GetCurveName(index));
    if (!AskNewCurveName(this, *lasFile_, QStringLiteral("Дублирование кривой"), QStringLiteral("Введите имя копии кривой"),
                         name))
        return;
    std::uint32_t color = PanelCurves->GetCurve(index - 1)->Color();
    if (!platform::ChooseColor(this, color))
        return;
    SetModified();
    const std::vector<float> copy(lasFile_->GetCurveData(index),
                                  lasFile_->GetCurveData(index) + lasFile_->GetPointCount());
    ShowNewCurve(lasFile_->AddCurve(name.toStdString(), copy.data(), lasFile_->GetCurveDecimals(index)), color);
}

void TFormMain::MIInverseCurveClick()
{
    const int index = PopupDataCurve();
    if (!index)
        return;
    Snapshot("'Инверсия значений'");
    float* values = lasFile_->GetCurveData(index);
    const float null = lasFile_->GetNullValue();
    for (int i = 0; i < lasFile_->GetPointCount(); ++i)
        if (values[i] != null)
            values[i] *= -1.0f;
    PanelCurves->GetCurve(index - 1)->Update();
    PanelCurves->Repaint();
}

void TFormMain::MIEnlargeCurveWidthClick()
{
    if (const int index = PopupDataCurve()) {
        TCurve* curve = PanelCurves->GetCurve(index - 1);
        curve->SetLineWidth(curve->LineWidth() + 1);
        PanelCurves->UpdateCurves();
    }
}

void TFormMain::MIDecrCurveWidthClick()
{
    if (const int index = PopupDataCurve()) {
        TCurve* curve = PanelCurves->GetCurve(index - 1);
        curve->SetLineWidth(curve->LineWidth() - 1);
        PanelCurves->UpdateCurves();
    }
}

// The list has no depth: a cut opened over it does nothing.
void TFormMain::CutPopupCurve(bool top)
{
    if (const int index = PopupDataCurve(); index && !popupOverList_)
        CutCurve(*this, index - 1, FPopupDepthIndex, top);
}

void TFormMain::MICutTopClick()
{
    CutPopupCurve(true);
}

void TFormMain::MICutBottomClick()
{
    CutPopupCurve(false);
}
