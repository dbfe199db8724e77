// Paths for tests: the shared corpus of real LAS files and temporary folders.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace strativ::test {

// The public LAS sample files, kept beside the repository (never copied into it).
inline std::string CorpusDir()
{
    return std::string(STRATIV_SOURCE_DIR) + "/../shared/corpus/lasio";
}

// Skips the test, naming the folder, when the corpus is not beside the repository.
#define STRATIV_REQUIRE_CORPUS()                                                                  \
    do {                                                                                          \
        if (!std::filesystem::is_directory(::strativ::test::CorpusDir()))                         \
            GTEST_SKIP() << "the LAS corpus is not at " << ::strativ::test::CorpusDir();          \
    } while (false)

// Folder where tests leave files meant for a person to look at (images, PDFs).
inline std::string OutputDir()
{
    return std::string(STRATIV_BINARY_DIR) + "/test-output";
}

// A fresh temporary folder (in the system's temporary folder unless `parent` is given), removed
// with everything in it on destruction.
class TempDir {
public:
    explicit TempDir(const std::filesystem::path& parent = std::filesystem::temp_directory_path())
    {
        std::string pattern = (parent / "strativ-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

} // namespace strativ::test
