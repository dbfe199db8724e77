// Main window: the tool objects and the panel's events, undo and redo, and the
// document-changed routine.
#include "app/MainUnit.h"

#include "app/DepthOverview.h"
#include "core/Lasfile.h"
#include "core/ParallelFor.h"
#include "editing/BindTools.h"
#include "editing/CurveDrawTools.h"
#include "editing/CurveEditTools.h"
#include "editing/IntervalTool.h"
#include "editing/ManualShiftTool.h"
#include "editing/SemiAutoBindTool.h"
#include "editing/SmoothingTool.h"
#include "editing/ViewTools.h"
#include "printing/MacroLists.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QActionGroup>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {
constexpr double kTrackZoomStep = 1.2;
}

void TFormMain::CreateTools()
{
    Ui::TFormMain& f = *ui;
    tools_[f.TBShiftCurve] = std::make_unique<TCurveDragTool>(*this);
    tools_[f.TBPencil] = std::make_unique<TPencilTool>(*this);
    tools_[f.TBPencilLine] = std::make_unique<TLineTool>(*this);
    tools_[f.TBZoomIn] = std::make_unique<TTrackZoomTool>(*this, kTrackZoomStep);
    tools_[f.TBZoomOut] = std::make_unique<TTrackZoomTool>(*this, 1.0 / kTrackZoomStep);
    tools_[f.TBZoomSquare] = std::make_unique<TZoomRectTool>(*this, false);
    tools_[f.TBZoomSquareVert] = std::make_unique<TZoomRectTool>(*this, true);
    tools_[f.TBAssignHorzScale] = std::make_unique<TScaleMatchTool>(*this);
    tools_[f.TBPutBoundary] = std::make_unique<TIntervalTool>(*this);
    tools_[f.TBJoinCurves] = std::make_unique<TJoinCurvesTool>(*this);
    tools_[f.TBCutCurveTop] = std::make_unique<TCutCurveTool>(*this, true);
    tools_[f.TBCutCurveBottom] = std::make_unique<TCutCurveTool>(*this, false);
    tools_[f.TBCurveBinding] = std::make_unique<TBindManualTool>(*this);
    tools_[f.TBBindCurveSemiAuto] = std::make_unique<TBindSemiAutoTool>(*this);
    tools_[f.TBAutomaticCurveBinding] = std::make_unique<TBindAutoTool>(*this);
    tools_[f.TBDeptShiftGroup] = std::make_unique<TManualShiftTool>(*this);
    tools_[f.TBAntiAlias] = std::make_unique<TSmoothingTool>(*this, false);
    tools_[f.TBAntiAliasByPoints] = std::make_unique<TSmoothingTool>(*this, true);
    CreateMetkaTool();

    toolGroup_ = new QActionGroup(this);
    toolGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const auto& [button, tool] : tools_) {
        toolGroup_->addAction(button);
        connect(button, &QAction::triggered, this, Command([this] { TBPencilClick(); }));
    }
}

TPanelTool* TFormMain::ToolOf(QAction* button) const
{
    const auto found = tools_.find(button);
    return found == tools_.end() ? nullptr : found->second.get();
}

// The one handler of the grouped tool buttons: the checked one's tool becomes current.
void TFormMain::TBPencilClick()
{
    CancelMode();
    if (currentTool_)
        currentTool_->Deactivate();
    currentTool_ = ToolOf(toolGroup_->checkedAction());
    if (currentTool_)
        currentTool_->Activate();
    ShowModePrompt();
    PanelCurves->Repaint();
}

void TFormMain::CancelMode()
{
    FPendingShift = 0;
    if (currentTool_)
        currentTool_->Cancel();
    ShowModePrompt();
    PanelCurves->Repaint();
    PBoxAllDepth->update();
}

void TFormMain::ShowModePrompt()
{
    statusPanels_[0]->setText(currentTool_ ? currentTool_->Prompt() : QString());
}

void TFormMain::ToolDone()
{
    if (QAction* button = toolGroup_->checkedAction())
        button->setChecked(false);
    TBPencilClick();
}

void TFormMain::PanelCurvesCurveClick(TPanelWithCurves*, int curveIndex)
{
    if (lasFile_ && TakePendingShift(curveIndex))
        return;
    if (lasFile_ && currentTool_)
        currentTool_->CurveClick(curveIndex, PanelCurves->MousePosition());
}

void TFormMain::PanelCurvesClick(QMouseEvent& event)
{
    if (lasFile_ && currentTool_)
        currentTool_->Click(event);
}

void TFormMain::PanelCurvesMouseDown(QMouseEvent& event)
{
    if (!lasFile_)
        return;
    if (event.modifiers().testFlag(Qt::ControlModifier))
        SyncCurveListTicks();
    ClickIntervals = Intervals.FindIntervalAt(PanelCurves->DrawingArea(), event.position().toPoint().y(),
                                              static_cast<float>(PanelCurves->GetFirstVisibleDepth()),
                                              static_cast<float>(PanelCurves->GetLastVisibleDepth()));
    if (currentTool_)
        currentTool_->MousePress(event);
}

void TFormMain::PanelCurvesMouseMove(QMouseEvent& event)
{
    if (lasFile_ && currentTool_)
        currentTool_->MouseMove(event);
}

void TFormMain::PanelCurvesMouseUp(QMouseEvent& event)
{
    if (!lasFile_)
        return;
    ClickIntervals = Intervals.FindIntervalAt(PanelCurves->DrawingArea(), event.position().toPoint().y(),
                                              static_cast<float>(PanelCurves->GetFirstVisibleDepth()),
                                              static_cast<float>(PanelCurves->GetLastVisibleDepth()));
    if (currentTool_)
        currentTool_->MouseRelease(event);
    UndoStore.ReleaseDropped();  // a drag's step stands once the button is up
    if (event.button() == Qt::RightButton)
        PanelCurvesPopup(event);
}

void TFormMain::Snapshot(const std::string& operation)
{
    UndoStore.Dump(operation);
    UpdateUndoRedoState();
}

void TFormMain::RecordOffsetChange(int curve, int delta)
{
    if (delta != 0)
        stepOffsets_[UndoStore.StateId()][curve] += delta;
}

void TFormMain::MoveCurvesOfStep(std::uint64_t state, int sign)
{
    const auto step = stepOffsets_.find(state);
    if (step == stepOffsets_.end())
        return;
    for (const auto& [curve, delta] : step->second)
        if (TCurve* moved = PanelCurves->GetCurve(curve))
            moved->SetXOffset(moved->XOffset() + sign * delta);
}

void TFormMain::DiscardSnapshot()
{
    UndoStore.DiscardLast();
    UpdateUndoRedoState();
}

void TFormMain::UpdateUndoRedoState(bool fromWindow)
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
    if (!fromWindow)
        SingleWindows.BroadcastUndoState(nullptr);
}

void TFormMain::TBUndoClick()
{
    CancelMode();  // picks hold indexes and arrays of the document before the swap
    const std::uint64_t undone = UndoStore.StateId();
    if (UndoStore.CanUndo() && UndoStore.Undo())
        MoveCurvesOfStep(undone, -1);
    UpdateUndoRedoState();
    ReattachView();
}

void TFormMain::TBRedoClick()
{
    CancelMode();
    if (UndoStore.CanRedo() && UndoStore.Redo())
        MoveCurvesOfStep(UndoStore.StateId(), 1);
    UpdateUndoRedoState();
    ReattachView();
}

void TFormMain::CheckDocumentGeneration()
{
    if (lasFile_ && lasFile_->Generation() != attachedGeneration_)
        ReattachView();
}

// The document-changed routine: the view follows the document's current arrays, point count,
// depth range and STEP; the depth at the top of the drawing area stays there when it can.
void TFormMain::ReattachView()
{
    if (!lasFile_)
        return;
    TAxis& axis = PanelCurves->YAxisInfo;
    // Taken from what was recorded at the last attach: the old arrays may be gone.
    const double topDepth = attachedFirstDepth_ + axis.Offset() / axis.PixelsPerUnit();
    // Each curve's statistics are a pass over its samples: the curves are shared over the cores.
    ParallelFor(PanelCurves->GetCurvesCount(), [this](int i) {
        PanelCurves->GetCurve(i)->SetData(lasFile_->GetCurveData(i + 1), lasFile_->GetPointCount());
    });
    AttachDepthAxis();
    axis.SetOffset(static_cast<int>(
        std::lround(std::clamp((topDepth - attachedFirstDepth_) * axis.PixelsPerUnit(), -1.0e9, 1.0e9))));
    PanelCurves->Repaint();  // SetData has recomputed each curve's statistics
    Intervals.SetTopBottom(lasFile_->GetTopDepth(), lasFile_->GetBottomDepth());
    SetMacroDocument(&lasFile_->GetParser());
    PBoxAllDepth->SetRange(lasFile_->GetTopDepth(), lasFile_->GetBottomDepth());
    PBoxAllDepth->update();
    // The template lets go of the old arrays; the single-curve windows take the new ones.
    ClearTemplateBinding(true);
    SingleWindows.RefreshAll();
    UpdateStatusBar();
    SyncDepthControls();
}
