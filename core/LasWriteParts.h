// The pieces the LAS writer is made of: its output, the depth texts, the rows written and the ~A
// rows themselves, copied from the source file where nothing changed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/AtomicFile.h"
#include "core/LasNumbers.h"
#include "core/LasSource.h"
#include "core/LasTypedTexts.h"

class LasDepthColumn;
class TLasParser2Parser;

// Text collected in a buffer and written in large blocks to a temporary file renamed over the
// target at Commit. New lines end with the given line end; header lines with the one they were
// read with (see KeepHeaderLineEnds).
class LasTextOut {
public:
    LasTextOut(const std::string& path, std::string lineEnd);

    bool IsOpen() const { return file_.IsOpen(); }
    std::string& Text() { return text_; }
    const std::string& LineEnd() const { return lineEnd_; }
    void KeepHeaderLineEnds(const LasDataSource& source) { headerEnds_.Read(source); }
    // A header line; one rewritten ends as the line it was read as did.
    void Line(std::string_view line) { Line(line, line); }
    void Line(std::string_view line, std::string_view readAs)
    {
        text_ += line;
        EndLine(headerEnds_.Find(readAs, lineEnd_));
    }
    void EndLine() { EndLine(lineEnd_); }
    void EndLine(std::string_view end)
    {
        text_ += end;
        Flush();
    }
    void Flush()
    {
        if (text_.size() >= kFlushSize)
            WriteOut();
    }
    // Bytes copied as they stand; a large piece goes to the file without passing the buffer.
    void Append(std::string_view bytes)
    {
        if (bytes.size() < kDirectSize) {
            text_ += bytes;
            Flush();
            return;
        }
        WriteOut();
        if (hashing_)
            hash_.Add(bytes.data(), bytes.size());
        file_.Write(bytes);
        written_ += static_cast<long long>(bytes.size());
    }
    // The hash of the bytes written between the two calls.
    void StartHash()
    {
        hashing_ = true;
        hashFrom_ = text_.size();
    }
    std::uint64_t EndHash()
    {
        hash_.Add(text_.data() + hashFrom_, text_.size() - hashFrom_);
        hashing_ = false;
        return hash_.Take();
    }
    long long Bytes() const { return written_ + static_cast<long long>(text_.size()); }
    bool Commit()
    {
        WriteOut();
        return file_.Commit();
    }
    int SystemError() const { return file_.SystemError(); }

private:
    static constexpr size_t kFlushSize = 1 << 20;
    static constexpr size_t kDirectSize = 1 << 16;

    void WriteOut()
    {
        if (hashing_) {
            hash_.Add(text_.data() + hashFrom_, text_.size() - hashFrom_);
            hashFrom_ = 0;
        }
        file_.Write(text_);
        written_ += static_cast<long long>(text_.size());
        text_.clear();
    }

    AtomicFileWriter file_;
    std::string lineEnd_;
    std::string text_;
    long long written_ = 0;
    LasHeaderLineEnds headerEnds_;
    LasHash hash_;
    bool hashing_ = false;
    size_t hashFrom_ = 0;  // the bytes of text_ before it are hashed
};

// The samples written: first, first + k, ..., last, in the file's order (bottom up for a file
// read bottom up).
struct LasWrittenRows {
    int first = 0;
    int last = 0;
    int k = 1;
    int points = 0;  // of the document
    bool descending = false;

    long long Count() const { return (last - first) / k + 1; }
    // The sample of the n-th row written.
    int Sample(long long n) const
    {
        return static_cast<int>(first + (descending ? Count() - 1 - n : n) * k);
    }
    bool Writes(long long sample) const
    {
        return sample >= first && sample <= last && (k == 1 || (sample - first) % k == 0);
    }
    bool IsWhole() const { return first == 0 && last == points - 1 && k == 1; }
    // The sample of a row of a file holding `rows` rows in this order.
    long long SampleOfFileRow(long long row, long long rows) const
    {
        return descending ? rows - 1 - row : row;
    }
};

// The depths of the written rows as text: each the decimal depth the document's depth column
// holds for it (exact where a float cannot hold the depth: a deep regular grid, a shifted
// column), rounded to the column's decimals; a depth without one as its float's own text.
class DepthTexts {
public:
    // column: the description of the depth column; null when the depths have none.
    DepthTexts(const TLasParser2Parser& document, const LasDepthColumn* column, int first, int k);
    // Whether rows first, first + k, ..., last all lie on an even grid; STEP is then its step.
    void CheckRows(int last);
    void Append(std::string& out, long long i, int width) const;
    std::string Text(long long i) const;
    // Whether a text of the source is the depth of row i: it reads as the decimal written for it.
    bool IsTextOf(long long i, std::string_view text) const;
    // Whether a row of the source may stand for another depth than its float tells: the depth
    // column is not the one the source was read or written with.
    bool DifferFrom(const LasDataSource& source) const;
    // STEP for the rows written: for every row the STEP line's value (`asRead`, null when there is
    // none) as it stands; else 0 for a line of STEP 0 (`step`, the document's, 0 also when it has
    // none), else the grid's step when they are evenly spaced by `step`, else `step` times k.
    std::string StepText(const char* asRead, float step, bool descending) const;

private:
    const float* depth_;
    const LasDepthColumn* column_;
    int decimals_;
    int first_;
    int k_;
    bool regular_ = false;
};

// The values of the written columns (0: depth) and the text of a value that must be formatted.
class LasRowFormat {
public:
    LasRowFormat(const TLasParser2Parser& document, const DepthTexts& depths,
                 const std::vector<int>& curves);

    size_t Columns() const { return columns_.size(); }
    const float* Data(size_t column) const { return columns_[column]; }
    float Value(size_t column, int sample) const { return columns_[column][sample]; }
    int Decimals(size_t column) const { return decimals_[column]; }
    bool IsNull(size_t column, int sample) const { return Value(column, sample) == null_; }
    // The text typed for the value where the column's formatting would give other digits (see
    // LasTypedTexts::Written); empty for none.
    std::string_view Typed(size_t column, int sample) const
    {
        return column == 0 ? std::string_view()
                           : typed_.Written(curves_[column], sample, Value(column, sample), decimals_[column]);
    }
    // Whether a text is typed for a value of samples [first, last] of the column.
    bool AnyTyped(size_t column, int first, int last) const
    {
        return column != 0 && typed_.AnyIn(curves_[column], first, last + 1);
    }
    // Whether a source text stays for the value: a depth's reads as its decimal; a value's is the
    // text typed for it, or, with none typed, reads as the value.
    bool Keeps(size_t column, int sample, std::string_view text) const
    {
        if (column == 0)
            return depths_.IsTextOf(sample, text);
        const std::string_view typed = Typed(column, sample);
        return typed.empty() ? IsTextOfValue(text, Value(column, sample)) : text == typed;
    }
    // The value as written where its source text does not stay: its typed text, else formatted;
    // right-aligned in width characters.
    void Append(std::string& out, size_t column, int sample, int width) const;
    // As Append, for a value no text is typed for (AnyTyped false for it).
    void AppendUntyped(std::string& out, size_t column, int sample, int width) const;
    // The value's text in the source row `tokens` (null: none) at `from` (-1: not there) where it
    // stays for the value, else as Append writes it.
    void AppendKeeping(std::string& out, size_t column, int sample, const std::vector<std::string_view>* tokens,
                       int from, int width) const;
    // Whether depth texts of the source are to be judged one by one (see DepthTexts::DifferFrom).
    bool DepthsDifferFrom(const LasDataSource& source) const { return depths_.DifferFrom(source); }

private:
    const DepthTexts& depths_;
    const LasTypedTexts& typed_;
    std::vector<int> curves_;  // per column, its document curve
    std::vector<const float*> columns_;
    std::vector<int> decimals_;
    float null_;
    const std::string& nullText_;
};

// The column of the source rows that holds the curve's values as the save takes them: none (-1)
// for a curve added since or given other decimals.
int LasSourceColumnOf(const TLasParser2Parser& document, int curve);

// Writes the rows after the ~A title. With a source whose rows match the written ones line for
// line (`sameLayout`), block by block of its summary: a block whose values hash as read, from
// bytes that hash as read, is copied as one piece when every row is written, or else line for
// line with only the changed texts of its changed columns replaced (lines of comments stay when
// every row is written; a regular block keeps the source's columns); a block whose bytes changed
// behind the program's back is formatted.
// Otherwise each row is formatted in aligned columns, a value keeping its source text where it
// stays (LasRowFormat::Keeps). Without a source every value is formatted. `written`, when given,
// gets the summary of the rows written, for the file to serve as the source next.
// Rows the source lacked values in are written whole (NULL where values were lacking) unless
// every row is copied as read and completeRows does not ask for them whole; false when some
// are written short.
bool WriteLasRows(LasTextOut& out, const LasRowFormat& format, const LasWrittenRows& rows,
                  const LasDataSource* source, const std::vector<int>& sourceColumns,
                  bool sameLayout, bool completeRows, LasRowsSummary* written);
