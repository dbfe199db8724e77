// Macro names and "#" expressions in the texts of title cells.
#include "core/CodePages.h"
#include "core/MParser.h"
#include "core/StringUtils.h"
#include "platform/NumberText.h"
#include "printing/Q7CellsArray.h"

#include <algorithm>
#include <cfloat>
#include <cctype>
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
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view(" _+-/%.,*()[]^").find(c) != std::string_view::npos;
}

// The mark that follows an expression that cannot be computed.
constexpr std::string_view UnreadableMark = " (?)";

// Commas inside the parentheses of a function call separate its arguments; every other comma
// is a decimal comma.
std::string WithDecimalPoints(std::string expression)
{
    std::vector<bool> call;  // per open parenthesis: whether it follows a name
    for (std::size_t i = 0; i < expression.size(); ++i) {
        const char c = expression[i];
        if (c == '(') {
            std::size_t k = i;
            while (k > 0 && expression[k - 1] == ' ')
                --k;
            const char before = k > 0 ? expression[k - 1] : ' ';
            call.push_back((before >= 'A' && before <= 'Z') || (before >= 'a' && before <= 'z') || before == '_' ||
                           (before >= '0' && before <= '9' && k > 1 && std::isalpha(static_cast<unsigned char>(expression[k - 2]))));
        } else if (c == ')') {
            if (!call.empty())
                call.pop_back();
        } else if (c == ',' && (call.empty() || !call.back())) {
            expression[i] = '.';
        }
    }
    return expression;
}

// The value of an expression as a title shows it, or nothing when it cannot be computed.
bool EvaluateExpression(TMParser& parser, const std::string& expression, std::string& text)
{
    try {
        if (!parser.Parse(WithDecimalPoints(expression)))
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

// A text cut into plain parts and expression parts: "#expression#", or an expression left
// open at the end of the text (the body without its "#").
struct TextPart {
    std::string text;
    bool expression = false;
    bool open = false;
};

std::vector<TextPart> SplitExpressions(const std::string& text)
{
    std::vector<TextPart> parts;
    std::string plain;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i + 1;
        if (text[i] == '#') {
            while (end < text.size() && IsExpressionChar(text[end]))
                ++end;
        }
        // A "#" opens an expression when a second "#" closes a body with something to compute,
        // or when a body of at least two characters runs to the end of the text: "№ #1",
        // "# 2" and "a #2*3 b" are plain text.
        const std::string body = text[i] == '#' ? text.substr(i + 1, end - i - 1) : std::string();
        const bool computable = body.find_first_not_of(' ') != std::string::npos;
        const bool closed = end < text.size() && text[end] == '#' && computable;
        const bool open = end == text.size() && body.size() >= 2 && computable;
        if (text[i] != '#' || !(closed || open)) {
            plain += text[i++];
            continue;
        }
        if (!plain.empty())
            parts.push_back({std::move(plain), false, false});
        plain.clear();
        parts.push_back({body, true, open});
        i = open ? end : end + 1;
    }
    if (!plain.empty())
        parts.push_back({std::move(plain), false, false});
    return parts;
}

std::string EvaluatedPart(TMParser& parser, const TextPart& part)
{
    if (!part.expression)
        return part.text;
    std::string value;
    if (EvaluateExpression(parser, part.text, value))
        return value;
    // An open "#" may be plain text: it stays as typed.
    if (part.open)
        return "#" + part.text;
    return "#" + part.text + "#" + std::string(UnreadableMark);
}

// The text with every match of `pattern` replaced by `value`.
std::string ReplaceNoCase(const std::string& text, const std::vector<char32_t>& pat, std::string_view value,
                          int& count)
{
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
    for (int c = range.left; c <= range.right; ++c)
        for (int r = range.top; r <= range.bottom; ++r) {
            std::string& text = rows_[r][c].Content.Text;
            text = ReplaceNoCase(text, pat, value, count);
        }
    return count;
}

void TQ7CellsArray::SubstituteMacros(const std::vector<std::pair<std::string, std::string>>& macros,
                                     const TCellRange& range)
{
    if (!IsValidRange(range))
        return;
    std::vector<std::vector<char32_t>> patterns;
    for (const auto& macro : macros)
        patterns.push_back(Decode(macro.first));
    TMParser parser;
    int count = 0;
    for (int c = range.left; c <= range.right; ++c)
        for (int r = range.top; r <= range.bottom; ++r) {
            std::string& text = rows_[r][c].Content.Text;
            // Expressions are found in the template's own text, so a "#" that a value brings
            // in is never computed.
            std::string out;
            for (TextPart part : SplitExpressions(text)) {
                for (std::size_t m = 0; m < macros.size(); ++m)
                    if (!patterns[m].empty())
                        part.text = ReplaceNoCase(part.text, patterns[m], macros[m].second, count);
                out += EvaluatedPart(parser, part);
            }
            text = std::move(out);
        }
}

void TQ7CellsArray::EvaluateExpressions(const TCellRange& range)
{
    if (!IsValidRange(range))
        return;
    TMParser parser;
    for (int c = range.left; c <= range.right; ++c)
        for (int r = range.top; r <= range.bottom; ++r) {
            std::string& text = rows_[r][c].Content.Text;
            std::string out;
            for (const TextPart& part : SplitExpressions(text))
                out += EvaluatedPart(parser, part);
            text = std::move(out);
        }
}
