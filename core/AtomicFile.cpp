// Temporary file beside the target, flushed to disk, then renamed over the target (the folder synced
// after) or copied into it with the old content journaled aside.
#include "core/AtomicFile.h"

#include "core/SaveJournal.h"
#include "core/TempFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where the temporary of a file in a folder we may not write goes: the journal's folder, which
// outlives a restart, or else the system's temporary folder.
std::string TempFolder()
{
    if (!savejournal::Folder().empty())
        return savejournal::Folder();
    std::error_code error;
    const std::string folder = std::filesystem::temp_directory_path(error).string();
    return error || folder.empty() ? std::string("/tmp/") : folder + "/";
}

// Takes the disk space the file needs to grow to `size` before any byte of it changes.
bool Reserve(int fd, off_t size)
{
    return size == 0 || fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0 || errno == EOPNOTSUPP || errno == ENOSYS;
}

} // namespace

AtomicFileTarget::AtomicFileTarget(std::string targetPath)
    : target_(std::move(targetPath))
{
    Prepare();
}

void AtomicFileTarget::Prepare()
{
    // Through a symbolic link the file it points at is written, made if missing; the link stays.
    target_ = FollowLinks(target_);
    struct stat old {};
    const bool exists = !target_.empty() && stat(target_.c_str(), &old) == 0;
    // Only a plain file is replaced: a folder, pipe or device stays as it is.
    if (exists && !S_ISREG(old.st_mode))
        errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
    // A file the user may not write is refused before anything is made.
    if (target_.empty() || (exists && (!S_ISREG(old.st_mode) ||
                                       faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0))) {
        Fail();
        return;
    }
    const std::string folder = FolderOf(target_);
    const bool folderWritable = faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    if (!exists && !folderWritable) {
        Fail();
        return;
    }
    inPlace_ = exists && (!folderWritable || old.st_nlink > 1);
    const std::string tempFolder = folderWritable ? folder : TempFolder();
    savejournal::RemoveLeftTemporaries();
    fd_ = MakeLockedTemporary(tempFolder, kTemporaryName, tempPath_);
    if (fd_ < 0) {
        Fail();
        return;
    }
    record_ = savejournal::RecordTemporary(tempPath_, fd_);
    if (!exists) {
        fchmod(fd_, 0644);
        return;
    }
    if (inPlace_)
        return;
    // The new file takes the old one's owner and group, or the old file is written in place.
    struct stat made {};
    if (fstat(fd_, &made) != 0 ||
        ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && fchown(fd_, old.st_uid, old.st_gid) != 0)) {
        inPlace_ = true;
        return;
    }
    fchmod(fd_, old.st_mode & 07777);
}

AtomicFileTarget::~AtomicFileTarget()
{
    Discard();
}

bool AtomicFileTarget::Commit(bool replaceExisting)
{
    if (!replaceExisting && inPlace_) {
        errno = EEXIST;
        Fail();
    }
    if (tempPath_.empty() || failed_) {
        Discard();
        return false;
    }
    // The content reaches the disk before the name does, and the name before the save is reported.
    bool done = fsync(fd_) == 0;
    if (done && inPlace_) {
        done = WriteInPlace();
    } else if (done && replaceExisting && std::rename(tempPath_.c_str(), target_.c_str()) == 0) {
        tempPath_.clear();
        done = SyncFolderOf(target_);
    } else if (done && !replaceExisting && link(tempPath_.c_str(), target_.c_str()) == 0) {
        // A link never replaces a name: the temporary's own goes with Discard.
        done = SyncFolderOf(target_);
    } else {
        done = false;
    }
    if (!done)
        Fail();
    Discard();
    return done;
}

bool AtomicFileTarget::WriteInPlace()
{
    const int out = open(target_.c_str(), O_RDWR | O_CLOEXEC);
    struct stat next {};
    struct stat old {};
    std::string copyPath;
    std::string record;
    int copy = -1;
    bool keepCopy = false;
    // The old content is kept aside, whole on disk and recorded, and the room the new one needs
    // taken, before any byte of the target changes.
    if (out < 0 || fstat(fd_, &next) != 0 || fstat(out, &old) != 0 || !Reserve(out, next.st_size) ||
        (copy = MakeLockedTemporary(FolderOf(tempPath_), kCopyName, copyPath)) < 0 ||
        ((record = savejournal::RecordTemporary(copyPath, copy)).empty() && !savejournal::Folder().empty()) ||
        !CopyContent(out, copy, old.st_size) || !SyncFolderOf(copyPath) ||
        !savejournal::RecordCopy(record, copyPath, copy, target_, old.st_size, next.st_size)) {
        Fail();
    } else if (!savejournal::WriteRecordedTarget(fd_, out, next.st_size, record)) {
        Fail();
        // The old content goes back; should even that fail, its copy stays, recorded.
        keepCopy = !CopyContent(copy, out, old.st_size);
    }
    if (copy >= 0 && !keepCopy) {
        unlink(copyPath.c_str());
        SyncFolderOf(copyPath);
        savejournal::Drop(record, true);
    }
    if (copy >= 0)
        close(copy);
    if (out >= 0)
        close(out);
    return !failed_;
}

void AtomicFileTarget::Discard()
{
    if (!tempPath_.empty()) {
        std::remove(tempPath_.c_str());
        tempPath_.clear();
    }
    savejournal::Drop(record_, false);
    record_.clear();
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
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

bool AtomicFileWriter::Commit(bool replaceExisting)
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
    return target_.Commit(replaceExisting);
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
