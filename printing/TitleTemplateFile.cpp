// The binary title template file (".ttm"): little-endian, field by field, texts in CP1251.
#include "core/AtomicFile.h"
#include "core/BinaryIO.h"
#include "core/CodePages.h"
#include "printing/Q7CellsArray.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr char kSignature[10] = {'Q', '7', 'G', 'R', 'I', 'D', 'V', '0', '1', '\0'};
constexpr int kReservedBytes = 40;
constexpr int kCellRecordBytes = 72;
constexpr int kFaceBytes = 32;
constexpr auto kMaxCount = static_cast<std::uint32_t>(TQ7CellsArray::kMaxCount);

void PutCell(BinaryWriter& out, const TQ7DrawGridCell& cell)
{
    const TQ7CellFormat& f = cell.Format;
    const std::string text = Utf8ToCp1251(cell.Content.Text);

    out.U32(kCellRecordBytes);
    out.U32(f.Font.Style);
    out.U32(f.Font.Size);
    out.U32(f.Font.Color);
    out.FixedText(Utf8ToCp1251(f.Font.FaceName), kFaceBytes);
    out.U8(f.HorzAlign & 0xFF);
    out.U8(0);
    out.U16(f.Borders);
    out.U8(f.BorderWidth);
    out.Bytes(std::string_view("\0\0\0", 3));
    out.U32(f.FillColor);
    out.U8(f.Margin & 0xFF);
    out.U8(cell.Content.ReservedFlag);
    out.Bytes(std::string_view("\0\0", 2));
    out.U32(cell.Content.ReservedValue());
    out.U32(static_cast<std::uint32_t>(text.size() + 1));
    out.Bytes(text);
    out.U8(0);
}

// Text of a zero-terminated field of `size` bytes: up to the first zero, at most size - 1 bytes.
std::string FieldText(std::string_view field)
{
    return Cp1251ToUtf8(field.substr(0, std::min(field.find('\0'), field.size() - 1)));
}

// Every count read from the file is checked against the bytes left before anything is allocated.
bool ReadSizes(BinaryReader& in, std::vector<int>& sizes, std::uint32_t count)
{
    if (std::uint64_t(count) * 4 > in.Remaining())
        return false;
    sizes.resize(count);
    for (int& size : sizes)
        size = in.I32();
    return !in.Failed();
}

// One cell entry: the 72-byte record, then the text. False when either cannot be read.
bool ReadCell(BinaryReader& in, TQ7DrawGridCell& cell)
{
    BinaryReader record(in.Bytes(kCellRecordBytes));
    if (in.Failed())
        return false;
    TQ7CellFormat& f = cell.Format;
    record.U32(); // the record's own size
    f.Font.Style = record.I32();
    f.Font.Size = record.I32();
    f.Font.Color = record.U32();
    // A name that fills the field without a NUL is cut to the characters it may hold.
    f.Font.FaceName = FieldText(record.Bytes(kFaceBytes));
    f.HorzAlign = (f.HorzAlign & ~0xFF) | record.U8();
    record.U8();
    f.Borders = record.U16();
    f.BorderWidth = record.U8();
    record.Bytes(3);
    f.FillColor = record.U32();
    f.Margin = (f.Margin & ~0xFF) | record.U8();
    cell.Content.ReservedFlag = record.U8();
    record.Bytes(2);
    cell.Content.SetReservedValue(record.I32());

    const std::int32_t length = record.I32();
    if (length <= 0) {
        cell.Content.Text.clear();
        return true;
    }
    const std::string_view text = in.Bytes(static_cast<size_t>(length));
    if (in.Failed())
        return false;
    cell.Content.Text = FieldText(text);
    return true;
}

// False when the file cannot be opened or read (a folder, for one: the stream library
// throws on its read error rather than reporting it).
bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    try {
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        return false;
    }
    return !file.bad();
}

}  // namespace

std::string TitleLoadResultText(int code)
{
    switch (code) {
    case ttmLoaded: return {};
    case ttmCannotOpen: return "Файл не удается открыть или прочитать";
    case ttmNoSignature:
    case ttmBadSignature: return "Файл не является шаблоном заголовка";
    case ttmBadCounts: return "Неверное число строк или столбцов таблицы";
    default: return "Файл обрезан или поврежден";
    }
}

bool TQ7CellsArray::FindUnencodable(TUnencodableText& found) const
{
    std::string bytes;
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c) {
            const TQ7DrawGridCell& cell = Cell(c, r);
            for (const std::string* text : {&cell.Content.Text, &cell.Format.Font.FaceName})
                if (!EncodeText(*text, TextEncoding::Cp1251, bytes, &found.character)) {
                    found.col = c;
                    found.row = r;
                    found.text = *text;
                    return true;
                }
        }
    return false;
}

bool TQ7CellsArray::SaveToFile(const std::string& path, const TQ7GridShape& grid)
{
    const int cols = grid.ColCount();
    const int rows = grid.RowCount();
    if (cols > kMaxCount || rows > kMaxCount)
        return false;
    Resize(cols, rows);
    // Nothing is written that would come back with "?" in place of a character.
    TUnencodableText unencodable;
    if (FindUnencodable(unencodable))
        return false;

    BinaryWriter out;
    out.Bytes(std::string_view(kSignature, sizeof kSignature));
    out.U32(cols);
    out.U32(rows);
    out.Bytes(std::string(kReservedBytes, '\0'));
    for (int c = 0; c < cols; ++c)
        out.U32(grid.ColWidth(c));
    for (int r = 0; r < rows; ++r)
        out.U32(grid.RowHeight(r));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            PutCell(out, Cell(c, r));
    return WriteFileAtomically(path, out.Data());
}

int TQ7CellsArray::LoadFromFile(const std::string& path, TQ7GridShape& grid)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return ttmCannotOpen;
    BinaryReader reader(bytes);

    const std::string_view signature = reader.Bytes(sizeof kSignature);
    if (reader.Failed())
        return ttmNoSignature;
    if (signature != std::string_view(kSignature, sizeof kSignature))
        return ttmBadSignature;

    const std::uint32_t cols = reader.U32();
    const std::uint32_t rows = reader.U32();
    if (reader.Failed() || cols == 0 || cols > kMaxCount || rows == 0 || rows > kMaxCount)
        return ttmBadCounts;

    reader.Bytes(kReservedBytes);
    if (reader.Failed())
        return ttmNoReserved;

    std::vector<int> widths;
    std::vector<int> heights;
    if (!ReadSizes(reader, widths, cols) || !ReadSizes(reader, heights, rows))
        return ttmNoSizes;

    // Every cell entry takes at least its record.
    if (std::uint64_t(cols) * rows * kCellRecordBytes > reader.Remaining())
        return ttmBadCell;
    TQ7CellsArray staged = *this;
    staged.Resize(static_cast<int>(cols), static_cast<int>(rows));
    for (std::uint32_t r = 0; r < rows; ++r)
        for (std::uint32_t c = 0; c < cols; ++c)
            if (!ReadCell(reader, staged.Cell(static_cast<int>(c), static_cast<int>(r))))
                return ttmBadCell;

    rows_.swap(staged.rows_);
    grid.SetColCount(static_cast<int>(cols));
    grid.SetRowCount(static_cast<int>(rows));
    for (std::uint32_t c = 0; c < cols; ++c)
        grid.SetColWidth(static_cast<int>(c), widths[c]);
    for (std::uint32_t r = 0; r < rows; ++r)
        grid.SetRowHeight(static_cast<int>(r), heights[r]);
    return ttmLoaded;
}
