// The rows a scan writes for a generated tree of 1,000 varied files, compared with a stored
// expectation: any change in what is indexed (values, their decoding, which files get a row)
// changes the digest.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "library/LogFileDBManager.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

using namespace strativ::test;

namespace {

// Writes files from a seeded generator: every choice comes from the raw engine output, which
// the standard fixes, so the tree is the same on every platform.
class LasTreeGenerator {
public:
    explicit LasTreeGenerator(uint64_t seed) : random_(seed) {}

    void Write(const std::string& root, int fileCount)
    {
        for (int i = 0; i < fileCount; ++i) {
            const std::string path = root + "/" + Folder() + Name(i);
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            std::ofstream(path, std::ios::binary) << Content();
        }
    }

private:
    size_t Pick(size_t n) { return static_cast<size_t>(random_() % n); }
    bool Chance(int percent) { return Pick(100) < static_cast<size_t>(percent); }
    template <size_t N>
    const char* PickOf(const char* const (&items)[N])
    {
        return items[Pick(N)];
    }

    std::string Folder()
    {
        static const char* const parts[] = {"Месторождение", "north", "south", "2019", "old las", "x'y"};
        std::string folder;
        for (size_t depth = Pick(4); depth > 0; --depth)
            folder += std::string(PickOf(parts)) + "/";
        return folder;
    }

    std::string Name(int i)
    {
        static const char* const extensions[] = {".las", ".las", ".las", ".las", ".las", ".las",
                                                 ".LAS", ".Las", ".txt", "", ".las.bak", ".x.las"};
        return "f" + std::to_string(i) + PickOf(extensions);
    }

    std::string Value()
    {
        static const char* const values[] = {
            "",
            "Well 7",
            "  padded value  ",
            "O'Neil #3",
            "A:B:C",
            "13-DEC-86",
            "\x8c\xa5\xe1\xe2\xae\xe0\xae\xa6\xa4\xa5\xad\xa8\xa5",  // CP866
            "\xcc\xe5\xf1\xf2\xee\xf0\xee\xe6\xe4\xe5\xed\xe8\xe5",  // CP1251
            "Сква­жина №1",                                           // UTF-8
            "value\twith tab",
            "1.5 M",
        };
        if (Chance(3))
            return std::string(300, 'L') + "end";  // longer than 255 bytes
        return PickOf(values);
    }

    std::string WellLine(bool las12)
    {
        static const char* const mnemonics[] = {"WELL", "COMP", "FLD", "SRVC", "DATE", "UWI", "API", "LOC",
                                                "well", "Fld", "STRT", "CTRY", "PROV", "XYZ"};
        static const char* const units[] = {"", "M", "FT", "."};
        std::string mnemonic = PickOf(mnemonics);
        if (Chance(20))
            mnemonic = " " + mnemonic + "  ";
        const std::string unit = PickOf(units);
        const std::string value = Value();
        const std::string description = Chance(70) ? Value() : "";
        switch (Pick(5)) {
        case 0: return mnemonic + "." + unit + " " + (las12 ? description + " : " + value : value);
        case 1: return mnemonic + "." + unit;
        case 2: return mnemonic + "." + unit + "   " + (las12 ? description : value) + ":" + (las12 ? value : description);
        default:
            return " " + mnemonic + "." + unit + "      " + (las12 ? description : value) + " : " +
                   (las12 ? value : description);
        }
    }

    std::string Header()
    {
        static const char* const versions[] = {"1.2", "2.0", "2.0", "3.0", "abc", ""};
        const std::string version = PickOf(versions);
        const bool las12 = version == "1.2";
        std::vector<std::string> lines;
        if (Chance(10))
            lines.push_back("# written by a generator");
        if (Chance(90))
            lines.push_back(Chance(50) ? "~Version Information" : "~V");
        if (!version.empty())
            lines.push_back(" VERS.   " + version + " : CWLS LOG ASCII STANDARD");
        lines.push_back(" WRAP.   NO : ONE LINE PER DEPTH STEP");
        for (int section = Chance(10) ? 2 : Chance(90) ? 1 : 0; section > 0; --section) {
            lines.push_back(Chance(50) ? "~Well Information" : "~w");
            for (size_t n = 2 + Pick(10); n > 0; --n) {
                switch (Pick(12)) {
                case 0: lines.push_back("# comment . with : dots"); break;
                case 1: lines.push_back(""); break;
                case 2: lines.push_back("no dot here"); break;
                default: lines.push_back(WellLine(las12)); break;
                }
            }
            if (Chance(20))
                lines.push_back("~Parameter Information\n BHT .DEGC   35.5 : BOTTOM HOLE");
        }
        lines.push_back("~Curve Information\n DEPT.M : DEPTH\n GR  .API : GAMMA RAY");
        if (Chance(5))
            lines.push_back("~Other\nfree text, WELL. not a line : really");
        lines.push_back("~A  DEPTH     GR\n100.0  55.5\n100.1  56.25");
        return Join(lines);
    }

    std::string Join(const std::vector<std::string>& lines)
    {
        static const char* const ends[] = {"\n", "\n", "\r\n", "\r"};
        const std::string end = PickOf(ends);
        std::string text;
        for (const std::string& line : lines) {
            for (const char c : line)
                text += c == '\n' ? end : std::string(1, c);
            text += end;
        }
        return text;
    }

    std::string Content()
    {
        std::string text = Header();
        switch (Pick(40)) {
        case 0: return "";
        case 1: return "plain text, no sections\n";
        case 2: return text.insert(text.size() / 3, 1, '\0');
        case 3: return text.insert(text.size() / 2, 1, '\x1A');
        case 4: {  // UTF-16 little endian
            std::string wide = "\xFF\xFE";
            for (const char c : text)
                wide += std::string{c, '\0'};
            return wide;
        }
        case 5: return "\xEF\xBB\xBF" + text;
        default: return text;
        }
    }

    std::mt19937_64 random_;
};

uint64_t Fnv1a(const std::string& text, uint64_t hash = 14695981039346656037ULL)
{
    for (const unsigned char c : text)
        hash = (hash ^ c) * 1099511628211ULL;
    return hash;
}

TEST(LibraryIndexExpectation, GeneratedTreeGivesTheStoredRows)
{
    TempDir dir;
    const std::string root = dir.file("tree");
    LasTreeGenerator(20261207).Write(root, 1000);

    LogFileDBManager manager;
    manager.Open(dir.file("las_files.db"));
    manager.AddLookupPath(root);
    std::string error;
    const int written = manager.RescanAllPaths(&error);
    EXPECT_EQ(error, "");

    Strings rows = LibraryDbProbe(dir.file("las_files.db")).Rows("SELECT * FROM logfiles ORDER BY file;");
    uint64_t digest = Fnv1a("");
    for (std::string& row : rows) {
        ASSERT_EQ(row.compare(0, root.size() + 1, root + "/"), 0) << row;
        row.erase(0, root.size() + 1);
        digest = Fnv1a(row + '\n', digest);
    }
    EXPECT_EQ(written, static_cast<int>(rows.size()));
    EXPECT_EQ(rows.size(), 542u);
    EXPECT_EQ(digest, 6013499452083007068ULL);
    // A few rows spelled out, so that a change shows what it changed.
    const std::pair<size_t, std::string> spelled[] = {
        {7, "2019/2019/f935.las|||" + std::string(300, 'L') + "end|||"},  // a long value whole
        {31, "2019/f897.las||||||13-DEC-86 : A:B"},
        {131, "f551.las||||B:C:|13-DEC-86|"},
        {229, "north/f77.las||||Well 7|╠хёЄюЁюцфхэшх|13-DEC-86"},
        {328, "old las/x'y/x'y/f682.las||value\twith tab|Месторождение|O'Neil #3|Месторождение|"},
        {447, "x'y/x'y/f235.x.las|РЎРєРІР°В­Р¶РёРЅР° в„–1:A:B||||Месторождение|"},
        {512, "Месторождение/old las/old las/f413.las|╨б╨║╨▓╨░┬н╨╢╨╕╨╜╨░ тДЦ1|1.5 M|||padded value|"},
    };
    for (const auto& [index, row] : spelled)
        EXPECT_EQ(index < rows.size() ? rows[index] : "", row) << index;

    // A file added alone gets the row the scan gave it (every eighth file: each is a commit).
    LogFileDBManager single;
    single.Open(dir.file("single.db"));
    const std::string sample = " WHERE rowid % 8 = 0 ORDER BY file;";
    LibraryDbProbe scanned(dir.file("las_files.db"));
    for (const std::string& file : scanned.Rows("SELECT file FROM logfiles" + sample))
        EXPECT_TRUE(single.AddFile(file)) << file;
    EXPECT_EQ(LibraryDbProbe(dir.file("single.db")).Rows("SELECT * FROM logfiles ORDER BY file;"),
              scanned.Rows("SELECT * FROM logfiles" + sample));
}

}  // namespace
