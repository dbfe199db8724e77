// Main window: interval commands and the choice of intervals for an operation.
#include "app/MainUnit.h"

#include "app/DepthOverview.h"
#include "core/Lasfile.h"
#include "editing/FormIntervals.h"
#include "editing/IntervalParams.h"
#include "editing/SelectIntervalPart.h"
#include "platform/DialogRunner.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <utility>

bool TFormMain::UseNewIntervals() const
{
    return ui->MMINewIntEnabled->isChecked();
}

void TFormMain::RefreshIntervals()
{
    if (!UseNewIntervals())
        return;
    PanelCurves->Repaint();
    PBoxAllDepth->update();
    if (FormIntervals->isVisible())
        FormIntervals->FillList();
    SingleWindows.BroadcastRepaint(nullptr);
}

void TFormMain::MMIIntervalSetClick()
{
    if (lasFile_ && UseNewIntervals() && !ClickIntervals.empty() &&
        ClickIntervals.front() < static_cast<int>(Intervals.List.size())) {
        const int i = ClickIntervals.front();
        IntervalItem& item = Intervals.List[static_cast<std::size_t>(i)];
        IntervalItem result = item;
        if (FormIntervalParams->Execute(item, Intervals.GetTop(), Intervals.GetBottom(), result, lasFile_.get())) {
            item.Color = result.Color;
            item.Name = result.Name;
            Intervals.ChangeInterval(i, static_cast<float>(result.Top), static_cast<float>(result.Bottom));
        }
    }
    RefreshIntervals();
}

void TFormMain::PMIMergeCurrentIntWithNextClick()
{
    if (ClickIntervals.empty() || ClickIntervals.front() >= static_cast<int>(Intervals.List.size()))
        return;
    Intervals.MergeWithNext(ClickIntervals.front());
    RefreshIntervals();
}

void TFormMain::PMIAddFillIntervalClick()
{
    AddInterval(NewIntervalTop, NewIntervalBottom);
}

void TFormMain::MIRemoveIntervalClick()
{
    if (!UseNewIntervals() || ClickIntervals.empty() || ClickIntervals.front() >= static_cast<int>(Intervals.List.size()))
        return;
    Intervals.DeleteInterval(ClickIntervals.front());
    RefreshIntervals();
}

void TFormMain::MMIIntervalsShowClick()
{
    FormIntervals->SetManager(&Intervals);
    FormIntervals->OnIntervalsChanged = [this] { RefreshIntervals(); };
    FormIntervals->Document = [this] { return static_cast<const TLASFile*>(lasFile_.get()); };
    FormIntervals->show();
}

// The action ticks itself; the overview learns whether to draw the bands.
void TFormMain::MMINewIntEnabledClick()
{
    PBoxAllDepth->SetIntervals(UseNewIntervals() ? &Intervals : nullptr);
    PanelCurves->Repaint();
    PBoxAllDepth->update();
}

void TFormMain::AddInterval(float top, float bottom)
{
    if (!lasFile_)
        return;
    if (top > bottom)
        std::swap(top, bottom);
    const float first = lasFile_->GetTopDepth();
    const float last = lasFile_->GetBottomDepth();
    if (first >= bottom || last <= top)
        return;
    top = std::max(top, first);
    bottom = std::min(bottom, last);
    if (bottom - top < lasFile_->GetStep()) {
        platform::MessageBox(this,
                             QStringLiteral("Длина интервала должна быть не меньше текущего шага по глубине!\n"
                                            "Интервал не будет добавлен."),
                             QStringLiteral("Добавление интервала"), platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    try {
        const IntervalItem proposal{top, bottom, 0xEEFFEE, "New", true};
        IntervalItem result = proposal;
        if (FormIntervalParams->Execute(proposal, Intervals.GetTop(), Intervals.GetBottom(), result, lasFile_.get())) {
            if (IntervalItem* added = Intervals.SetInterval(static_cast<float>(result.Top),
                                                            static_cast<float>(result.Bottom))) {
                added->Name = result.Name;
                added->Color = result.Color;
                added->Active = true;
            }
        }
    } catch (const std::exception&) {
        platform::MessageBox(this, QStringLiteral("Произошла ошибка во время добавления интервала."),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    RefreshIntervals();
}

FloatPairList TFormMain::SelectOperationIntervals(const QString& message, int preselect)
{
    FloatPairList result;
    if (!lasFile_)
        return result;
    if (Intervals.List.empty()) {
        result.push_back({lasFile_->GetTopDepth(), lasFile_->GetBottomDepth()});
        return result;
    }
    DlgSelectIntervalPart->SetTopMessage(message);
    DlgSelectIntervalPart->Execute(*lasFile_, &Intervals, result, preselect);
    return result;
}
