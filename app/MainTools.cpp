// Main window: tool buttons, the pencil and line tools, the track-width buttons, undo and redo.
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QActionGroup>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kTrackZoomStep = 1.2;
}

void TFormMain::TBPencilClick()
{
    CancelMode();
    Ui::TFormMain& f = *ui;
    PanelCurves->PanelState = f.TBShiftCurve->isChecked() ? TPanelWithCurves::PSDrag : TPanelWithCurves::PSNormal;
    PanelCurves->CrossMouse = !f.TBPencil->isChecked();
    PanelCurves->Repaint();
}

void TFormMain::CancelMode()
{
    RestoreLineCopy();
    toolCurve_ = -1;
    zoomTimer_->stop();
    statusPanels_[0]->clear();
}

bool TFormMain::AnyToolDown() const
{
    return toolGroup_->checkedAction() != nullptr;
}

void TFormMain::PanelCurvesMouseDown(QMouseEvent& event)
{
    if (lasFile_ && event.modifiers().testFlag(Qt::ControlModifier))
        SyncCurveListTicks();
    if (!lasFile_ || event.button() != Qt::LeftButton || !AnyToolDown())
        return;
    const int current = PanelCurves->GetCurrentCurve();
    if (current < 1)
        return;
    Ui::TFormMain& f = *ui;
    const QPoint at = event.position().toPoint();
    toolStart_ = toolLast_ = at;
    toolChanged_ = false;
    if (f.TBPencil->isChecked()) {
        toolCurve_ = current - 1;
        UndoStore.Dump("'Карандаш'");
        UpdateUndoRedoState();
    } else if (f.TBPencilLine->isChecked()) {
        toolCurve_ = current - 1;
        const TCurve* curve = PanelCurves->GetCurve(toolCurve_);
        lineCopy_.assign(curve->Values(), curve->Values() + curve->Count());
        lineXOffset_ = curve->XOffset();
        UndoStore.Dump("'Линия'");
        UpdateUndoRedoState();
    } else if (f.TBZoomIn->isChecked() || f.TBZoomOut->isChecked()) {
        toolCurve_ = current - 1;
        zoomFactor_ = f.TBZoomIn->isChecked() ? kTrackZoomStep : 1.0 / kTrackZoomStep;
        ZoomTrack();
        zoomTimer_->start();
    }
}

void TFormMain::PanelCurvesMouseMove(QMouseEvent& event)
{
    if (toolCurve_ < 0 || !(event.buttons() & Qt::LeftButton))
        return;
    const QPoint at = event.position().toPoint();
    Ui::TFormMain& f = *ui;
    if (f.TBPencil->isChecked()) {
        PanelCurves->SetLine(toolCurve_, toolLast_.x(), toolLast_.y(), at.x(), at.y());
        toolLast_ = at;
        toolChanged_ = true;
        PanelCurves->Repaint();
    } else if (f.TBPencilLine->isChecked() && !lineCopy_.empty()) {
        TCurve* curve = PanelCurves->GetCurve(toolCurve_);
        std::copy(lineCopy_.begin(), lineCopy_.end(), curve->Values());
        PanelCurves->SetLine(toolCurve_, toolStart_.x(), toolStart_.y(), at.x(), at.y());
        toolChanged_ = true;
        PanelCurves->Repaint();
    } else if (zoomTimer_->isActive()) {
        toolLast_ = at;
    }
}

void TFormMain::PanelCurvesMouseUp(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton || toolCurve_ < 0)
        return;
    // A press that changed nothing leaves no step to undo (and the document unmodified).
    if ((ui->TBPencil->isChecked() || ui->TBPencilLine->isChecked()) && !toolChanged_) {
        UndoStore.DiscardLast();
        UpdateUndoRedoState();
    }
    lineCopy_.clear();
    zoomTimer_->stop();
    toolCurve_ = -1;
}

// Esc during a line drag: the curve gets its values, and its place, from before the drag back.
void TFormMain::RestoreLineCopy()
{
    if (lineCopy_.empty() || toolCurve_ < 0)
        return;
    if (TCurve* curve = PanelCurves->GetCurve(toolCurve_)) {
        std::copy(lineCopy_.begin(), lineCopy_.end(), curve->Values());
        curve->Update();
        curve->SetXOffset(lineXOffset_);  // drawing shifts the curve as its minimum moves
        PanelCurves->Repaint();
    }
    lineCopy_.clear();
    UndoStore.DiscardLast();
    UpdateUndoRedoState();
}

// One step of the track-width buttons: the value under the mouse stays under it.
void TFormMain::ZoomTrack()
{
    TCurve* curve = PanelCurves->GetCurve(toolCurve_);
    if (!curve) {
        zoomTimer_->stop();
        return;
    }
    const PanelCoordinates coordinates = PanelCurves->Coordinates();
    const double x = toolLast_.x();
    const double value = curve->ValueAt(x, coordinates);
    curve->SetPixelsPerUnit(curve->PixelsPerUnit() * zoomFactor_);
    const double column = curve->ColumnOf(value, coordinates);
    const double shifted = std::clamp(curve->XOffset() + (x - column), -double(kMaxPixelOffset), double(kMaxPixelOffset));
    curve->SetXOffset(static_cast<int>(std::lround(shifted)));
    PanelCurves->Repaint();
}

void TFormMain::UpdateUndoRedoState(bool)
{
    // Button hint and menu caption name the step, or say that there is none.
    const auto show = [](QAction* button, QAction* item, bool enabled, const QString& text) {
        button->setEnabled(enabled);
        item->setEnabled(enabled);
        button->setToolTip(text);
        item->setText(text);
    };
    Ui::TFormMain& f = *ui;
    show(f.TBUndo, f.MIUndo, UndoStore.CanUndo(),
         UndoStore.CanUndo() ? QStringLiteral("Отменить ") + QString::fromStdString(UndoStore.GetUndoName())
                             : QStringLiteral("Отмена изменений - нет доступных"));
    show(f.TBRedo, f.MIRedo, UndoStore.CanRedo(),
         UndoStore.CanRedo() ? QStringLiteral("Повторить ") + QString::fromStdString(UndoStore.GetRedoName())
                             : QStringLiteral("Повтор изменений - нет доступных"));
    // The single-curve windows are told of the new state here once they exist.
}

void TFormMain::TBUndoClick()
{
    if (UndoStore.CanUndo())
        UndoStore.Undo();
    UpdateUndoRedoState();
    ReattachView();
}

void TFormMain::TBRedoClick()
{
    if (UndoStore.CanRedo())
        UndoStore.Redo();
    UpdateUndoRedoState();
    ReattachView();
}

// Undo and redo exchange the document's arrays and may change the point count.
void TFormMain::ReattachView()
{
    if (!lasFile_)
        return;
    // The view stays at the depth it showed (the arrays may have been reallocated or resized).
    const bool attached = PanelCurves->YAxisInfo.DepthCount() > 0;
    const double top = PanelCurves->GetFirstVisibleDepth();
    AttachDepthAxis();
    if (attached) {
        TAxis& axis = PanelCurves->YAxisInfo;
        const double row = (top - double(axis.FirstDepth())) * axis.PixelsPerUnit();
        axis.SetOffset(static_cast<int>(std::lround(std::clamp(row, 0.0, 1.0e9))));
    }
    for (int i = 0; i < PanelCurves->GetCurvesCount(); ++i)
        PanelCurves->GetCurve(i)->SetData(lasFile_->GetCurveData(i + 1), lasFile_->GetPointCount());
    PanelCurves->UpdateCurves();
    Intervals.SetTopBottom(lasFile_->GetTopDepth(), lasFile_->GetBottomDepth());
    PBoxAllDepth->update();
    SyncDepthControls();
}
