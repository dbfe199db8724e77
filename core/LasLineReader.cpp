#include "core/LasLineReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kBlockSize = 1 << 16;

} // namespace

LasLineReader::~LasLineReader()
{
    if (file_)
        std::fclose(file_);
}

bool LasLineReader::Open(const std::string& path, long long offset)
{
    if (file_)
        std::fclose(file_);
    size_ = 0;
    pos_ = 0;
    eof_ = false;
    lineNumber_ = 0;
    fileBytes_ = 0;
    firstLineEnd_.clear();
    endMarkOffset_ = -1;
    endMark_.clear();
    if (capacity_ == 0) {
        buffer_ = std::make_unique_for_overwrite<char[]>(kBlockSize);
        capacity_ = kBlockSize;
    }
    lineEnd_ = {};
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return false;
    // Reads are whole blocks: a stream buffer of its own would only copy them once more.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    if (offset > 0 && std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    fileBytes_ = offset;
    return true;
}

// Appends one block to the unread bytes; false when nothing more could be read.
bool LasLineReader::Fill()
{
    if (eof_ || !file_) {
        eof_ = true;
        return false;
    }
    size_ -= pos_;
    if (size_ > 0)
        std::memmove(buffer_.get(), buffer_.get() + pos_, size_);
    pos_ = 0;
    if (capacity_ < size_ + kBlockSize) {
        const size_t capacity = std::max(capacity_ * 2, size_ + kBlockSize);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ > 0)
            std::memcpy(grown.get(), buffer_.get(), size_);
        buffer_ = std::move(grown);
        capacity_ = capacity;
    }
    const size_t got = ReadFromFile(buffer_.get() + size_, kBlockSize);
    size_ += got;
    return got > 0;
}

size_t LasLineReader::ReadFromFile(char* dest, size_t bytes)
{
    size_t got = std::fread(dest, 1, bytes, file_);
    if (got < bytes)
        eof_ = true;
    // A DOS end-of-file byte ends the text, as DOS tools meant it; what follows it is kept when
    // it is short enough to be only an end mark.
    if (const void* stop = std::memchr(dest, '\x1A', got)) {
        const size_t text = static_cast<size_t>(static_cast<const char*>(stop) - dest);
        endMarkOffset_ = fileBytes_ + static_cast<long long>(text);
        endMark_.assign(dest + text, got - text);
        char rest[4096];
        while (!eof_ && endMark_.size() <= kBlockSize) {
            const size_t more = std::fread(rest, 1, sizeof rest, file_);
            endMark_.append(rest, more);
            eof_ = more < sizeof rest;
        }
        got = text;
        eof_ = true;
    }
    fileBytes_ += static_cast<long long>(got);
    return got;
}

bool LasLineReader::EndsWithMarkOnly() const
{
    // An end mark longer than a block was not read to its end.
    return endMarkOffset_ >= 0 && endMark_.size() <= kBlockSize &&
           std::all_of(endMark_.begin(), endMark_.end(), [](char c) {
               return c == '\x1A' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
           });
}

std::string_view LasLineReader::Peek()
{
    if (size_ - pos_ < kBlockSize)
        Fill();
    return Buffered().substr(pos_);
}

void LasLineReader::Skip(size_t bytes)
{
    pos_ = std::min(size_, pos_ + bytes);
}

bool LasLineReader::NextLine(std::string_view& line)
{
    size_t scanFrom = pos_;
    for (;;) {
        const char* data = buffer_.get();
        const char* begin = data + scanFrom;
        const size_t left = size_ - scanFrom;
        const void* lf = std::memchr(begin, '\n', left);
        const void* cr = std::memchr(begin, '\r', lf ? static_cast<const char*>(lf) - begin : left);
        const char* end = static_cast<const char*>(cr ? cr : lf);
        // A CR at the very end of the buffer may be the first half of a CR LF.
        const bool crAtEdge = cr && end + 1 == data + size_ && !eof_;
        if (end && !crAtEdge) {
            const size_t at = static_cast<size_t>(end - data);
            line = Buffered().substr(pos_, at - pos_);
            pos_ = at + 1;
            if (cr && pos_ < size_ && data[pos_] == '\n')
                ++pos_;
            lineEnd_ = Buffered().substr(at, pos_ - at);
            if (++lineNumber_ == 1)
                firstLineEnd_.assign(data + at, pos_ - at);
            return true;
        }
        const size_t scanned = size_ - pos_ - (crAtEdge ? 1 : 0);
        const bool filled = Fill();
        scanFrom = pos_ + scanned;
        if (filled || crAtEdge)
            continue;  // after a failed fill the end of the file is known: the CR ends a line
        if (pos_ >= size_)
            return false;
        line = Buffered().substr(pos_);
        pos_ = size_;
        lineEnd_ = {};
        ++lineNumber_;
        return true;
    }
}

size_t LasLineReader::ReadInto(char* dest, size_t maxBytes)
{
    if (pos_ < size_) {
        const size_t n = std::min(maxBytes, size_ - pos_);
        std::memcpy(dest, buffer_.get() + pos_, n);
        pos_ += n;
        return n;
    }
    return eof_ || !file_ ? 0 : ReadFromFile(dest, maxBytes);
}

long long LasLineReader::BytesLeft()
{
    long long left = static_cast<long long>(size_ - pos_);
    if (!file_ || eof_)
        return left;
    const long here = std::ftell(file_);
    if (here >= 0 && std::fseek(file_, 0, SEEK_END) == 0) {
        const long size = std::ftell(file_);
        std::fseek(file_, here, SEEK_SET);
        left += std::max(0L, size - here);
    }
    return left;
}

std::string DosEndMarkText(int line)
{
    return "В строке " + std::to_string(line) +
           " файла стоит символ конца файла DOS (0x1A): текст после него не загружен";
}
