// Macro names and "#" expressions in the texts of title cells.
#include "core/CodePages.h"
#include "core/MParser.h"
#include "core/StringUtils.h"
#include "platform/NumberText.h"
#include "printing/Q7CellsArray.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

struct CodePoint {
    char32_t value = 0;
    std::size_t length = 1;
};

// The UTF-8 character at `i`; a malformed byte stands alone with a value no text character has.
CodePoint DecodeAt(std::string_view s, std::size_t i)
{
    CodePoint cp;
    cp.length = DecodeUtf8(s, i, cp.value);
    if (cp.length == 0)
        return {0x110000u + static_cast<unsigned char>(s[i]), 1};
    return cp;
}

std::vector<char32_t> Decode(std::string_view s)
{
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const CodePoint cp = DecodeAt(s, i);
        out.push_back(cp.value);
        i += cp.length;
    }
    return out;
}

// A text character matches a pattern character when equal, or when the pattern has an
// upper-case Latin or Cyrillic letter and the text the same letter in lower case.
bool MatchesPatternChar(char32_t text, char32_t pattern)
{
    if (text == pattern)
        return true;
    const bool upper = (pattern >= U'A' && pattern <= U'Z') || (pattern >= U'А' && pattern <= U'Я');
    if (upper)
        return text == pattern + 32;
    return pattern == U'Ё' && text == U'ё';
}

bool IsMacroNameChar(char32_t c)
{
    return (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
}

bool IsExpressionChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("+-/%.,*()[]^").find(c) != std::string_view::npos;
}

// The value of an expression as a title shows it, or nothing when it cannot be computed.
bool EvaluateExpression(TMParser& parser, std::string expression, std::string& text)
{
    std::replace(expression.begin(), expression.end(), ',', '.');
    try {
        if (!parser.Parse(expression))
            return false;
        const double value = parser.Calculate();
        if (!std::isfinite(value) || std::fabs(value) > FLT_MAX)
            return false;
        text = platform::FloatToStrF(static_cast<float>(value), 7, 2).toStdString();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// One pass over a text: every "#expression#" (or "#expression" ended by another character
// or by the end of the text) that computes is replaced; the closing "#" goes with it.
std::string EvaluateText(TMParser& parser, const std::string& text)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '#') {
            out += text[i++];
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && IsExpressionChar(text[end]))
            ++end;
        const std::string body = text.substr(i + 1, end - i - 1);
        const bool atEnd = end == text.size();
        const bool closed = !atEnd && text[end] == '#';
        const std::size_t next = atEnd ? end : end + 1;  // the ending character is consumed
        std::string value;
        if (body.size() >= (atEnd ? 2u : 1u) && EvaluateExpression(parser, body, value)) {
            out += value;
            if (!atEnd && !closed)
                out += text[end];
        } else {
            out.append(text, i, next - i);
        }
        i = next;
    }
    return out;
}

}  // namespace

void TQ7CellsArray::CollectMacros(const TCellRange& range, char32_t leftDelimiter, char32_t rightDelimiter,
                                  std::vector<std::string>& names) const
{
    if (!IsValidRange(range))
        return;
    names.clear();
    for (int c = range.left; c <= range.right; ++c) {
        for (int r = range.top; r <= range.bottom; ++r) {
            const std::string text = AnsiUpperCase(rows_[r][c].Content.Text);
            bool inside = false;
            std::size_t start = 0;
            for (std::size_t i = 0; i < text.size();) {
                const CodePoint cp = DecodeAt(text, i);
                if (cp.value == leftDelimiter) {
                    inside = true;  // a later left delimiter restarts the name
                    start = i + cp.length;
                } else if (inside && cp.value == rightDelimiter) {
                    inside = false;
                    std::string name = text.substr(start, i - start);
                    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
                        names.push_back(std::move(name));
                } else if (inside && !IsMacroNameChar(cp.value)) {
                    inside = false;
                }
                i += cp.length;
            }
        }
    }
}

int TQ7CellsArray::ReplaceInCells(std::string_view pattern, std::string_view value, const TCellRange& range)
{
    const std::vector<char32_t> pat = Decode(pattern);
    if (pat.empty() || !IsValidRange(range))
        return 0;
    int count = 0;
    for (int c = range.left; c <= range.right; ++c) {
        for (int r = range.top; r <= range.bottom; ++r) {
            const std::string& text = rows_[r][c].Content.Text;
            std::string out;
            std::size_t i = 0;
            while (i < text.size()) {
                // Every position is tried as the start of a match, so "[[WELL]" finds "[WELL]".
                std::size_t j = i;
                std::size_t k = 0;
                for (; k < pat.size() && j < text.size(); ++k) {
                    const CodePoint cp = DecodeAt(text, j);
                    if (!MatchesPatternChar(cp.value, pat[k]))
                        break;
                    j += cp.length;
                }
                if (k == pat.size()) {
                    out += value;
                    ++count;
                    i = j;
                } else {
                    const std::size_t length = DecodeAt(text, i).length;
                    out.append(text, i, length);
                    i += length;
                }
            }
            rows_[r][c].Content.Text = std::move(out);
        }
    }
    return count;
}

void TQ7CellsArray::EvaluateExpressions(const TCellRange& range)
{
    if (!IsValidRange(range))
        return;
    TMParser parser;
    for (int c = range.left; c <= range.right; ++c)
        for (int r = range.top; r <= range.bottom; ++r) {
            std::string& text = rows_[r][c].Content.Text;
            text = EvaluateText(parser, text);
        }
}
