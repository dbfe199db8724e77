// String helpers; "ANSI" text is UTF-8, so case rules work on code points.
#include "core/StringUtils.h"

#include "core/CodePages.h"

#include <algorithm>
#include <charconv>
#include <locale>
#include <sstream>
#include <stdexcept>

namespace {

constexpr std::string_view kBlanks = " \t";

std::size_t LastSeparator(std::string_view path)
{
    return path.find_last_of("/\\");
}

// Upper case of the letters the Windows-1251 code page holds (Latin, Latin-1, Cyrillic).
char32_t UpperLetter(char32_t cp)
{
    if (cp >= U'a' && cp <= U'z')
        return cp - 32;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)  // à..þ except ÷
        return cp - 32;
    if (cp >= 0x430 && cp <= 0x44F)  // а..я
        return cp - 32;
    if (cp >= 0x450 && cp <= 0x45F)  // ѐ..џ (ё, ђ, є, і, ї, ў, ...)
        return cp - 80;
    if (cp == 0x491)  // ґ
        return 0x490;
    return cp;
}

// Sort key of one character: upper case, Ё placed between Е and Ж as in the alphabet.
unsigned long long CompareKey(char32_t cp)
{
    cp = UpperLetter(cp);
    if (cp == 0x401)
        return 0x415ULL * 2 + 1;
    return static_cast<unsigned long long>(cp) * 2;
}

// The character at text[pos], pos moved past it; a stray byte stands for itself.
char32_t NextChar(std::string_view text, std::size_t& pos)
{
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8(text, pos, cp);
    if (length == 0)
        return static_cast<unsigned char>(text[pos++]);
    pos += length;
    return cp;
}

const char* const kConversionError = "Invalid data type conversion";

template <typename T>
std::string ShortestText(T value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace

std::string_view TrimLeft(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(kBlanks);
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string_view TrimRight(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(kBlanks);
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view Trim(std::string_view text)
{
    return TrimRight(TrimLeft(text));
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string RemoveChars(std::string_view text, std::string_view chars)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (chars.find(c) == std::string_view::npos)
            result += c;
    }
    return result;
}

bool HasCurveNameInvalidChars(std::string_view name)
{
    return name.find_first_of(kCurveNameInvalidChars) != std::string_view::npos;
}

std::string RemoveCurveNameInvalidChars(std::string_view name)
{
    return RemoveChars(name, kCurveNameInvalidChars);
}

std::string AppendChars(std::string text, int count, char c)
{
    if (count > 0)
        text.append(static_cast<std::size_t>(count), c);
    return text;
}

std::string JoinStrings(const std::vector<std::string>& parts, std::string_view sep)
{
    std::string result;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            result += sep;
        result += parts[i];
    }
    return result;
}

std::string ExtractDirPart(std::string_view path)
{
    const std::size_t pos = LastSeparator(path);
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string ExtractNamePart(std::string_view path)
{
    const std::size_t pos = LastSeparator(path);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtractExtPart(std::string_view path)
{
    const std::size_t sep = LastSeparator(path);
    const std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

bool ReadLine(std::istream& in, std::string& line)
{
    line.clear();
    std::istream::sentry sentry(in, true);
    if (!sentry)
        return false;
    std::streambuf* buffer = in.rdbuf();
    using Traits = std::istream::traits_type;
    bool any = false;
    for (;;) {
        const Traits::int_type c = buffer->sbumpc();
        if (Traits::eq_int_type(c, Traits::eof())) {
            in.setstate(any ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
            return any;
        }
        any = true;
        const char ch = Traits::to_char_type(c);
        if (ch == '\n')
            return true;
        if (ch == '\r') {
            if (Traits::eq_int_type(buffer->sgetc(), Traits::to_int_type('\n')))
                buffer->sbumpc();
            return true;
        }
        line += ch;
    }
}

std::string LowerCaseCp1251(std::string_view utf8)
{
    std::string result(utf8);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto c = static_cast<unsigned char>(result[i]);
        if (c >= 'A' && c <= 'Z') {
            result[i] = static_cast<char>(c + 32);
        } else if (c == 0xD0 && i + 1 < result.size()) {
            // U+0410..U+042F are D0 90..D0 AF; their lower case U+0430..U+044F are D0 B0..D1 8F.
            const auto next = static_cast<unsigned char>(result[i + 1]);
            if (next >= 0x90 && next <= 0x9F) {
                result[i + 1] = static_cast<char>(next + 0x20);
                ++i;
            } else if (next >= 0xA0 && next <= 0xAF) {
                result[i] = static_cast<char>(0xD1);
                result[i + 1] = static_cast<char>(next - 0x20);
                ++i;
            }
        }
    }
    return result;
}

std::string AnsiUpperCase(std::string_view utf8)
{
    std::string result;
    result.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8(utf8, pos, cp);
        if (length == 0)
            result += utf8[pos];  // a stray byte is kept as it is
        else
            AppendUtf8(result, UpperLetter(cp));
        pos += length == 0 ? 1 : length;
    }
    return result;
}

int AnsiCompareText(std::string_view a, std::string_view b)
{
    std::size_t pa = 0;
    std::size_t pb = 0;
    while (pa < a.size() && pb < b.size()) {
        const unsigned long long ka = CompareKey(NextChar(a, pa));
        const unsigned long long kb = CompareKey(NextChar(b, pb));
        if (ka != kb)
            return ka < kb ? -1 : 1;
    }
    if (pa < a.size())
        return 1;
    if (pb < b.size())
        return -1;
    return 0;
}

std::string ShortestNumberText(double value)
{
    return ShortestText(value);
}

std::string ShortestNumberText(float value)
{
    return ShortestText(value);
}

std::string LexicalCast(unsigned long long value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    if (out.fail())
        throw std::runtime_error(kConversionError);
    return out.str();
}

float LexicalCastToFloat(std::string_view text)
{
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    float value = 0.0f;
    in >> value;
    if (in.fail())
        throw std::runtime_error(kConversionError);
    return value;
}
