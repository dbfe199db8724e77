// The ~A rows of a write: copied from the source file where the values are unchanged, formatted
// where they are not.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "core/LasLineReader.h"
#include "core/LasNumbers.h"
#include "core/LasParser2.h"
#include "core/LasSourceText.h"
#include "core/LasWriteParts.h"

namespace {

// A row in aligned columns; a value keeps its source text where that stays (LasRowFormat::Keeps).
void AppendFormattedRow(std::string& out, const LasRowFormat& format, int sample,
                        const std::vector<std::string_view>* sourceTokens,
                        const std::vector<int>& sourceColumns)
{
    for (size_t c = 0; c < format.Columns(); ++c) {
        if (c > 0)
            out += ' ';
        const int from = sourceTokens && c < sourceColumns.size() ? sourceColumns[c] : -1;
        format.AppendKeeping(out, c, sample, sourceTokens, from, kLasValueWidth);
    }
}

// The hashes of the written columns' values over the file rows [first, end), in file order: the
// samples taken backwards for a file written bottom up.
class ValueHashes {
public:
    const std::vector<std::uint64_t>& Of(const LasRowFormat& format, const LasWrittenRows& rows,
                                         int first, int end, int fileRows)
    {
        hashes_.clear();
        const auto count = static_cast<size_t>(end - first);
        for (size_t c = 0; c < format.Columns(); ++c) {
            const float* values = format.Data(c);
            if (rows.descending) {
                scratch_.resize(count);
                std::reverse_copy(values + (fileRows - end), values + (fileRows - first),
                                  scratch_.begin());
                values = scratch_.data();
            } else {
                values += first;
            }
            hashes_.push_back(LasHash::Of(values, count * sizeof(float)));
        }
        return hashes_;
    }

private:
    std::vector<std::uint64_t> hashes_;
    std::vector<float> scratch_;
};

// The summary of the rows a write puts in its file, block by block, for the file to serve as the
// document's source next; nothing without a summary to fill.
class WrittenSummary {
public:
    WrittenSummary(LasTextOut& out, LasRowsSummary* summary) : out_(out), summary_(summary) {}

    explicit operator bool() const { return summary_ != nullptr; }

    // A block of rows from the file row `firstRow` begins here; `copied`: the source block whose
    // bytes it holds; `layout`: the layout of its first row, as the source block's was (null:
    // none, the block is not regular). Every block gets its place in the layout, so that the
    // summary serves as a source's whatever wrote it.
    void Begin(int firstRow, const std::vector<std::uint64_t>& valueHashes,
               const LasSourceBlock* copied = nullptr, const long long* layout = nullptr)
    {
        if (!summary_)
            return;
        End();
        summary_->blocks.push_back({out_.Bytes(), firstRow, copied ? copied->bytesHash : 0,
                                    copied && copied->regular, copied && copied->starts});
        summary_->valueHashes.insert(summary_->valueHashes.end(), valueHashes.begin(),
                                     valueHashes.end());
        if (layout)
            summary_->layout.insert(summary_->layout.end(), layout, layout + valueHashes.size());
        else
            summary_->layout.resize(summary_->layout.size() + valueHashes.size());
        hashing_ = !copied;
        if (hashing_)
            out_.StartHash();
    }
    void SetRegular(bool regular)
    {
        if (summary_)
            summary_->blocks.back().regular = regular;
    }
    // The rows end here; regular blocks end their lines as those of `layoutFrom`.
    void Finish(const LasRowsSummary* layoutFrom)
    {
        if (!summary_)
            return;
        End();
        summary_->dataEnd = out_.Bytes();
        if (layoutFrom)
            summary_->layoutLineEnd = layoutFrom->layoutLineEnd;
    }

private:
    void End()
    {
        if (hashing_)
            summary_->blocks.back().bytesHash = out_.EndHash();
        hashing_ = false;
    }

    LasTextOut& out_;
    LasRowsSummary* summary_;
    bool hashing_ = false;
};

// The value texts of the source rows in file order; a wrapped row gathers its values over lines.
class SourceRows {
public:
    explicit SourceRows(const LasDataSource& source)
        : columns_(source.wrapped ? static_cast<size_t>(source.columns) : 0)
    {
        open_ = lines_.Open(source.path, source.dataOffset);
    }

    // The texts of the next row, valid until the next call; false at the end of the data.
    bool Next(std::vector<std::string_view>& row)
    {
        row.clear();
        // Texts handed out with the last row are dropped; those read ahead of it stay.
        texts_.erase(0, taken_);
        for (size_t i = row_.size(); i < spans_.size(); ++i)
            spans_[i - row_.size()] = {spans_[i].first - taken_, spans_[i].second};
        spans_.resize(spans_.size() - row_.size());
        row_.clear();
        taken_ = 0;
        // A row per line, or as many values as there are columns.
        while ((columns_ == 0 ? spans_.empty() : spans_.size() < columns_) && ReadLine()) {
        }
        const size_t count = columns_ == 0 ? spans_.size() : std::min(columns_, spans_.size());
        for (size_t i = 0; i < count; ++i) {
            row_.emplace_back(spans_[i]);
            taken_ = spans_[i].first + spans_[i].second;
        }
        for (const auto& [begin, size] : row_)
            row.emplace_back(texts_.data() + begin, size);
        return !row.empty();
    }

private:
    // The value texts of the next line holding values appended; false at the end of the data.
    bool ReadLine()
    {
        std::string_view text;
        while (open_ && lines_.NextLine(text)) {
            const DataLine kind = KindOf(text);
            if (kind == DataLine::End)
                break;
            if (kind == DataLine::Values) {
                size_t begin = 0;
                size_t end = 0;
                while (NextToken(text, end, begin, end)) {
                    spans_.emplace_back(texts_.size(), end - begin);
                    texts_.append(text.substr(begin, end - begin));
                }
                return true;
            }
        }
        open_ = false;
        return false;
    }

    LasLineReader lines_;
    size_t columns_;  // wrapped: values per row; 0: a row per line
    bool open_ = false;
    std::string texts_;                             // value texts read, one after another
    std::vector<std::pair<size_t, size_t>> spans_;  // each text's place in texts_
    std::vector<std::pair<size_t, size_t>> row_;    // the texts handed out last
    size_t taken_ = 0;                              // bytes of texts_ handed out last
};

// Rows formatted in aligned columns, each value keeping its source text where it can.
void WriteFormattedRows(LasTextOut& out, const LasRowFormat& format, const LasWrittenRows& rows,
                        const LasDataSource* source, const std::vector<int>& sourceColumns,
                        LasRowsSummary* written)
{
    std::string& text = out.Text();
    // The source is read only where a written column has its texts there.
    std::optional<SourceRows> reader;
    if (source && std::any_of(sourceColumns.begin(), sourceColumns.end(), [](int c) { return c >= 0; }))
        reader.emplace(*source);
    std::vector<std::string_view> tokens;
    long long sourceRow = -1;  // the row in `tokens`
    bool sourceLeft = reader.has_value();
    const long long count = rows.Count();
    WrittenSummary summary(out, written);
    ValueHashes hashes;
    for (long long n = 0; n < count; ++n) {
        if (summary && n % kLasBlockRows == 0) {
            const auto first = static_cast<int>(n);
            const auto end = static_cast<int>(std::min<long long>(count, n + kLasBlockRows));
            summary.Begin(first, hashes.Of(format, rows, first, end, rows.points));
        }
        const int sample = rows.Sample(n);
        bool fromSource = false;
        if (sourceLeft) {
            const long long wanted = rows.SampleOfFileRow(sample, source->rows);
            while (sourceLeft && sourceRow < wanted)
                sourceLeft = reader->Next(tokens) && (++sourceRow, true);
            fromSource = sourceLeft && sourceRow == wanted;
        }
        AppendFormattedRow(text, format, sample, fromSource ? &tokens : nullptr, sourceColumns);
        out.EndLine();
    }
    summary.Finish(nullptr);
}

// A source line written token by token into `out`, some value texts replaced: a new text ends
// where the old one ended when it fits there, else follows the text before it after a blank;
// blanks between texts that kept their places are copied. Bytes that stay in place are copied in
// one piece when something differs or the line ends.
class RebuiltLine {
public:
    RebuiltLine(std::string& out, std::string_view line) : out_(out), line_(line), base_(out.size())
    {
    }

    // The token [begin, end) written as read.
    void Keep(size_t begin, size_t end)
    {
        if (InPlace()) {
            previousEnd_ = end;
            return;
        }
        const std::string_view text = line_.substr(begin, end - begin);
        Place(begin, end, [text](std::string& out, int width) { AppendLasAligned(out, text, width); });
    }

    // The token [begin, end) written as the text `append(out, width)` appends right-aligned in
    // `width` bytes (none when shorter), formatted straight into the line.
    template <class Append>
    [[gnu::always_inline]] void Place(size_t begin, size_t end, const Append& append)
    {
        if (previousEnd_ != copied_)
            out_.append(line_.data() + copied_, previousEnd_ - copied_);
        const size_t column = out_.size() - base_;
        const size_t at = out_.size();
        if (column > 0)
            out_ += ' ';
        const size_t from = out_.size() - base_;
        append(out_, end > from ? static_cast<int>(end - from) : 0);
        // A text that starts where the old one did keeps the blanks before it as read: they differ
        // from those written where a tab or form feed stands among them.
        if (column == previousEnd_) {
            size_t blank = column;
            while (blank < begin && line_[blank] == ' ')
                ++blank;
            const char* written = out_.data() + base_;
            if (blank < begin && out_.size() - base_ == end && written[begin] != ' ' && written[begin - 1] == ' ')
                std::memcpy(out_.data() + at, line_.data() + column, begin - column);
        }
        copied_ = previousEnd_ = end;
    }

    // The rest of the line as read when the texts before it stand where they were read.
    void Finish()
    {
        if (InPlace())
            out_.append(line_.substr(copied_));
    }

private:
    // The bytes written stand where they were read: line_ [copied_, previousEnd_) follows them.
    bool InPlace() const { return out_.size() - base_ == copied_; }

    std::string& out_;
    std::string_view line_;
    size_t base_;
    size_t previousEnd_ = 0;  // end of the last token met
    size_t copied_ = 0;       // the line before it is written (copied or replaced)
};

// Where the value texts of a row of a regular block stand, from the layout of the source block:
// the bytes of a row with its line ends, and per column the field its text is right-aligned in.
class RowGeometry {
public:
    struct Field {
        size_t blanks;  // the first byte after the text before it on its line, or the line start
        size_t end;     // where its text ends
        bool first;     // it starts its line: no blank needed before it
    };

    void Of(const LasRowsSummary& summary, size_t block)
    {
        const size_t lineEnd = summary.layoutLineEnd.size();
        const long long* layout = summary.Layout(block);
        size_t lineStart = 0;
        size_t previousEnd = 0;
        fields_.clear();
        for (size_t c = 0; c < summary.Columns(); ++c) {
            const bool first = (layout[c] & 1) != 0;
            if (c > 0 && first) {
                lineStart += previousEnd + lineEnd;
                previousEnd = 0;
            }
            const auto end = static_cast<size_t>(layout[c] >> 1);
            fields_.push_back({lineStart + previousEnd, lineStart + end, first});
            previousEnd = end;
        }
        rowBytes_ = lineStart + previousEnd + lineEnd;
    }

    const Field& operator[](size_t column) const { return fields_[column]; }
    size_t RowBytes() const { return rowBytes_; }
    // For a block whose layout gives where the texts of its one-line rows start: where the
    // column's text starts, and its field in the row's bytes, from the blank before it (or the
    // line start) to its end. A new text longer than the old one may fit in more blanks: it is
    // then written line for line.
    size_t Start(size_t column) const { return fields_[column].end; }
    Field StartingField(std::string_view row, size_t column) const
    {
        const size_t start = Start(column);
        return {column == 0 ? 0 : start - 1, LasTextEnd(row, start), column == 0};
    }

private:
    std::vector<Field> fields_;
    size_t rowBytes_ = 0;
};

// Where CannotReadAs finds the point of the texts of a column with `decimals` decimals in
// fields of `width` bytes: its bit offset in their last 8 bytes read as one word; -1 where it
// does not look (none or more than 6 decimals, no room for a units place).
int PointBits(size_t width, int decimals)
{
    if (std::endian::native != std::endian::little || decimals < 1 || decimals > 6 ||
        width < static_cast<size_t>(decimals) + 2)
        return -1;
    return 8 * (7 - decimals);
}

// The bytes of a field of fewer than 8 bytes as one word, blanks before them.
[[gnu::noinline, gnu::cold]] std::uint64_t ShortFieldWord(std::string_view text)
{
    std::uint64_t word = 0x2020202020202020;
    std::memcpy(reinterpret_cast<char*>(&word) + 8 - text.size(), text.data(), text.size());
    return word;
}

// Whether the number text of a field that ends `text`, whose point lies at `point` (PointBits),
// cannot read as `value`; told at a glance for most changed values, false where it is not. A text
// that reads as a float lies within one of its steps (at most |value| * 2^-23) of it, so its
// units and first two decimals, as hundredths taken round (modulo 1000), lie within that and one
// more of those of the value, whatever their signs. They are read from the text's last 8 bytes as
// one word: a point where the decimals put it, digits after it (no exponent), and before it a
// units digit, or a blank or sign standing for 0; a text of one decimal has 0 hundredths.
// shortFields: a field shorter than 8 bytes reads as one with blanks before it, else it is not
// looked at.
template <bool shortFields>
[[gnu::always_inline]] inline bool CannotReadAs(std::string_view text, int point, float value)
{
    if (point < 0 || (!shortFields && text.size() < 8))
        return false;
    std::uint64_t word = 0;  // the last byte highest
    if (!shortFields || text.size() >= 8) [[likely]]
        std::memcpy(&word, text.data() + text.size() - 8, 8);
    else
        word = ShortFieldWord(text);
    // The units byte lowest, then the point and the decimals, as digits; zeros past the text's end.
    const std::uint64_t around = (word ^ 0x3030303030303030) >> (point - 8);
    // The high bit of each byte after the point that is not a digit.
    const std::uint64_t others =
        (((around & 0x7F7F7F7F7F7F0000) + 0x7676767676760000) | around) & 0x8080808080800000;
    if (((around >> 8) & 0xFF) != ('.' ^ '0') || others != 0)
        return false;
    const double scaled = std::fabs(static_cast<double>(value)) * 100.0;
    if (!(scaled < 1e9))
        return false;
    const auto units = static_cast<int>(around & 0xFF);
    const int source = (units <= 9 ? 100 * units : 0) + 10 * static_cast<int>((around >> 16) & 0xFF) +
                       static_cast<int>((around >> 24) & 0xFF);
    const auto hundredths = static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled));
    const int gap = std::abs(source - static_cast<int>(hundredths % 1000));
    // More than hundredths * 2^-23 + 1, in whole hundredths with one to spare, either way round.
    const int spare = static_cast<int>((hundredths + 1) >> 23) + 2;
    return static_cast<unsigned>(gap - spare - 1) < static_cast<unsigned>(999 - 2 * spare);
}

// Rows written line for line from the source, block by block of its summary: every source row
// is a written row or one that the write leaves out (rows of a depth range, every k-th row). A
// value text that reads as the document's value stays; the others are replaced by the value's
// formatted text. Only the columns whose values changed in a block are looked at. Rows the source
// lacked values in are written whole unless every row is copied as read.
class SameLayoutRows {
    // What the writer knows of a column in the block being written.
    struct ColumnState {
        const float* values = nullptr;  // the column's values by sample
        std::int8_t pointBits = -1;      // PointBits of its fields in a regular block
        std::int8_t widePointBits = -1;  // PointBits of a field of 8 bytes or more
        bool changed = false;            // its values changed in the block
        bool typed = false;              // a text is typed for a value of the block
    };

public:
    SameLayoutRows(LasTextOut& out, const LasRowFormat& format, const LasWrittenRows& rows,
                   const LasDataSource& source, bool completeRows, LasRowsSummary* written)
        : out_(out),
          format_(format),
          rows_(rows),
          source_(source),
          wholeRows_(!source.rowsComplete && (completeRows || !CopiesEveryRow())),
          written_(out, written),
          states_(format.Columns()),
          depthsDiffer_(format.DepthsDifferFrom(source))
    {
        for (size_t c = 0; c < states_.size(); ++c) {
            states_[c].values = format_.Data(c);
            states_[c].widePointBits = static_cast<std::int8_t>(PointBits(8, format_.Decimals(c)));
        }
    }

    // False when rows lacking values are copied short.
    bool Write()
    {
        const LasRowsSummary& summary = source_.summary;
        const size_t columns = format_.Columns();
        SourceBytes bytes(source_.path);
        for (size_t b = 0; b < summary.blocks.size(); ++b) {
            const LasSourceBlock& block = summary.blocks[b];
            const int end = summary.EndRow(b, source_.rows);
            const std::vector<std::uint64_t>& hashes =
                hashes_.Of(format_, rows_, block.firstRow, end, source_.rows);
            changedColumns_.clear();
            const auto firstSample = static_cast<int>(rows_.SampleOfFileRow(block.firstRow, source_.rows));
            const auto lastSample = static_cast<int>(rows_.SampleOfFileRow(end - 1, source_.rows));
            for (size_t c = 0; c < columns; ++c) {
                ColumnState& state = states_[c];
                state.typed = format_.AnyTyped(c, std::min(firstSample, lastSample), std::max(firstSample, lastSample));
                // A typed text may differ from the source's text of the same float.
                state.changed = hashes[c] != summary.valueHashes[b * columns + c] || (c == 0 && depthsDiffer_) ||
                                state.typed;
                if (state.changed)
                    changedColumns_.push_back(c);
            }
            fileRow_ = block.firstRow;
            if (!WritesAny(block.firstRow, end))
                continue;
            const std::string_view text = bytes.Read(block.offset, summary.EndOffset(b) - block.offset);
            const long long* layout = summary.Layout(b);
            if (block.regular)
                TakeGeometry(b);
            if (LasHash::Of(text.data(), text.size()) != block.bytesHash) {
                // Rewritten behind the program's back: nothing of it is copied.
                written_.Begin(block.firstRow, hashes, nullptr, layout);
                WriteFormatted(end);
            } else if (changedColumns_.empty() && rows_.IsWhole() && (!wholeRows_ || !LacksValues(b))) {
                written_.Begin(block.firstRow, hashes, &block, layout);
                out_.Append(text);
                lineOpen_ = !text.empty() && text.back() != '\n' && text.back() != '\r';
            } else if (block.regular && (block.starts || text.size() == static_cast<size_t>(end - block.firstRow) *
                                                                            geometry_.RowBytes())) {
                written_.Begin(block.firstRow, hashes, nullptr, layout);
                // New texts end where the old ones ended: texts padded after keep no layout.
                written_.SetRegular(WriteRegularRows(text, block.firstRow, end, block.starts) && !block.starts);
            } else {
                written_.Begin(block.firstRow, hashes, nullptr, layout);
                WriteLines(text);
            }
        }
        FinishRows();
        written_.Finish(&summary);
        return source_.rowsComplete || wholeRows_;
    }

private:
    // The geometry of the rows of a regular block and the PointBits of its fields.
    void TakeGeometry(size_t block)
    {
        geometry_.Of(source_.summary, block);
        for (size_t c = 0; c < format_.Columns() && c < source_.summary.Columns(); ++c)
            states_[c].pointBits = static_cast<std::int8_t>(PointBits(geometry_[c].end - geometry_[c].blanks, format_.Decimals(c)));
    }

    // Whether every row is written and none changed: the rows can be copied as read.
    bool CopiesEveryRow()
    {
        const LasRowsSummary& summary = source_.summary;
        const size_t columns = format_.Columns();
        if (!rows_.IsWhole())
            return false;
        for (size_t b = 0; b < summary.blocks.size(); ++b) {
            const std::vector<std::uint64_t>& hashes =
                hashes_.Of(format_, rows_, summary.blocks[b].firstRow, summary.EndRow(b, source_.rows),
                           source_.rows);
            if (!std::equal(hashes.begin(), hashes.end(), summary.valueHashes.begin() + b * columns))
                return false;
        }
        return true;
    }

    // Whether a row of the block may lack values: one of an irregular block, or the last row,
    // which a wrapped file may cut short in a block regular otherwise.
    bool LacksValues(size_t block) const
    {
        return !source_.rowsComplete && (!source_.summary.blocks[block].regular ||
                                         (source_.wrapped && block + 1 == source_.summary.blocks.size()));
    }

    // Whether the write takes any of the file rows [first, end).
    bool WritesAny(int first, int end) const
    {
        for (int row = first; row < end; ++row)
            if (rows_.Writes(rows_.SampleOfFileRow(row, source_.rows)))
                return true;
        return false;
    }

    // The source lines of a block, each copied or rebuilt.
    void WriteLines(std::string_view text)
    {
        size_t pos = 0;
        std::string_view line;
        std::string_view end;
        while (NextLineOf(text, pos, line, end)) {
            if (KindOf(line) != DataLine::Values) {
                if (rows_.IsWhole()) {
                    out_.Text() += line;
                    Emit(end);
                }
            } else if (WriteLine(line)) {
                Emit(end);
            }
        }
    }

    // The line as written appended to the output; false when the write leaves its row out.
    bool WriteLine(std::string_view line)
    {
        std::string& text = out_.Text();
        RebuiltLine rebuilt(text, line);
        size_t begin = 0;
        size_t end = 0;
        if (!source_.wrapped) {
            if (fileRow_ >= source_.rows)
                return false;
            const auto sample = static_cast<int>(rows_.SampleOfFileRow(fileRow_++, source_.rows));
            if (!rows_.Writes(sample))
                return false;
            size_t column = 0;
            for (; NextToken(line, end, begin, end); ++column)
                WriteToken(rebuilt, line, begin, end, column, sample);
            rebuilt.Finish();
            // Values the line lacked read as NULL: the row is written whole.
            AppendValues(text, column, format_.Columns(), sample);
            return true;
        }
        while (NextToken(line, end, begin, end)) {
            if (fileRow_ >= source_.rows) {
                rebuilt.Keep(begin, end);
                continue;
            }
            const auto sample = static_cast<int>(rows_.SampleOfFileRow(fileRow_, source_.rows));
            WriteToken(rebuilt, line, begin, end, column_, sample);
            if (++column_ == format_.Columns()) {
                column_ = 0;
                ++fileRow_;
            }
        }
        rebuilt.Finish();
        return true;
    }

    // Whether the token [begin, end) keeps its text as the value of the column at the sample: its
    // column is unchanged in the block or the text stays for the value (LasRowFormat::Keeps).
    [[gnu::always_inline]] bool KeepsText(std::string_view line, size_t begin, size_t end, size_t column,
                                          int sample) const
    {
        // Bytes before the token are blanks or other tokens: a point followed by digits alone up to
        // its end is its own, so the line up to it serves as a field, one at the line's start
        // however short.
        if (column >= states_.size() || !states_[column].changed)
            return true;
        const ColumnState& state = states_[column];
        return !CannotReadAs<true>(line.substr(0, end), state.widePointBits, state.values[sample]) &&
               format_.Keeps(column, sample, line.substr(begin, end - begin));
    }

    // The token [begin, end) holds the value of the column at the sample: it keeps its text
    // (KeepsText) or gets the value's typed or formatted text.
    [[gnu::always_inline]] void WriteToken(RebuiltLine& rebuilt, std::string_view line, size_t begin, size_t end,
                                           size_t column, int sample)
    {
        if (KeepsText(line, begin, end, column, sample))
            rebuilt.Keep(begin, end);
        else
            rebuilt.Place(begin, end, [&](std::string& out, int width) { AppendValue(out, column, sample, width); });
    }

    // The rows [first, end) of a regular block, whose bytes are `text`, each in the source's
    // columns, or line for line where a new text does not fit its field; true when every text
    // fitted. starts: the block's rows are lines whose texts start where the layout says.
    bool WriteRegularRows(std::string_view text, int first, int end, bool starts)
    {
        std::string& out = out_.Text();
        const size_t rowBytes = geometry_.RowBytes();
        bool fitted = true;
        // Every line of the block ends as the layout's: a row of `starts` ends at its last byte
        // after the start of its last text.
        const std::string& lineEnd = source_.summary.layoutLineEnd;
        const char last = lineEnd.empty() ? '\n' : lineEnd.back();
        const size_t lastText = starts ? geometry_.Start(source_.summary.Columns() - 1) : 0;
        const bool whole = rows_.IsWhole();
        size_t next = 0;  // where the next row begins
        for (int row = first; row < end; ++row) {
            fileRow_ = row;
            const size_t begin = next;
            if (starts) {
                const size_t from = std::min(begin + lastText, text.size());
                const void* at = std::memchr(text.data() + from, last, text.size() - from);
                next = at ? static_cast<size_t>(static_cast<const char*>(at) - text.data()) + 1 : text.size();
            } else {
                next += rowBytes;
            }
            const auto sample = static_cast<int>(rows_.SampleOfFileRow(row, source_.rows));
            if (!whole && !rows_.Writes(sample))
                continue;
            // The block up to the row's end: the texts' last bytes are read in words.
            const std::string_view bytes = text.substr(0, next);
            const size_t at = out.size();
            if (!(starts ? WriteInFields<true>(out, bytes, begin, sample) : WriteInFields<false>(out, bytes, begin, sample))) {
                out.resize(at);
                fitted = false;
                WriteLines(bytes.substr(begin));
            }
            out_.Flush();
        }
        fileRow_ = end;
        lineOpen_ = false;
        return fitted;
    }

    // The row of `bytes` from `row` appended to `out`: the texts of unchanged columns copied with
    // the bytes around them, those of changed columns formatted in their fields, each kept where
    // it stays for the value; false when a new text does not fit its field. starts: the layout
    // gives where the texts start (see WriteRegularRows).
    template <bool starts>
    bool WriteInFields(std::string& out, std::string_view bytes, size_t row, int sample)
    {
        size_t copied = row;  // the bytes before it are written
        size_t previous = 0;  // the column before it, plus 1
        for (const size_t c : changedColumns_) {
            RowGeometry::Field field = starts ? geometry_.StartingField(bytes.substr(row), c) : geometry_[c];
            // Only blanks stand between a text padded after and the next one.
            if (starts && c > 0 && previous == c)
                field.blanks = copied - row;
            previous = c + 1;
            const size_t begin = row + field.blanks;
            const size_t end = row + field.end;
            if (begin != copied)
                out.append(bytes.data() + copied, begin - copied);
            copied = end;
            const float value = format_.Value(c, sample);
            const size_t width = field.end - field.blanks;
            const ColumnState& state = states_[c];
            const int point = !starts ? state.pointBits : width >= 8 ? state.widePointBits : PointBits(width, format_.Decimals(c));
            // The block up to the field serves as it: only the block's first field is short.
            if (!CannotReadAs<false>(std::string_view(bytes.data(), end), point, value)) {
                const std::string_view text(bytes.data() + begin, end - begin);
                if (format_.Keeps(c, sample, text.substr(text.find_last_of(' ') + 1))) {
                    out += text;
                    continue;
                }
            }
            // A text that does not start its line needs a blank before it.
            const size_t at = out.size();
            AppendValue(out, c, sample, static_cast<int>(end - begin));
            if (out.size() != at + end - begin || (!field.first && out[at] != ' '))
                return false;
        }
        out.append(bytes.substr(copied));
        return true;
    }

    // The rows of a block up to the file row `end`, formatted in aligned columns.
    void WriteFormatted(int end)
    {
        for (; fileRow_ < end; ++fileRow_) {
            const auto sample = static_cast<int>(rows_.SampleOfFileRow(fileRow_, source_.rows));
            if (!rows_.Writes(sample))
                continue;
            AppendFormattedRow(out_.Text(), format_, sample, nullptr, {});
            out_.EndLine();
        }
        lineOpen_ = false;
    }

    // The value's text as LasRowFormat::Append writes it; no typed text is looked for in a column
    // the block has none in.
    void AppendValue(std::string& out, size_t column, int sample, int width) const
    {
        if (states_[column].typed)
            format_.Append(out, column, sample, width);
        else
            format_.AppendUntyped(out, column, sample, width);
    }

    void AppendValues(std::string& out, size_t from, size_t to, int sample) const
    {
        for (size_t c = from; c < to; ++c) {
            out += ' ';
            format_.Append(out, c, sample, 0);
        }
    }

    // Ends the line written with the given line end.
    void Emit(std::string_view end)
    {
        lineOpen_ = end.empty();
        out_.EndLine(end);
    }

    // A last wrapped row the source left incomplete, written whole.
    void FinishRows()
    {
        if (!source_.wrapped || column_ == 0 || fileRow_ >= source_.rows)
            return;
        const int sample = static_cast<int>(rows_.SampleOfFileRow(fileRow_, source_.rows));
        if (lineOpen_)
            out_.EndLine();
        AppendValues(out_.Text(), column_, format_.Columns(), sample);
        Emit(out_.LineEnd());
        ++fileRow_;
    }

    LasTextOut& out_;
    const LasRowFormat& format_;
    const LasWrittenRows& rows_;
    const LasDataSource& source_;
    ValueHashes hashes_;
    bool wholeRows_;  // rows the source lacked values in are written whole
    WrittenSummary written_;
    RowGeometry geometry_;
    std::vector<ColumnState> states_;    // per column
    std::vector<size_t> changedColumns_;  // the columns whose values changed in the block
    long long fileRow_ = 0;      // source rows met
    size_t column_ = 0;          // wrapped: the column of the next value
    bool lineOpen_ = false;  // the last line written has no line end
    bool depthsDiffer_;      // every depth text is judged anew
};

} // namespace

LasRowFormat::LasRowFormat(const TLasParser2Parser& document, const DepthTexts& depths,
                           const std::vector<int>& curves)
    : depths_(depths),
      typed_(document.GetTypedTexts()),
      null_(document.GetNullValue()),
      nullText_(document.GetNullText())
{
    const TStravoFloatArrayList& arrays = document.GetCurveArrays();
    curves_.push_back(0);
    columns_.push_back(arrays.Item(0).Data());
    decimals_.push_back(document.GetDepthDecimals());
    for (int curve : curves) {
        curves_.push_back(curve);
        columns_.push_back(arrays.Item(curve).Data());
        decimals_.push_back(document.GetCurveDecimals()[static_cast<size_t>(curve)]);
    }
}

void LasRowFormat::Append(std::string& out, size_t column, int sample, int width) const
{
    if (const std::string_view typed = Typed(column, sample); !typed.empty())
        AppendLasAligned(out, typed, width);
    else
        AppendUntyped(out, column, sample, width);
}

void LasRowFormat::AppendUntyped(std::string& out, size_t column, int sample, int width) const
{
    if (column == 0)
        depths_.Append(out, sample, width);
    else
        AppendLasValue(out, Value(column, sample), decimals_[column], null_, nullText_, width);
}

void LasRowFormat::AppendKeeping(std::string& out, size_t column, int sample,
                                 const std::vector<std::string_view>* tokens, int from, int width) const
{
    if (tokens && from >= 0 && static_cast<size_t>(from) < tokens->size() &&
        Keeps(column, sample, (*tokens)[static_cast<size_t>(from)]))
        AppendLasAligned(out, (*tokens)[static_cast<size_t>(from)], width);
    else
        Append(out, column, sample, width);
}

int LasSourceColumnOf(const TLasParser2Parser& document, int curve)
{
    const LasDataSource& source = document.GetDataSource();
    const int column = static_cast<size_t>(curve) < source.curveColumns.size()
                           ? source.curveColumns[static_cast<size_t>(curve)]
                           : -1;
    const int decimals = curve == 0 ? document.GetDepthDecimals()
                                    : document.GetCurveDecimals()[static_cast<size_t>(curve)];
    return column >= 0 && static_cast<size_t>(column) < source.decimals.size() &&
                   source.decimals[static_cast<size_t>(column)] == decimals
               ? column
               : -1;
}

bool WriteLasRows(LasTextOut& out, const LasRowFormat& format, const LasWrittenRows& rows,
                  const LasDataSource* source, const std::vector<int>& sourceColumns,
                  bool sameLayout, bool completeRows, LasRowsSummary* written)
{
    if (source && sameLayout)
        return SameLayoutRows(out, format, rows, *source, completeRows, written).Write();
    WriteFormattedRows(out, format, rows, source, sourceColumns, written);
    return true;
}
