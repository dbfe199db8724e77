// The ~A text of a source file as the writers read it again: its lines, value texts and bytes.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/LasNumbers.h"

// The end of the value text that starts at `start` of the row: the first byte of 0x20 or below
// (a blank or a line end; no byte of a number text is), looked for sixteen or eight at a time.
inline size_t LasTextEnd(std::string_view row, size_t start)
{
    size_t end = start;
#if defined(__SSE2__)
    const __m128i blank = _mm_set1_epi8(0x20);
    for (; end + 16 <= row.size(); end += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row.data() + end));
        // A byte of 0x20 or below is its minimum with 0x20.
        const auto below = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, blank), bytes)));
        if (below != 0)
            return end + static_cast<size_t>(std::countr_zero(below));
    }
#endif
    for (; std::endian::native == std::endian::little && end + 8 <= row.size(); end += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, row.data() + end, 8);
        const std::uint64_t below =
            (word - 0x2121212121212121ULL) & ~word & 0x8080808080808080ULL;
        if (below != 0)
            return end + static_cast<size_t>(std::countr_zero(below) / 8);
    }
    while (end < row.size() && !IsLasDelimiter(row[end]))
        ++end;
    return end;
}

// The next value text of a line from `from`: [begin, end); false when none is left. A byte below
// 0x20 that is no blank belongs to the text.
inline bool NextToken(std::string_view line, size_t from, size_t& begin, size_t& end)
{
    const size_t size = line.size();
    // Most texts follow a single space.
    if (from + 1 < size && line[from] == ' ' && static_cast<unsigned char>(line[from + 1]) > ' ') {
        ++from;
    } else {
        while (from < size && IsLasBlank(line[from]))
            ++from;
        if (from == size)
            return false;
    }
    begin = from;
    while ((from = LasTextEnd(line, from)) < size && !IsLasBlank(line[from]))
        ++from;
    end = from;
    return true;
}

// What kind of line of the ~A section: rows, lines without values, the next section's title.
enum class DataLine { Values, Kept, End };

inline DataLine KindOf(std::string_view line)
{
    size_t p = 0;
    while (p < line.size() && IsLasBlank(line[p]))
        ++p;
    if (p == line.size() || line[p] == '#')
        return DataLine::Kept;
    return line[p] == '~' ? DataLine::End : DataLine::Values;
}

// The next line of `text` from `pos` (LF, CR LF or CR) and its line end; false at the end.
inline bool NextLineOf(std::string_view text, size_t& pos, std::string_view& line, std::string_view& end)
{
    if (pos >= text.size())
        return false;
    const char* begin = text.data() + pos;
    const size_t left = text.size() - pos;
    const void* lf = std::memchr(begin, '\n', left);
    const size_t scan = lf ? static_cast<size_t>(static_cast<const char*>(lf) - begin) : left;
    const void* cr = std::memchr(begin, '\r', scan);
    const size_t at = cr ? static_cast<size_t>(static_cast<const char*>(cr) - begin) : scan;
    line = text.substr(pos, at);
    size_t next = pos + at;
    if (next < text.size())
        next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;
    end = text.substr(pos + at, next - pos - at);
    pos = next;
    return true;
}

// Byte ranges of the source file, read in file order into one buffer.
class SourceBytes {
public:
    explicit SourceBytes(const std::string& path) : file_(std::fopen(path.c_str(), "rb"))
    {
        if (file_)
            std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    ~SourceBytes()
    {
        if (file_)
            std::fclose(file_);
    }
    SourceBytes(const SourceBytes&) = delete;
    SourceBytes& operator=(const SourceBytes&) = delete;

    // The bytes [offset, offset + size), fewer when the file holds fewer; valid until the next
    // call.
    std::string_view Read(long long offset, long long size)
    {
        if (!file_ || size <= 0)
            return {};
        if (offset != position_ && std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
            position_ = -1;
            return {};
        }
        const auto bytes = static_cast<size_t>(size);
        if (capacity_ < bytes) {
            buffer_ = std::make_unique_for_overwrite<char[]>(bytes);
            capacity_ = bytes;
        }
        const size_t got = std::fread(buffer_.get(), 1, bytes, file_);
        position_ = offset + static_cast<long long>(got);
        return {buffer_.get(), got};
    }

private:
    std::FILE* file_;
    long long position_ = 0;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
};

