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

bool LasLineReader::Open(const std::string& path)
{
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

// Appends one block to the unread bytes; false when nothing more could be read.
bool LasLineReader::Fill()
{
    if (eof_ || !file_) {
        eof_ = true;
        return false;
    }
    buffer_.erase(0, pos_);
    pos_ = 0;
    return AppendFromFile(buffer_, kBlockSize) > 0;
}

size_t LasLineReader::AppendFromFile(std::string& buffer, size_t bytes)
{
    const size_t old = buffer.size();
    buffer.resize(old + bytes);
    buffer.resize(old + ReadFromFile(buffer.data() + old, bytes));
    return buffer.size() - old;
}

size_t LasLineReader::ReadFromFile(char* dest, size_t bytes)
{
    size_t got = std::fread(dest, 1, bytes, file_);
    if (got < bytes)
        eof_ = true;
    // A DOS end-of-file byte ends the text, as DOS tools meant it.
    if (const void* stop = std::memchr(dest, '\x1A', got)) {
        got = static_cast<size_t>(static_cast<const char*>(stop) - dest);
        eof_ = true;
    }
    return got;
}

std::string_view LasLineReader::Peek()
{
    if (buffer_.size() - pos_ < kBlockSize)
        Fill();
    return std::string_view(buffer_).substr(pos_);
}

void LasLineReader::Skip(size_t bytes)
{
    pos_ = std::min(buffer_.size(), pos_ + bytes);
}

bool LasLineReader::NextLine(std::string_view& line)
{
    size_t scanFrom = pos_;
    for (;;) {
        const char* begin = buffer_.data() + scanFrom;
        const size_t left = buffer_.size() - scanFrom;
        const void* lf = std::memchr(begin, '\n', left);
        const void* cr = std::memchr(begin, '\r', lf ? static_cast<const char*>(lf) - begin : left);
        const char* end = static_cast<const char*>(cr ? cr : lf);
        // A CR at the very end of the buffer may be the first half of a CR LF.
        const bool crAtEdge = cr && end + 1 == buffer_.data() + buffer_.size() && !eof_;
        if (end && !crAtEdge) {
            const size_t at = static_cast<size_t>(end - buffer_.data());
            line = std::string_view(buffer_).substr(pos_, at - pos_);
            pos_ = at + 1;
            if (cr && pos_ < buffer_.size() && buffer_[pos_] == '\n')
                ++pos_;
            ++lineNumber_;
            return true;
        }
        const size_t scanned = buffer_.size() - pos_ - (crAtEdge ? 1 : 0);
        const bool filled = Fill();
        scanFrom = pos_ + scanned;
        if (filled || crAtEdge)
            continue;  // after a failed fill the end of the file is known: the CR ends a line
        if (pos_ >= buffer_.size())
            return false;
        line = std::string_view(buffer_).substr(pos_);
        pos_ = buffer_.size();
        ++lineNumber_;
        return true;
    }
}

size_t LasLineReader::ReadInto(char* dest, size_t maxBytes)
{
    if (pos_ < buffer_.size()) {
        const size_t n = std::min(maxBytes, buffer_.size() - pos_);
        std::memcpy(dest, buffer_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    return eof_ || !file_ ? 0 : ReadFromFile(dest, maxBytes);
}

long long LasLineReader::BytesLeft()
{
    long long left = static_cast<long long>(buffer_.size() - pos_);
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
