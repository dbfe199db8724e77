// Saves that rewrite only what changed: one edited value changes its own line, a block whose
// every value changed keeps the file's columns, the texts of the values that kept theirs and the
// tabs before new texts in the old places, a file rewritten behind the program's back is not
// copied, and a DOS end-of-file byte is kept at the end or named inside the data.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/Lasfile.h"
#include "tests/core/test_las_text.h"
#include "tests/core/test_las_util.h"

namespace {

using las_test::Curve;
using las_test::LasText;
using las_test::ReadFileBytes;
using las_test::Shape;

std::vector<std::string_view> Lines(std::string_view text, std::string_view eol)
{
    std::vector<std::string_view> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find(eol, at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + eol.size();
    }
    return lines;
}

// The lines of `after` that differ from those of `before`, which has as many.
std::vector<size_t> ChangedLines(std::string_view before, std::string_view after, std::string_view eol)
{
    const std::vector<std::string_view> old = Lines(before, eol);
    const std::vector<std::string_view> now = Lines(after, eol);
    std::vector<size_t> changed;
    for (size_t i = 0; i < std::max(old.size(), now.size()); ++i)
        if (i >= old.size() || i >= now.size() || old[i] != now[i])
            changed.push_back(i);
    return changed;
}

void ExpectSameValues(const TLASFile& read, const TLASFile& document)
{
    ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(Curve(read, c), Curve(document, c)) << c;
}

class LasSaveBlocks : public ::testing::Test {
protected:
    std::string Save(const TLASFile& document, const std::string& name, bool completeRows = false)
    {
        const std::string path = files_.Path(name);
        EXPECT_TRUE(document.WriteLas(path, completeRows));
        return ReadFileBytes(path);
    }
    las_test::LasFiles files_;
};

} // namespace

// An unchanged save gives the file back; one edited value changes the line that holds it, and the
// file saved over is where the next save copies from; a block whose every value changed keeps
// every line in its columns (blanks before the line ends included), also where the depth widened
// past 1000 in an earlier block and where the texts are padded after.
TEST_F(LasSaveBlocks, OnlyTheLinesOfChangedValuesDiffer)
{
    for (const Shape& shape : {Shape{"\n", false, false, 100000}, Shape{"\r\n", true, true, 20000},
                               Shape{"\r\n", false, true, 20000, false, "  "},
                               Shape{"\n", false, false, 20000, false, "", "%s%s%10.3f%10s", 990},
                               Shape{"\r\n", false, true, 20000, false, "", "%-10s%s%-10.3f %-10s "}}) {
        SCOPED_TRACE(shape.row + std::to_string(shape.rows));
        const std::string input = LasText(shape);
        const std::string path = files_.Write(input);
        TLASFile document(path, 2);
        ASSERT_EQ(document.GetPointCount(), shape.rows) << document.GetLoadError();
        EXPECT_EQ(Save(document, "same.las"), input);

        const size_t headerLines = Lines(input.substr(0, input.find("~A") + 2), shape.eol).size();
        const auto lineOfValue = [&](int sample) {
            const int row = shape.descending ? shape.rows - 1 - sample : sample;
            return headerLines + static_cast<size_t>(row) * (shape.wrapped ? 2 : 1) +
                   (shape.wrapped ? 1 : 0);
        };
        const int middle = shape.rows / 2 + 3;
        document.GetCurveData(1)[middle] += 1.0f;
        ASSERT_TRUE(document.WriteLas(path));
        const std::string saved = ReadFileBytes(path);
        EXPECT_EQ(ChangedLines(input, saved, shape.eol), std::vector<size_t>{lineOfValue(middle)});
        document.GetCurveData(2)[7] = 5.5f;
        EXPECT_EQ(ChangedLines(saved, Save(document, "two.las"), shape.eol),
                  std::vector<size_t>{lineOfValue(7)});

        // The third block of the file, its rows in either order.
        const int first = shape.descending ? shape.rows - 3 * kLasBlockRows : 2 * kLasBlockRows;
        for (int sample = first; sample < first + kLasBlockRows; ++sample)
            for (int c = 0; c < 3; ++c)
                document.GetCurveData(c)[sample] += c == 0 ? 0.01f : 2.0f;
        const std::string all = Save(document, "all.las");
        ExpectSameValues(TLASFile(files_.Path("all.las"), 2), document);
        const std::vector<std::string_view> before = Lines(saved, shape.eol);
        const std::vector<std::string_view> after = Lines(all, shape.eol);
        ASSERT_EQ(after.size(), before.size());
        size_t moved = 0;
        size_t changed = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            moved += before[i].size() != after[i].size() ? 1 : 0;
            changed += before[i] != after[i] ? 1 : 0;
        }
        EXPECT_EQ(moved, 0u);
        EXPECT_EQ(changed, (shape.wrapped ? 2u : 1u) * kLasBlockRows + 1);
    }
}

// A block whose every column changed, every other row of it: the rows that kept their values
// keep their lines byte for byte, eight-digit texts that are not their float's shortest included;
// the changed ones (by a whole unit, by less than a hundredth) read back as the document.
TEST_F(LasSaveBlocks, ValuesKeptInAChangedBlockKeepTheirTexts)
{
    for (const Shape& shape : {Shape{"\n", false, false, 3 * kLasBlockRows, true},
                               Shape{"\r\n", true, true, 3 * kLasBlockRows, true}}) {
        SCOPED_TRACE(shape.eol);
        const std::string input = LasText(shape);
        TLASFile document(files_.Write(input), 2);
        ASSERT_EQ(document.GetPointCount(), shape.rows) << document.GetLoadError();
        const size_t headerLines = Lines(input.substr(0, input.find("~A") + 2), shape.eol).size();
        const size_t linesPerRow = shape.wrapped ? 2 : 1;
        std::vector<size_t> changed;
        for (int row = kLasBlockRows + 1; row < 2 * kLasBlockRows; row += 2) {
            const int sample = shape.descending ? shape.rows - 1 - row : row;
            document.GetCurveData(0)[sample] += 0.01f;
            document.GetCurveData(1)[sample] += 1.0f;
            document.GetCurveData(2)[sample] -= 0.001f;
            for (size_t line = 0; line < linesPerRow; ++line)
                changed.push_back(headerLines + static_cast<size_t>(row) * linesPerRow + line);
        }
        EXPECT_EQ(ChangedLines(input, Save(document, "half.las"), shape.eol), changed);
        ExpectSameValues(TLASFile(files_.Path("half.las"), 2), document);
    }
}

// One-decimal texts in a block whose every column changed, every other row of it but the last:
// the rows that kept their values keep their lines, texts whose float lies a few tenths off
// included (4999999.9 reads as 5000000); the others change. Depths padded, and unpadded, where
// their texts are shorter than the widest a number is looked at in.
TEST_F(LasSaveBlocks, OneDecimalTextsKeptInAChangedBlock)
{
    static const char* const kTexts[] = {"4999999.9", "16777217.0", "-0.5", "12.3"};
    for (const char* depthFormat : {"%10.1f", "%.1f"}) {
        SCOPED_TRACE(depthFormat);
        std::string input = "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n STRT.M 990.0 :\n STOP.M 1809.1 :\n"
                            " STEP.M 0.1 :\n NULL. -999.25 :\n~Curve\n DEPT.M :\n A.U :\n B.U :\n~A\n";
        const size_t headerLines = 13;
        char depth[32];
        char row[64];
        for (int r = 0; r < 2 * kLasBlockRows; ++r) {
            std::snprintf(depth, sizeof depth, depthFormat, 990.0 + r * 0.1);
            std::snprintf(row, sizeof row, "%s%12s%10.1f\n", depth, kTexts[r % 4], r % 7 * 1.5);
            input += row;
        }
        TLASFile document(files_.Write(input), 2);
        ASSERT_EQ(document.GetPointCount(), 2 * kLasBlockRows) << document.GetLoadError();
        std::vector<size_t> changed;
        for (int sample = kLasBlockRows + 1; sample < 2 * kLasBlockRows - 1; sample += 2) {
            document.GetCurveData(0)[sample] += 0.05f;
            document.GetCurveData(1)[sample] += 2.0f;
            document.GetCurveData(2)[sample] += 1.0f;
            changed.push_back(headerLines + static_cast<size_t>(sample));
        }
        EXPECT_EQ(ChangedLines(input, Save(document, "half.las"), "\n"), changed);
    }
}

// A file rewritten in place by another program, its size, time stamp and inode put back, with a
// comment line and a row of extra values: nothing of it is copied, and the save reads back as the
// document, before and after an edit.
TEST_F(LasSaveBlocks, FileRewrittenBehindTheProgramsBackIsNotCopied)
{
    for (const bool wrapped : {false, true}) {
        SCOPED_TRACE(wrapped);
        const Shape shape{"\n", wrapped, false, 40};
        const std::string input = LasText(shape);
        const std::string path = files_.Write(input);
        struct stat before {};
        ASSERT_EQ(stat(path.c_str(), &before), 0);
        TLASFile document(path, 2);
        ASSERT_TRUE(document.IsLoaded());

        // Rows 10 and 11 become a comment line and a row with values beyond the curves.
        const std::vector<std::string_view> lines = Lines(input, "\n");
        const size_t headerLines = Lines(input.substr(0, input.find("~A") + 2), "\n").size();
        const size_t perRow = wrapped ? 2 : 1;
        const size_t at = headerLines + 10 * perRow;
        std::string replaced;
        for (size_t i = 0; i < 2 * perRow; ++i)
            replaced.append(lines[at + i]).append("\n");
        const std::string extra = "1001.05 9 9 9 9\n";
        const std::string comment = "# rewritten" + std::string(replaced.size() - extra.size() - 12, '!') + "\n";
        std::string rewritten = input;
        rewritten.replace(input.find(replaced), replaced.size(), comment + extra);
        ASSERT_EQ(rewritten.size(), input.size());
        std::FILE* file = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        std::fwrite(rewritten.data(), 1, rewritten.size(), file);
        std::fclose(file);
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

        for (int pass = 0; pass < 2; ++pass) {
            const std::string saved = Save(document, "saved.las");
            EXPECT_EQ(saved.find("# rewritten"), std::string::npos);
            EXPECT_EQ(saved.find(" 9 9 9"), std::string::npos);
            ExpectSameValues(TLASFile(files_.Path("saved.las"), 2), document);
            document.GetCurveData(1)[11] = 3.25f;
        }
    }
}

// A DOS end-of-file byte after the rows is kept by an unchanged save; one inside them ends the
// data, is named at open, and is not written back.
TEST_F(LasSaveBlocks, DosEndOfFileByteIsKeptAtTheEndAndNamedInsideTheData)
{
    const std::string rows = "1.0 10\n2.0 20\n";
    const struct {
        std::string tail;
        int points;
        std::string omitted;
    } cases[] = {
        {"\x1A", 2, ""},
        {"\x1A\x1A\r\n", 2, ""},
        {"3.0 30\n\x1A", 3, ""},
        {"3.0 \x1A" "30\n4.0 40\n", 3,
         "В строке 15 файла стоит символ конца файла DOS (0x1A): текст после него не загружен\n"
         "Последняя строка данных неполная (строка 15 файла, глубина 3.0): не хватает 1 значения "
         "из 2, вместо недостающих загружен NULL\n"},
        {"\x1A" "3.0 30\n", 2,
         "В строке 15 файла стоит символ конца файла DOS (0x1A): текст после него не загружен\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        const std::string input = "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n STRT.M 1.0 :\n"
                                  " STOP.M " + std::to_string(c.points) + ".0 :\n STEP.M 1.0 :\n"
                                  " NULL. -999.25 :\n~Curve\n DEPT.M :\n A.U :\n~A\n" + rows + c.tail;
        const auto document = files_.Load(input);
        ASSERT_EQ(document->GetPointCount(), c.points) << document->GetLoadError();
        EXPECT_EQ(document->GetOmittedData(), c.omitted);
        const std::string saved = Save(*document, "saved.las");
        if (c.omitted.empty())
            EXPECT_EQ(saved, input);
        else
            EXPECT_EQ(saved.find('\x1A'), std::string::npos);
        ExpectSameValues(TLASFile(files_.Path("saved.las"), 2), *document);
    }
}

// A file cut in its last row comes back byte for byte from an unchanged save; any other save (a
// header line changed included) writes that row whole, NULL for the values it lacked, and keeps a DOS end-of-file byte after it:
// the file reads back without a warning, as the document.
TEST_F(LasSaveBlocks, FileCutInItsLastRowIsWrittenWholeOnceChanged)
{
    enum Edit { kNone, kFirstRow, kLastRow, kShift, kFineShift, kRename, kWholeRows };
    const struct {
        bool wrapped;
        bool descending;
        const char* tail;  // after the last row, cut after its depth
        Edit edit;
    } cases[] = {
        {false, false, "", kNone},         {false, false, "\x1A", kNone},
        {true, true, "\n", kNone},         {false, false, "", kFirstRow},
        {false, false, "\x1A", kFirstRow}, {false, true, "\n", kLastRow},
        {false, true, "\x1A", kShift},     {true, true, "\x1A", kFirstRow},
        {true, true, "\n", kShift},        {false, false, "\x1A", kFineShift},
        {false, true, "", kRename},        {true, false, "\n", kRename},
        {true, true, "\n", kWholeRows},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tail) + " " + std::to_string(c.edit) + (c.wrapped ? " wrapped" : "") +
                     (c.descending ? " descending" : ""));
        std::string input = LasText(Shape{"\n", c.wrapped, c.descending, kLasBlockRows + 10});
        const std::string lastDepth = c.descending ? "1000.00" : "1410.50";
        input.resize(input.rfind(lastDepth) + lastDepth.size());  // the row's depth alone
        input += c.tail;
        TLASFile document(files_.Write(input), 2);
        ASSERT_EQ(document.GetPointCount(), kLasBlockRows + 10);
        ASSERT_NE(document.GetOmittedData(), "");
        // The samples of the file's first and last rows.
        const int first = c.descending ? document.GetPointCount() - 1 : 0;
        const int last = c.descending ? 0 : document.GetPointCount() - 1;
        if (c.edit == kFirstRow)
            document.GetCurveData(1)[first] += 1.0f;
        if (c.edit == kLastRow)
            document.GetCurveData(2)[last] = 7.5f;
        if (c.edit == kRename) {
            ASSERT_TRUE(document.SetCurveName(2, "BB"));
        }
        if (c.edit == kShift || c.edit == kFineShift)
            document.ShiftDepth(c.edit == kShift ? 0.5 : 0.005);
        // kWholeRows: nothing changed, whole rows asked for, as by the session copy.
        const std::string saved = Save(document, "saved.las", c.edit == kWholeRows);
        if (c.edit == kNone) {
            EXPECT_EQ(saved, input);
            continue;
        }
        EXPECT_EQ(saved.back() == '\x1A', *c.tail == '\x1A');
        const TLASFile read(files_.Path("saved.las"), 2);
        EXPECT_EQ(read.GetOmittedData(), "");
        ExpectSameValues(read, document);
    }
}

// Every column given other decimals: no source text can stay, and the save, between saves over
// the same file that copy from it, writes what the same document writes with its source gone.
TEST_F(LasSaveBlocks, ColumnsGivenOtherDecimalsAreWrittenAsWithoutTheSource)
{
    const Shape shape{"\r\n", false, false, 3 * kLasBlockRows};
    const std::string input = LasText(shape);
    const std::string path = files_.Write(input);
    TLASFile document(path, 2);
    const std::string copy = files_.Write(input);
    TLASFile sourceless(copy, 2);
    ASSERT_EQ(std::remove(copy.c_str()), 0);
    EXPECT_EQ(Save(document, "same.las"), input);
    ASSERT_TRUE(document.WriteLas(path));
    for (TLASFile* changed : {&document, &sourceless}) {
        for (int c = 0; c < 3; ++c)
            changed->SetCurveDecimals(c, changed->GetCurveDecimals(c) + 1);
        changed->GetCurveData(1)[2 * kLasBlockRows + 5] += 1.0f;
    }
    ASSERT_TRUE(document.WriteLas(path));
    const std::string saved = ReadFileBytes(path);
    EXPECT_EQ(saved, Save(sourceless, "sourceless.las"));
    document.GetCurveData(2)[7] = 5.5f;
    const size_t headerLines = Lines(saved.substr(0, saved.find("~A") + 2), shape.eol).size();
    EXPECT_EQ(ChangedLines(saved, Save(document, "edited.las"), shape.eol), std::vector<size_t>{headerLines + 7});
}

// Every value of a row changed: a new text that takes the place of the old one keeps the tabs or
// form feeds before it; one that does not fit there follows the text before it after a blank.
TEST_F(LasSaveBlocks, TabsBeforeANewTextInTheOldPlaceStay)
{
    const std::string header = "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n STRT.M 1000.0 :\n"
                               " STOP.M 1000.3 :\n STEP.M 0.1 :\n NULL. -999.25 :\n~Curve\n"
                               " DEPT.M :\n A.U :\n B.U :\n~A\n";
    TLASFile document(files_.Write(header + "1000.0\t1.25 \f 22.50\n1000.1\t\t3.5\t4.75\n"
                                            "1000.2 \t5.5  66.25\n1000.3\t7.25\t\t98.00\n"),
                      2);
    ASSERT_EQ(document.GetPointCount(), 4) << document.GetLoadError();
    for (int r = 0; r < 4; ++r) {
        document.GetCurveData(1)[r] += 2.0f;
        document.GetCurveData(2)[r] += r == 0 ? 100.0f : 2.0f;
    }
    EXPECT_EQ(Save(document, "tabs.las"), header + "1000.0\t3.25  122.50\n1000.1 5.50\t6.75\n"
                                                   "1000.2 7.50  68.25\n1000.3\t9.25 100.00\n");
}
