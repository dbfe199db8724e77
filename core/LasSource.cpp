#include "core/LasSource.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kBlockSize = 1 << 20;
// How far past the last matched header line a line is looked for.
constexpr size_t kHeaderLookAhead = 64;

} // namespace

std::optional<LasFileStamp> LasFileStamp::Of(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    LasFileStamp stamp;
    stamp.size = static_cast<long long>(info.st_size);
    stamp.modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    stamp.device = static_cast<unsigned long long>(info.st_dev);
    return stamp;
}

bool LasDataSource::IsAvailable() const
{
    const std::optional<LasFileStamp> now = LasFileStamp::Of(path);
    return now && *now == stamp;
}

LasSourceLines::~LasSourceLines()
{
    if (file_)
        std::fclose(file_);
}

bool LasSourceLines::Open(const std::string& path, long long offset)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return false;
    std::setvbuf(file_, nullptr, _IONBF, 0);
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    buffer_ = std::make_unique_for_overwrite<char[]>(kBlockSize);
    capacity_ = kBlockSize;
    return true;
}

bool LasSourceLines::Fill()
{
    if (eof_ || !file_)
        return false;
    size_ -= pos_;
    std::memmove(buffer_.get(), buffer_.get() + pos_, size_);
    pos_ = 0;
    if (capacity_ - size_ < kBlockSize / 2) {
        auto grown = std::make_unique_for_overwrite<char[]>(capacity_ * 2);
        std::memcpy(grown.get(), buffer_.get(), size_);
        buffer_ = std::move(grown);
        capacity_ *= 2;
    }
    size_t got = std::fread(buffer_.get() + size_, 1, capacity_ - size_, file_);
    if (got < capacity_ - size_)
        eof_ = true;
    if (const void* stop = std::memchr(buffer_.get() + size_, '\x1A', got)) {
        got = static_cast<size_t>(static_cast<const char*>(stop) - (buffer_.get() + size_));
        eof_ = true;
    }
    size_ += got;
    return got > 0;
}

bool LasSourceLines::Next(LasSourceLine& line)
{
    if (!file_)
        return false;
    size_t scanFrom = pos_;
    for (;;) {
        const char* data = buffer_.get();
        const char* begin = data + scanFrom;
        const char* stop = data + size_;
        const char* end = begin;
        while (end != stop && *end != '\n' && *end != '\r')
            ++end;
        // A CR at the end of the bytes read may be the first half of a CR LF.
        const bool open = end == stop || (*end == '\r' && end + 1 == stop);
        if (open && !eof_) {
            scanFrom = static_cast<size_t>(end - data) - pos_;
            Fill();
            scanFrom += pos_;
            continue;
        }
        if (end == stop && pos_ == size_)
            return false;
        size_t endLength = 0;
        if (end != stop)
            endLength = *end == '\r' && end + 1 != stop && end[1] == '\n' ? 2 : 1;
        line.text = std::string_view(data + pos_, static_cast<size_t>(end - data) - pos_);
        line.end = std::string_view(end, endLength);
        pos_ = static_cast<size_t>(end - data) + endLength;
        return true;
    }
}

void LasHeaderLineEnds::Read(const LasDataSource& source)
{
    LasSourceLines lines;
    if (!lines.Open(source.path, 0))
        return;
    long long offset = 0;
    LasSourceLine line;
    while (offset < source.dataOffset && lines.Next(line)) {
        offset += static_cast<long long>(line.text.size() + line.end.size());
        std::string_view text = line.text;
        if (texts_.empty() && text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        texts_.emplace_back(text);
        ends_.emplace_back(line.end);
    }
}

std::string_view LasHeaderLineEnds::Find(std::string_view text, std::string_view fallback)
{
    const size_t stop = std::min(texts_.size(), next_ + kHeaderLookAhead);
    for (size_t i = next_; i < stop; ++i)
        if (texts_[i] == text) {
            next_ = i + 1;
            return ends_[i].empty() ? fallback : std::string_view(ends_[i]);
        }
    return fallback;
}
