#include "core/LasDataReader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string_view>
#include <stdexcept>

#include "core/CodePages.h"
#include "core/LasLineReader.h"
#include "core/LasNumbers.h"
#include "core/LasReadDepths.h"
#include "core/MemoryBudget.h"

namespace {

constexpr size_t kBlockSize = 1 << 18;

// Refuses, before anything is allocated, arrays the machine cannot give beside the memory held.
void CheckMemory(long long curves, long long rows, unsigned long long held)
{
    const unsigned long long bytes = static_cast<unsigned long long>(curves) *
                                     static_cast<unsigned long long>(rows) * sizeof(float) + held;
    if (bytes > MemoryForArrays())
        throw std::runtime_error("Недостаточно памяти для загрузки файла (нужно " +
                                 std::to_string((bytes + (1ULL << 20) - 1) >> 20) + " МБ)");
}

// The curve arrays while they are filled: sized from an estimate of the row count, grown
// geometrically when the estimate was short, cut to the rows read at the end.
class ColumnStore {
public:
    ColumnStore(int curveCount, long long estimatedRows, float nullValue, unsigned long long held)
        : nullValue_(nullValue),
          held_(held),
          capacity_(static_cast<int>(std::clamp<long long>(estimatedRows, 1, INT_MAX))),
          columns_(static_cast<size_t>(curveCount))
    {
        CheckMemory(curveCount, capacity_, held_);
        for (int i = 0; i < curveCount; ++i)
            arrays_.Add(TStravoFloatArray(capacity_, nullValue_));
        Refresh();
    }

    float* Column(int i) const { return columns_[static_cast<size_t>(i)]; }
    int Capacity() const { return capacity_; }

    void EnsureRow(int row)
    {
        if (row < capacity_)
            return;
        if (capacity_ == INT_MAX)
            throw std::runtime_error("Файл слишком велик");
        capacity_ =
            static_cast<int>(std::min<long long>(INT_MAX, capacity_ + capacity_ / 2LL + 1024));
        CheckMemory(arrays_.Count(), capacity_, held_);
        for (int i = 0; i < arrays_.Count(); ++i)
            arrays_.Item(i).Resize(capacity_, nullValue_);
        Refresh();
    }

    TStravoFloatArrayList Finish(int rows)
    {
        for (int i = 0; i < arrays_.Count(); ++i)
            arrays_.Item(i).Resize(rows, nullValue_);
        return std::move(arrays_);
    }

private:
    void Refresh()
    {
        for (int i = 0; i < arrays_.Count(); ++i)
            columns_[static_cast<size_t>(i)] = arrays_.Item(i).Data();
    }

    float nullValue_;
    unsigned long long held_;
    int capacity_;
    TStravoFloatArrayList arrays_;
    std::vector<float*> columns_;
};

const char* SkipBlanks(const char* p, const char* end)
{
    while (p != end && IsLasBlank(*p))
        ++p;
    return p;
}

const char* SkipToken(const char* p, const char* end)
{
    while (p != end && !IsLasDelimiter(*p))
        ++p;
    return p;
}

const char* SkipToLineEnd(const char* p, const char* end)
{
    while (p != end && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

// LasDecimals for a token that parsed as a number, fast for the usual "digits.digits": the
// fraction is counted back from the end.
int TokenDecimals(const char* begin, const char* end)
{
    const char* p = end;
    while (p != begin && p[-1] >= '0' && p[-1] <= '9')
        --p;
    if (p == begin)
        return -1;
    if (p[-1] == '.')
        return static_cast<int>(end - p);
    return LasDecimals(std::string_view(begin, static_cast<size_t>(end - begin)));
}

[[noreturn]] void ThrowBadValue(int line, const char* token, const char* end)
{
    constexpr ptrdiff_t kShown = 64;
    const char* tokenEnd = SkipToken(token, end);
    std::string shown;
    for (const char* p = token; p != tokenEnd && p - token < kShown; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            shown += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
        } else {
            shown += *p;
        }
    }
    if (tokenEnd - token > kShown)
        shown += "...";
    throw std::runtime_error("Некорректное значение в строке " + std::to_string(line) +
                             " файла: '" + OemToAnsiString(shown) + "'");
}

// The summary of the rows as they are read (see LasRowsSummary): where each block begins, the
// hashes of its bytes and of each column's values, and whether its rows keep the layout of its
// first row: their texts end where its texts end, or, one line per row, start where they start.
class SummaryBuilder {
public:
    SummaryBuilder(int curveCount, long long dataOffset, bool wrapped)
        : blockStart_(dataOffset),
          wrapped_(wrapped),
          layout_(static_cast<size_t>(curveCount)),
          starts_(static_cast<size_t>(curveCount))
    {
    }

    void Irregular() { regular_ = false; }
    // The first row of the block being read.
    int FirstRow() const { return firstRow_; }
    // Per column, where the block's first row put the end and the start of its value text (see
    // LasRowsSummary::layout); the others are held to them.
    long long* Layout() { return layout_.data(); }
    long long* Starts() { return starts_.data(); }
    // A line of values whose texts left the ends (the starts) of the layout where not 0.
    void Moved(long long ends, long long starts)
    {
        endsMoved_ |= ends != 0;
        startsMoved_ |= starts != 0;
    }
    // A line end [begin, end) at the file offset `next` after it, `blanks` after the line's last
    // value text (-1: the line has none).
    void LineEnd(const char* begin, const char* end, long long next, long long blanks)
    {
        const int kind = end - begin == 2 ? 3 : (*begin == '\r' ? 2 : 1);
        if (lineEndKind_ == 0 && blanks >= 0) {
            lineEndKind_ = kind;
            lineEndBlanks_ = blanks;
        }
        regular_ &= blanks >= 0 && kind == lineEndKind_;
        endsMoved_ |= blanks != lineEndBlanks_;
        lineEndOffset_ = next;
    }
    void Bytes(const char* begin, const char* end)
    {
        hash_.Add(begin, static_cast<size_t>(end - begin));
    }
    bool IsFull(int rows, long long offset) const
    {
        return rows > firstRow_ &&
               (rows - firstRow_ >= kLasBlockRows || offset - blockStart_ >= kLasBlockBytes);
    }
    // Ends the block at the file offset, after `rows` rows.
    void EndBlock(long long offset, int rows, const ColumnStore& store)
    {
        // Texts padded after keep their starts; the blanks before their line ends vary.
        const bool starts = endsMoved_ && !startsMoved_ && !wrapped_;
        const std::vector<long long>& layout = starts ? starts_ : layout_;
        summary_.blocks.push_back({blockStart_, firstRow_, hash_.Take(), regular_ && (!endsMoved_ || starts), starts});
        summary_.layout.insert(summary_.layout.end(), layout.begin(), layout.end());
        const size_t bytes = static_cast<size_t>(rows - firstRow_) * sizeof(float);
        for (size_t c = 0; c < layout_.size(); ++c)
            summary_.valueHashes.push_back(
                LasHash::Of(store.Column(static_cast<int>(c)) + firstRow_, bytes));
        blockStart_ = offset;
        firstRow_ = rows;
        regular_ = true;
        endsMoved_ = false;
        startsMoved_ = false;
    }
    LasRowsSummary Finish(long long dataEnd, int rows, const ColumnStore& store)
    {
        // Bytes after the last line end are no row of the layout.
        regular_ &= dataEnd == lineEndOffset_;
        if (rows > firstRow_ || dataEnd > blockStart_)
            EndBlock(dataEnd, rows, store);
        summary_.dataEnd = dataEnd;
        static const char* const kEnds[] = {"", "\n", "\r", "\r\n"};
        summary_.layoutLineEnd = std::string(static_cast<size_t>(lineEndBlanks_), ' ') + kEnds[lineEndKind_];
        return std::move(summary_);
    }

private:
    LasRowsSummary summary_;
    LasHash hash_;
    long long blockStart_;
    int firstRow_ = 0;
    const bool wrapped_;
    bool regular_ = true;  // but for the texts' places
    bool endsMoved_ = false;
    bool startsMoved_ = false;
    std::vector<long long> layout_;
    std::vector<long long> starts_;
    int lineEndKind_ = 0;  // 1: LF, 2: CR, 3: CR LF
    long long lineEndBlanks_ = 0;  // before the line end of a row of the layout
    long long lineEndOffset_ = -1;
};

// The rows read so far and what is known of them; fed whole lines, block by block.
class RowParser {
public:
    RowParser(int curveCount, float nullValue, const std::string& nullText, bool wrapped,
              int firstLine, long long dataOffset, long long rows, unsigned long long held)
        : curveCount_(curveCount),
          nullValue_(nullValue),
          nullText_(nullText),
          wrapped_(wrapped),
          line_(firstLine),
          store_(curveCount, rows, nullValue, held),
          decimals_(static_cast<size_t>(curveCount), -1),
          summary_(curveCount, dataOffset, wrapped)
    {
    }

    // Parses the lines of [p, end), which starts a line and ends at a line end or the end of the
    // file, at the file offset `offset`; false when a line starting with '~' ends the data.
    [[gnu::noinline]] bool ParseLines(const char* p, const char* end, long long offset)
    {
        const char* const chunk = p;
        const char* hashed = p;
        lineStart_ = p;
        valuesEnd_ = nullptr;
        while (p != end) {
            p = SkipSpaces(p, end);
            if (p == end)
                break;
            if (*p == '\r' || *p == '\n') {
                const char* const lineEnd = p;
                const long long blanks = valuesEnd_ && valuesEnd_ >= lineStart_ ? lineEnd - valuesEnd_ : -1;
                p += (*p == '\r' && p + 1 != end && p[1] == '\n') ? 2 : 1;
                ++line_;
                lineStart_ = p;
                const long long next = offset + (p - chunk);
                summary_.LineEnd(lineEnd, p, next, blanks);
                if (col_ == 0 && summary_.IsFull(row_, next)) {
                    summary_.Bytes(hashed, p);
                    hashed = p;
                    summary_.EndBlock(next, row_, store_);
                }
                continue;
            }
            if (*p == '#') {
                summary_.Irregular();
                p = SkipToLineEnd(p, end);
                continue;
            }
            if (*p == '~') {
                stopLine_ = line_;
                return false;
            }
            p = ParseLineValues(p, end);
            if (!wrapped_ && col_ > 0) {
                lastRowLine_ = rowLine_;
                lastRowMissing_ = curveCount_ - col_;  // they stay NULL
                if (lastRowMissing_ > 0) {
                    summary_.Irregular();
                    if (shortRows_++ == 0)
                        shortRowLine_ = rowLine_;
                }
                ++row_;
                col_ = 0;
            }
        }
        summary_.Bytes(hashed, end);
        return true;
    }

    LasDataColumns Finish(long long dataEnd)
    {
        if (col_ > 0) {
            lastRowLine_ = rowLine_;
            lastRowMissing_ = curveCount_ - col_;
            ++row_;
        }
        if (row_ == 0)
            throw std::runtime_error("Файл не содержит данных");
        LasDataColumns result;
        result.firstDepthText = std::move(firstDepth_);
        result.lastDepthText = std::move(lastDepth_);
        result.lastRowLine = lastRowLine_;
        result.lastRowMissing = lastRowMissing_;
        // The last row is reported on its own.
        result.shortRows = shortRows_ - (!wrapped_ && lastRowMissing_ > 0 ? 1 : 0);
        result.shortRowLine = result.shortRows > 0 ? shortRowLine_ : 0;
        result.endLine = line_;
        result.summary = summary_.Finish(dataEnd, row_, store_);
        result.arrays = store_.Finish(row_);
        result.decimals = std::move(decimals_);
        result.stopLine = stopLine_;
        result.surplusLine = surplusLine_;
        result.surplusLines = surplusLines_;
        const TStravoFloatArray& depth = result.arrays.Item(0);
        result.descending = depth[0] > depth[row_ - 1];
        result.depths = depths_.Take(depth.Data(), row_, result.descending);
        if (result.descending) {
            for (int i = 0; i < result.arrays.Count(); ++i) {
                float* values = result.arrays.Item(i).Data();
                std::reverse(values, values + row_);
            }
        }
        return result;
    }

    // The line being read: where the text ended once it has.
    int Line() const { return line_; }
    bool HasValues() const { return row_ > 0 || col_ > 0; }

private:
    // Blanks; a tab or a form feed leaves the block without a layout of blanks alone.
    const char* SkipSpaces(const char* p, const char* end)
    {
        while (p != end && *p == ' ')
            ++p;
        if (p != end && (*p == '\t' || *p == '\f')) {
            summary_.Irregular();
            p = SkipBlanks(p, end);
        }
        return p;
    }

    // The values of one line, up to its line end.
    const char* ParseLineValues(const char* p, const char* end)
    {
        const char* const first = p;
        long long* const layout = summary_.Layout();
        long long* const starts = summary_.Starts();
        long long moved = 0;  // not 0: a value text out of the layout
        long long movedStart = 0;
        for (;;) {
            if (col_ < curveCount_) {
                float value;
                PlainDecimal number;
                bool plain = false;
                const char* after = ParseLasFloat(p, end, value, number, plain);
                if (!after || (after != end && !IsLasDelimiter(*after)))
                    ThrowBadValue(line_, p, end);
                if (col_ == 0) {
                    StartRow(value);
                    depths_.Add(row_, value, plain ? &number : nullptr, p, after, store_.Column(0), store_.Capacity());
                    lastDepth_.assign(p, after);
                    if (row_ == 0)
                        firstDepth_ = lastDepth_;
                }
                store_.Column(col_)[row_] = value;
                const long long firstOfLine = p == first ? 1 : 0;
                const long long place = (after - lineStart_) * 2 + firstOfLine;
                const long long start = (p - lineStart_) * 2 + firstOfLine;
                if (row_ == summary_.FirstRow()) {
                    layout[col_] = place;
                    starts[col_] = start;
                }
                moved |= layout[col_] ^ place;
                movedStart |= starts[col_] ^ start;
                if (value != nullValue_) {
                    // A plain token with the point where the column's decimals put it changes
                    // nothing: one compare for the usual column of equal decimals.
                    int& most = decimals_[static_cast<size_t>(col_)];
                    if (!plain || most < 0 || after - p <= most || after[-most - 1] != '.')
                        most = std::max(most, TokenDecimals(p, after));
                } else if (static_cast<size_t>(after - p) != nullText_.size() ||
                           std::memcmp(p, nullText_.data(), nullText_.size()) != 0) {
                    summary_.Irregular();
                }
                p = after;
                if (++col_ == curveCount_ && wrapped_) {
                    lastRowLine_ = rowLine_;
                    lastRowMissing_ = 0;
                    ++row_;
                    col_ = 0;
                }
            } else {
                summary_.Irregular();
                p = SkipToken(p, end);  // surplus values of a row, counted once per line
                if (lastSurplusLine_ != line_) {
                    lastSurplusLine_ = line_;
                    if (surplusLine_ == 0)
                        surplusLine_ = line_;
                    ++surplusLines_;
                }
            }
            const char* const valueEnd = p;
            p = SkipSpaces(p, end);
            if (p == end || *p == '\r' || *p == '\n') {
                valuesEnd_ = valueEnd;
                summary_.Moved(moved, movedStart);
                return p;
            }
        }
    }

    void StartRow(float depth)
    {
        rowLine_ = line_;
        store_.EnsureRow(row_);
        if (row_ > 0) {
            ascending_ = ascending_ && depth >= previousDepth_;
            descending_ = descending_ && depth <= previousDepth_;
            if (!ascending_ && !descending_)
                throw std::runtime_error("Значения глубины не упорядочены (строка " +
                                         std::to_string(line_) + " файла)");
        }
        previousDepth_ = depth;
    }

    const int curveCount_;
    const float nullValue_;
    const std::string& nullText_;
    const bool wrapped_;
    int line_;
    int row_ = 0;
    int col_ = 0;
    bool ascending_ = true;
    bool descending_ = true;
    float previousDepth_ = 0.0f;
    int stopLine_ = 0;
    int surplusLine_ = 0;
    int lastSurplusLine_ = 0;
    long long surplusLines_ = 0;
    std::string firstDepth_;
    std::string lastDepth_;
    LasReadDepths depths_;
    int shortRowLine_ = 0;
    long long shortRows_ = 0;
    int rowLine_ = 0;  // the line the row being read began on
    int lastRowLine_ = 0;
    int lastRowMissing_ = 0;
    ColumnStore store_;
    std::vector<int> decimals_;
    SummaryBuilder summary_;
    const char* lineStart_ = nullptr;
    const char* valuesEnd_ = nullptr;  // where the last value text of the line ended
};

// Rows expected in the data: the rest of the file over the mean length of a row in its first
// block (lines for one row per line; values over the curve count for wrapped rows), never more
// than the bytes could hold (a row takes at least a digit and a line end per line).
long long EstimateRows(std::string_view firstBlock, long long bytesLeft, int curveCount,
                       bool wrapped)
{
    const long long bytes = static_cast<long long>(firstBlock.size()) + bytesLeft;
    const long long most = bytes / (wrapped ? 2LL * curveCount : 2LL) + 1;
    double rowsInBlock = 0.0;
    if (wrapped) {
        long long values = 0;
        bool inValue = false;
        for (const char c : firstBlock) {
            const bool delimiter = IsLasDelimiter(c);
            values += !delimiter && !inValue;
            inValue = !delimiter;
        }
        rowsInBlock = static_cast<double>(values) / curveCount;
    } else {
        long long lines = std::count(firstBlock.begin(), firstBlock.end(), '\n');
        if (lines == 0)
            lines = std::count(firstBlock.begin(), firstBlock.end(), '\r');
        rowsInBlock = static_cast<double>(lines);
    }
    // A row longer than the block: at least a block per row.
    const double bytesPerRow =
        static_cast<double>(std::max<size_t>(firstBlock.size(), 1)) / std::max(rowsInBlock, 1.0);
    const double total = static_cast<double>(bytes) / bytesPerRow;
    return std::min(most, static_cast<long long>(total * 1.01) + 64);
}

// End of the last complete line of the buffer (0 when there is none). A CR at the very end may
// be the first half of a CR LF and waits for the next block.
size_t CompleteLinesEnd(const char* buffer, size_t size)
{
    size_t i = size;
    if (i > 0 && buffer[i - 1] == '\r')
        --i;
    while (i > 0 && buffer[i - 1] != '\n' && buffer[i - 1] != '\r')
        --i;
    return i;
}

} // namespace

LasDataColumns ReadLasData(LasLineReader& reader, int firstLine, int curveCount, float nullValue,
                           const std::string& nullText, bool wrapped,
                           unsigned long long heldBytes)
{
    long long offset = reader.Offset();
    // Blocks are read straight into a buffer that keeps the unfinished last line of the previous
    // one; it grows only for a line longer than a block.
    size_t capacity = kBlockSize + (1 << 16);
    auto buffer = std::make_unique<char[]>(capacity);
    size_t size = reader.ReadInto(buffer.get(), kBlockSize);
    bool atEnd = size == 0;
    RowParser parser(curveCount, nullValue, nullText, wrapped, firstLine, offset,
                     EstimateRows(std::string_view(buffer.get(), size), reader.BytesLeft(),
                                  curveCount, wrapped),
                     heldBytes);
    for (;;) {
        const size_t cut = atEnd ? size : CompleteLinesEnd(buffer.get(), size);
        if (cut > 0 && !parser.ParseLines(buffer.get(), buffer.get() + cut, offset))
            break;
        offset += static_cast<long long>(cut);
        std::memmove(buffer.get(), buffer.get() + cut, size - cut);
        size -= cut;
        if (atEnd)
            break;
        if (capacity - size < kBlockSize) {
            capacity *= 2;
            auto grown = std::make_unique<char[]>(capacity);
            std::memcpy(grown.get(), buffer.get(), size);
            buffer = std::move(grown);
        }
        const size_t got = reader.ReadInto(buffer.get() + size, kBlockSize);
        size += got;
        atEnd = got == 0;
    }
    buffer.reset();  // freed before the arrays are cut to size
    if (!parser.HasValues() && reader.EndMarkOffset() >= 0 && !reader.EndsWithMarkOnly())
        throw std::runtime_error(DosEndMarkText(parser.Line()) + ", данных до него нет");
    return parser.Finish(offset);
}
