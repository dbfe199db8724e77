// Depth units in words.
#include "platform/DepthUnit.h"

#include "core/Lasfile.h"

#include <charconv>
#include <cmath>
#include <string>

namespace platform {

namespace {
enum class Unit { None, Metres, Feet, Other };

struct Length {
    const char* name;
    double metres;
};
constexpr double kSurveyFoot = 1200.0 / 3937.0;
// Named length units of depth columns, in metres.
constexpr Length kLengths[] = {
    {"M", 1.0},         {"М", 1.0},          {"METER", 1.0},      {"METERS", 1.0},   {"METRE", 1.0},
    {"METRES", 1.0},    {"F", 0.3048},       {"FT", 0.3048},      {"FEET", 0.3048},  {"FOOT", 0.3048},
    {"ФТ", 0.3048},     {"ФУТ", 0.3048},     {"USFT", kSurveyFoot}, {"FTUS", kSurveyFoot},
    {"DM", 0.1},        {"CM", 0.01},        {"MM", 0.001},       {"KM", 1000.0},    {"IN", 0.0254},
    {"INCH", 0.0254},   {"INCHES", 0.0254},  {"YD", 0.9144},      {"ДМ", 0.1},       {"СМ", 0.01},
    {"ММ", 0.001},      {"КМ", 1000.0}};

double BaseMetres(QStringView unit)
{
    for (const Length& length : kLengths)
        if (unit.compare(QString::fromUtf8(length.name), Qt::CaseInsensitive) == 0)
            return length.metres;
    return 0.0;
}

// A number before the name is a count of that unit: .1IN is a tenth of an inch, 10CM a decimetre.
double MetresOf(QStringView unit)
{
    qsizetype digits = 0;
    while (digits < unit.size() && ((unit[digits] >= u'0' && unit[digits] <= u'9') || unit[digits] == u'.'))
        ++digits;
    const double base = BaseMetres(unit.sliced(digits));
    if (digits == 0 || base == 0.0)
        return base;
    const std::string number = unit.first(digits).toLatin1().toStdString();
    double factor = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), factor);
    const bool whole = error == std::errc() && end == number.data() + number.size();
    return whole && factor > 0.0 && std::isfinite(factor) ? factor * base : 0.0;
}

Unit KindOf(const QString& unit)
{
    if (unit.isEmpty())
        return Unit::None;
    const double metres = MetresOf(unit);
    return metres == 1.0 ? Unit::Metres : metres == 0.3048 ? Unit::Feet : Unit::Other;
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

double DepthUnitMetres(const QString& unit) { return MetresOf(unit.trimmed()); }

double DepthUnitMetres(const TLASFile& document) { return MetresOf(UnitOf(document)); }

QString DepthScaleNote(const QString& unit)
{
    const QString name = unit.trimmed();
    if (name.isEmpty())
        return QStringLiteral("Единица глубины не указана в файле: масштаб в метрах");
    if (DepthUnitMetres(name) > 0.0)
        return QString();
    return QStringLiteral("Единица глубины %1 не является длиной: масштаб в метрах").arg(name);
}

}  // namespace platform
