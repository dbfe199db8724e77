// Cell font helpers: the face name limit and the transfer to and from a canvas font.
#include "printing/Q7Cell.h"

#include "platform/Canvas.h"

#include <cmath>

void TQ7CellFont::SetFaceName(std::string_view utf8)
{
    // Each character is one byte in CP1251, so the limit counts UTF-8 sequences.
    int chars = 0;
    std::size_t end = 0;
    for (; end < utf8.size(); ++end) {
        const bool starts = (static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80;
        if (starts && ++chars > kMaxFaceChars)
            break;
    }
    FaceName.assign(utf8.substr(0, end));
}

void TQ7CellFont::AssignToFont(platform::CanvasFont& font, const TQ7CellFont& record)
{
    font.name = record.FaceName;
    font.color = record.Color;
    font.size = record.Size;
    font.bold = record.Style & Bold;
    font.italic = record.Style & Italic;
    font.strikeOut = record.Style & StrikeOut;
    font.underline = record.Style & Underline;
}

void TQ7CellFont::AssignFromFont(const platform::CanvasFont& font, TQ7CellFont& record)
{
    record.SetFaceName(font.name);
    record.Color = font.color;
    record.Size = static_cast<std::int32_t>(std::lround(font.size));
    record.Style = (font.bold ? Bold : 0) | (font.italic ? Italic : 0) | (font.underline ? Underline : 0) |
                   (font.strikeOut ? StrikeOut : 0);
}
