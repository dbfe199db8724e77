// The text table of an export: a header naming the file, the depth range, the step and the
// curves, then one row of fixed-width fields per exported depth.
#pragma once

#include <string>
#include <vector>

class TLASFile;

// Depth text of a row (UTF-8). Format 0: the number with the decimals and the locale separator;
// with t the depth truncated to a whole number, 1: minutes as hours "<t div 60>ч<t mod 60>м",
// 2: seconds as minutes "<t div 60>м<t mod 60>с", 3: seconds as "<h>ч<m>м<s>с"; empty for any
// other format.
std::string DepthText(int format, double depth, int decimals);

// Writes the table of `curves` (document indexes, in order) over the rows start, start + k, ...
// up to end into `path`, whole or not at all (an existing file then stays as it was). False with
// the system's error code (errno, 0 when unknown) in `systemError`. Depths are written as the
// document holds them, with its depth decimals; values as a LAS save writes them (the file's own
// texts where they stand for the values), with the locale's separator.
bool WriteExportTable(const TLASFile& document, const std::vector<int>& curves, int depthFormat, int start, int k,
                      int end, const std::string& path, int& systemError);
