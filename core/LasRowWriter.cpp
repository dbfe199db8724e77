// The ~A rows of a write: copied from the source file where the values are unchanged, formatted
// where they are not.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

#include "core/LasLineReader.h"
#include "core/LasNumbers.h"
#include "core/LasParser2.h"
#include "core/LasWriteParts.h"

namespace {

// The next value text of a line from `from`: [begin, end); false when none is left.
bool NextToken(std::string_view line, size_t from, size_t& begin, size_t& end)
{
    const size_t size = line.size();
    while (from < size && IsLasBlank(line[from]))
        ++from;
    if (from == size)
        return false;
    begin = from;
    while (from < size && !IsLasBlank(line[from]))
        ++from;
    end = from;
    return true;
}

// What kind of line of the ~A section: rows, lines without values, the next section's title.
enum class DataLine { Values, Kept, End };

DataLine KindOf(std::string_view line)
{
    size_t p = 0;
    while (p < line.size() && IsLasBlank(line[p]))
        ++p;
    if (p == line.size() || line[p] == '#')
        return DataLine::Kept;
    return line[p] == '~' ? DataLine::End : DataLine::Values;
}

void AppendRightAligned(std::string& out, std::string_view text, int width)
{
    if (text.size() < static_cast<size_t>(width))
        out.append(static_cast<size_t>(width) - text.size(), ' ');
    out += text;
}

// A row in aligned columns; a value whose source text reads as the same float keeps that text.
void AppendFormattedRow(std::string& out, const LasRowFormat& format, int sample,
                        const std::vector<std::string_view>* sourceTokens,
                        const std::vector<int>& sourceColumns)
{
    for (size_t c = 0; c < format.Columns(); ++c) {
        if (c > 0)
            out += ' ';
        const int from = sourceTokens && c < sourceColumns.size() ? sourceColumns[c] : -1;
        if (from >= 0 && static_cast<size_t>(from) < sourceTokens->size() &&
            IsTextOfValue((*sourceTokens)[static_cast<size_t>(from)], format.Value(c, sample)))
            AppendRightAligned(out, (*sourceTokens)[static_cast<size_t>(from)], kLasValueWidth);
        else
            format.Append(out, c, sample, kLasValueWidth);
    }
}

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
                        const LasDataSource* source, const std::vector<int>& sourceColumns)
{
    std::string& text = out.Text();
    std::optional<SourceRows> reader;
    if (source)
        reader.emplace(*source);
    std::vector<std::string_view> tokens;
    long long sourceRow = -1;  // the row in `tokens`
    bool sourceLeft = source != nullptr;
    const long long count = rows.Count();
    for (long long n = 0; n < count; ++n) {
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
        if (InPlace())
            previousEnd_ = end;
        else
            Place(begin, end, line_.substr(begin, end - begin));
    }

    // The token [begin, end) written as `text`.
    void Place(size_t begin, size_t end, std::string_view text)
    {
        out_.append(line_.substr(copied_, previousEnd_ - copied_));
        const size_t column = out_.size() - base_;
        const size_t start = end > text.size() ? end - text.size() : 0;
        if (column == previousEnd_ && start == begin)
            out_.append(line_.substr(previousEnd_, begin - previousEnd_));
        else if (start > column)
            out_.append(start - column, ' ');
        else if (column > 0)
            out_ += ' ';
        out_ += text;
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

// Rows written line for line from the source: every source row is a written row or one that the
// write leaves out (rows of a depth range, every k-th row). A value text that reads as the
// document's value stays; the others are replaced by the value's formatted text.
class SameLayoutRows {
public:
    SameLayoutRows(LasTextOut& out, const LasRowFormat& format, const LasWrittenRows& rows,
                   const LasDataSource& source)
        : out_(out), format_(format), rows_(rows), source_(source)
    {
    }

    void Write()
    {
        LasLineReader lines;
        if (lines.Open(source_.path, source_.dataOffset)) {
            std::string_view text;
            while (lines.NextLine(text)) {
                const DataLine kind = KindOf(text);
                if (kind == DataLine::End)
                    break;
                if (kind == DataLine::Kept && rows_.IsWhole())
                    out_.Text() += text;
                if (kind == DataLine::Kept ? rows_.IsWhole() : WriteLine(text))
                    Emit(lines.LineEnd());
            }
        }
        FinishRows();
    }

private:
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
            // Values the line lacked read as NULL; others given to them since are appended.
            size_t missingEnd = column;
            for (size_t c = column; c < format_.Columns(); ++c)
                if (!format_.IsNull(c, sample))
                    missingEnd = c + 1;
            AppendValues(text, column, missingEnd, sample);
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

    // The token [begin, end) holds the value of the column at the sample: it keeps its text when
    // it reads as the value, else gets the value's formatted text.
    void WriteToken(RebuiltLine& rebuilt, std::string_view line, size_t begin, size_t end,
                    size_t column, int sample)
    {
        if (column >= format_.Columns() ||
            IsTextOfValue(line.substr(begin, end - begin), format_.Value(column, sample))) {
            rebuilt.Keep(begin, end);
            return;
        }
        newText_.clear();
        format_.Append(newText_, column, sample, 0);
        rebuilt.Place(begin, end, newText_);
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
        lastEnd_ = end;
        out_.EndLine(end);
    }

    // A last wrapped row the source left incomplete, and rows the source no longer holds.
    void FinishRows()
    {
        std::string& text = out_.Text();
        const auto startLine = [&] {
            if (lastEnd_.empty())
                out_.EndLine();
        };
        if (source_.wrapped && column_ > 0 && fileRow_ < source_.rows) {
            const int sample = static_cast<int>(rows_.SampleOfFileRow(fileRow_, source_.rows));
            size_t missingEnd = column_;
            for (size_t c = column_; c < format_.Columns(); ++c)
                if (!format_.IsNull(c, sample))
                    missingEnd = c + 1;
            if (missingEnd > column_) {
                startLine();
                AppendValues(text, column_, missingEnd, sample);
                Emit(out_.LineEnd());
            }
            ++fileRow_;
        }
        for (; fileRow_ < source_.rows; ++fileRow_) {
            const long long sample = rows_.SampleOfFileRow(fileRow_, source_.rows);
            if (!rows_.Writes(sample))
                continue;
            startLine();
            AppendFormattedRow(text, format_, static_cast<int>(sample), nullptr, {});
            Emit(out_.LineEnd());
        }
    }

    LasTextOut& out_;
    const LasRowFormat& format_;
    const LasWrittenRows& rows_;
    const LasDataSource& source_;
    long long fileRow_ = 0;  // source rows met
    size_t column_ = 0;      // wrapped: the column of the next value
    std::string newText_;
    std::string_view lastEnd_ = "\n";
};

// Whether a plain decimal text ("-12.345": a sign, digits, a point, no exponent) reads as the
// value, told without a general parse: its digits and 10^decimals are exact doubles, so their
// quotient is the number rounded once, and rounding that to a float gives the float of the text
// unless it fell on the midpoint of two floats. Nothing for other texts and for those midpoints.
std::optional<bool> PlainDecimalReadsAs(std::string_view text, float value)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+'))
        ++p;
    std::uint64_t digits = 0;
    const char* const integer = p;
    for (; p != end && static_cast<unsigned char>(*p - '0') <= 9; ++p)
        digits = digits * 10 + static_cast<unsigned char>(*p - '0');
    size_t count = static_cast<size_t>(p - integer);
    size_t decimals = 0;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        for (; p != end && static_cast<unsigned char>(*p - '0') <= 9; ++p)
            digits = digits * 10 + static_cast<unsigned char>(*p - '0');
        decimals = static_cast<size_t>(p - fraction);
        count += decimals;
    }
    // Up to 15 digits are an exact double.
    if (p != end || count == 0 || count > 15)
        return std::nullopt;
    // A number farther from the value than a float's relative step is another float; a multiply
    // tells most changed values apart.
    const double magnitude = static_cast<double>(digits);
    const double scaled = static_cast<double>(value) * kPowers[decimals];
    if (std::fabs((negative ? -magnitude : magnitude) - scaled) > std::fabs(scaled) * 0x1p-22)
        return false;
    const double exact = magnitude / kPowers[decimals];
    // At the midpoint of two floats (the low 29 of the double's 52 fraction bits 1000...) the
    // double rounding may err.
    if ((std::bit_cast<std::uint64_t>(exact) & 0x1FFFFFFFULL) == 0x10000000ULL)
        return std::nullopt;
    const float read = negative ? -static_cast<float>(exact) : static_cast<float>(exact);
    return std::bit_cast<std::uint32_t>(read) == std::bit_cast<std::uint32_t>(value);
}

} // namespace

bool IsTextOfValue(std::string_view text, float value)
{
    if (const std::optional<bool> plain = PlainDecimalReadsAs(text, value))
        return *plain;
    float read = 0.0f;
    const char* end = text.data() + text.size();
    return ParseLasFloat(text.data(), end, read) == end &&
           std::bit_cast<std::uint32_t>(read) == std::bit_cast<std::uint32_t>(value);
}

LasRowFormat::LasRowFormat(const TLasParser2Parser& document, const DepthTexts& depths,
                           const std::vector<int>& curves)
    : depths_(depths), null_(document.GetNullValue()), nullText_(document.GetNullText())
{
    const TStravoFloatArrayList& arrays = document.GetCurveArrays();
    columns_.push_back(arrays.Item(0).Data());
    decimals_.push_back(document.GetDepthDecimals());
    for (int curve : curves) {
        columns_.push_back(arrays.Item(curve).Data());
        decimals_.push_back(document.GetCurveDecimals()[static_cast<size_t>(curve)]);
    }
}

void LasRowFormat::Append(std::string& out, size_t column, int sample, int width) const
{
    if (column == 0)
        depths_.Append(out, sample, width);
    else
        AppendLasValue(out, Value(column, sample), decimals_[column], null_, nullText_, width);
}

void WriteLasRows(LasTextOut& out, const LasRowFormat& format, const LasWrittenRows& rows,
                  const LasDataSource* source, const std::vector<int>& sourceColumns,
                  bool sameLayout)
{
    if (source && sameLayout)
        SameLayoutRows(out, format, rows, *source).Write();
    else
        WriteFormattedRows(out, format, rows, source, sourceColumns);
}
