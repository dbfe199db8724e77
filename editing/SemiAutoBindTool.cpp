// Semi-automatic depth binding tool.
#include "editing/SemiAutoBindTool.h"

#include "core/Lasfile.h"
#include "core/Q7mathutils.h"
#include "editing/DlgBindSemiAuto.h"
#include "platform/DialogRunner.h"
#include "platform/NumberText.h"
#include "view/PanelWithCurves.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kMinHeight = 3;  // pixels: a lower area is ignored
}  // namespace

TBindSemiAutoTool::TBindSemiAutoTool(TToolHost& host)
    : TRectDragTool(host), dialog_(std::make_unique<TDlgBindSemiAuto>(host.DialogOwner()))
{
}

TBindSemiAutoTool::~TBindSemiAutoTool() = default;

void TBindSemiAutoTool::Cancel()
{
    TRectDragTool::Cancel();
    state_.Clear();
}

QString TBindSemiAutoTool::Prompt() const
{
    return state_.Stage() == 0 ? QStringLiteral("Отметьте область с базовой кривой для увязки")
                               : QStringLiteral("Отметьте область с увязываемой кривой");
}

void TBindSemiAutoTool::BindCurvesSemiAuto(QPoint corner1, QPoint corner2)
{
    TLASFile* document = host_.Document();
    if (!document || document->GetCurvesCount() < 2)
        return;
    const QPoint topLeft(std::min(corner1.x(), corner2.x()), std::min(corner1.y(), corner2.y()));
    const QPoint bottomRight(std::max(corner1.x(), corner2.x()), std::max(corner1.y(), corner2.y()));
    if (bottomRight.y() - topLeft.y() < kMinHeight)
        return;
    // The samples inside the area: never an index outside the depth array.
    TPanelWithCurves& panel = host_.Panel();
    const PanelCoordinates c = panel.Coordinates();
    int first = 0;
    int last = -1;
    if (!GetIndexRangeForDepths(static_cast<float>(c.DepthAt(topLeft.y())), static_cast<float>(c.DepthAt(bottomRight.y())),
                                document->GetPointCount(), document->GetCurveData(0), first, last))
        return;
    std::vector<int> candidates;
    for (int i = 0; i < panel.GetCurvesCount(); ++i)
        if (panel.CurveBelongsSquare(i, topLeft, bottomRight))
            candidates.push_back(i + 1);
    if (candidates.empty())
        return;
    // A base marked on arrays that have been replaced since holds stale indexes.
    if (state_.Stage() > 0 && (state_.Document() != document || document->Generation() != baseGeneration_))
        state_.Clear();
    const bool baseStage = state_.Stage() == 0;
    if (ShowBindSemiAutoDialog(*dialog_, baseStage, *document, candidates, first, last, state_) &&
        state_.Stage() == 2) {
        ApplyBinding();
        return;
    }
    if (baseStage)
        baseGeneration_ = document->Generation();
    host_.PromptChanged();
}

// Each bound curve moves by the base feature less its own. The largest move either way grows
// the document at that end, so no value of any curve is lost.
void TBindSemiAutoTool::ApplyBinding()
{
    TLASFile& document = *state_.Document();
    const auto& bound = state_.Bound();
    const auto shiftOf = [&](const tagAutoBindCurve& record) { return state_.Base().feature - record.feature; };
    const tagAutoBindCurve* lead = bound.front().get();
    const tagAutoBindCurve* deepest = nullptr;
    const tagAutoBindCurve* shallowest = nullptr;
    QString names;
    for (const auto& record : bound) {
        const int shift = shiftOf(*record);
        if (std::abs(shift) > std::abs(shiftOf(*lead)))
            lead = record.get();
        if (shift > 0 && (!deepest || shift > shiftOf(*deepest)))
            deepest = record.get();
        if (shift < 0 && (!shallowest || shift < shiftOf(*shallowest)))
            shallowest = record.get();
        names += QString::fromStdString(record->name) + QStringLiteral("  ");
    }
    const QString question = QStringLiteral("Сдвинуть: ") + names + QStringLiteral("\nНа ") +
                             platform::StepsText(document, shiftOf(*lead)) +
                             QStringLiteral(" (") + QString::fromStdString(document.GetDepthUnit()) +
                             QStringLiteral(")?");
    Finish([&] {
        // Both growths are checked before the first is made.
        document.CheckGrowth(static_cast<double>(document.GetPointCount()) + (deepest ? shiftOf(*deepest) : 0) -
                             (shallowest ? shiftOf(*shallowest) : 0));
        if (platform::MessageBox(host_.DialogOwner(), question, QStringLiteral("Увязка кривых по глубине"),
                                 platform::MB_OKCANCEL | platform::MB_ICONQUESTION) != platform::IDOK)
            return;
        host_.ChangeAfterSnapshot("'Увязка кривых по глубине'", [&] {
            // The document grows first: the other curves then move inside the larger arrays.
            for (const tagAutoBindCurve* record : {deepest, shallowest})
                if (record)
                    document.ShiftCurveExtending(record->curve, shiftOf(*record));
            for (const auto& record : bound)
                if (record.get() != deepest && record.get() != shallowest)
                    document.ShiftCurveBySamples(record->curve, shiftOf(*record));
        });
        host_.DocumentChanged();
    });
}
