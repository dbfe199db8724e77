// The smoothing tool.
#include "editing/SmoothingTool.h"

#include "core/Lasfile.h"
#include "core/Q7mathutils.h"
#include "editing/AntiAliasByPoints.h"
#include "editing/AntiAliasingDegree.h"
#include "view/PanelWithCurves.h"

TSmoothingTool::TSmoothingTool(TToolHost& host, bool byPoints) : TPanelTool(host), byPoints_(byPoints)
{
    if (byPoints)
        points_ = std::make_unique<TFormAntiAliasingByPoints>(host.DialogOwner());
    else
        spectrum_ = std::make_unique<TDlgAADegree>(host.DialogOwner());
}

TSmoothingTool::~TSmoothingTool() = default;

void TSmoothingTool::Activate()
{
    crossMouse_ = host_.Panel().CrossMouse;
    host_.Panel().CrossMouse = false;
}

void TSmoothingTool::Deactivate()
{
    host_.Panel().CrossMouse = crossMouse_;
}

void TSmoothingTool::CurveClick(int curve, QPoint)
{
    TLASFile* document = host_.Document();
    if (!document || curve < 0 || curve + 1 >= document->GetCurvesCount())
        return;
    const FloatPairList intervals =
        host_.SelectOperationIntervals(QStringLiteral("Сглаживание: выбор интервалов"), -1);
    const IntPairVector ranges =
        IntervalsToIndexPairs(intervals, document->GetCurveData(0), document->GetPointCount());
    if (ranges.empty())
        return;
    host_.Snapshot(byPoints_ ? "'Сглаживание кривой по точкам'" : "'Сглаживание кривой по спектру'");
    FSmoothedCurve = curve;
    const QString name = QString::fromStdString(document->GetCurveName(curve + 1));
    float* samples = document->GetCurveData(curve + 1);
    const bool applied =
        byPoints_ ? points_->Init(host_.DialogOwner(), WriteBack, this, ranges, document->GetPointCount(), samples,
                                  name, document->GetNullValue())
                  : spectrum_->Execute(host_.DialogOwner(), WriteBack, this, ranges, document->GetPointCount(),
                                       samples, name, document->GetNullValue()) == 1;
    FSmoothedCurve = -1;
    // A cancel wrote the values back as found: undo and redo stay as they were.
    if (applied)
        host_.MarkModified();
    else
        host_.DiscardSnapshot();
    host_.ToolDone();
}

void TSmoothingTool::WriteBack(void* context, const ListOfFloatValuesWithIndex& list)
{
    auto* self = static_cast<TSmoothingTool*>(context);
    self->host_.WriteSmoothedSegments(self->FSmoothedCurve, list);
}
