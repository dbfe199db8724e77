// Main window: interval commands and the choice of intervals for an operation.
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "editing/IntervalParams.h"
#include "editing/SelectIntervalPart.h"
#include "platform/DialogRunner.h"

#include <utility>

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
                                            "Интервал не будет доавлен."),
                             QStringLiteral("Добавление интервала"), platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    try {
        const IntervalItem proposal{top, bottom, 0xEEFFEE, "New", true};
        IntervalItem result = proposal;
        if (FormIntervalParams->Execute(proposal, Intervals.GetTop(), Intervals.GetBottom(), result)) {
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
    DlgSelectIntervalPart->Execute(&Intervals, result, preselect);
    return result;
}
