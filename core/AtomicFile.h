// Writing a file so that the target is either the complete new content or left as it was:
// the bytes go to a temporary file in the target's folder, which is renamed over the target.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// A temporary file beside the target, for writers that open it by name themselves. Commit
// renames it over the target, keeping the old file's mode; anything not committed is removed.
class AtomicFileTarget {
public:
    explicit AtomicFileTarget(std::string targetPath);
    ~AtomicFileTarget();
    AtomicFileTarget(const AtomicFileTarget&) = delete;
    AtomicFileTarget& operator=(const AtomicFileTarget&) = delete;

    bool IsValid() const { return !tempPath_.empty(); }
    const std::string& TempPath() const { return tempPath_; }
    const std::string& Target() const { return target_; }
    // The temporary file must be complete and closed; false (target untouched) on failure.
    bool Commit();
    void Discard();
    // Records the first failure with the system's error code (errno; EIO when it gave none).
    void Fail();
    bool Failed() const { return failed_; }
    // errno of the first failure, 0 when none; the window layer words it.
    int SystemError() const { return systemError_; }

private:
    std::string target_;
    std::string tempPath_;
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
    void Write(std::string_view bytes);
    // Flushes, closes and renames over the target; false (target untouched) on any failure.
    bool Commit();
    int SystemError() const { return target_.SystemError(); }

private:
    void Discard();

    AtomicFileTarget target_;
    std::FILE* file_ = nullptr;
};

bool WriteFileAtomically(const std::string& path, std::string_view bytes);
