// Where the rows of a loaded LAS document can be read again: the file they came from, as it was
// when read, with a summary of its rows that tells a save which of them changed without reading
// them. Writers copy the rows nobody changed from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/LasDepthColumn.h"

// What tells one version of a file from another: a file replaced, rewritten or touched differs.
struct LasFileStamp {
    long long size = 0;
    long long modifiedNs = 0;
    unsigned long long inode = 0;
    unsigned long long device = 0;

    static std::optional<LasFileStamp> Of(const std::string& path);
    bool operator==(const LasFileStamp&) const = default;
};

struct XXH3_state_s;

// A 64-bit hash (xxHash's XXH3) of bytes given in pieces.
class LasHash {
public:
    LasHash();
    ~LasHash();
    LasHash(const LasHash&) = delete;
    LasHash& operator=(const LasHash&) = delete;

    void Add(const void* data, size_t size);
    // The hash of the bytes added since the last call.
    std::uint64_t Take();
    static std::uint64_t Of(const void* data, size_t size);

private:
    XXH3_state_s* state_;
};

// The rows of ~A are summarised in blocks of kLasBlockRows rows, fewer where kLasBlockBytes bytes
// come first, each ending at a line end that ends a row: a few kilobytes for hundreds of
// megabytes.
inline constexpr int kLasBlockRows = 4096;
inline constexpr long long kLasBlockBytes = 1 << 20;

struct LasSourceBlock {
    long long offset = 0;  // its first byte in the file; it ends where the next one begins
    int firstRow = 0;      // in file order
    std::uint64_t bytesHash = 0;
    // Each of its rows is laid out as its first row (the summary's layout), ends its lines with the
    // layout's line end and writes NULL samples with the NULL text: a changed text of its rows can be put
    // in its field without reading the line.
    bool regular = false;
    // Regular with one line per row whose texts start where the layout says (padded after).
    bool starts = false;
};

struct LasRowsSummary {
    std::vector<LasSourceBlock> blocks;
    // Per block, per source column: the hash of the column's values in file order.
    std::vector<std::uint64_t> valueHashes;
    // Per block, per value of its first row: the column its text ends at (starts at, for a block
    // of `starts`), times 2, plus 1 when it starts a line; 0 for a block written without one.
    std::vector<long long> layout;
    std::string layoutLineEnd;  // the blanks after a line's last text and its line end
    long long dataEnd = 0;  // first byte after the rows

    size_t Columns() const { return blocks.empty() ? 0 : valueHashes.size() / blocks.size(); }
    const long long* Layout(size_t block) const { return layout.data() + block * Columns(); }
    int EndRow(size_t block, int rows) const
    {
        return block + 1 < blocks.size() ? blocks[block + 1].firstRow : rows;
    }
    long long EndOffset(size_t block) const
    {
        return block + 1 < blocks.size() ? blocks[block + 1].offset : dataEnd;
    }
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
    // Every row of the file read had a value for every curve.
    bool rowsComplete = true;
    // Every value of the file's ~A section was read: none beyond the curves, no '~' line inside,
    // nothing after a DOS end-of-file byte.
    bool whole = true;
    LasRowsSummary summary;
    // What followed the rows: a DOS end-of-file mark, written again after every row.
    std::string endMark;
    // The description of the depth column its rows were read or written with (see TLASFile); none
    // for uneven depths whose floats give their decimals back.
    std::optional<LasDepthColumn> depths;

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
