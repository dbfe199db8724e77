// Where the rows of a loaded LAS document can be read again: the file they came from, as it was
// when read. Writers copy the rows nobody changed from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What tells one version of a file from another: a file replaced, rewritten or touched differs.
struct LasFileStamp {
    long long size = 0;
    long long modifiedNs = 0;
    unsigned long long inode = 0;
    unsigned long long device = 0;

    static std::optional<LasFileStamp> Of(const std::string& path);
    bool operator==(const LasFileStamp&) const = default;
};

struct LasDataSource {
    std::string path;  // empty: the rows have no source
    LasFileStamp stamp;
    long long dataOffset = 0;  // first byte after the ~A title line
    int rows = 0;
    int columns = 0;  // values per row: the ~C curves when read
    bool wrapped = false;
    // The depth texts of the first and last rows in file order.
    std::string firstDepthText;
    std::string lastDepthText;
    // Line end of the file's first line; new lines of a save end with it.
    std::string lineEnd = "\r\n";
    // Per document curve, its column in the source rows; -1 for a curve added since.
    std::vector<int> curveColumns;
    // Per source column, the decimals its curve was given: a curve given others since is
    // formatted anew.
    std::vector<int> decimals;
    // The last row of the file read had a value for every curve.
    bool lastRowComplete = true;
    // Every value of the file's ~A section was read: none beyond the curves, no '~' line inside.
    bool whole = true;

    // The file is still there as it was read.
    bool IsAvailable() const;
};

// The header lines of the source with their own line ends, in file order, so that a write gives an
// unchanged line the line end it was read with even where a file mixes them.
class LasHeaderLineEnds {
public:
    void Read(const LasDataSource& source);
    // The line end of the next source line with this text (searched a few lines ahead of the last
    // one found); `fallback` when there is none.
    std::string_view Find(std::string_view text, std::string_view fallback);

private:
    std::vector<std::string> texts_;
    std::vector<std::string> ends_;
    size_t next_ = 0;
};
