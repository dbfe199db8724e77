// Value operations and statistics of the single-curve window.
#include "datawin/SingleCurveValues.h"

#include "core/Lasfile.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {
template <class Operation>
void ChangeValues(float* values, int from, int to, float nullValue, Operation operation)
{
    for (int i = from; i <= to; ++i) {
        if (values[i] == nullValue)
            continue;
        const float result = static_cast<float>(operation(static_cast<double>(values[i])));
        values[i] = std::isfinite(result) ? result : nullValue;
    }
}
}  // namespace

std::pair<int, int> ValueRangeOfZone(int zone, int first, int last, int pointIndex, int count)
{
    const bool selected = first >= 0 && last >= 0;
    if (zone == 4) {
        if (!selected)
            zone = 0;
        else if (pointIndex < first)
            zone = 2;
        else if (pointIndex > last)
            zone = 3;
        else
            zone = 1;
    }
    int from = 0;
    int to = count - 1;
    if (selected) {
        if (zone == 1) {
            from = first;
            to = last;
        } else if (zone == 2) {
            to = first;
        } else if (zone == 3) {
            from = last;
        }
    }
    from = std::clamp(from, 0, std::max(count - 1, 0));
    to = std::clamp(to, 0, std::max(count - 1, 0));
    if (from > to)
        std::swap(from, to);
    return {from, to};
}

void ShiftValues(float* values, int from, int to, float nullValue, double delta)
{
    ChangeValues(values, from, to, nullValue, [delta](double v) { return v + delta; });
}

void MultiplyValues(float* values, int from, int to, float nullValue, double factor)
{
    ChangeValues(values, from, to, nullValue, [factor](double v) { return v * factor; });
}

QString CurveStatisticsText(const TLASFile& document, int curve, int first, int last, bool whole)
{
    const int count = document.GetPointCount();
    const float* values = document.GetCurveData(curve);
    const float nullValue = document.GetNullValue();
    first = std::clamp(first, 0, std::max(count - 1, 0));
    last = std::clamp(last, 0, std::max(count - 1, 0));
    const QString unit = QString::fromStdString(document.GetCurveUnit(0));
    QString text = whole ? QStringLiteral("Весь интервал кривой: ")
                         : QStringLiteral("Информация о кривой в интервале ");
    text += platform::RowDepthText(document, first) + QStringLiteral("  -  ") + platform::RowDepthText(document, last) +
            QStringLiteral(" :\n");
    int minAt = -1;
    int maxAt = -1;
    double sum = 0.0;
    int valid = 0;
    for (int i = first; i <= last; ++i) {
        const float v = values[i];
        if (v == nullValue || v != v)
            continue;
        if (minAt < 0 || v < values[minAt])
            minAt = i;
        if (maxAt < 0 || v > values[maxAt])
            maxAt = i;
        sum += v;
        ++valid;
    }
    const auto found = [&](const QString& title, int row) {
        return title + platform::CurveValueText(document, curve, values[row]) +
               QStringLiteral(" достигается на отметке ") + platform::RowDepthText(document, row) +
               QStringLiteral(" ") + unit + QStringLiteral("\n");
    };
    if (valid > 0) {
        text += found(QStringLiteral("Минимальное значение: "), minAt);
        text += found(QStringLiteral("Максимальное значение: "), maxAt);
        text += (whole ? QStringLiteral("Среднее значение: ") : QStringLiteral("Среднее значение в интервале: ")) +
                platform::FloatToStrF(sum / valid, 7, 2) + QStringLiteral("\n");
    } else {
        text += (whole ? QStringLiteral("Кривая не имеет значений (все - NULL)")
                       : QStringLiteral("В интервале кривая не имеет значений (все - NULL)")) +
                QStringLiteral("\n");
    }
    text += QString(59, QChar('-')) + QStringLiteral("\n");
    text += (whole ? QStringLiteral("Количество отсчетов: ") : QStringLiteral("Количество отсчетов в интервале: ")) +
            QString::number(last - first + 1) + QStringLiteral("\n");
    text += QStringLiteral("с шагом ") + platform::LasNumberText(document.GetStep(), document.GetDepthDecimals()) +
            QStringLiteral(" ") + unit;
    return text;
}

QString CurveInformationText(const TLASFile& document, int curve, int first, int last)
{
    const QString stars = QString(59, QChar('*'));
    QString text = CurveStatisticsText(document, curve, 0, document.GetPointCount() - 1, true) + QStringLiteral("\n") +
                   stars + QStringLiteral("\n") + stars + QStringLiteral("\n");
    if (first >= 0 && last >= 0)
        text += CurveStatisticsText(document, curve, first, last, false);
    else
        text += QStringLiteral("Интервал не задан");
    return text;
}
