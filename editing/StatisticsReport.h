// The text of the statistics report: a file summary and six statistics of chosen curves in every
// active interval and over the whole loaded range.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class IntervalManager;
class TLASFile;

// Statistics over n samples skipping NULL ones; the depth forms also take the depths.
using StatValueFunc = float (*)(int n, float nullValue, const float* values);
using StatDepthFunc = float (*)(int n, float nullValue, const float* values, const float* depths);

float StatMean(int n, float nullValue, const float* values);
float StatDeviation(int n, float nullValue, const float* values);
float StatMin(int n, float nullValue, const float* values);
float StatMax(int n, float nullValue, const float* values);
float StatDepthOfMin(int n, float nullValue, const float* values, const float* depths);
float StatDepthOfMax(int n, float nullValue, const float* values, const float* depths);

struct StatFunc_struct {
    QString Name;
    StatValueFunc ValueFunc = nullptr;
    StatDepthFunc DepthFunc = nullptr;  // used when set
    bool Sample = false;  // the value is one of the curve's, shown with its decimals
};
using StatFunctionsVector = std::vector<StatFunc_struct>;
// The six statistics in report order.
const StatFunctionsVector& ReportStatistics();

// One row of a text table: cell 0 the row title, then one cell per curve. A message row holds
// its text alone and is written as it stands.
struct ReportRow {
    QStringList cells;
    bool message = false;
};

class TStatisticsReport
{
public:
    enum Section : int { Summary = 1, WholeRange = 2, ByInterval = 4 };

    // `selection`: document curve indexes (empty: every curve); `sections`: a mask of Section.
    TStatisticsReport(const TLASFile& document, const std::vector<int>& selection, const IntervalManager& intervals);

    // Told the part of the work done (0 to 1) between pieces of it; false stops the work.
    using Progress = std::function<bool(double part)>;

    // The whole report as blocks of text, each added to the window as one piece; none when
    // `progress` stopped the work.
    std::optional<QStringList> Build(int sections, const Progress& progress) const;
    QStringList Build(int sections) const { return *Build(sections, {}); }
    // The table of one statistic over the active intervals.
    QString BuildIntervalTable(const StatFunc_struct& statistic) const;
    QString BuildWholeRangeTable() const;

    // Widens `widths` to the longest cell of each column over rows [from, to), message rows skipped.
    static void ColumnWidths(const std::vector<ReportRow>& rows, int from, int to, std::vector<int>& widths);
    // Cells right-aligned in their column's width + 2; message rows as their text; a line feed after each row.
    static QString TableText(const std::vector<ReportRow>& rows, std::vector<int> widths);

private:
    // A data row waiting for its curve cells: the statistic over count samples from first.
    struct RowRange {
        std::size_t row = 0;
        const StatFunc_struct* statistic = nullptr;
        int first = 0;
        int count = 0;
    };

    // The work of the cells done so far and in all, told to the progress.
    struct Work {
        const Progress& progress;
        double total = 0;
        double done = 0;
        bool Add(double work);
    };
    // The work of the cells of one data row over `count` samples, in samples read.
    double RowWork(int count) const;

    QString Cell(const StatFunc_struct& statistic, int curve, int first, int count) const;
    // Appends a data row holding its title and an empty cell per included curve; its index.
    std::size_t AddDataRow(std::vector<ReportRow>& rows, const QString& title) const;
    // Computes the curve cells of every ranged row, pieces of rows shared out over the cores in
    // turn; false when `work` was stopped.
    bool FillCells(std::vector<ReportRow>& rows, const std::vector<RowRange>& ranges, Work* work) const;
    ReportRow HeaderRow(std::vector<int>& widths) const;
    std::optional<QString> IntervalTable(const StatFunc_struct& statistic, Work* work) const;
    std::optional<QString> WholeRangeTable(Work* work) const;

    const TLASFile& document_;
    std::vector<int> curves_;  // the included curves in index order
    int selected_ = 0;
    const IntervalManager& intervals_;
    // Each active interval: the title of its rows and its samples, or the message row when no
    // sample lies in it.
    struct IntervalRow {
        QString text;
        bool found = false;
        int first = 0;
        int count = 0;
    };
    std::vector<IntervalRow> intervalRows_;
};
