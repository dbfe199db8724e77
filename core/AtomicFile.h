// Writing a file so that the target is either the complete new content or left as it was:
// the bytes go to a temporary file in the target's folder, which is renamed over the target.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

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
    const std::string& Error() const { return error_; }

private:
    void Fail(const std::string& what);
    void Discard();

    std::string target_;
    std::string tempPath_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    std::string error_;
};

bool WriteFileAtomically(const std::string& path, std::string_view bytes);
