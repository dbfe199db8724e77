// The title template file: exact bytes, every load result, round trip and damaged files.
#include "printing/Q7CellsArray.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace {

using strativ::test::ReadFileBytes;
using strativ::test::TempDir;
using strativ::test::WriteFileBytes;

std::string Le32(std::uint32_t v)
{
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

void SetLe32(std::string& bytes, std::size_t offset, std::uint32_t v)
{
    bytes.replace(offset, 4, Le32(v));
}

// The file of a 2 x 2 grid with the given texts, row by row.
std::string TwoByTwoFile(const TempDir& dir, const std::vector<std::string>& texts = {"A", "BC", "", "D"})
{
    TQ7GridShape grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    TQ7CellsArray cells;
    cells.Resize(2, 2);
    for (int i = 0; i < 4; ++i)
        cells.Cell(i % 2, i / 2).Content.Text = texts[i];
    EXPECT_TRUE(cells.SaveToFile(dir.file("t.ttm"), grid));
    return ReadFileBytes(dir.file("t.ttm"));
}

// Cell entry offsets of TwoByTwoFile() with its default texts.
constexpr std::size_t kCell[] = {74, 148, 223, 296};

TEST(TitleFile, OneCellTemplateHasTheExactBytes)
{
    TempDir dir;
    TQ7GridShape grid;
    grid.SetColCount(1);
    grid.SetRowCount(1);
    TQ7CellsArray cells;  // empty: saving shapes it to the grid
    ASSERT_TRUE(cells.SaveToFile(dir.file("one.ttm"), grid));

    using namespace std::string_literals;
    const std::string face = "Times New Roman"s + std::string(17, '\0');
    const std::string expected = "Q7GRIDV01\0"s + Le32(1) + Le32(1) + std::string(40, '\0') + Le32(64) + Le32(24) +
                                 Le32(72) + Le32(0x40000000) + Le32(10) + Le32(0) + face + "\0\0\0\0\x02\0\0\0"s +
                                 Le32(0xFFFFFF) + "\x05\0\0\0"s + Le32(2) + Le32(1) + "\0"s;
    ASSERT_EQ(expected.size(), 139u);
    EXPECT_EQ(ReadFileBytes(dir.file("one.ttm")), expected);

    // Row by row, each record followed by its text and a NUL: the 2 x 2 file is 58 + 16 + 4 x 73 bytes.
    const std::string empty = TwoByTwoFile(dir, {"", "", "", ""});
    EXPECT_EQ(empty.size(), 366u);
    EXPECT_EQ(empty.substr(58, 16), Le32(64) + Le32(64) + Le32(24) + Le32(24));
    EXPECT_EQ(empty.substr(74 + 73 + 68, 5), Le32(1) + '\0');
    const std::string texts = TwoByTwoFile(dir);
    EXPECT_EQ(texts.substr(kCell[1] + 68, 7), Le32(3) + "BC" + '\0');
}

TEST(TitleFile, EveryAttributeSurvivesARoundTrip)
{
    TempDir dir;
    TQ7GridShape grid;
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetColWidth(2, 123);
    grid.SetRowHeight(1, 45);
    TQ7CellsArray cells;
    cells.Resize(3, 2);
    TQ7DrawGridCell& c = cells.Cell(2, 1);
    c.Format.Font = {48, 0x7F00000B, 14, 0x00ABCDEF, "Arial Cyr"};
    c.Format.HorzAlign = TQ7CellFormat::AlignCenter;
    c.Format.Borders = TQ7CellFormat::SideLeft | TQ7CellFormat::SideBottom;
    c.Format.BorderWidth = 7;
    c.Format.FillColor = 0x00C0FFEE;
    c.Format.Margin = 200;
    c.Content.Text = "Скважина [WELL] №1";
    c.Content.ReservedFlag = 1;
    c.Content.SetReservedValue(12345);
    ASSERT_TRUE(cells.SaveToFile(dir.file("all.ttm"), grid));

    TQ7GridShape loadedGrid;
    TQ7CellsArray loaded;
    ASSERT_EQ(loaded.LoadFromFile(dir.file("all.ttm"), loadedGrid), ttmLoaded);
    EXPECT_EQ(std::tuple(loadedGrid.ColCount(), loadedGrid.RowCount(), loadedGrid.ColWidth(2), loadedGrid.RowHeight(1)),
              std::tuple(3, 2, 123, 45));
    EXPECT_EQ(loaded.Cell(2, 1).Format, c.Format);
    EXPECT_EQ(loaded.Cell(2, 1).Content, c.Content);
    EXPECT_EQ(loaded.Cell(0, 0).Content, TQ7CellData());
}

TEST(TitleFile, LenientFieldsLoadAsTheFormatSays)
{
    TempDir dir;
    std::string bytes = TwoByTwoFile(dir);
    std::fill_n(bytes.begin() + 18, 40, '\xA5');          // reserved block
    SetLe32(bytes, kCell[0], 99);                         // record size
    std::fill_n(bytes.begin() + kCell[0] + 16, 32, 'W');  // face name without a NUL
    SetLe32(bytes, kCell[0] + 64, 0xFFFFFFFF);            // reserved value -1
    SetLe32(bytes, kCell[2] + 68, 0);                     // L = 0 and no text bytes
    bytes.erase(kCell[2] + 72, 1);
    WriteFileBytes(dir.file("odd.ttm"), bytes);

    TQ7GridShape grid;
    TQ7CellsArray cells;
    ASSERT_EQ(cells.LoadFromFile(dir.file("odd.ttm"), grid), ttmLoaded);
    EXPECT_EQ(cells.Cell(0, 0).Format.Font.FaceName, std::string(31, 'W'));
    EXPECT_EQ(cells.Cell(0, 0).Content.ReservedValue(), 2);
    EXPECT_EQ(std::tuple(cells.Cell(0, 0).Content.Text, cells.Cell(0, 1).Content.Text, cells.Cell(1, 1).Content.Text),
              std::tuple("A", "", "D"));
}

TEST(TitleFile, DamagedFilesGiveTheirCodeAndChangeNothing)
{
    TempDir dir;
    const std::string good = TwoByTwoFile(dir);
    auto cut = [&](std::size_t n) { return good.substr(0, n); };
    auto with = [&](std::size_t offset, std::uint32_t v) {
        std::string b = good;
        SetLe32(b, offset, v);
        return b;
    };
    std::string badSignature = good;
    badSignature[8] = '2';
    // Counts that claim more cells than the file holds, with their sizes present.
    std::string manyCells = with(10, 4000) + std::string(4000 * 4, '\0');

    struct Case {
        const char* what;
        std::string bytes;
        int code;
    } cases[] = {
        {"short signature", cut(5), ttmNoSignature},
        {"wrong signature", badSignature, ttmBadSignature},
        {"no column count", cut(12), ttmBadCounts},
        {"zero columns", with(10, 0), ttmBadCounts},
        {"zero rows", with(14, 0), ttmBadCounts},
        {"absurd rows", with(14, 0xFFFFFFFF), ttmBadCounts},
        {"cut in reserved", cut(30), ttmNoReserved},
        {"cut in widths", cut(62), ttmNoSizes},
        {"cut in heights", cut(70), ttmNoSizes},
        {"cut in a record", cut(100), ttmBadCell},
        {"last text cut", cut(good.size() - 1), ttmBadCell},
        {"huge text length", with(kCell[0] + 68, 0x7FFFFFFF), ttmBadCell},
        {"records missing", manyCells, ttmBadCell},
    };
    for (const Case& c : cases) {
        WriteFileBytes(dir.file("bad.ttm"), c.bytes);
        TQ7GridShape grid;  // 5 x 5
        TQ7CellsArray cells;
        cells.Resize(5, 5);
        cells.Cell(0, 0).Content.Text = "kept";
        EXPECT_EQ(cells.LoadFromFile(dir.file("bad.ttm"), grid), c.code) << c.what;
        EXPECT_EQ(std::tuple(grid.ColCount(), cells.ColCount(), cells.RowCount(), cells.Cell(0, 0).Content.Text),
                  std::tuple(5, 5, 5, "kept")) << c.what;
    }
    TQ7GridShape grid;
    TQ7CellsArray cells;
    EXPECT_EQ(cells.LoadFromFile(dir.file("missing.ttm"), grid), ttmCannotOpen);
    EXPECT_EQ(cells.LoadFromFile(dir.path(), grid), ttmCannotOpen);  // a folder: opened, not readable
    EXPECT_FALSE(cells.SaveToFile(dir.file("no/such/folder/t.ttm"), grid));
}

TEST(TitleFile, RandomlyDamagedFilesNeverCrashTheReader)
{
    TempDir dir;
    const std::string good = TwoByTwoFile(dir);
    const std::string path = dir.file("fuzz.ttm");
    std::mt19937 random(20261207);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    // Count and length fields: column and row counts, then each cell's text length.
    const std::size_t fields[] = {10, 14, kCell[0] + 68, kCell[1] + 68, kCell[2] + 68, kCell[3] + 68};

    for (int i = 0; i < 3000; ++i) {
        std::string bytes = good;
        const int damages = 1 + static_cast<int>(pick(4));
        for (int d = 0; d < damages; ++d) {
            switch (pick(3)) {
            case 0: bytes[pick(bytes.size())] = static_cast<char>(pick(256)); break;
            case 1: SetLe32(bytes, fields[pick(std::size(fields))], static_cast<std::uint32_t>(random())); break;
            default: bytes.resize(pick(bytes.size())); break;
            }
            if (bytes.size() < kCell[3] + 72)
                break;  // the fields may be gone
        }
        WriteFileBytes(path, bytes);
        TQ7GridShape grid;
        TQ7CellsArray cells;
        const int code = cells.LoadFromFile(path, grid);
        ASSERT_TRUE(code >= ttmLoaded && code <= ttmBadCell) << code;
        ASSERT_TRUE(code == ttmLoaded ? cells.MatchesShape(grid) : grid.ColCount() == 5 && cells.RowCount() == 0);
    }
}

}  // namespace
