// Manual and automatic depth binding.
#include "editing/BindTools.h"

#include "core/Lasfile.h"
#include "core/Q7mathutils.h"
#include "editing/IntervalLimiter.h"
#include "editing/SelectCurvesDlg.h"
#include "platform/DepthUnit.h"
#include "platform/DialogRunner.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kChoiceHelpTopic = 22;

QString Number(double value)
{
    return platform::FloatToStrF(value, 7, 2);
}

bool BindablePair(const TLASFile& document, int base, int bound)
{
    const int curves = document.GetCurvesCount();
    return base >= 1 && base < curves && bound >= 1 && bound < curves && base != bound;
}
}  // namespace

void BindCurvesManual(TToolHost& host, int base, int bound, int baseIndex, int boundIndex)
{
    TLASFile* document = host.Document();
    if (!document)
        return;
    const int points = document->GetPointCount();
    if (!BindablePair(*document, base, bound) || baseIndex < 0 || baseIndex >= points || boundIndex < 0 ||
        boundIndex >= points || baseIndex == boundIndex)
        return;
    host.Snapshot("'Увязка кривых");
    const int n = baseIndex - boundIndex;
    document->ShiftCurveBySamples(bound, n);
    host.DocumentChanged();  // the values moved inside their array
    platform::MessageBox(host.DialogOwner(),
                         QStringLiteral("Кривая ") + QString::fromStdString(document->GetCurveName(bound)) +
                             QStringLiteral("\nсдвинута на ") +
                             platform::DepthAmountText(*document, platform::StepsText(*document, n)) + QStringLiteral("."),
                         QStringLiteral("Произведена увязка кривых"), platform::MB_OK | platform::MB_ICONINFORMATION);
}

void BindCurvesAuto(TToolHost& host, TDlgIntervalLimiter& limits, TSelectCurvesDlg& choice, int base, int bound)
{
    TLASFile* document = host.Document();
    if (!document || !BindablePair(*document, base, bound) || !(document->GetStep() > 0.0f))
        return;
    const QString caption = QStringLiteral("Автоматическая увязка по глубине");
    const QString unit = QString::fromStdString(document->GetDepthUnit());
    const float half = (document->GetBottomDepth() - document->GetTopDepth()) * 0.5f;
    limits.setWindowTitle(caption);
    limits.SetLimits(-half * 1.8, half * 1.8);
    limits.SetFrom(-half);
    limits.SetTo(half);
    limits.SetInfoText(QStringLiteral("Ограничение величины сдвига в ") + unit + QStringLiteral(" :"));
    if (!limits.Execute())
        return;

    const int count = document->GetPointCount();
    const double step = document->GetStep();
    // A limit of whole steps is that many steps, though 0.1 m is no float (50 / 0.1f is 499.99...).
    const auto samples = [&](double depth) {
        const double steps = std::clamp(depth / step, -double(count - 1), double(count - 1));
        return TruncateSteps(steps, StepTolerance(depth, step));
    };
    float r = 0.0f;
    const int s = FindBestCorrelationShift(count, document->GetNullValue(), samples(limits.GetFrom()),
                                           samples(limits.GetTo()), document->GetCurveData(base),
                                           document->GetCurveData(bound), r);
    if (s == 0) {
        const QString found = std::fabs(r) < 0.1f ? QStringLiteral("Невозможно определить коррелируемость кривых в заданном интервале")
                                                   : QStringLiteral("Кривые максимально коррелируются в текущем положении\n"
                                                                    "Коэффициент корреляции = ") + Number(r);
        platform::MessageBox(host.DialogOwner(),
                             found + QStringLiteral("\nАвтоматическая увязка не будет произведена.\nПопробуйте "
                                                    "воспользоваться режимом ручной либо полуавтоматической увязки."),
                             caption, platform::MB_OK | platform::MB_ICONINFORMATION);
        return;
    }
    QString question = QStringLiteral("Максимальная корреляция достигается при сдвиге увязываемой кривой на\n") +
                       platform::StepsText(*document, s) + QStringLiteral(" (") + unit +
                       QStringLiteral(")\nКоэффициент корреляции = ") + Number(r);
    question += std::fabs(r) < 0.5f
                    ? QStringLiteral("\n\nВнимание! Определенный коэффициент корреляции слишком мал.\nНе рекомендуется "
                                     "производить автоматическую увязку.\n\nВы все равно желаете произвести "
                                     "автоматическую увязку кривой '")
                    : QStringLiteral("\n\nПроизвести автоматическую увязку кривой '");
    question += QString::fromStdString(document->GetCurveName(bound)) + QStringLiteral("' ?");
    if (platform::MessageBox(host.DialogOwner(), question, caption, platform::MB_OKCANCEL | platform::MB_ICONQUESTION) !=
        platform::IDOK)
        return;

    host.ChangeAfterSnapshot("'Автоматическая увязка по глубине'", [&] { document->ShiftCurveExtending(bound, s); });
    host.DocumentChanged();
    if (document->GetCurvesCount() <= 3 ||
        platform::MessageBox(host.DialogOwner(), QStringLiteral("Желаете выбрать кривые для сдвига на такую же глубину?"),
                             QStringLiteral("Автоматическая увязка"), platform::MB_YESNO | platform::MB_ICONQUESTION) !=
            platform::IDYES)
        return;
    std::vector<bool> flags;
    if (!ShowSelectCurvesDialog(choice, *document, {bound, base}, kChoiceHelpTopic, flags))
        return;
    // The document grew by s samples for the bound curve: these values move into them, none lost.
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i])
            document->ShiftCurveBySamples(static_cast<int>(i) + 1, s);
    host.DocumentChanged();
}

QString TBindManualTool::Prompt() const
{
    return !HasFirst() ? QStringLiteral("Отметьте базовую кривую для увязки на нужной глубине ...")
                       : QStringLiteral("Отметьте увязываемую кривую на нужной глубине");
}

TBindAutoTool::TBindAutoTool(TToolHost& host)
    : TTwoPickTool(host, false),
      limits_(std::make_unique<TDlgIntervalLimiter>(host.DialogOwner())),
      choice_(std::make_unique<TSelectCurvesDlg>(host.DialogOwner()))
{
}

TBindAutoTool::~TBindAutoTool() = default;

QString TBindAutoTool::Prompt() const
{
    return !HasFirst() ? QStringLiteral("Отметьте базовую кривую для автоматической увязки по глубине")
                       : QStringLiteral("Отметьте увязываемую кривую для автоматической увязки");
}

void TBindAutoTool::Picked(int base, int, int bound, int)
{
    BindCurvesAuto(host_, *limits_, *choice_, base + 1, bound + 1);
}
