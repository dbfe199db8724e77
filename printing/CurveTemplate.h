// The curve print template without its window: the document binding, the columns with their
// curves, the depth track and the page size; it composes the pages of the curve diagram.
#pragma once

#include "platform/Canvas.h"
#include "printing/PrintingColumn.h"
#include "printing/PrintingDept.h"

#include <memory>
#include <string>
#include <vector>

class TRxIniFile;

class TCurveTemplate {
public:
    std::vector<const float*> CurveArrays;  // borrowed from the document
    // 3n lines for n curves: the mnemonics, then the units, then the comments.
    std::vector<std::string> CurveInfo;
    std::vector<std::unique_ptr<TPrintingColumn>> Columns;
    std::unique_ptr<TPrintingDept> Dept;
    const float* DepthArray = nullptr;
    float NullValue = 0.0f;
    int PointCount = 0;
    float DepthTrackWidth = 2.0f;  // cm
    int Bound = 0;
    TRxIniFile* Settings = nullptr;  // not owned
    float PageWidthCm = 21.0f;
    float PageHeightCm = 29.7f;
    // Pages before the one the data start on that carry only column headers: a header band
    // taller than the first page goes on over the next pages, a curve's block never cut.
    // 0 when the headers fit on the first page. Set by the layout of the first page.
    int HeaderPages = 0;
    // The depth unit as the document names it (empty: none); scales 1:N are taken in it.
    std::string DepthUnit;

    // Binds the template to a document; drops every column (their curves point into the
    // previous document's arrays).
    void SetSource(const std::vector<const float*>& curveArrays, const std::vector<std::string>& curveInfo,
                   const float* depthArray, float nullValue, float step, float bottom, float top, int pointCount);
    // The document's depth unit; one that gives no length is taken for metres.
    void SetDepthUnit(const std::string& unit);
    // Lets go of the document: columns, curve arrays, depth track (before the arrays are freed).
    void ReleaseSource();
    int AddColumn();
    // The new curve over document curve i in column `column`, or null. A negative column
    // asks for a new one, whose index is written back.
    TCurveForPrinting* AddCurveToColumn(int i, int& column);
    void ClearColumns();
    // Right edge of column i in cm from the page's left edge; 0 for a missing column.
    float ColumnRightEdge(int i) const;
    // The diagram's width in cm: the last column's right edge, or the depth track alone.
    float DiagramWidth() const;
    // Whether any column holds a curve.
    bool HasCurves() const;

    void SetPageWidthCm(float w);
    void SetPageHeightCm(float h);

    // The program-wide grid-line values from the settings ("CurvePrnSec"), or their
    // fallbacks without a settings object.
    void ReadCurvePrnSettings();
    void SetDefaultLineSettings();

    // The first page's length for page 0 drawn into `rect`: the rectangle less the tallest
    // column header, which is returned in cm; a header taller than the rectangle is spread
    // over header pages. Drawing page 0 does this too.
    double LayOutFirstPage(platform::Canvas& canvas, const platform::CanvasRect& rect, float pxY);
    // Draws page `page` into `rect`; page 0 also fixes the first page's length.
    int DrawCurvesPage(platform::Canvas& canvas, int page, const platform::CanvasRect& rect, float pxY, float pxX);
    int GetPageCount() const;
    // Pages; the diagram's width and paper length in cm. Valid after page 0 was drawn.
    int GetPrintSize(float& width, float& length) const;
    // The columns (0-based) whose headers go on beyond the first page, by the last layout.
    std::vector<int> SplitHeaderColumns() const;

    // Replaces the columns with those of a template file, matching curves by mnemonic.
    // Returns the message to show, empty on success; a refused file leaves the columns as
    // they were.
    std::string LoadTemplate(const std::string& path);
    // Writes the columns as a template file from scratch (temporary file renamed over the
    // target). Without columns nothing is written. False, with the reason, when the write
    // failed; the old file is then left as it was.
    bool SaveTemplate(const std::string& path, std::string& error) const;

private:
    // Spreads the header blocks over pages, the first of which has `firstRoom` cm; returns
    // the room of the page the data start on.
    double SpreadHeaders(platform::Canvas& canvas, double firstRoom, float pxY);
    HeaderRange HeadersOn(size_t column, int page) const;
    double HeaderBandOn(int page) const;

    // Per column the first curve whose header block each page up to the data's first carries,
    // then the curve count; per such page the band the blocks take (cm).
    std::vector<std::vector<int>> headerStarts_;
    std::vector<double> headerBands_;
    double headerPagesLength_ = 0.0;  // cm of paper the header-only pages take
};
