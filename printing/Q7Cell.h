// One cell of a title table: its font, format and content, and the drawing of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
class Canvas;
struct CanvasFont;
struct CanvasRect;
}  // namespace platform

struct TQ7CellFont {
    static constexpr std::int32_t kRecordSize = 48;
    // A word with none of the four style bits set: a plain font.
    static constexpr std::int32_t kDefaultStyle = 0x40000000;
    // The face field of the template file holds 31 CP1251 characters and a NUL.
    static constexpr int kMaxFaceChars = 31;
    enum StyleBits : std::int32_t { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    std::int32_t RecordSize = kRecordSize;
    std::int32_t Style = kDefaultStyle;
    std::int32_t Size = 10;  // points
    std::uint32_t Color = 0;
    std::string FaceName = "Times New Roman";  // UTF-8

    void SetDefault() { *this = TQ7CellFont(); }
    // Stores the name cut to the characters the file can hold.
    void SetFaceName(std::string_view utf8);

    static void AssignToFont(platform::CanvasFont& font, const TQ7CellFont& record);
    static void AssignFromFont(const platform::CanvasFont& font, TQ7CellFont& record);

    bool operator==(const TQ7CellFont&) const = default;
};

struct TQ7CellFormat {
    static constexpr std::int32_t kRecordSize = 72;
    enum Alignment : std::int32_t { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
    enum Sides : std::uint16_t { SideLeft = 1, SideRight = 2, SideTop = 4, SideBottom = 8, AllSides = 15 };

    std::int32_t RecordSize = kRecordSize;
    std::int32_t HorzAlign = AlignLeft;  // only the low byte is stored and painted
    std::int32_t Reserved = 0;
    std::uint16_t Borders = 0;
    std::uint8_t BorderWidth = 2;  // 0.1 mm
    std::uint32_t FillColor = 0xFFFFFF;
    std::int32_t Margin = 5;  // 0.1 mm; only the low byte is stored and painted
    TQ7CellFont Font;

    void SetDefault() { *this = TQ7CellFormat(); }
    bool operator==(const TQ7CellFormat&) const = default;
};

class TQ7CellData {
public:
    std::int32_t ReservedValue() const { return reservedValue_; }
    // Negative values are ignored.
    void SetReservedValue(std::int32_t value)
    {
        if (value >= 0)
            reservedValue_ = value;
    }

    std::string Text;  // UTF-8; CP1251 in the template file
    std::uint8_t ReservedFlag = 0;

    bool operator==(const TQ7CellData&) const = default;

private:
    std::int32_t reservedValue_ = 2;
};

// The draw grid's state of a cell being painted.
struct TCellDrawState {
    bool selected = false;
    bool focused = false;
    bool fixed = false;
};

struct TQ7DrawGridCell {
    TQ7CellFormat Format;
    TQ7CellData Content;
    // How far the text spilled over the left and right edge in the last painting (pixels).
    std::int32_t OverflowLeft = 0;
    std::int32_t OverflowRight = 0;

    // Paints the cell into `rect`, which is widened by the cell's overflows when its text
    // spills into empty neighbours. Scales are pixels per centimetre (0 in design view).
    void Draw(platform::Canvas& canvas, platform::CanvasRect& rect, float hScale, float vScale,
              const TQ7DrawGridCell* left, const TQ7DrawGridCell* upper, const TQ7DrawGridCell* right,
              const TQ7DrawGridCell* lower, TCellDrawState state, bool design);
};

// Inclusive cell range, as a grid's selection gives it.
struct TCellRange {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Non-empty and within a table of the given counts.
    bool Inside(int cols, int rows) const
    {
        return left <= right && top <= bottom && left >= 0 && top >= 0 && right < cols && bottom < rows;
    }
};
