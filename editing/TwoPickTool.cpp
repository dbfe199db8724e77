// Two-pick tool base.
#include "editing/TwoPickTool.h"

#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "view/PanelWithCurves.h"

void TTwoPickTool::CurveClick(int curve, QPoint at)
{
    const int index = host_.Panel().GetDepthArrayNumber(at.y());
    if (first_ < 0) {
        if (firstAtDepth_ && (index < 0 || index >= host_.Document()->GetPointCount()))
            return;
        first_ = curve;
        firstIndex_ = index;
        host_.PromptChanged();
        return;
    }
    if (curve == first_) {
        platform::ShowMessage(QStringLiteral("необходимо выбрать другую кривую"));
        return;
    }
    Picked(first_, firstIndex_, curve, index);
    Cancel();
    host_.ToolDone();
}

void TTwoPickTool::Cancel()
{
    first_ = firstIndex_ = -1;
}
