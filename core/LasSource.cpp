#include "core/LasSource.h"

#include <sys/stat.h>

#include <xxhash.h>
#if defined(__x86_64__)
#include <xxh_x86dispatch.h>  // the widest vector unit the processor has
#endif

#include <algorithm>
#include <new>

#include "core/LasLineReader.h"

namespace {

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

LasHash::LasHash() : state_(XXH3_createState())
{
    if (!state_)
        throw std::bad_alloc();
    XXH3_64bits_reset(state_);
}

LasHash::~LasHash()
{
    XXH3_freeState(state_);
}

void LasHash::Add(const void* data, size_t size)
{
    XXH3_64bits_update(state_, data, size);
}

std::uint64_t LasHash::Take()
{
    const std::uint64_t hash = XXH3_64bits_digest(state_);
    XXH3_64bits_reset(state_);
    return hash;
}

std::uint64_t LasHash::Of(const void* data, size_t size)
{
    return XXH3_64bits(data, size);
}

bool LasDataSource::IsAvailable() const
{
    const std::optional<LasFileStamp> now = LasFileStamp::Of(path);
    return now && *now == stamp;
}

void LasHeaderLineEnds::Read(const LasDataSource& source)
{
    LasLineReader lines;
    if (!lines.Open(source.path))
        return;
    std::string_view text;
    while (lines.Offset() < source.dataOffset && lines.NextLine(text)) {
        if (texts_.empty() && text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        texts_.emplace_back(text);
        ends_.emplace_back(lines.LineEnd());
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
