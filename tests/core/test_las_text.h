// LAS texts of many rows for the save tests: a depth and two curves, in the shapes real files
// take (line ends, wraps, order, alignment).
#pragma once

#include <cstdio>
#include <string>

namespace las_test {

struct Shape {
    const char* eol;
    bool wrapped;
    bool descending;
    int rows;
    // A and B of eight digits, whose floats cannot tell their last digit apart.
    bool eightDigits = false;
    const char* blanks = "";  // after each line's last value
    // The row's texts (depth, the wrap, A, B): right-aligned, or else unaligned with the depth
    // widening past 1000, or padded after.
    const char* row = "%10s%s%10.3f%10s";
    int depthBase = 1000;
    int extraValueRow = -1;  // a row holding a value more than the curves, unwrapped
};

// A LAS text of curves DEPT, A, B, each NULL written "-999.25"; wrapped: the depth on a line of
// its own.
inline std::string LasText(const Shape& shape)
{
    const std::string eol = shape.eol;
    const auto depth = [&](int i) {
        const int r = shape.descending ? shape.rows - 1 - i : i;
        char text[32];
        std::snprintf(text, sizeof text, "%d.%02d", shape.depthBase + r / 10, r % 10 * 10);
        return std::string(text);
    };
    std::string text = "~Version" + eol + " VERS. 2.0 :" + eol + " WRAP. " +
                       (shape.wrapped ? "YES" : "NO") + " :" + eol + "~Well" + eol + " STRT.M " +
                       depth(0) + " :" + eol + " STOP.M " + depth(shape.rows - 1) + " :" + eol +
                       " STEP.M " + (shape.descending ? "-0.1" : "0.1") + " :" + eol +
                       " NULL. -999.25 :" + eol + "~Curve" + eol + " DEPT.M :" + eol + " A.U :" +
                       eol + " B.U :" + eol + "~A" + eol;
    const std::string wrap = shape.wrapped ? eol + "  " : "";
    const std::string end = shape.blanks + eol;
    text.reserve(text.size() + static_cast<size_t>(shape.rows) * (32 + end.size() + wrap.size()));
    char row[96];
    char b[16];
    for (int i = 0; i < shape.rows; ++i) {
        if (shape.eightDigits) {
            std::snprintf(row, sizeof row, "%10s%s%11.4f%11.4f", depth(i).c_str(), wrap.c_str(),
                          3876.7023 + i * 0.0001, -2000.0 - i * 0.0007);
        } else {
            std::snprintf(b, sizeof b, i % 97 == 0 ? "-999.25" : "%d.000", i % 7);
            std::snprintf(row, sizeof row, shape.row, depth(i).c_str(), wrap.c_str(), (i % 1000) * 1.25, b);
        }
        text.append(row).append(i == shape.extraValueRow ? " 9.5" : "").append(end);
    }
    return text;
}

} // namespace las_test
