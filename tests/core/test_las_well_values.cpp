// The ~W values read without the header model are those of the header reader, for the corpus and
// for headers on the edges of the line reader (one reader reused from file to file).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/LasParser2.h"
#include "core/LasWellValues.h"
#include "tests/common/TestPaths.h"

using namespace std::string_literals;

namespace {

// Compares every table code; returns whether the header was read.
bool ExpectSameAsHeader(LasWellValueReader& reader, const std::string& path)
{
    TLasParser2Header header;
    const bool parsed = header.ParseFile(path);
    EXPECT_EQ(reader.Read(path), parsed) << path;
    if (!parsed)
        return false;
    for (int code = kLineVers; code <= kLineApi; ++code) {
        const TLasParsParsedString* line = header.GetWellSection().FindLineByCode(code);
        const std::string* value = reader.Value(code);
        EXPECT_EQ(value != nullptr, line != nullptr) << path << " code " << code;
        EXPECT_EQ(value ? *value : "", line ? header.Decode(line->Value()) : "") << path << " code " << code;
    }
    return true;
}

TEST(LasWellValues, CorpusFilesGiveTheHeaderReadersValues)
{
    STRATIV_REQUIRE_CORPUS();
    LasWellValueReader reader;
    int read = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(strativ::test::CorpusDir()))
        if (entry.is_regular_file())
            read += ExpectSameAsHeader(reader, entry.path().string());
    EXPECT_GT(read, 50);
}

TEST(LasWellValues, HeadersOnTheEdgesOfTheLineReader)
{
    strativ::test::TempDir dir;
    const auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(dir.file(name), std::ios::binary) << text;
        return dir.file(name);
    };
    const std::string well = "~W\r WELL.  \x8c\xa5\xe1\xe2\xae : name\r FLD .M  Field:with:colons : F\r";
    const std::string las12 = "~V\n VERS.  1.20 : CWLS\n~W\n WELL.  WELL : Well 1: the first\n"
                              " COMP.  COMPANY : \n DATE.  : 1-JAN-90\n STRT.M 10 : START\n~A\n1\n";
    const std::string longOther = "~V\n VERS. 2.0 :\n~O\n" + std::string(70000, 'o') + "\n" +
                                  std::string(100, 'x') + "\n~W\n UWI .  " + std::string(300, '7') + " : id\n~A\n";
    const std::string utf16 = std::string("\xFF\xFE~\0V\0", 6);

    LasWellValueReader reader;
    // Failures in between must leave nothing behind for the next file.
    EXPECT_TRUE(ExpectSameAsHeader(reader, write("cr.las", well)));
    EXPECT_FALSE(ExpectSameAsHeader(reader, write("utf16.las", utf16)));
    EXPECT_FALSE(ExpectSameAsHeader(reader, dir.file("missing.las")));
    EXPECT_TRUE(ExpectSameAsHeader(reader, write("las12.las", las12)));
    EXPECT_EQ(*reader.Value(kLineWell), "Well 1: the first");
    EXPECT_EQ(*reader.Value(kLineComp), "");
    EXPECT_EQ(reader.Value(kLineFld), nullptr);
    EXPECT_TRUE(ExpectSameAsHeader(reader, write("long.las", longOther)));
    EXPECT_EQ(reader.Value(kLineUwi)->size(), 300u);
    EXPECT_FALSE(ExpectSameAsHeader(reader, write("binary.las", "~V\n VERS. 2.0 :\n~W\n WELL. a\0b :\n"s)));
    EXPECT_FALSE(ExpectSameAsHeader(reader, write("nosections.las", "~C\n DEPT.M :\n~A\n1\n")));
    EXPECT_TRUE(ExpectSameAsHeader(reader, write("bom.las", "\xEF\xBB\xBF~W\n WELL. Скв : w\n")));
    EXPECT_EQ(*reader.Value(kLineWell), "Скв");
}

}  // namespace
