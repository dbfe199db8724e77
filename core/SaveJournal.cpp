// Record files of the journal: fields written as "<length>:<bytes>\n", so any byte of a file name
// survives; every record is written whole and synced, and that of a copy replaces that of its
// temporary by a rename.
#include "core/SaveJournal.h"

#include "core/TempFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporary = "temporary";
constexpr std::string_view kCopy = "copy";
constexpr std::string_view kRecordExtension = ".rec";
constexpr std::string_view kHalfReplaced = ".new";
constexpr std::size_t kMaxRecordSize = 1 << 16;

void (*inPlaceWritten)(long long) = nullptr;

std::string& TheFolder()
{
    static std::string folder;
    return folder;
}

struct Record {
    std::string kind;
    std::string path;  // the temporary or the copy
    dev_t device = 0;
    ino_t inode = 0;
    std::string target;
    long long oldSize = 0;
    long long newSize = 0;
};

std::string Field(std::string_view value)
{
    return std::to_string(value.size()) + ':' + std::string(value) + '\n';
}

std::string Field(unsigned long long value)
{
    return Field(std::to_string(value));
}

template <typename Number>
bool ParseNumber(const std::string& text, Number& value)
{
    return std::from_chars(text.data(), text.data() + text.size(), value).ptr == text.data() + text.size();
}

std::optional<Record> ParseRecord(const std::string& text)
{
    std::vector<std::string> fields;
    const char* const last = text.data() + text.size();
    for (const char* at = text.data(); at < last;) {
        std::size_t length = 0;
        const auto [colon, error] = std::from_chars(at, last, length);
        if (error != std::errc() || static_cast<std::size_t>(last - colon) < length + 2 || *colon != ':' ||
            colon[length + 1] != '\n')
            return std::nullopt;
        fields.emplace_back(colon + 1, length);
        at = colon + length + 2;
    }
    Record record;
    const bool copy = fields.size() == 7 && fields[0] == kCopy;
    if (!(copy || (fields.size() == 4 && fields[0] == kTemporary)) || !ParseNumber(fields[2], record.device) ||
        !ParseNumber(fields[3], record.inode) ||
        (copy && (!ParseNumber(fields[5], record.oldSize) || !ParseNumber(fields[6], record.newSize))))
        return std::nullopt;
    record.kind = fields[0];
    record.path = fields[1];
    if (copy)
        record.target = fields[4];
    return record;
}

std::optional<Record> ReadRecord(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string text(kMaxRecordSize, '\0');
    const ssize_t got = read(fd, text.data(), text.size());
    close(fd);
    if (got <= 0)
        return std::nullopt;
    text.resize(got);
    return ParseRecord(text);
}

// The whole text, then synced.
bool WriteSynced(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return fsync(fd) == 0;
}

// A journal's write that found its disk full names the profile's disk, not the file saved.
int JournalError(int error)
{
    return error == ENOSPC || error == EDQUOT ? savejournal::kJournalDiskFull : error;
}

std::string Absolute(const std::string& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.string();
}

// The file that `fd` is open on is the one recorded.
bool IsRecorded(int fd, const Record& record)
{
    struct stat info {};
    return fstat(fd, &info) == 0 && info.st_dev == record.device && info.st_ino == record.inode;
}

// The records of the journal, by record file, in name order.
std::vector<std::pair<std::string, Record>> Records()
{
    std::vector<std::pair<std::string, Record>> records;
    std::error_code error;
    for (fs::directory_iterator it(TheFolder(), error), end; !error && it != end; it.increment(error)) {
        const std::string path = it->path().string();
        if (it->path().extension() == kRecordExtension)
            if (auto record = ReadRecord(path))
                records.emplace_back(path, std::move(*record));
    }
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return records;
}

// Whether a save still running holds the file: it keeps it locked.
bool HeldByRunningSave(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = !HeldByNoSave(fd);
    close(fd);
    return held;
}

bool Later(const timespec& a, const timespec& b)
{
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// The interrupted save a copy's record tells of, and how its target is found.
InterruptedSave Found(const std::string& file, const Record& record, const struct stat& copy)
{
    InterruptedSave save{file, record.target, record.path, record.oldSize, record.newSize};
    struct stat recordInfo {};
    struct stat target {};
    save.copyTime = copy.st_mtim.tv_sec;
    if (stat(record.target.c_str(), &target) != 0 || stat(file.c_str(), &recordInfo) != 0) {
        save.changed = true;
        return save;
    }
    save.fileSize = target.st_size;
    save.fileTime = target.st_mtim.tv_sec;
    // Cut short, a write in place leaves a size between the old one and the new one.
    save.changed = target.st_size < std::min(record.oldSize, record.newSize) ||
                   target.st_size > std::max(record.oldSize, record.newSize) ||
                   Later(target.st_mtim, recordInfo.st_mtim);
    return save;
}

}  // namespace

namespace savejournal {

void SetFolder(const std::string& folder)
{
    TheFolder() = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    std::error_code ignored;
    if (!folder.empty())
        fs::create_directories(folder, ignored);
}

const std::string& Folder()
{
    return TheFolder();
}

std::string RecordTemporary(const std::string& path, int fd)
{
    struct stat info {};
    if (TheFolder().empty() || fstat(fd, &info) != 0)
        return {};
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const std::string record = TheFolder() + std::to_string(getpid()) + '-' + std::to_string(counter++) + '-' +
                               std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) +
                               std::string(kRecordExtension);
    const int out = open(record.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    // A temporary with no record on disk would outlive a power cut.
    const bool written = out >= 0 &&
                         WriteSynced(out, Field(kTemporary) + Field(Absolute(path)) + Field(info.st_dev) +
                                              Field(info.st_ino)) &&
                         SyncFolderOf(record);
    const int error = errno;
    if (out >= 0)
        close(out);
    if (!written) {
        if (out >= 0)
            unlink(record.c_str());
        errno = JournalError(error);
        return {};
    }
    return record;
}

bool RecordCopy(const std::string& record, const std::string& copy, int fd, const std::string& target,
                long long oldSize, long long newSize)
{
    struct stat info {};
    if (record.empty())
        return true;
    const std::string next = record + std::string(kHalfReplaced);
    const int out = open(next.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool written = out >= 0 && fstat(fd, &info) == 0 &&
                   WriteSynced(out, Field(kCopy) + Field(Absolute(copy)) + Field(info.st_dev) + Field(info.st_ino) +
                                        Field(Absolute(target)) + Field(oldSize) + Field(newSize));
    if (out >= 0)
        close(out);
    written = written && rename(next.c_str(), record.c_str()) == 0 && SyncFolderOf(record);
    const int error = errno;
    if (!written)
        unlink(next.c_str());
    errno = JournalError(error);
    return written;
}

bool WriteRecordedTarget(int from, int to, long long size, const std::string& record)
{
    return CopyContent(from, to, size, [&record](long long written) {
        if (!record.empty())
            utimensat(AT_FDCWD, record.c_str(), nullptr, 0);
        if (inPlaceWritten)
            inPlaceWritten(written);
    });
}

void Drop(const std::string& record, bool durable)
{
    if (record.empty())
        return;
    unlink(record.c_str());
    if (durable)
        SyncFolderOf(record);
}

void RemoveLeftTemporaries()
{
    if (TheFolder().empty())
        return;
    std::set<std::string> named;
    for (const auto& [file, record] : Records()) {
        named.insert(record.path);
        if (record.kind != kTemporary)
            continue;
        const int fd = open(record.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOENT)
                Drop(file, false);
            continue;
        }
        // A name that now stands for another file (the temporary was renamed over its target and
        // another file made under its name) keeps that file.
        if (!IsRecorded(fd, record)) {
            Drop(file, false);
        } else if (HeldByNoSave(fd)) {
            unlink(record.path.c_str());
            Drop(file, false);
        }
        close(fd);
    }
    std::error_code error;
    for (fs::directory_iterator it(TheFolder(), error), end; !error && it != end; it.increment(error)) {
        const std::string path = it->path().string();
        const std::string name = it->path().filename().string();
        // A record being replaced belongs to the save that holds the file its record names.
        const bool halfReplaced = name.ends_with(std::string(kRecordExtension) + std::string(kHalfReplaced));
        const bool unnamedTemporary = name.starts_with(kTemporaryName) &&
                                      name.size() == kTemporaryName.size() + kUniqueLength && !named.contains(path);
        if (halfReplaced) {
            const auto record = ReadRecord(path.substr(0, path.size() - kHalfReplaced.size()));
            if (!record || !HeldByRunningSave(record->path))
                unlink(path.c_str());
        } else if (unnamedTemporary && !HeldByRunningSave(path)) {
            unlink(path.c_str());
        }
    }
}

std::vector<InterruptedSave> InterruptedSaves()
{
    std::vector<std::pair<timespec, InterruptedSave>> found;  // by the copy's time
    for (const auto& [file, record] : Records()) {
        if (record.kind != kCopy)
            continue;
        const int fd = open(record.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT)
            Drop(file, true);
        if (fd < 0)
            continue;
        struct stat info {};
        if (!IsRecorded(fd, record))
            Drop(file, true);
        else if (HeldByNoSave(fd) && fstat(fd, &info) == 0)
            found.emplace_back(info.st_mtim, Found(file, record, info));
        close(fd);
    }
    // One copy a file: the oldest holds the content from before the first save that was cut short.
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return Later(b.first, a.first); });
    std::vector<InterruptedSave> saves;
    std::set<std::string> offered;
    for (auto& [time, save] : found)
        if (offered.insert(save.target).second)
            saves.push_back(std::move(save));
    return saves;
}

bool Restore(const InterruptedSave& save)
{
    const int from = open(save.copy.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return false;
    struct stat info {};
    bool restored = false;
    // The copy stays locked while it is written back, so that no other start offers it meanwhile.
    if (!HeldByNoSave(from)) {
        errno = EBUSY;
    } else if (fstat(from, &info) == 0 && info.st_size != save.oldSize) {
        errno = EIO;  // no longer the whole old content
    } else if (info.st_size == save.oldSize) {
        const int to = open(save.target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        restored = to >= 0 && WriteRecordedTarget(from, to, info.st_size, save.record);
        const int error = errno;
        if (to >= 0)
            close(to);
        errno = error;
    }
    if (restored) {
        unlink(save.copy.c_str());
        SyncFolderOf(save.copy);
        Drop(save.record, true);
    }
    const int error = errno;
    close(from);
    errno = error;
    return restored;
}

void Forget(const InterruptedSave& save)
{
    Drop(save.record, true);
}

}  // namespace savejournal

void SetInPlaceWriteHook(void (*written)(long long))
{
    inPlaceWritten = written;
}
