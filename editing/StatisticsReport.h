// The text of the statistics report: a file summary and six statistics of chosen curves in every
// active interval and over the whole loaded range.
#pragma once

#include <QString>
#include <QStringList>
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

    // The whole report as blocks of text, each added to the window as one piece.
    QStringList Build(int sections) const;
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

    QString Cell(const StatFunc_struct& statistic, int curve, int first, int count) const;
    // Appends a data row holding its title and an empty cell per included curve; its index.
    std::size_t AddDataRow(std::vector<ReportRow>& rows, const QString& title) const;
    // Computes the curve cells of every ranged row, all of them shared out over the cores at once.
    void FillCells(std::vector<ReportRow>& rows, const std::vector<RowRange>& ranges) const;
    ReportRow HeaderRow(std::vector<int>& widths) const;

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
