// String helpers: path parts, line reading, case rules of UTF-8 text, number conversions.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "core/StringUtils.h"

TEST(StringUtils, PathPartsSplitOnEitherSeparator)
{
    struct Case { const char *path, *dir, *name, *ext; };
    const Case cases[] = {
        {"/data/well.las", "/data/", "well.las", "las"},     {"C:\\logs\\Well.LAS", "C:\\logs\\", "Well.LAS", "LAS"},
        {"mixed\\a/b.c.txt", "mixed\\a/", "b.c.txt", "txt"}, {"/folder.v2/noext", "/folder.v2/", "noext", ""},
        {"plain", "", "plain", ""},                          {"/data/", "/data/", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractDirPart(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractExtPart(c.path), c.ext) << c.path;
    }
}

TEST(StringUtils, ReadLineAcceptsEveryLineEndAndFailsAtTheEnd)
{
    std::istringstream in("one\r\ntwo\nthree\rfour\r\n\r\nlast");
    std::vector<std::string> lines;
    std::string line;
    while (ReadLine(in, line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "last"}));
}

TEST(StringUtils, CaseRulesOfLatinAndCyrillic)
{
    EXPECT_EQ(LowerCaseCp1251("ABC АБВПРСЯ Ёё №5"), "abc абвпрся Ёё №5");  // Ё is not in the range
    EXPECT_EQ(AnsiUpperCase("well абвгдеёжзийклмнопрстуфхцчшщъыьэюя іїєґў"),
              "WELL АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ ІЇЄҐЎ");
    EXPECT_EQ(AnsiUpperCase(std::string("a\xE0z\x80", 4)), std::string("A\xE0Z\x80", 4));  // stray bytes kept
    struct Case { const char *a, *b; int sign; };
    const Case cases[] = {{"Well", "WELL", 0}, {"скв", "СКВ", 0}, {"ab", "abc", -1}, {"b", "A", 1}, {"Е", "Ё", -1},
                          {"ё", "Ж", -1},      {"Ёлка", "ель", 1}, {"Z", "а", -1},   {"", "", 0}};
    for (const Case& c : cases) {
        const int result = AnsiCompareText(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(StringUtils, LexicalCastsUseThePointAndReportFailure)
{
    const std::pair<const char*, float> good[] = {{"1.5", 1.5f}, {"  -2e3xyz", -2000.0f}, {".25", 0.25f}, {"1,5", 1.0f}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(LexicalCastToFloat(text), value) << text;
    for (const char* bad : {"", "   ", "abc", "-", "e5", "1e999"})
        EXPECT_THROW(LexicalCastToFloat(bad), std::runtime_error) << bad;
    try {
        LexicalCastToFloat("x");
        ADD_FAILURE();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Invalid data type conversion");
    }
    EXPECT_EQ(LexicalCast(18446744073709551615ULL), "18446744073709551615");
}
