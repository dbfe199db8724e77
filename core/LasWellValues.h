// The values of the ~W lines of a LAS file, read without building the header model: the lines
// are walked in a reused buffer and only the first line of each table code is kept, so that
// reading the headers of many files allocates nothing once the storage has grown.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/LasLineReader.h"
#include "core/LasParser2.h"

class LasWellValueReader {
public:
    // False when TLasParser2Header::ParseFile fails on the file (unreadable, UTF-16, binary, no
    // ~V or ~W title).
    bool Read(const std::string& path);

    // The value of the first ~W line of the code exactly as TLasParser2Header gives it (LAS 1.2
    // information after the colon, decoded to UTF-8); null when there is no
    // such line. Valid until the next Read.
    const std::string* Value(int code);

private:
    class Collector;
    static constexpr size_t kCodes = kLineApi + 1;

    struct Line {
        bool found = false;
        bool decoded = false;
        std::string raw;
        std::string value;
    };

    LasLineReader reader_;
    LasHeaderWalker walker_;
    std::array<Line, kCodes> wellLines_;
    Line version_;
    bool las12_ = false;
};
