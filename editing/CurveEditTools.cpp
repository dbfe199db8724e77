// Cut, join and scale-match tools.
#include "editing/CurveEditTools.h"

#include "core/Lasfile.h"
#include "editing/CurveNameRules.h"
#include "platform/DialogRunner.h"
#include "view/PanelWithCurves.h"

#include <algorithm>
#include <vector>

bool CutCurve(TToolHost& host, int curve, int k, bool top)
{
    TLASFile* document = host.Document();
    TCurve* shown = host.Panel().GetCurve(curve);
    const int count = document ? document->GetPointCount() : 0;
    if (!document || !shown || curve + 1 >= document->GetCurvesCount() || k < 1 || k >= count)
        return false;
    host.Snapshot(top ? "'Удаление верхней части кривой'" : "'Удаление нижней части кривой'");
    float* values = document->GetCurveData(curve + 1);
    if (top)
        std::fill(values, values + k + 1, document->GetNullValue());
    else
        std::fill(values + k, values + count, document->GetNullValue());
    shown->Update();
    host.Panel().Repaint();
    return true;
}

void TCutCurveTool::CurveClick(int curve, QPoint at)
{
    CutCurve(host_, curve, host_.Panel().GetDepthArrayNumber(at.y()), top_);
}

QString TCutCurveTool::Prompt() const
{
    return QStringLiteral("Щелкните левой кнопкой мыши по кривой для обрезания на нужной глубине");
}

QString TJoinCurvesTool::Prompt() const
{
    return !HasFirst() ? QStringLiteral("Выберите верхнюю кривую (щелкните для этого левой кнопкой мыши по "
                                           "нужной кривой на нужной глубине)...")
                          : QStringLiteral("Выберите нижнюю кривую для сшивки");
}

bool TJoinCurvesTool::JoinCurves(int upper, int lower, int depthIndex)
{
    TLASFile* document = host_.Document();
    if (!document || upper + 1 >= document->GetCurvesCount() || lower + 1 >= document->GetCurvesCount() ||
        upper < 0 || lower < 0)
        return false;
    QString name;
    if (!AskNewCurveName(host_.DialogOwner(), *document, QStringLiteral("Добавление кривой"),
                         QStringLiteral("Введите имя новой кривой"), name))
        return false;
    std::uint32_t color = 0;
    if (!platform::ChooseColor(host_.DialogOwner(), color))
        return false;
    host_.MarkModified();
    const int count = document->GetPointCount();
    // The pick may lie beyond a document that undo has made shorter since.
    const int k = std::min(depthIndex, count - 1);
    std::vector<float> joined(static_cast<std::size_t>(count));
    const float* upperValues = document->GetCurveData(upper + 1);
    const float* lowerValues = document->GetCurveData(lower + 1);
    std::copy(upperValues, upperValues + k + 1, joined.begin());
    std::copy(lowerValues + k + 1, lowerValues + count, joined.begin() + k + 1);
    const int index = document->AddCurve(
        name.toStdString(), joined.data(),
        std::max(document->GetCurveDecimals(upper + 1), document->GetCurveDecimals(lower + 1)));
    host_.ShowNewCurve(index, color);
    return true;
}

void TScaleMatchTool::CurveClick(int curve, QPoint)
{
    if (FScaleRef < 0) {
        FScaleRef = curve;
        host_.PromptChanged();
        return;
    }
    if (curve == FScaleRef) {
        platform::ShowMessage(QStringLiteral("Необходимо выбрать другую кривую"));
        return;
    }
    TPanelWithCurves& panel = host_.Panel();
    const TCurve* reference = panel.GetCurve(FScaleRef);
    TCurve* target = panel.GetCurve(curve);
    if (!reference || !target || !(reference->Maximum() - reference->Minimum() > 0) ||
        !(target->Maximum() - target->Minimum() > 0))
        return;
    target->SetPixelsPerUnit(reference->PixelsPerUnit());
    panel.UpdateCurves();
    target->SetXOffset(reference->ValueToPixel(target->Minimum()) + reference->XOffset());
    FScaleTarget = curve;
    panel.Repaint();
}

void TScaleMatchTool::Cancel()
{
    FScaleRef = FScaleTarget = -1;
}

QString TScaleMatchTool::Prompt() const
{
    return FScaleRef < 0 ? QStringLiteral("Отметьте кривую к горизонтальному масштабу которой требуется привязать "
                                          "масштаб другой кривой...")
                         : QStringLiteral("Отметьте кривую у которой требуется изменить горизонтальный масштаб");
}
