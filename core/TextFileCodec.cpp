#include "core/TextFileCodec.h"

#include <algorithm>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view LineEndBytes(char kind)
{
    switch (kind) {
    case '\n': return "\n";
    case '\r': return "\r";
    default: return "\r\n";
    }
}

} // namespace

std::string TextFileCodec::Decode(std::string_view bytes)
{
    byteOrderMark_ = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    encoding_ = DetectTextEncoding(bytes);
    if (byteOrderMark_)
        bytes.remove_prefix(kByteOrderMark.size());
    lineEnds_.clear();
    std::string lines;
    lines.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
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
    return DecodeText(lines, encoding_);
}

bool TextFileCodec::Encode(std::string_view utf8, std::string& out, int* badLine,
                           std::string* bad) const
{
    std::string result(byteOrderMark_ ? kByteOrderMark : std::string_view());
    result.reserve(utf8.size() + utf8.size() / 16);
    const char otherEnds = lineEnds_.empty() ? 'R' : lineEnds_[0];
    size_t line = 0;
    for (size_t start = 0;; ++line) {
        const size_t end = std::min(utf8.find('\n', start), utf8.size());
        std::string encoded;
        if (!EncodeText(utf8.substr(start, end - start), encoding_, encoded, bad)) {
            if (badLine)
                *badLine = static_cast<int>(line) + 1;
            return false;
        }
        result += encoded;
        if (end == utf8.size())
            break;
        result += LineEndBytes(line < lineEnds_.size() ? lineEnds_[line] : otherEnds);
        start = end + 1;
    }
    out = std::move(result);
    return true;
}
