// The ~A rows of a write: copied from the source file where the values are unchanged, formatted
// where they are not.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <deque>
#include <optional>

#include "core/LasLineReader.h"
#include "core/LasNumbers.h"
#include "core/LasParser2.h"
#include "core/LasWriteParts.h"

namespace {

struct Token {
    size_t begin;
    size_t end;
};

// Where the text written for a token stands: in the line read or among the new texts.
struct TextSpan {
    size_t begin;
    size_t size;
    bool isNew;
};

void Tokenize(std::string_view line, std::vector<Token>& tokens)
{
    tokens.clear();
    size_t p = 0;
    const size_t size = line.size();
    for (;;) {
        while (p < size && IsLasBlank(line[p]))
            ++p;
        if (p == size)
            return;
        const size_t begin = p;
        while (p < size && !IsLasBlank(line[p]))
            ++p;
        tokens.push_back({begin, p});
    }
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
                        const std::vector<std::string>* sourceTokens,
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
        : columns_(static_cast<size_t>(source.columns)), wrapped_(source.wrapped)
    {
        open_ = lines_.Open(source.path, source.dataOffset);
    }

    bool Next(std::vector<std::string>& row)
    {
        row.clear();
        if (!wrapped_) {
            while (row.empty() && ReadLine())
                for (const Token& t : tokens_)
                    row.emplace_back(line_.substr(t.begin, t.end - t.begin));
            return !row.empty();
        }
        while (values_.size() < columns_ && ReadLine())
            for (const Token& t : tokens_)
                values_.emplace_back(line_.substr(t.begin, t.end - t.begin));
        const size_t taken = std::min(columns_, values_.size());
        for (size_t i = 0; i < taken; ++i) {
            row.push_back(std::move(values_.front()));
            values_.pop_front();
        }
        return !row.empty();
    }

private:
    // The next line holding values into tokens_; false at the end of the data.
    bool ReadLine()
    {
        std::string_view text;
        while (open_ && lines_.NextLine(text)) {
            const DataLine kind = KindOf(text);
            if (kind == DataLine::End)
                break;
            if (kind == DataLine::Values) {
                line_ = text;
                Tokenize(line_, tokens_);
                return true;
            }
        }
        open_ = false;
        return false;
    }

    LasLineReader lines_;
    size_t columns_;
    bool wrapped_;
    bool open_ = false;
    std::string_view line_;
    std::vector<Token> tokens_;
    std::deque<std::string> values_;  // wrapped: values read ahead of the row
};

// Rows formatted in aligned columns, each value keeping its source text where it can.
void WriteFormattedRows(LasTextOut& out, const LasRowFormat& format, const LasWrittenRows& rows,
                        const LasDataSource* source, const std::vector<int>& sourceColumns)
{
    std::string& text = out.Text();
    std::optional<SourceRows> reader;
    if (source)
        reader.emplace(*source);
    std::vector<std::string> tokens;
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

// A source line with some value texts replaced: a new text ends where the old one ended when it
// fits there, else follows the text before it after a blank; blanks between texts that kept their
// places are copied.
void AppendRebuiltLine(std::string& out, std::string_view line, const std::vector<Token>& tokens,
                       const std::vector<TextSpan>& spans, std::string_view newTexts)
{
    const size_t base = out.size();
    size_t previousEnd = 0;
    for (size_t t = 0; t < tokens.size(); ++t) {
        const Token& token = tokens[t];
        const TextSpan& span = spans[t];
        const std::string_view text = (span.isNew ? newTexts : line).substr(span.begin, span.size);
        const size_t column = out.size() - base;
        const size_t start = token.end > text.size() ? token.end - text.size() : 0;
        if (column == previousEnd && start == token.begin)
            out.append(line.substr(previousEnd, token.begin - previousEnd));
        else if (start > column || (t == 0 && start == column))
            out.append(start - column, ' ');
        else if (t > 0)
            out += ' ';
        out += text;
        previousEnd = token.end;
    }
    if (out.size() - base == previousEnd)
        out.append(line.substr(previousEnd));
}

// Rows written line for line from the source: every source row is a written row or one that the
// write leaves out (rows of a depth range, every k-th row).
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
                if (kind == DataLine::Kept ? rows_.IsWhole() : WriteLine(text))
                    Emit(text, lines.LineEnd());
                else if (kind == DataLine::Values && lineText_.size())
                    Emit(lineText_, lines.LineEnd());
            }
        }
        FinishRows();
    }

private:
    // True when the line is written as it stands; else lineText_ holds the line to write (empty:
    // none).
    bool WriteLine(std::string_view line)
    {
        lineText_.clear();
        Tokenize(line, tokens_);
        const size_t columns = format_.Columns();
        if (!source_.wrapped) {
            const long long sample = NextRowSample();
            if (sample < 0 || !rows_.Writes(sample))
                return false;
            const size_t values = std::min(tokens_.size(), columns);
            changed_ = false;
            PrepareTexts();
            for (size_t t = 0; t < values; ++t)
                CheckToken(line, t, t, static_cast<int>(sample));
            // Values the line lacked read as NULL; others given to them since are appended.
            size_t missingEnd = values;
            for (size_t c = values; c < columns; ++c)
                if (!format_.IsNull(c, static_cast<int>(sample)))
                    missingEnd = c + 1;
            if (!changed_ && missingEnd == values)
                return true;
            AppendRebuiltLine(lineText_, line, tokens_, spans_, newTexts_);
            AppendValues(lineText_, values, missingEnd, static_cast<int>(sample));
            return false;
        }
        changed_ = false;
        PrepareTexts();
        for (size_t t = 0; t < tokens_.size(); ++t) {
            if (fileRow_ >= source_.rows)
                break;
            const int sample = static_cast<int>(rows_.SampleOfFileRow(fileRow_, source_.rows));
            CheckToken(line, t, column_, sample);
            if (++column_ == columns) {
                column_ = 0;
                ++fileRow_;
            }
        }
        if (!changed_)
            return true;
        AppendRebuiltLine(lineText_, line, tokens_, spans_, newTexts_);
        return false;
    }

    long long NextRowSample()
    {
        if (fileRow_ >= source_.rows)
            return -1;
        return rows_.SampleOfFileRow(fileRow_++, source_.rows);
    }

    void PrepareTexts()
    {
        spans_.clear();
        for (const Token& t : tokens_)
            spans_.push_back({t.begin, t.end - t.begin, false});
        newTexts_.clear();
    }

    // Token t holds the value of the column at the sample: it keeps its text when it reads as the
    // value, else gets the value's formatted text.
    void CheckToken(std::string_view line, size_t t, size_t column, int sample)
    {
        const Token& token = tokens_[t];
        if (IsTextOfValue(line.substr(token.begin, token.end - token.begin),
                          format_.Value(column, sample)))
            return;
        const size_t begin = newTexts_.size();
        format_.Append(newTexts_, column, sample, 0);
        spans_[t] = {begin, newTexts_.size() - begin, true};
        changed_ = true;
    }

    void AppendValues(std::string& out, size_t from, size_t to, int sample) const
    {
        for (size_t c = from; c < to; ++c) {
            out += ' ';
            format_.Append(out, c, sample, 0);
        }
    }

    void Emit(std::string_view text, std::string_view end)
    {
        out_.Text() += text;
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
                Emit({}, out_.LineEnd());
            }
            ++fileRow_;
        }
        for (; fileRow_ < source_.rows; ++fileRow_) {
            const long long sample = rows_.SampleOfFileRow(fileRow_, source_.rows);
            if (!rows_.Writes(sample))
                continue;
            startLine();
            AppendFormattedRow(text, format_, static_cast<int>(sample), nullptr, {});
            Emit({}, out_.LineEnd());
        }
    }

    LasTextOut& out_;
    const LasRowFormat& format_;
    const LasWrittenRows& rows_;
    const LasDataSource& source_;
    long long fileRow_ = 0;  // source rows met
    size_t column_ = 0;      // wrapped: the column of the next value
    bool changed_ = false;
    std::vector<Token> tokens_;
    std::vector<TextSpan> spans_;
    std::string newTexts_;
    std::string lineText_;
    std::string_view lastEnd_ = "\n";
};

} // namespace

bool IsTextOfValue(std::string_view text, float value)
{
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
