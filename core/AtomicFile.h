// Writing a file so that the target is either the complete new content or left as it was:
// the bytes go to a temporary file in the target's folder, which is renamed over the target.
// An existing target keeps its owner, group, mode and hard links: where a rename would change
// them (or the folder may not be written) the complete temporary is copied into the file in
// place, the old content kept aside (whole, synced and recorded in the save journal) until that
// copy is on disk. A file the user may not write is refused before anything is made.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// A temporary file for the target (beside it where the folder may be written), for writers that
// open it by name themselves. Commit puts it in the target's place; anything not committed is
// removed. The temporaries that killed saves left are removed on the way.
class AtomicFileTarget {
public:
    explicit AtomicFileTarget(std::string targetPath);
    ~AtomicFileTarget();
    AtomicFileTarget(const AtomicFileTarget&) = delete;
    AtomicFileTarget& operator=(const AtomicFileTarget&) = delete;

    bool IsValid() const { return !tempPath_.empty(); }
    const std::string& TempPath() const { return tempPath_; }
    // The file written: the path with its symbolic links followed.
    const std::string& Target() const { return target_; }
    // The temporary file must be complete and closed; false (target untouched) on failure.
    // `replaceExisting` false: a target that exists by then stays, and the commit fails (EEXIST).
    bool Commit(bool replaceExisting = true);
    void Discard();
    // Records the first failure with the system's error code (errno; EIO when it gave none).
    void Fail();
    bool Failed() const { return failed_; }
    // errno of the first failure, 0 when none; the window layer words it.
    int SystemError() const { return systemError_; }

private:
    void Prepare();
    bool WriteInPlace();

    std::string target_;
    std::string tempPath_;
    std::string record_;  // the temporary's record in the save journal
    int fd_ = -1;  // the temporary, locked while open
    bool inPlace_ = false;
    bool failed_ = false;
    int systemError_ = 0;
};

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    const std::string& TempPath() const { return target_.TempPath(); }
    void Write(std::string_view bytes);
    bool Failed() const { return target_.Failed(); }
    // Flushes, closes and puts the file in the target's place; false (target untouched) on any failure.
    bool Commit(bool replaceExisting = true);
    // Drops what was written; the target stays as it was.
    void Discard();
    int SystemError() const { return target_.SystemError(); }

private:
    AtomicFileTarget target_;
    std::FILE* file_ = nullptr;
};

bool WriteFileAtomically(const std::string& path, std::string_view bytes);

