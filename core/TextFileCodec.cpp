#include "core/TextFileCodec.h"

#include <algorithm>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view LineEndText(char kind)
{
    switch (kind) {
    case '\n': return "\n";
    case '\r': return "\r";
    default: return "\r\n";
    }
}

} // namespace

bool TextFileCodec::Decode(std::string_view bytes, std::string& text, std::string& error)
{
    std::string decoded;
    if (LooksLikeUtf16(bytes, &encoding_)) {
        const std::string_view mark = encoding_ == TextEncoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
        byteOrderMark_ = bytes.substr(0, 2) == mark ? mark : std::string_view();
        bytes.remove_prefix(byteOrderMark_.size());
        if (!DecodeUtf16(bytes, encoding_, decoded)) {
            error = "Файл в кодировке UTF-16 содержит байты, которые не являются текстом (строка " +
                    std::to_string(std::count(decoded.begin(), decoded.end(), '\n') + 1) + ")";
            return false;
        }
    } else {
        encoding_ = DetectTextEncoding(bytes);
        byteOrderMark_ = bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark ? kUtf8Mark : std::string_view();
        bytes.remove_prefix(byteOrderMark_.size());
        decoded = DecodeText(bytes, encoding_);
    }
    lineEnds_.clear();
    std::string lines;
    lines.reserve(decoded.size());
    for (size_t i = 0; i < decoded.size(); ++i) {
        const char c = decoded[i];
        if (c == '\r' && i + 1 < decoded.size() && decoded[i + 1] == '\n') {
            lineEnds_ += 'R';
            ++i;
        } else if (c == '\r' || c == '\n') {
            lineEnds_ += c;
        } else {
            lines += c;
            continue;
        }
        lines += '\n';
    }
    text = std::move(lines);
    return true;
}

bool TextFileCodec::Encode(std::string_view utf8, std::string& out, int* badLine,
                           std::string* bad) const
{
    std::string result = byteOrderMark_;
    result.reserve(utf8.size() + utf8.size() / 16);
    const char otherEnds = lineEnds_.empty() ? 'R' : lineEnds_[0];
    size_t line = 0;
    std::string encoded;
    for (size_t start = 0;; ++line) {
        const size_t end = std::min(utf8.find('\n', start), utf8.size());
        if (!EncodeText(utf8.substr(start, end - start), encoding_, encoded, bad)) {
            if (badLine)
                *badLine = static_cast<int>(line) + 1;
            return false;
        }
        result += encoded;
        if (end == utf8.size())
            break;
        EncodeText(LineEndText(line < lineEnds_.size() ? lineEnds_[line] : otherEnds), encoding_, encoded);
        result += encoded;
        start = end + 1;
    }
    out = std::move(result);
    return true;
}
