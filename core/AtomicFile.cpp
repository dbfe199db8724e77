// Temporary file beside the target, flushed to disk, then renamed over the target.
#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

} // namespace

AtomicFileTarget::AtomicFileTarget(std::string targetPath)
    : target_(std::move(targetPath))
{
    // Through a symbolic link the file it points at is replaced; the link stays.
    std::error_code error;
    if (std::filesystem::is_symlink(target_, error)) {
        const std::filesystem::path real = std::filesystem::canonical(target_, error);
        if (!error)
            target_ = real.string();
    }
    std::string pattern = FolderOf(target_) + ".strativ-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        Fail();
        return;
    }
    tempPath_ = pattern;
    // mkstemp creates 0600; the new file keeps the old file's mode, or the usual 0644.
    struct stat old {};
    fchmod(fd, stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    close(fd);
}

AtomicFileTarget::~AtomicFileTarget()
{
    Discard();
}

bool AtomicFileTarget::Commit()
{
    if (tempPath_.empty() || failed_) {
        Discard();
        return false;
    }
    // The content reaches the disk before the name does.
    const int fd = open(tempPath_.c_str(), O_RDONLY);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    if (fd >= 0)
        close(fd);
    if (!synced) {
        Fail();
        Discard();
        return false;
    }
    if (std::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        Fail();
        Discard();
        return false;
    }
    tempPath_.clear();
    return true;
}

void AtomicFileTarget::Discard()
{
    if (!tempPath_.empty()) {
        std::remove(tempPath_.c_str());
        tempPath_.clear();
    }
}

void AtomicFileTarget::Fail()
{
    if (!failed_)
        systemError_ = errno != 0 ? errno : EIO;
    failed_ = true;
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : target_(std::move(targetPath))
{
    if (!target_.IsValid())
        return;
    file_ = std::fopen(target_.TempPath().c_str(), "wb");
    if (!file_) {
        target_.Fail();
        return;
    }
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

void AtomicFileWriter::Write(std::string_view bytes)
{
    if (!file_ || target_.Failed() || bytes.empty())
        return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        target_.Fail();
}

bool AtomicFileWriter::Commit()
{
    if (!file_ || target_.Failed()) {
        Discard();
        return false;
    }
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
        target_.Fail();
        Discard();
        return false;
    }
    return target_.Commit();
}

void AtomicFileWriter::Discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    target_.Discard();
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicFileWriter writer(path);
    writer.Write(bytes);
    return writer.Commit();
}
