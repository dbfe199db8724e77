// The binary title template file (".ttm"): little-endian, field by field, texts in CP1251.
#include "core/AtomicFile.h"
#include "core/CodePages.h"
#include "printing/Q7CellsArray.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace {

constexpr char kSignature[10] = {'Q', '7', 'G', 'R', 'I', 'D', 'V', '0', '1', '\0'};
constexpr int kReservedBytes = 40;
constexpr int kCellRecordBytes = 72;
constexpr int kFaceBytes = 32;
// The format sets no limit; a title table has a few dozen rows and columns at most.
constexpr std::uint32_t kMaxCount = 4096;

void PutU8(std::string& out, std::uint8_t v)
{
    out.push_back(static_cast<char>(v));
}

void PutU16(std::string& out, std::uint16_t v)
{
    PutU8(out, v & 0xFF);
    PutU8(out, v >> 8);
}

void PutU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        PutU8(out, (v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t GetU16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void PutCell(std::string& out, const TQ7DrawGridCell& cell)
{
    const TQ7CellFormat& f = cell.Format;
    std::string face = Utf8ToCp1251(f.Font.FaceName);
    face.resize(kFaceBytes - 1);  // cut to the field, zeros after the name
    const std::string text = Utf8ToCp1251(cell.Content.Text);

    PutU32(out, kCellRecordBytes);
    PutU32(out, f.Font.Style);
    PutU32(out, f.Font.Size);
    PutU32(out, f.Font.Color);
    out += face;
    PutU8(out, 0);
    PutU8(out, f.HorzAlign & 0xFF);
    PutU8(out, 0);
    PutU16(out, f.Borders);
    PutU8(out, f.BorderWidth);
    out.append(3, '\0');
    PutU32(out, f.FillColor);
    PutU8(out, f.Margin & 0xFF);
    PutU8(out, cell.Content.ReservedFlag);
    out.append(2, '\0');
    PutU32(out, cell.Content.ReservedValue());
    PutU32(out, static_cast<std::uint32_t>(text.size() + 1));
    out += text;
    PutU8(out, 0);
}

// Reads from a file whose length is known, so that every count and length is checked
// against the bytes that are left before anything is allocated for it.
class BoundedReader {
public:
    explicit BoundedReader(const std::string& path) : in_(path, std::ios::binary)
    {
        if (!in_)
            return;
        in_.seekg(0, std::ios::end);
        const std::streamoff size = in_.tellg();
        in_.seekg(0, std::ios::beg);
        left_ = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    }

    bool IsOpen() const { return in_.is_open() && in_.good(); }
    std::uint64_t Left() const { return left_; }

    bool Read(void* target, std::uint64_t n)
    {
        if (n > left_ || !in_.read(static_cast<char*>(target), static_cast<std::streamsize>(n)))
            return false;
        left_ -= n;
        return true;
    }

    bool ReadU32(std::uint32_t& value)
    {
        unsigned char b[4];
        if (!Read(b, 4))
            return false;
        value = GetU32(b);
        return true;
    }

    bool ReadSizes(std::vector<int>& sizes, std::uint32_t count)
    {
        if (std::uint64_t(count) * 4 > left_)
            return false;
        sizes.resize(count);
        for (int& s : sizes) {
            std::uint32_t v = 0;
            if (!ReadU32(v))
                return false;
            s = static_cast<std::int32_t>(v);
        }
        return true;
    }

private:
    std::ifstream in_;
    std::uint64_t left_ = 0;
};

// One cell entry: the 72-byte record, then the text. False when either cannot be read.
bool ReadCell(BoundedReader& reader, TQ7DrawGridCell& cell)
{
    unsigned char rec[kCellRecordBytes];
    if (!reader.Read(rec, sizeof rec))
        return false;
    TQ7CellFormat& f = cell.Format;
    f.Font.Style = static_cast<std::int32_t>(GetU32(rec + 4));
    f.Font.Size = static_cast<std::int32_t>(GetU32(rec + 8));
    f.Font.Color = GetU32(rec + 12);
    // A name that fills the field without a NUL is cut to the characters it may hold.
    const auto* face = reinterpret_cast<const char*>(rec + 16);
    f.Font.FaceName = Cp1251ToUtf8(std::string_view(face, strnlen(face, kFaceBytes - 1)));
    f.HorzAlign = (f.HorzAlign & ~0xFF) | rec[48];
    f.Borders = GetU16(rec + 50);
    f.BorderWidth = rec[52];
    f.FillColor = GetU32(rec + 56);
    f.Margin = (f.Margin & ~0xFF) | rec[60];
    cell.Content.ReservedFlag = rec[61];
    cell.Content.SetReservedValue(static_cast<std::int32_t>(GetU32(rec + 64)));

    const auto length = static_cast<std::int32_t>(GetU32(rec + 68));
    if (length <= 0) {
        cell.Content.Text.clear();
        return true;
    }
    std::string bytes(std::min<std::uint64_t>(length, reader.Left()), '\0');
    if (bytes.size() != std::uint64_t(length) || !reader.Read(bytes.data(), bytes.size()))
        return false;
    cell.Content.Text = Cp1251ToUtf8(std::string_view(bytes.data(), strnlen(bytes.data(), bytes.size() - 1)));
    return true;
}

}  // namespace

bool TQ7CellsArray::SaveToFile(const std::string& path, const TQ7GridShape& grid)
{
    const int cols = grid.ColCount();
    const int rows = grid.RowCount();
    Resize(cols, rows);

    std::string out(kSignature, sizeof kSignature);
    PutU32(out, cols);
    PutU32(out, rows);
    out.append(kReservedBytes, '\0');
    for (int c = 0; c < cols; ++c)
        PutU32(out, grid.ColWidth(c));
    for (int r = 0; r < rows; ++r)
        PutU32(out, grid.RowHeight(r));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            PutCell(out, Cell(c, r));

    AtomicFileWriter writer(path);
    if (!writer.IsOpen())
        return false;
    writer.Write(out);
    return writer.Commit();
}

int TQ7CellsArray::LoadFromFile(const std::string& path, TQ7GridShape& grid)
{
    BoundedReader reader(path);
    if (!reader.IsOpen())
        return ttmCannotOpen;

    char signature[sizeof kSignature];
    if (!reader.Read(signature, sizeof signature))
        return ttmNoSignature;
    if (std::memcmp(signature, kSignature, sizeof signature) != 0)
        return ttmBadSignature;

    std::uint32_t cols = 0;
    std::uint32_t rows = 0;
    if (!reader.ReadU32(cols) || cols == 0 || cols > kMaxCount || !reader.ReadU32(rows) || rows == 0 ||
        rows > kMaxCount)
        return ttmBadCounts;

    char reserved[kReservedBytes];
    if (!reader.Read(reserved, sizeof reserved))
        return ttmNoReserved;

    std::vector<int> widths;
    std::vector<int> heights;
    if (!reader.ReadSizes(widths, cols) || !reader.ReadSizes(heights, rows))
        return ttmNoSizes;

    // Every cell entry takes at least its record.
    if (std::uint64_t(cols) * rows * kCellRecordBytes > reader.Left())
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
