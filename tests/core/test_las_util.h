// Small helpers shared by the LAS tests: LAS texts written to a temporary folder and loaded, files
// read back as bytes, a curve as a vector.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Lasfile.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

namespace las_test {

using strativ::test::ReadFileBytes;
using strativ::test::WriteFileBytes;

inline std::vector<float> Curve(const TLASFile& document, int index)
{
    const float* values = document.GetCurveData(index);
    return values ? std::vector<float>(values, values + document.GetPointCount())
                  : std::vector<float>();
}

// A temporary folder for the files of one test.
class LasFiles {
public:
    std::string Path(const std::string& name) const { return dir_.file(name); }
    // Writes the text to a new file of the folder and returns its path.
    std::string Write(const std::string& text)
    {
        const std::string path = Path("file" + std::to_string(++count_) + ".las");
        WriteFileBytes(path, text);
        return path;
    }
    std::unique_ptr<TLASFile> Load(const std::string& text, int decimals = 2)
    {
        return std::make_unique<TLASFile>(Write(text), decimals);
    }
    // The bytes of the document saved to a new file of the folder.
    std::string Save(const TLASFile& document)
    {
        const std::string path = Path("saved" + std::to_string(++saved_) + ".las");
        EXPECT_TRUE(document.WriteLas(path));
        return ReadFileBytes(path);
    }

private:
    strativ::test::TempDir dir_;
    int count_ = 0;
    int saved_ = 0;
};

} // namespace las_test
