// The title table: a two-dimensional array of cells that follows the shape of its draw grid,
// with its editing operations, its template file, its painting and its macro substitution.
#pragma once

#include "printing/Q7Cell.h"
#include "printing/Q7CellGridShape.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
class Canvas;
}

using TQ7CellsArray1D = std::vector<TQ7DrawGridCell>;
using TQ7CellsArray1DVector = std::vector<TQ7CellsArray1D>;

// Results of TQ7CellsArray::LoadFromFile.
enum TTitleLoadResult : int {
    ttmLoaded = 0,
    ttmCannotOpen = 1,
    ttmNoSignature = 2,
    ttmBadSignature = 3,
    ttmBadCounts = 4,
    ttmNoReserved = 5,
    ttmNoSizes = 6,
    ttmBadCell = 7,
};
// Why a template could not be loaded, as the user is told.
std::string TitleLoadResultText(int code);

// Border modes of SetBorders and GetBorders.
enum TBorderMode : int { bmMixed = 0, bmAll = 1, bmNone = 2, bmInner = 3, bmOuter = 4 };

// A cell text or face name that the template file's code page cannot hold.
struct TUnencodableText {
    int col = -1;
    int row = -1;
    std::string character;  // the first character that cannot be held (UTF-8)
    std::string text;       // the text it stands in
};

class TQ7CellsArray {
public:
    // Rows and columns a table may have: the file reader, the inserts, the count setters
    // and the writer all keep to it.
    static constexpr int kMaxCount = 4096;

    TQ7CellsArray();

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColCount() const { return rows_.empty() ? 0 : static_cast<int>(rows_[0].size()); }
    TQ7DrawGridCell& Cell(int col, int row);
    const TQ7DrawGridCell& Cell(int col, int row) const;
    const TQ7CellFormat& DefaultFormat() const { return defaultFormat_; }

    // Shape. Row changes give new rows max(1, ColCount) fresh cells; column changes
    // touch existing rows only, so an empty array is shaped with Resize. Counts above
    // kMaxCount are refused.
    void SetRowCount(int n);
    void SetColCount(int n);
    // Both counts at once (each at least 1); every row ends with exactly `cols` cells.
    void Resize(int cols, int rows);
    bool MatchesShape(const TQ7GridShape& grid) const;
    // Same counts and, cell by cell, the same formats and contents (the file's content).
    bool SameCells(const TQ7CellsArray& other) const;

    // Change the array and the grid together; ignored without a grid, outside the
    // non-fixed rows (columns), when one non-fixed row (column) would not remain, at
    // kMaxCount rows (columns), or when the array does not have the grid's shape.
    void InsertRow(int row, TQ7GridShape* grid);
    void InsertCol(int col, TQ7GridShape* grid);
    void DeleteRow(int row, TQ7GridShape* grid);
    void DeleteCol(int col, TQ7GridShape* grid);

    // Deep copy of the source's cells, shaped to the source grid, and of that grid's shape
    // into `targetGrid`; this array's default format stays.
    void CopyFrom(const TQ7GridShape& sourceGrid, const TQ7CellsArray& source, TQ7GridShape& targetGrid);

    // Formats of a range; an invalid range is ignored.
    void SetFormat(const TCellRange& range, const TQ7CellFormat* format = nullptr);
    // Width in 0.1 mm, applied when at least 1.
    void SetBorders(const TCellRange& range, int mode, int width);
    // Mode of TBorderMode and the common width (-1 when none); outputs untouched for an
    // invalid range.
    void GetBorders(const TCellRange& range, int& mode, int& width) const;

    // Template file (".ttm"). Saving shapes the array to the grid first; it writes nothing
    // and returns false for a grid beyond kMaxCount or a text the file cannot hold.
    bool SaveToFile(const std::string& path, const TQ7GridShape& grid);
    // The first cell (row by row) whose text or face name CP1251 cannot hold; false when none.
    bool FindUnencodable(TUnencodableText& found) const;
    // A TTitleLoadResult; array and grid change only when the whole file was read.
    int LoadFromFile(const std::string& path, TQ7GridShape& grid);

    // Draws the range at device scale (pixels per centimetre); alignment 1 right,
    // 2 centre, others left. Returns the drawn height in device pixels.
    int DrawTitle(platform::Canvas& canvas, const TQ7GridShape& grid, int leftX, int topY, int width, int bottom,
                  int offset, int alignment, bool fitToWidth, double hScale, double vScale, const TCellRange& range);
    // Height in device pixels the range's rows take at `scale` pixels per centimetre.
    int TitleHeight(double scale, const TCellRange& range, const TQ7GridShape& grid) const;

    // Macro names (upper case, each once) found between the delimiters in the range.
    void CollectMacros(const TCellRange& range, char32_t leftDelimiter, char32_t rightDelimiter,
                       std::vector<std::string>& names) const;
    // Replaces the pattern by the value; a lower-case text letter matches an upper-case
    // pattern letter. Returns the number of replacements.
    int ReplaceInCells(std::string_view pattern, std::string_view value, const TCellRange& range);
    // Replaces every "#expression#" of the range by its value (two decimals, the user's
    // decimal separator); one that cannot be computed stays as typed, followed by " (?)".
    // Commas separate function arguments, elsewhere they are decimal commas.
    void EvaluateExpressions(const TCellRange& range);
    // Each (pattern, value) replaced as by ReplaceInCells and the expressions computed, the
    // expressions being found before the values come in: a value is never computed.
    void SubstituteMacros(const std::vector<std::pair<std::string, std::string>>& macros, const TCellRange& range);

private:
    bool IsValidRange(const TCellRange& range) const;
    // A fresh cell in the array's default format, as added columns and inserted rows get.
    TQ7DrawGridCell DefaultCell() const;

    TQ7CellsArray1DVector rows_;
    TQ7CellFormat defaultFormat_;
};
