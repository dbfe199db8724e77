// The text of the statistics report.
#include "editing/StatisticsReport.h"

#include "core/Lasfile.h"
#include "core/ParallelFor.h"
#include "core/Q7mathutils.h"
#include "editing/IntervalManager.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

float StatMean(int n, float nullValue, const float* values) { return NullMean(n, nullValue, values); }

float StatDeviation(int n, float nullValue, const float* values)
{
    return std::sqrt(NullVariance(n, nullValue, values));
}

float StatMin(int n, float nullValue, const float* values)
{
    int index = 0;
    return NullMin(n, nullValue, values, index);
}

float StatMax(int n, float nullValue, const float* values)
{
    int index = 0;
    return NullMax(n, nullValue, values, index);
}

float StatDepthOfMin(int n, float nullValue, const float* values, const float* depths)
{
    int index = -1;
    NullMin(n, nullValue, values, index);
    return index >= 0 && index < n ? depths[index] : 0.0f;
}

float StatDepthOfMax(int n, float nullValue, const float* values, const float* depths)
{
    int index = -1;
    NullMax(n, nullValue, values, index);
    return index >= 0 && index < n ? depths[index] : 0.0f;
}

const StatFunctionsVector& ReportStatistics()
{
    static const StatFunctionsVector statistics = {
        {QStringLiteral("Среднее"), StatMean, nullptr},
        {QStringLiteral("Ср.кв. отклонение"), StatDeviation, nullptr},
        {QStringLiteral("Минимум"), StatMin, nullptr, true},
        {QStringLiteral("Глубина минимума"), nullptr, StatDepthOfMin},
        {QStringLiteral("Максимум"), StatMax, nullptr, true},
        {QStringLiteral("Глубина максимума"), nullptr, StatDepthOfMax},
    };
    return statistics;
}

namespace {

QString Fixed2(double value) { return platform::FloatToStrF(value, 7, 2); }
QString Fixed4(double value) { return platform::FloatToStrF(value, 7, 4); }
const QString kRule = QString(50, QLatin1Char('_'));

QString HeaderValue(const TLASFile& document, const TLasParsParsedString* line)
{
    return line ? QString::fromStdString(document.GetParser().Decode(line->Value())) : QString();
}

}  // namespace

TStatisticsReport::TStatisticsReport(const TLASFile& document, const std::vector<int>& selection,
                                     const IntervalManager& intervals)
    : document_(document), selected_(static_cast<int>(selection.size())), intervals_(intervals)
{
    for (int i = 1; i < document.GetCurvesCount(); ++i)
        if (selection.empty() || std::find(selection.begin(), selection.end(), i) != selection.end())
            curves_.push_back(i);
    // Found once for all six interval tables.
    const float* depths = document_.GetCurveData(0);
    const int n = document_.GetPointCount();
    for (const IntervalItem& item : intervals_.List) {
        if (!item.Active)
            continue;
        const QString name = QString::fromStdString(item.Name);
        const QString range = platform::DepthText(document_, item.Top) + QStringLiteral(" - ") +
                              platform::DepthText(document_, item.Bottom);
        int first = 0;
        int last = -1;
        if (!GetIndexRangeForDepths(static_cast<float>(item.Top), static_cast<float>(item.Bottom), n, depths, first,
                                    last)) {
            intervalRows_.push_back({QStringLiteral("В интервале '") + name + QStringLiteral("' (") + range +
                                         QStringLiteral(") значения отсутствуют"),
                                     false, 0, 0});
            continue;
        }
        intervalRows_.push_back({name + QStringLiteral(" (") + range + QStringLiteral("):"), true, first,
                                 last - first + 1});
    }
}

QString TStatisticsReport::Cell(const StatFunc_struct& statistic, int curve, int first, int count) const
{
    const float nullValue = document_.GetNullValue();
    const float* values = document_.GetCurveData(curve) + first;
    // No statistic exists for a range without a value.
    if (std::all_of(values, values + std::max(count, 0), [nullValue](float v) { return v == nullValue; }))
        return QStringLiteral("----");
    if (statistic.DepthFunc)
        return platform::DepthText(document_,
                                   statistic.DepthFunc(count, nullValue, values, document_.GetCurveData(0) + first));
    const float result = statistic.ValueFunc(count, nullValue, values);
    if (result == nullValue)
        return QStringLiteral("----");
    return statistic.Sample ? platform::CurveValueText(document_, curve, result) : Fixed4(result);
}

std::size_t TStatisticsReport::AddDataRow(std::vector<ReportRow>& rows, const QString& title) const
{
    ReportRow row;
    row.cells = QStringList(static_cast<qsizetype>(curves_.size()) + 1);
    row.cells[0] = title;
    rows.push_back(std::move(row));
    return rows.size() - 1;
}

bool TStatisticsReport::Work::Add(double work)
{
    done += work;
    return !progress || progress(total > 0 ? done / total : 1.0);
}

double TStatisticsReport::RowWork(int count) const
{
    constexpr double kCellWork = 64;  // a cell's text costs about as much as reading that many samples
    return (std::max(count, 0) + kCellWork) * static_cast<double>(curves_.size());
}

bool TStatisticsReport::FillCells(std::vector<ReportRow>& rows, const std::vector<RowRange>& ranges, Work* work) const
{
    // Pieces short enough for the progress to be told several times a second.
    constexpr double kPieceWork = 2.0e6;
    const int curves = static_cast<int>(curves_.size());
    for (std::size_t from = 0; from < ranges.size();) {
        std::size_t to = from;
        double piece = 0;
        while (to < ranges.size() && piece < kPieceWork)
            piece += RowWork(ranges[to++].count);
        ParallelFor(static_cast<int>(to - from) * curves, [&](int k) {
            const RowRange& range = ranges[from + std::size_t(k / curves)];
            rows[range.row].cells[k % curves + 1] =
                Cell(*range.statistic, curves_[std::size_t(k % curves)], range.first, range.count);
        });
        if (work && !work->Add(piece))
            return false;
        from = to;
    }
    return true;
}

ReportRow TStatisticsReport::HeaderRow(std::vector<int>& widths) const
{
    ReportRow header;
    header.cells << QString();
    widths.assign(1, 0);
    for (int curve : curves_) {
        const QString name = QString::fromStdString(document_.GetCurveName(curve));
        header.cells << name;
        widths.push_back(static_cast<int>(name.size()));
    }
    return header;
}

QString TStatisticsReport::BuildIntervalTable(const StatFunc_struct& statistic) const
{
    return *IntervalTable(statistic, nullptr);
}

QString TStatisticsReport::BuildWholeRangeTable() const
{
    return *WholeRangeTable(nullptr);
}

std::optional<QString> TStatisticsReport::IntervalTable(const StatFunc_struct& statistic, Work* work) const
{
    std::vector<int> widths;
    std::vector<ReportRow> rows{HeaderRow(widths)};
    std::vector<RowRange> ranges;
    for (const IntervalRow& interval : intervalRows_) {
        if (interval.found)
            ranges.push_back({AddDataRow(rows, interval.text), &statistic, interval.first, interval.count});
        else
            rows.push_back({{interval.text}, true});
    }
    if (!FillCells(rows, ranges, work))
        return std::nullopt;
    ColumnWidths(rows, 1, static_cast<int>(rows.size()), widths);
    return TableText(rows, widths);
}

std::optional<QString> TStatisticsReport::WholeRangeTable(Work* work) const
{
    std::vector<int> widths;
    std::vector<ReportRow> rows{HeaderRow(widths)};
    std::vector<RowRange> ranges;
    for (const StatFunc_struct& statistic : ReportStatistics())
        ranges.push_back({AddDataRow(rows, statistic.Name + QLatin1Char(':')), &statistic, 0, document_.GetPointCount()});
    if (!FillCells(rows, ranges, work))
        return std::nullopt;
    ColumnWidths(rows, 1, static_cast<int>(rows.size()), widths);
    return TableText(rows, widths);
}

void TStatisticsReport::ColumnWidths(const std::vector<ReportRow>& rows, int from, int to, std::vector<int>& widths)
{
    for (int r = std::max(from, 0); r < std::min<int>(to, static_cast<int>(rows.size())); ++r) {
        if (rows[r].message)
            continue;
        const QStringList& cells = rows[r].cells;
        for (int j = 0; j < cells.size(); ++j) {
            const int length = static_cast<int>(cells[j].size());
            if (j < static_cast<int>(widths.size()))
                widths[j] = std::max(widths[j], length);
            else
                widths.push_back(length);
        }
    }
}

QString TStatisticsReport::TableText(const std::vector<ReportRow>& rows, std::vector<int> widths)
{
    QString text;
    for (const ReportRow& row : rows) {
        if (row.message) {
            text += row.cells.value(0);
        } else {
            for (int j = 0; j < row.cells.size(); ++j)
                text += row.cells[j].rightJustified((j < static_cast<int>(widths.size()) ? widths[j] : 0) + 2);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

std::optional<QStringList> TStatisticsReport::Build(int sections, const Progress& progress) const
{
    const bool byInterval = (sections & ByInterval) && !intervals_.List.empty();
    const auto statistics = static_cast<double>(ReportStatistics().size());
    Work work{progress};
    for (const IntervalRow& interval : intervalRows_)
        work.total += byInterval && interval.found ? statistics * RowWork(interval.count) : 0.0;
    work.total += (sections & WholeRange) ? statistics * RowWork(document_.GetPointCount()) : 0.0;
    QStringList lines;
    int n = 1;
    const QString step = platform::LasNumberText(document_.GetStep(), document_.GetDepthDecimals());
    if (sections & Summary) {
        const TLasParsSection& well = document_.GetParser().GetWellSection();
        QString file = platform::ShownFileName(document_.GetFileName());
        const qsizetype cut = std::max({file.lastIndexOf(QLatin1Char('/')), file.lastIndexOf(QLatin1Char('\\')),
                                        file.lastIndexOf(QLatin1Char(':'))});
        file = file.mid(cut + 1);
        lines << QString::number(n) + QStringLiteral(". Общие сведения о файле:") << kRule << QString()
              << QStringLiteral("Имя файла:\t\t") + file
              << QStringLiteral("Дата исследований:\t") + HeaderValue(document_, FindDateLine(well))
              << QStringLiteral("Площадь:\t\t") + HeaderValue(document_, well.GetFldLine())
              << QStringLiteral("Кровля:\t\t") + platform::RowDepthText(document_, 0)
              << QStringLiteral("Подошва:\t\t") + platform::RowDepthText(document_, document_.GetPointCount() - 1)
              << QStringLiteral("Шаг:\t\t\t") + step
              << QStringLiteral("NULL:\t\t\t") + Fixed2(document_.GetNullValue())
              << QStringLiteral("Точек:\t\t\t") + QString::number(document_.GetPointCount())
              << QStringLiteral("Загружено Кривых:\t") + QString::number(document_.GetCurvesCount() - 1)
              << QStringLiteral("Выбрано кривых:\t") + QString::number(selected_) << QString() << kRule
              << QString();
        ++n;
    }
    if (byInterval) {
        const auto active = std::count_if(intervals_.List.begin(), intervals_.List.end(),
                                          [](const IntervalItem& item) { return item.Active; });
        lines << QString::number(n) + QStringLiteral(". Поинтервальная статистика (сгруппировано по типам значений):")
              << QString() << QStringLiteral("Всего активных интервалов:\t") + QString::number(active) << QString();
        static const char* const titles[] = {
            ". Средние значения кривых в интервалах:\n", ". Среднеквадратические отклонения кривых в интервалах:\n",
            ". Минимальные значения кривых в интервалах:\n", ". Глубины минимальных значений:\n",
            ". Максимальные значения кривых в интервалах:\n", ". Глубины максимальных значений:\n"};
        for (int k = 1; k <= 6; ++k) {
            lines << QString::number(n) + QLatin1Char('.') + QString::number(k) + QString::fromUtf8(titles[k - 1]);
            const std::optional<QString> table = IntervalTable(ReportStatistics()[k - 1], &work);
            if (!table)
                return std::nullopt;
            lines << *table;
            if (k < 6)
                lines << QStringLiteral("\t\t\t***") << QString();
        }
        lines << QString() << kRule << QString();
        ++n;
    }
    if (sections & WholeRange) {
        lines << QString::number(n) + QStringLiteral(". Статистика по всему загруженному интервалу:")
              << QStringLiteral("\t( ") + platform::RowDepthText(document_, 0) + QStringLiteral(" : ") +
                     platform::RowDepthText(document_, document_.GetPointCount() - 1) + QStringLiteral(" ) ") +
                     QString::fromStdString(document_.GetCurveUnit(0))
              << QStringLiteral("\tТочек: ") + QString::number(document_.GetPointCount()) +
                     QStringLiteral(";\tШаг: ") + step
              << QString();
        const std::optional<QString> table = WholeRangeTable(&work);
        if (!table)
            return std::nullopt;
        lines << *table;
    }
    return lines;
}
