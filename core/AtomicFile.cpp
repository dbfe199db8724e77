// Temporary file beside the target, flushed to disk, then renamed over the target.
#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
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
        Fail("cannot create a temporary file beside " + target_);
        return;
    }
    tempPath_ = pattern;
    // mkstemp creates 0600; the new file keeps the old file's mode, or the usual 0644.
    struct stat old {};
    fchmod(fd, stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        close(fd);
        Fail("cannot open " + tempPath_);
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
    if (!file_ || failed_ || bytes.empty())
        return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        Fail("write failed");
}

bool AtomicFileWriter::Commit()
{
    if (!file_ || failed_) {
        Discard();
        return false;
    }
    const bool flushed = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
        Fail("write failed");
        Discard();
        return false;
    }
    if (std::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        Fail("cannot replace " + target_);
        Discard();
        return false;
    }
    tempPath_.clear();
    return true;
}

void AtomicFileWriter::Fail(const std::string& what)
{
    if (!failed_)
        error_ = what + ": " + std::strerror(errno);
    failed_ = true;
}

void AtomicFileWriter::Discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        std::remove(tempPath_.c_str());
        tempPath_.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicFileWriter writer(path);
    writer.Write(bytes);
    return writer.Commit();
}
