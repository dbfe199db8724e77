// Main window: curves in the view, the curve list, status bar, depth scale and scrolling.
#include "app/MainUnit.h"

#include "app/DepthOverview.h"
#include "core/Lasfile.h"
#include "platform/NumberText.h"
#include "ui_MainUnit.h"
#include "view/NumberInput.h"
#include "view/PanelWithCurves.h"

#include <QActionGroup>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <cmath>

void TFormMain::AddCurveToView(int index, platform::ColorRef color, bool repaint, int xOffset, const QString& caption)
{
    if (!lasFile_ || index < 1 || index >= lasFile_->GetCurvesCount())
        return;
    TCurve* curve =
        PanelCurves->AddCurve(lasFile_->GetCurveData(index), lasFile_->GetPointCount(), color, lasFile_->GetNullValue());
    curve->SetXOffset(xOffset);
    curve->SetCaption(caption);
    {
        QSignalBlocker block(ListCurveNames);
        auto* item = new QListWidgetItem(QString::fromStdString(lasFile_->GetCurveName(index)), ListCurveNames);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setForeground(platform::ToQColor(color));
    }
    UndoStore.SetLasFile(lasFile_.get());
    stepOffsets_.clear();
    UpdateUndoRedoState();
    ClearTemplateBinding(false);
    if (repaint)
        PanelCurves->Repaint();
}

void TFormMain::UpdateStatusBar()
{
    for (int i = 1; i < 4; ++i)
        statusPanels_[i]->setText(StatusText(i));
}

QString TFormMain::StatusText(int panel) const
{
    if (panel == 0)
        return statusPanels_[0]->text();
    if (!lasFile_)
        return panel == 1 ? QStringLiteral("Файл не загружен") : QString();
    const int decimals = lasFile_->GetDepthDecimals();
    switch (panel) {
    case 1: return QStringLiteral("Кривых: ") + QString::number(lasFile_->GetCurvesCount() - 1);
    case 2:
        return QStringLiteral("Глубины: ") + platform::DecimalText(lasFile_->DepthAt(0), decimals) +
               QStringLiteral(" - ") +
               platform::DecimalText(lasFile_->DepthAt(lasFile_->GetPointCount() - 1), decimals) +
               QStringLiteral(" ") + QString::fromStdString(lasFile_->GetCurveUnit(0));
    case 3: return QStringLiteral("Шаг: ") + platform::LasNumberText(lasFile_->GetStep(), decimals);
    default: return {};
    }
}

void TFormMain::UnselectCurve(int index)
{
    if (QListWidgetItem* item = ListCurveNames->item(index - 1))
        item->setCheckState(Qt::Unchecked);
    if (TCurve* curve = PanelCurves->GetCurve(index - 1))
        curve->SetSelected(false);
}

void TFormMain::InvalidateCurveList()
{
    ListCurveNames->viewport()->update();
}

void TFormMain::FillCurveList(bool captions)
{
    QSignalBlocker block(ListCurveNames);
    ListCurveNames->clear();
    if (!lasFile_)
        return;
    for (int i = 0; i < PanelCurves->GetCurvesCount(); ++i) {
        TCurve* curve = PanelCurves->GetCurve(i);
        const QString name = QString::fromStdString(lasFile_->GetCurveName(i + 1));
        auto* item = new QListWidgetItem(name, ListCurveNames);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(curve->IsSelected() ? Qt::Checked : Qt::Unchecked);
        item->setForeground(platform::ToQColor(curve->Color()));
        curve->SetCaption(captions ? name : QString());
    }
    PanelCurves->Repaint();
}

void TFormMain::ListItemChanged(QListWidgetItem* item)
{
    if (TCurve* curve = PanelCurves->GetCurve(ListCurveNames->row(item))) {
        curve->SetSelected(item->checkState() == Qt::Checked);
        PanelCurves->Repaint();
    }
}

// Ctrl + click on the panel toggles a curve's selected flag; the ticks follow.
void TFormMain::SyncCurveListTicks()
{
    QSignalBlocker block(ListCurveNames);
    for (int i = 0; i < ListCurveNames->count(); ++i)
        if (const TCurve* curve = PanelCurves->GetCurve(i))
            ListCurveNames->item(i)->setCheckState(curve->IsSelected() ? Qt::Checked : Qt::Unchecked);
}

void TFormMain::ShowCurveCoords(int curveIndex)
{
    const TCurve* curve = PanelCurves->GetCurve(curveIndex);
    if (!curve)
        return;
    coordsCurve_ = -1;  // no live change while the fields are filled
    Ui::TFormMain& f = *ui;
    f.LabelCurveCoords->setText(QString::fromStdString(lasFile_->GetCurveName(curveIndex + 1)));
    f.SpinCoordsScale->setValue(PanelCurves->YAxisInfo.PixelsPerCm() / curve->PixelsPerUnit());
    f.SpinCoordsOffset->setValue(curve->XOffset());
    f.PanelCurveCoords->show();
    coordsCurve_ = curveIndex;
}

void TFormMain::HideCurveCoords()
{
    coordsCurve_ = -1;
    ui->PanelCurveCoords->hide();
}

// Scale 1:N means N value units per screen centimetre.
void TFormMain::CurveCoordsChanged()
{
    TCurve* curve = PanelCurves->GetCurve(coordsCurve_);
    if (!curve)
        return;
    curve->SetPixelsPerUnit(PanelCurves->YAxisInfo.PixelsPerCm() / ui->SpinCoordsScale->value());
    curve->SetXOffset(ui->SpinCoordsOffset->value());
    PanelCurves->Repaint();
    // A scale beyond what the curve's range allows shows the scale it got.
    const double scale = PanelCurves->YAxisInfo.PixelsPerCm() / curve->PixelsPerUnit();
    if (std::abs(scale - ui->SpinCoordsScale->value()) > 1e-9 * scale) {
        const int current = coordsCurve_;
        coordsCurve_ = -1;
        ui->SpinCoordsScale->setValue(scale);
        coordsCurve_ = current;
    }
}

void TFormMain::MIShowCurveCaptionsClick()
{
    FillCurveList(ui->MIShowCurveCaptions->isChecked());
}

int TFormMain::GetSelectedCurveCount() const
{
    int count = 0;
    for (int i = 0; lasFile_ && i < PanelCurves->GetCurvesCount(); ++i)
        count += PanelCurves->GetCurve(i)->IsSelected() ? 1 : 0;
    return count;
}

int TFormMain::GetSelectedCurveIndex(int n) const
{
    for (int i = 0; lasFile_ && i < PanelCurves->GetCurvesCount(); ++i)
        if (PanelCurves->GetCurve(i)->IsSelected() && n-- == 0)
            return i;
    return -1;
}

std::vector<int> TFormMain::GetSelectedCurvesList() const
{
    std::vector<int> list;
    for (int n = 0; n < GetSelectedCurveCount(); ++n)
        list.push_back(GetSelectedCurveIndex(n) + 1);
    return list;
}

// A curve just added to the document: its track 100 pixels further left per index, its name
// as caption when captions are shown.
void TFormMain::ShowNewCurve(int index, std::uint32_t color)
{
    const QString caption = ui->MIShowCurveCaptions->isChecked()
                                ? QString::fromStdString(lasFile_->GetCurveName(index))
                                : QString();
    AddCurveToView(index, color, true, -(index - 1) * 100, caption);
    InvalidateCurveList();
    UpdateStatusBar();
}

void TFormMain::MIScale100Click(QAction* sender)
{
    SetDepthScale(sender->data().toInt());
}

void TFormMain::MIAnotherScaleClick()
{
    if (InputNumberBoxEx(0, QStringLiteral("Масштаб глубин 1:N"), QStringLiteral("Знаменатель масштаба глубин N"), 1,
                         100000, DepthScale))
        SetDepthScale(static_cast<int>(NumberInputBox()->GetValue()));
    else
        SetDepthScale(DepthScale);  // the tick goes back to the scale in force
}

void TFormMain::SetDepthScale(int n)
{
    if (n < 1)
        return;
    DepthScale = n;
    QAction* listed = nullptr;
    for (QAction* item : scaleGroup_->actions())
        if (item != ui->MIAnotherScale && item->data().toInt() == n)
            listed = item;
    if (listed) {
        listed->setChecked(true);
        ui->MIAnotherScale->setText(QStringLiteral("Другой..."));
    } else {
        ui->MIAnotherScale->setChecked(true);
        ui->MIAnotherScale->setText(QStringLiteral("Другой...(") + QString::number(n) + QStringLiteral(")"));
    }
    PanelCurves->SetScaleY(n);
    PanelCurves->Repaint();
    SyncDepthControls();
}

void TFormMain::FormMouseWheelUp()
{
    ScrollByRows(-std::max(1, PanelCurves->DrawingArea().height() / 20));
}

void TFormMain::FormMouseWheelDown()
{
    ScrollByRows(std::max(1, PanelCurves->DrawingArea().height() / 20));
}

int TFormMain::PageRows() const
{
    const int rows = PanelCurves->DrawingArea().height();
    return std::max(1, rows - std::max(1, rows / 10));
}

void TFormMain::ScrollByRows(int rows)
{
    if (!lasFile_)
        return;
    PanelCurves->YAxisInfo.SetOffset(PanelCurves->YAxisInfo.Offset() + rows);
    PanelCurves->Repaint();
    SyncDepthControls();
}

void TFormMain::ScrollBarDepthsScroll()
{
    if (!lasFile_)
        return;
    // The bar counts screen rows, as the depth axis offset does.
    scrollingByBar_ = true;
    PanelCurves->YAxisInfo.SetOffset(ScrollBarDepths->value());
    PanelCurves->Repaint();
    scrollingByBar_ = false;
    PBoxAllDepth->SetVisibleWindow(PanelCurves->GetFirstVisibleDepth(), PanelCurves->GetLastVisibleDepth());
}

// Overview frame and scroll bar follow the panel's visible depth window.
void TFormMain::SyncDepthControls()
{
    if (!lasFile_) {
        PBoxAllDepth->SetRange(0, 0);
        QSignalBlocker block(ScrollBarDepths);
        ScrollBarDepths->setRange(0, 0);
        return;
    }
    const double first = PanelCurves->GetFirstVisibleDepth();
    const double last = PanelCurves->GetLastVisibleDepth();
    PBoxAllDepth->SetVisibleWindow(first, last);
    if (scrollingByBar_)
        return;
    QSignalBlocker block(ScrollBarDepths);
    const TAxis& axis = PanelCurves->YAxisInfo;
    ScrollBarDepths->setRange(0, axis.MaxOffset());
    ScrollBarDepths->setPageStep(std::max(1, PageRows()));
    ScrollBarDepths->setSingleStep(std::max(1, PanelCurves->DrawingArea().height() / 20));
    ScrollBarDepths->setValue(axis.Offset());
}
