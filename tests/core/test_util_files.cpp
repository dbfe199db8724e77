// File helpers: mask matching, listing, unique names, reading a file's first lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/FileUtils.h"
#include "tests/common/TestPaths.h"

TEST(FileUtils, MaskMatchesIgnoringLetterCase)
{
    struct Case { const char *name, *mask; bool match; };
    const Case cases[] = {
        {"well.LAS", "*.las", true},   {"WELL.las", "*.LAS", true},    {"well.las.bak", "*.las", false},
        {"well.lasx", "*.las", false}, {"ip_12.sav", "ip_*.sav", true}, {"ab.las", "?.las", false},
        {"ж.las", "?.LAS", true},      {"Скв1.las", "скв*", true},       {"aXbYb", "*a*b", true},
        {"aXbYc", "*a*b", false},      {"noext", "*.*", true},         {"x", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
}

TEST(FileUtils, ListingUniqueNamesAndFirstLines)
{
    strativ::test::TempDir dir;
    for (const char* name : {"a.las", "B.LAS", "c.Las", "d.txt", "ip_0.sav", "ip_1.sav", "ip_3.sav"})
        std::ofstream(dir.file(name)) << "1 2\r\n3 4\r\n5 6";
    std::filesystem::create_directory(dir.file("sub.las"));
    std::filesystem::create_directory(dir.file("ip_2.sav"));  // a folder takes the name too

    std::vector<std::string> names = GetFileList(dir.path(), "*.las");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.LAS", "a.las", "c.Las"}));
    names = GetSubdirList(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ip_2.sav", "sub.las"}));
    EXPECT_TRUE(GetFileList(dir.file("missing"), "*").empty());

    EXPECT_EQ(MakeUniqueFileName(dir.path(), "ip_", "sav"), dir.file("ip_4.sav"));
    EXPECT_EQ(MakeUniqueFileName(dir.path() + "/", "new", "las"), dir.file("new0.las"));

    EXPECT_EQ(ReadTextFileLines(dir.file("d.txt"), 2, "\r\n"), "\r\n1 2\r\n3 4");
    EXPECT_EQ(ReadTextFileLines(dir.file("d.txt"), 0, "|"), "|1 2|3 4|5 6");
    EXPECT_EQ(ReadTextFileLines(dir.file("missing.txt"), 32, "|"), "");

    DeleteFileByName(dir.file("a.las"));
    DeleteFileByName(dir.file("sub.las"));  // only files are deleted
    EXPECT_FALSE(FileExists(dir.file("a.las")));
    EXPECT_TRUE(FileExists(dir.file("sub.las")));
}
