// Depth units in words.
#include "platform/DepthUnit.h"

#include "core/Lasfile.h"

#include <QStringList>

namespace platform {

namespace {
enum class Unit { None, Metres, Feet, Other };

Unit KindOf(const QString& unit)
{
    static const QStringList metres = {"M", "М", "METER", "METERS", "METRE", "METRES"};
    static const QStringList feet = {"F", "FT", "FEET", "FOOT"};
    if (unit.isEmpty())
        return Unit::None;
    if (metres.contains(unit, Qt::CaseInsensitive))
        return Unit::Metres;
    return feet.contains(unit, Qt::CaseInsensitive) ? Unit::Feet : Unit::Other;
}

QString UnitOf(const TLASFile& document)
{
    return QString::fromStdString(document.GetDepthUnit()).trimmed();
}
}  // namespace

QString DepthAmountPrompt(const TLASFile& document)
{
    const QString unit = UnitOf(document);
    switch (KindOf(unit)) {
    case Unit::None: return QStringLiteral("Введите значение");
    case Unit::Metres: return QStringLiteral("Введите значение в метрах");
    case Unit::Feet: return QStringLiteral("Введите значение в футах");
    case Unit::Other: break;
    }
    return QStringLiteral("Введите значение в единицах ") + unit;
}

QString DepthAmountText(const TLASFile& document, const QString& amount)
{
    const QString unit = UnitOf(document);
    switch (KindOf(unit)) {
    case Unit::None: return amount;
    case Unit::Metres: return amount + QStringLiteral(" м");
    case Unit::Feet: return amount + QStringLiteral(" фут");
    case Unit::Other: break;
    }
    return amount + QStringLiteral(" ") + unit;
}

}  // namespace platform
