// Shift of the selected curves by hand.
#include "editing/ManualShiftTool.h"

#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/NumberText.h"
#include "view/PanelWithCurves.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

namespace {
constexpr int kCopyOffset = 15;  // pixels between a curve and its preview copy
constexpr int kSlowRepeatMs = 100;
constexpr int kFastRepeatMs = 50;  // with Shift
}  // namespace

TManualShiftTool::TManualShiftTool(TToolHost& host) : TPanelTool(host)
{
    QObject::connect(&timer_, &QTimer::timeout, platform::Guarded([this] { MoveTo(FManualShiftPos + keyStep_); }));
}

void TManualShiftTool::Activate()
{
    TPanelWithCurves& panel = host_.Panel();
    group_.Clear();
    for (int i = 0; i < panel.GetCurvesCount(); ++i)
        if (panel.GetCurve(i)->IsSelected())
            group_.Add(std::make_unique<TCurveCopy>(&panel, i, kCopyOffset));
    if (const TLASFile* document = host_.Document())
        generation_ = document->Generation();
    if (group_.IsEmpty()) {
        platform::MessageBox(host_.DialogOwner(), QStringLiteral("Не выбрано ни одной кривой!"),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONWARNING);
        host_.ToolDone();
        return;
    }
    panel.OwnMouseMove = false;
    panel.update();
}

void TManualShiftTool::Deactivate()
{
    Cancel();
    group_.Clear();
    host_.Panel().OwnMouseMove = true;
    host_.Panel().update();
}

void TManualShiftTool::Cancel()
{
    timer_.stop();
    FManualShiftMode = 0;
    FManualShiftRef = FManualShiftPos = -1;
    group_.ShiftVert(0);
    host_.ShowShiftValue(false, {});
    host_.Panel().update();
}

QString TManualShiftTool::Prompt() const
{
    switch (FManualShiftMode) {
    case 1: return QStringLiteral("Двигайте мышью вверх или вниз. Для применения щелкните левой кнопкой, для отмены - Esc");
    case 2:
        return QStringLiteral("Стрелки вверх-вниз - изменение значения сдвига, Стрелки+Shift - ускоренное изменение, "
                              "Enter - применить, Esc - отмена");
    default: return QStringLiteral("Используйте для сдвига либо мышь, либо клавиши 'стрелка вверх'-'стрелка вниз'");
    }
}

int TManualShiftTool::IndexAt(int y) const
{
    const PanelCoordinates c = host_.Panel().Coordinates();
    return c.NearestIndex(c.DepthAt(y));
}

void TManualShiftTool::Click(QMouseEvent& event)
{
    if (group_.IsEmpty() || FManualShiftMode == 2)
        return;
    const int index = IndexAt(event.position().toPoint().y());
    if (index < 0)
        return;
    if (FManualShiftMode == 0) {
        FManualShiftRef = FManualShiftPos = index;
        FManualShiftMode = 1;
        MoveTo(index);
        host_.PromptChanged();
        return;
    }
    FManualShiftPos = index;
    ApplyManualShift();
}

void TManualShiftTool::MouseMove(QMouseEvent& event)
{
    if (FManualShiftMode == 1 && FManualShiftRef >= 0)
        MoveTo(IndexAt(event.position().toPoint().y()));
}

bool TManualShiftTool::KeyPress(QKeyEvent& event)
{
    if (group_.IsEmpty())
        return false;
    if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && FManualShiftMode == 2) {
        ApplyManualShift();
        return true;
    }
    if ((event.key() != Qt::Key_Up && event.key() != Qt::Key_Down) || FManualShiftMode == 1)
        return false;
    if (event.isAutoRepeat() || timer_.isActive())
        return true;
    if (FManualShiftMode == 0) {
        const TLASFile* document = host_.Document();
        FManualShiftRef = FManualShiftPos = document ? document->GetPointCount() / 2 : 0;
        FManualShiftMode = 2;
        host_.PromptChanged();
    }
    // The press shows the shift; only the timer's ticks move.
    keyStep_ = event.key() == Qt::Key_Up ? -1 : 1;
    MoveTo(FManualShiftPos);
    timer_.start(event.modifiers().testFlag(Qt::ShiftModifier) ? kFastRepeatMs : kSlowRepeatMs);
    return true;
}

bool TManualShiftTool::KeyRelease(QKeyEvent& event)
{
    if ((event.key() != Qt::Key_Up && event.key() != Qt::Key_Down) || event.isAutoRepeat() || !timer_.isActive())
        return false;
    timer_.stop();
    return true;
}

// DrawShiftedCurves: the copies move by the shift; the value shows it in depth units.
void TManualShiftTool::MoveTo(int pos)
{
    FManualShiftPos = pos;
    group_.ShiftVert(Shift());
    const TLASFile* document = host_.Document();
    host_.ShowShiftValue(true, document ? platform::StepsText(*document, Shift()) : QString());
    host_.Panel().update();
}

// The copies follow a document changed under them (an undo while the tool waits).
void TManualShiftTool::PaintOverlay(QPainter& painter, const PanelCoordinates& coordinates)
{
    if (const TLASFile* document = host_.Document(); document && document->Generation() != generation_) {
        generation_ = document->Generation();
        group_.ShiftVert(Shift());
    }
    group_.Paint(painter, coordinates);
}

void TManualShiftTool::ApplyManualShift()
{
    timer_.stop();
    Finish([this] {
        TLASFile* document = host_.Document();
        if (!document || group_.IsEmpty() || Shift() == 0)
            return;
        // Refused before the undo step copies the document.
        document->CheckGrowth(document->GetPointCount() + std::abs(static_cast<double>(Shift())));
        const float d = static_cast<float>(Shift() * double(document->GetStep()));
        const auto& copies = group_.Copies();
        host_.ChangeAfterSnapshot("'Ручной сдвиг по глубине'", [&] {
            document->ShiftCurveByDepthExtending(copies.front()->SourceIndex() + 1, d);
            for (std::size_t i = 1; i < copies.size(); ++i)
                document->ShiftCurveByDepth(copies[i]->SourceIndex() + 1, d);
        });
        host_.DocumentChanged();
    });
}
