// Manual depth binding.
#include "editing/BindTools.h"

#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "platform/NumberText.h"
#include "view/PanelWithCurves.h"

void BindCurvesManual(TToolHost& host, int base, int bound, int baseIndex, int boundIndex)
{
    TLASFile* document = host.Document();
    if (!document)
        return;
    const int curves = document->GetCurvesCount();
    const int points = document->GetPointCount();
    if (base < 1 || base >= curves || bound < 1 || bound >= curves || base == bound || baseIndex < 0 ||
        baseIndex >= points || boundIndex < 0 || boundIndex >= points || baseIndex == boundIndex)
        return;
    host.Snapshot("'Увязка кривых");
    const int n = baseIndex - boundIndex;
    document->ShiftCurveBySamples(bound, n);
    host.DocumentChanged();  // the values moved inside their array
    platform::MessageBox(host.DialogOwner(),
                         QStringLiteral("Кривая ") + QString::fromStdString(document->GetCurveName(bound)) +
                             QStringLiteral("\nсдвинута на ") +
                             platform::FloatToStrF(n * double(document->GetStep()), 7, 2) + QStringLiteral(" м."),
                         QStringLiteral("Произведена увязка кривых"), platform::MB_OK | platform::MB_ICONINFORMATION);
}

void TBindManualTool::CurveClick(int curve, QPoint at)
{
    const int index = host_.Panel().GetDepthArrayNumber(at.y());
    if (FBindBase < 0) {
        if (index < 0 || index >= host_.Document()->GetPointCount())
            return;
        FBindBase = curve;
        FBindDepthIndex = index;
        host_.PromptChanged();
        return;
    }
    if (curve == FBindBase) {
        platform::ShowMessage(QStringLiteral("необходимо выбрать другую кривую"));
        return;
    }
    FBindBound = curve;
    BindCurvesManual(host_, FBindBase + 1, FBindBound + 1, FBindDepthIndex, index);
    Cancel();
    host_.ToolDone();
}

void TBindManualTool::Cancel()
{
    FBindBase = FBindBound = FBindDepthIndex = -1;
}

QString TBindManualTool::Prompt() const
{
    return FBindBase < 0 ? QStringLiteral("Отметьте базовую кривую для увязки на нужной глубине ...")
                         : QStringLiteral("Отметьте увязываемую кривую на нужной глубине");
}
