// Conversions between the single-byte code pages (CP866 of LAS text, CP1251 of other programs' files) and UTF-8.
#include "core/CodePages.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace {

// Unicode code points of bytes 0x80..0xFF; bytes below 0x80 are ASCII in both pages.
constexpr std::array<char16_t, 128> kCp866 = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0};

constexpr std::array<char16_t, 128> kCp1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

using ReverseTable = std::unordered_map<char32_t, unsigned char>;

ReverseTable MakeReverse(const std::array<char16_t, 128>& table)
{
    ReverseTable reverse;
    for (int i = 0; i < 128; ++i)
        reverse.emplace(table[i], static_cast<unsigned char>(0x80 + i));
    return reverse;
}

std::string SingleByteToUtf8(std::string_view text, const std::array<char16_t, 128>& table)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b < 0x80 ? char32_t(b) : char32_t(table[b - 0x80]));
    }
    return out;
}

// Converts UTF-8 to a single-byte page (no page: copies it). A character the page cannot
// hold, or a malformed byte, is handed to unmappable(its bytes, out), which returns false to
// stop the conversion.
template <class Unmappable>
bool ConvertFromUtf8(std::string_view text, const ReverseTable* reverse, std::string& out,
                     Unmappable unmappable)
{
    out.reserve(out.size() + text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        const size_t length = DecodeUtf8(text, pos, cp);
        const std::string_view character = text.substr(pos, length ? length : 1);
        pos += character.size();
        if (length == 0) {
            if (!unmappable(character, out))
                return false;
        } else if (cp < 0x80 || !reverse) {
            out.append(character);
        } else if (const auto it = reverse->find(cp); it != reverse->end()) {
            out += static_cast<char>(it->second);
        } else if (!unmappable(character, out)) {
            return false;
        }
    }
    return true;
}

// Characters the page cannot hold, and malformed UTF-8 bytes, become '?'.
std::string Utf8ToSingleByte(std::string_view text, const ReverseTable& reverse)
{
    std::string out;
    ConvertFromUtf8(text, &reverse, out, [](std::string_view, std::string& result) {
        result += '?';
        return true;
    });
    return out;
}

const ReverseTable& Cp866Reverse()
{
    static const ReverseTable reverse = MakeReverse(kCp866);
    return reverse;
}

const ReverseTable& Cp1251Reverse()
{
    static const ReverseTable reverse = MakeReverse(kCp1251);
    return reverse;
}

bool IsRussianLetter(char32_t cp)
{
    return (cp >= 0x0410 && cp <= 0x044F) || cp == 0x0401 || cp == 0x0451;
}

// Number of bytes that the table reads as Russian letters.
int CountRussianLetters(std::string_view bytes, const std::array<char16_t, 128>& table)
{
    int count = 0;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        count += b >= 0x80 && IsRussianLetter(table[b - 0x80]);
    }
    return count;
}

const ReverseTable* ReverseOf(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp866: return &Cp866Reverse();
    case TextEncoding::Cp1251: return &Cp1251Reverse();
    case TextEncoding::Utf8:
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: break;
    }
    return nullptr;
}

// UTF-16 from bytes[pos] to UTF-8 up to the first unit that is not text; returns its offset, the
// size when there is none.
size_t AppendFromUtf16(std::string_view bytes, size_t pos, bool bigEndian, std::string& out)
{
    const auto unit = [&](size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? char32_t(first << 8 | second) : char32_t(second << 8 | first);
    };
    while (pos + 1 < bytes.size()) {
        const char32_t u = unit(pos);
        if (u < 0xD800 || u > 0xDFFF) {
            AppendUtf8(out, u);
            pos += 2;
            continue;
        }
        if (u > 0xDBFF || pos + 3 >= bytes.size())
            return pos;
        const char32_t low = unit(pos + 2);
        if (low < 0xDC00 || low > 0xDFFF)
            return pos;
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        pos += 4;
    }
    return pos;
}

// UTF-8 to UTF-16; false at a malformed byte, handed to *bad.
bool Utf8ToUtf16(std::string_view text, bool bigEndian, std::string& out, std::string* bad)
{
    const auto append = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8);
        const char low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    out.reserve(out.size() + text.size() * 2);
    for (size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        const size_t length = DecodeUtf8(text, pos, cp);
        if (length == 0) {
            if (bad)
                *bad = std::string(text.substr(pos, 1));
            return false;
        }
        pos += length;
        if (cp < 0x10000) {
            append(cp);
        } else {
            append(0xD800 + ((cp - 0x10000) >> 10));
            append(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return true;
}

} // namespace

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& cp)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2; cp = lead & 0x1F; min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3; cp = lead & 0x0F; min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4; cp = lead & 0x07; min = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

std::string OemToAnsiString(std::string_view oem)
{
    return SingleByteToUtf8(oem, kCp866);
}

std::string AnsiToOemString(std::string_view ansi)
{
    return Utf8ToSingleByte(ansi, Cp866Reverse());
}

std::string OemToAnsi(const char* oem)
{
    if (!oem)
        return {};
    size_t length = 0;
    while (length < 255 && oem[length] != '\0')
        ++length;
    return OemToAnsiString(std::string_view(oem, length));
}

std::string Cp1251ToUtf8(std::string_view text)
{
    return SingleByteToUtf8(text, kCp1251);
}

std::string Utf8ToCp1251(std::string_view text)
{
    return Utf8ToSingleByte(text, Cp1251Reverse());
}

bool IsValidUtf8(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        const size_t length = DecodeUtf8(text, pos, cp);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

TextEncoding DetectTextEncoding(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
        if (IsValidUtf8(bytes))
            return TextEncoding::Utf8;
    }
    bool multiByte = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            multiByte = true;
            break;
        }
    if (!multiByte)
        return TextEncoding::Cp866;
    if (IsValidUtf8(bytes))
        return TextEncoding::Utf8;
    return CountRussianLetters(bytes, kCp1251) > CountRussianLetters(bytes, kCp866)
               ? TextEncoding::Cp1251
               : TextEncoding::Cp866;
}

bool LooksLikeUtf16(std::string_view head, TextEncoding* encoding)
{
    const auto found = [encoding](bool bigEndian) {
        if (encoding)
            *encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
        return true;
    };
    if (head.substr(0, 2) == "\xFF\xFE")
        return found(false);
    if (head.substr(0, 2) == "\xFE\xFF")
        return found(true);
    // ASCII text in UTF-16 without a byte order mark: every other byte is zero.
    const size_t n = std::min<size_t>(head.size(), 64) & ~size_t(1);
    if (n < 4)
        return false;
    int evenZeros = 0;
    int oddZeros = 0;
    for (size_t i = 0; i < n; i += 2) {
        evenZeros += head[i] == '\0';
        oddZeros += head[i + 1] == '\0';
    }
    const int pairs = static_cast<int>(n / 2);
    if (evenZeros * 4 >= pairs * 3)
        return found(true);
    if (oddZeros * 4 >= pairs * 3)
        return found(false);
    return false;
}

bool DecodeUtf16(std::string_view bytes, TextEncoding encoding, std::string& out)
{
    out.clear();
    out.reserve(bytes.size());
    return AppendFromUtf16(bytes, 0, encoding == TextEncoding::Utf16Be, out) == bytes.size();
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp866: return SingleByteToUtf8(bytes, kCp866);
    case TextEncoding::Cp1251: return SingleByteToUtf8(bytes, kCp1251);
    case TextEncoding::Utf8: break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        std::string out;
        DecodeUtf16(bytes, encoding, out);
        return out;
    }
    }
    return std::string(bytes);
}

bool EncodeText(std::string_view utf8, TextEncoding encoding, std::string& out, std::string* bad)
{
    std::string result;
    if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) {
        if (!Utf8ToUtf16(utf8, encoding == TextEncoding::Utf16Be, result, bad))
            return false;
        out = std::move(result);
        return true;
    }
    const bool done = ConvertFromUtf8(utf8, ReverseOf(encoding), result,
                                      [bad](std::string_view character, std::string&) {
                                          if (bad)
                                              *bad = std::string(character);
                                          return false;
                                      });
    if (done)
        out = std::move(result);
    return done;
}
