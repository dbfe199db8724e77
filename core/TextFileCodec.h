// A text file decoded for editing and encoded back: its code page, byte order mark and the end
// of each line are kept, so that text nobody edited gives the very bytes it was read from.
#pragma once

#include <string>
#include <string_view>

#include "core/CodePages.h"

class TextFileCodec {
public:
    // The bytes as UTF-8 text with '\n' between lines (after CR LF, LF or a lone CR); the code
    // page (UTF-16 found from its byte order mark or its zero bytes, the others from the bytes
    // after a byte order mark), the mark and the line ends are kept. False for UTF-16 bytes that
    // are not text, with the reason in `error`.
    bool Decode(std::string_view bytes, std::string& text, std::string& error);

    // The text back in the file's form: line i ends as line i of the file did; lines beyond them
    // end as its first line did (CR LF in a file without one). False when a character cannot be
    // held by the code page, with its 1-based line and the character in *badLine and *bad.
    bool Encode(std::string_view utf8, std::string& out, int* badLine = nullptr,
                std::string* bad = nullptr) const;

    TextEncoding Encoding() const { return encoding_; }

private:
    TextEncoding encoding_ = TextEncoding::Cp866;
    std::string byteOrderMark_;
    std::string lineEnds_;  // one per line end of the file: '\n' LF, '\r' CR, 'R' CR LF
};
