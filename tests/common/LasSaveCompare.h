// What a save changed in a LAS file, compared byte for byte line by line (line ends included),
// and the corpus files that load, for the tests of every LAS writer.
#pragma once

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/LasNumbers.h"
#include "core/Lasfile.h"
#include "tests/common/TestPaths.h"

namespace strativ::test {

// The lines of a text, each with its own line end.
inline std::vector<std::string> RawLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) {
            lines.push_back(bytes.substr(start, i + 1 - start));
            start = i + 1;
        }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

inline std::string LineMnemonic(const std::string& line)
{
    std::string mnemonic;
    const size_t dot = line.find('.');
    for (size_t i = 0; i < dot && dot != std::string::npos; ++i)
        if (!std::isspace(static_cast<unsigned char>(line[i])))
            mnemonic += static_cast<char>(std::toupper(static_cast<unsigned char>(line[i])));
    return mnemonic;
}

// The lines of `written` that are not the lines of `read`, besides lines of the `recomputed`
// mnemonics that replace their own and STRT, STOP, STEP and NULL lines added to a header that had
// none.
inline std::vector<std::string> ChangedLines(const std::string& read, const std::string& written,
                                             const std::vector<std::string>& recomputed)
{
    const std::vector<std::string> in = RawLines(read);
    const std::vector<std::string> out = RawLines(written);
    const auto isIn = [](const std::string& mnemonic, const std::vector<std::string>& list) {
        return std::find(list.begin(), list.end(), mnemonic) != list.end();
    };
    std::vector<std::string> inMnemonics;
    for (const std::string& line : in)
        inMnemonics.push_back(LineMnemonic(line));
    std::vector<std::string> changed;
    size_t a = 0;
    for (size_t b = 0; b < out.size(); ++b) {
        const std::string mnemonic = LineMnemonic(out[b]);
        if (a < in.size() && in[a] == out[b]) {
            ++a;
        } else if (isIn(mnemonic, {"STRT", "STOP", "STEP", "NULL"}) && !isIn(mnemonic, inMnemonics)) {
            continue;  // added
        } else {
            if (!(a < in.size() && inMnemonics[a] == mnemonic && isIn(mnemonic, recomputed)))
                changed.push_back(out[b]);
            ++a;
        }
    }
    for (; a < in.size(); ++a)
        changed.push_back("(missing) " + in[a]);
    return changed;
}

// STRT, STOP and STEP lines whose numbers are not what the data say.
inline std::vector<std::string> DisagreeingDepthLines(const TLASFile& document)
{
    const int n = document.GetPointCount();
    const float* depth = document.GetCurveData(0);
    const bool descending = document.GetParser().IsDescending();
    const float strt = descending ? depth[n - 1] : depth[0];
    const float stop = descending ? depth[0] : depth[n - 1];
    std::vector<std::string> lines;
    const TLasParsSection& well = document.GetParser().GetWellSection();
    for (const auto& [code, name, value] : {std::tuple{kLineStrt, "STRT", strt}, std::tuple{kLineStop, "STOP", stop}}) {
        const TLasParsParsedString* line = well.FindLineByCode(code);
        float read = 0.0f;
        if (line && (!ParseLasNumber(line->Value(), read) || read != value))
            lines.push_back(name);
    }
    const float step = n < 2 ? 0.0f : (stop - strt) / float(n - 1);
    float read = 0.0f;
    const TLasParsParsedString* line = well.FindLineByCode(kLineStep);
    if (line && (!ParseLasNumber(line->Value(), read) || std::fabs(read - step) > 1e-4f * std::max(1.0f, std::fabs(step))))
        lines.push_back("STEP");
    return lines;
}

// A file that loads with every value of its data (a last row cut short included: its missing
// values are NULL); one that loads in part warns and is not written back as read.
inline bool LoadsWhole(const std::string& path)
{
    const TLASFile document(path, 2);
    return document.IsLoaded() && document.GetParser().GetDataSource().whole;
}

// The corpus files (paths relative to the corpus folder) that load whole.
inline std::vector<std::string> LoadableCorpusFiles()
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(CorpusDir()))
        if (entry.path().extension() == ".las" && LoadsWhole(entry.path().string()))
            names.push_back(fs::relative(entry.path(), CorpusDir()).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

// Changes one sample the way a user would: the last curve in the middle row.
inline void EditOneSample(TLASFile& document)
{
    float& value = document.GetCurveData(document.GetCurvesCount() - 1)[document.GetPointCount() / 2];
    value = value == document.GetNullValue() ? 1.5f : value + 1.0f;
}

} // namespace strativ::test
