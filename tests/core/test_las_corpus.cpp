// Every public sample file either loads with the curves, points and depth range read off the
// file by hand, or fails with a message naming the reason (and the line where there is one); every
// file that loads reads back the same after the full writer wrote it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cctype>
#include <map>
#include <sstream>
#include <tuple>
#include <cmath>
#include <string>
#include <vector>

#include "core/LasNumbers.h"
#include "core/Lasfile.h"
#include "core/StringUtils.h"
#include "tests/common/TestPaths.h"
#include "tests/core/test_las_util.h"

namespace {

namespace fs = std::filesystem;
using las_test::ReadFileBytes;

struct CorpusCase {
    int curves = 0;  // 0: the file must fail with the error
    int points = 0;
    float top = 0.0f;
    float bottom = 0.0f;
    const char* error = "";
};

std::map<std::string, CorpusCase> Expected()
{
    std::map<std::string, CorpusCase> all = {
        {"1.2/issue-264-dot-delimiter.las", {5, 3, 1669.75f, 1670.0f}},
        {"1.2/sample_minimal.las", {8, 2, 634.875f, 635.0f}},
        {"1.2/sample_wrapped.las", {36, 5, 909.5f, 910.0f}},
        {"2.0/sample_2.0_based.las", {3, 6, 0.0f, 1.5f}},
        {"2.0/sample_2.0_minimal.las", {8, 2, 634.875f, 635.0f}},
        {"alog.las", {9, 24, 0.0f, 0.0f}},
        {"issue83.las", {6, 2, 19160.0f, 19160.5f}},
        {"mnemonic_case.las", {7, 3, 1669.75f, 1670.0f}},
        {"multi_channel.las", {15, 5, 7506.0f, 7508.0f}},
        {"multi_channel_natural_sorting.las", {15, 5, 7506.0f, 7508.0f}},
        {"multi_channel_out_of_order.las", {15, 5, 7506.0f, 7508.0f}},
        {"sample_issue105_a.las", {5, 3, 1669.75f, 1670.0f}},
        {"sample_issue105_b.las", {5, 3, 1669.75f, 1670.0f}},
        {"sample_issue105_c.las", {9, 3, 1669.75f, 1670.0f}},
        {"sample_str_in_data.las", {4, 3, 1669.75f, 1670.0f}},
        {"sample_write_sect_widths_12.las", {4, 3, 1669.75f, 1670.0f}},
        {"single_step_20.las", {8, 1, 1670.0f, 1670.0f}},
        {"skip_data_section_comments.las", {6, 4, 0.3f, 0.6f}},
        {"barebones.las", {.error = "нет секций ~V и ~W"}},
        {"barebones2.las", {.error = "нет секций ~V и ~W"}},
        {"not_a_las_file.las", {.error = "Файл не является файлом LAS"}},
        {"blank_line.las", {.error = "Файл не содержит данных"}},
        {"header_only.las", {.error = "Файл не содержит данных"}},
        {"missing_a_section.las", {.error = "Файл не содержит данных"}},
        {"issue79.las", {.error = "Версия LAS 3.0 не поддерживается (строка 2 файла)"}},
        {"comma_decimal_mark.las", {.error = "в строке 45 файла: '123,420'"}},
        {"data_characters.las", {.error = "в строке 41 файла: '00:00:00'"}},
        {"data_characters_numeric.las", {.error = "в строке 41 файла: '00:00:00'"}},
        {"lasio_issue_271.las", {.error = "в строке 24 файла: 'pick_alpha'"}},
        {"null_policy_(null).las", {.error = "в строке 46 файла: '(null)'"}},
        {"null_policy_ERR.las", {.error = "в строке 46 файла: 'ERR'"}},
        {"null_policy_dashes.las", {.error = "в строке 44 файла: '-'"}},
        {"null_policy_ind.las", {.error = "в строке 21 файла: '-1.#IND0000'"}},
        {"encodings_utf16be.las", {.error = "UTF-16"}},
        {"encodings_utf16bebom.las", {.error = "UTF-16"}},
        {"encodings_utf16le.las", {.error = "UTF-16"}},
        {"encodings_utf16lebom.las", {.error = "UTF-16"}},
    };
    for (const char* name : {"F", "FEET", "FT", "M", "M_FT", "M_lower"})
        all[std::string("autodepthindex_") + name + ".las"] = {2, 101, 0.0f, 100.0f};
    return all;
}

// The sample files, by path relative to the corpus folder.
std::vector<std::string> CorpusFiles()
{
    const std::string corpus = strativ::test::CorpusDir();
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(corpus))
        if (entry.path().extension() == ".las")
            names.push_back(fs::relative(entry.path(), corpus).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

// Files not listed are the usual lasio sample: 8 curves, 3 rows from 1670 down to 1669.75.
TEST(LasCorpus, EveryFileLoadsWithItsShapeOrFailsWithItsReason)
{
    STRATIV_REQUIRE_CORPUS();
    const std::map<std::string, CorpusCase> expected = Expected();
    int listed = 0;
    for (const std::string& name : CorpusFiles()) {
        SCOPED_TRACE(name);
        const auto found = expected.find(name);
        listed += found != expected.end();
        const CorpusCase c = found != expected.end() ? found->second
                                                      : CorpusCase{8, 3, 1669.75f, 1670.0f};
        TLASFile document(strativ::test::CorpusDir() + "/" + name, 2);
        ASSERT_EQ(document.IsLoaded(), c.curves > 0) << document.GetLoadError();
        EXPECT_NE(document.GetLoadError().find(c.error), std::string::npos);
        EXPECT_EQ(document.GetCurvesCount(), c.curves);
        EXPECT_EQ(document.GetPointCount(), c.points);
        EXPECT_FLOAT_EQ(document.GetTopDepth(), c.top);
        EXPECT_FLOAT_EQ(document.GetBottomDepth(), c.bottom);
    }
    EXPECT_EQ(listed, static_cast<int>(expected.size()));
}

// The header lines a write keeps as read (all but WRAP and the recomputed or added STRT, STOP,
// STEP and NULL), section by section; ~V, ~W and ~C are written first, so sections are sorted.
std::vector<std::vector<std::string>> KeptHeaderLines(const TLasParser2Parser& parser)
{
    std::vector<std::vector<std::string>> sections;
    for (int s = 0; s < parser.GetSectionCount(); ++s) {
        const TLasParsSection& section = *parser.GetSection(s);
        std::vector<std::string> lines{section.GetTitle()};
        for (int i = 0; i < section.GetCount(); ++i) {
            const int code = section.GetLine(i)->GetKind();
            if (code != kLineWrap && (code < kLineStrt || code > kLineNull))
                lines.push_back(section.GetLine(i)->Compose());
        }
        if (section.GetKind() != kSectionData)
            sections.push_back(lines);
    }
    std::sort(sections.begin(), sections.end());
    return sections;
}

std::vector<std::string> CurveTexts(const TLASFile& document, int c)
{
    return {document.GetCurveName(c), document.GetCurveUnit(c), document.GetCurveDescription(c),
            std::to_string(document.GetCurveDecimals(c))};
}


std::vector<std::string> TextLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool IsDataTitle(const std::string& line)
{
    const size_t at = line.find_first_not_of(" \t");
    return at != std::string::npos && line[at] == '~' && at + 1 < line.size() &&
           std::toupper(static_cast<unsigned char>(line[at + 1])) == 'A';
}

// A file's header lines (up to ~A) and the value tokens of its data, comments aside.
struct LasText {
    std::vector<std::string> header;
    std::vector<std::string> values;
};

LasText SplitLasText(const std::string& bytes, const std::vector<std::string>& droppedMnemonics)
{
    LasText text;
    bool inData = false;
    for (const std::string& line : TextLines(bytes)) {
        if (inData) {
            if (!line.empty() && line.find_first_not_of(" \t") != std::string::npos &&
                line[line.find_first_not_of(" \t")] == '#')
                continue;
            std::istringstream tokens(line);
            for (std::string token; tokens >> token;)
                text.values.push_back(token);
            continue;
        }
        inData = IsDataTitle(line);
        const std::string mnemonic = Upper(std::string(Trim(line.substr(0, line.find('.')))));
        if (std::find(droppedMnemonics.begin(), droppedMnemonics.end(), mnemonic) ==
            droppedMnemonics.end())
            text.header.push_back(line);
    }
    return text;
}

// Besides the depth lines that disagree with the data, the writer recomputes WRAP of a wrapped
// file and adds missing depth and NULL lines; rows shorter than the curves come back completed
// with NULL, values beyond the curves are dropped.
struct Recomputed {
    std::vector<std::string> lines;  // mnemonics of the header lines that may change
    bool reshapedRows = false;
};

std::map<std::string, Recomputed> RecomputedLines()
{
    return {
        {"1.2/sample_wrapped.las", {{"WRAP"}}},
        {"missing_null.las", {{"NULL"}}},
        {"sample_TVD.las", {{"STRT", "STOP"}}},
        {"sample_write_sect_widths.las", {{"NULL"}}},
        {"issue83.las", {{}, true}},
        {"sample_write_sect_widths_12.las", {{}, true}},
    };
}

// STRT, STOP and STEP lines whose numbers are not what the data say: the writer recomputes them.
std::vector<std::string> DisagreeingDepthLines(const TLASFile& document)
{
    const std::vector<float> depths = las_test::Curve(document, 0);
    const bool descending = document.GetParser().IsDescending();
    const float top = descending ? depths.back() : depths.front();
    const float bottom = descending ? depths.front() : depths.back();
    const float step = depths.size() < 2 ? 0.0f : (bottom - top) / float(depths.size() - 1);
    std::vector<std::string> lines;
    const TLasParsSection& well = document.GetParser().GetWellSection();
    for (const auto& [code, name, value] : {std::tuple{kLineStrt, "STRT", top},
                                            std::tuple{kLineStop, "STOP", bottom},
                                            std::tuple{kLineStep, "STEP", step}}) {
        const TLasParsParsedString* line = well.FindLineByCode(code);
        float read = 0.0f;
        if (line && (!ParseLasNumber(line->Value(), read) ||
                     std::fabs(read - value) > 1e-4f * std::max(1.0f, std::fabs(value))))
            lines.push_back(name);
    }
    return lines;
}

// A value comes back as it was read, or, when that text was not the float's shortest text padded
// to the column's decimals, as another text of the same float.
bool SameValueText(const std::string& in, const std::string& out)
{
    if (in == out)
        return true;
    float a = 0.0f;
    float b = 0.0f;
    if (!ParseLasNumber(in, a) || !ParseLasNumber(out, b) || a != b)
        return false;
    const size_t point = out.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(out.size() - point - 1);
    return FormatLasFixed(a, decimals) != in;
}

} // namespace

// Load and save change nothing the writer need not recompute: header lines byte for byte and
// every data value's text; the copy reads back with the same curves, values, NULL and step.
TEST(LasCorpus, LoadAndSaveKeepTheFileAsTextAndItReadsBackTheSame)
{
    STRATIV_REQUIRE_CORPUS();
    const auto recomputed = RecomputedLines();
    las_test::LasFiles files;
    int compared = 0;
    for (const std::string& name : CorpusFiles()) {
        const std::string path = strativ::test::CorpusDir() + "/" + name;
        TLASFile original(path, 2);
        if (!original.IsLoaded())
            continue;
        SCOPED_TRACE(name);
        const std::string copy = files.Path("copy" + std::to_string(++compared) + ".las");
        ASSERT_TRUE(original.WriteLas(copy));
        TLASFile reread(copy, 2);
        ASSERT_EQ(reread.GetCurvesCount(), original.GetCurvesCount()) << reread.GetLoadError();
        EXPECT_EQ(reread.GetNullValue(), original.GetNullValue());
        EXPECT_FLOAT_EQ(reread.GetStep(), original.GetStep());
        for (int c = 0; c < original.GetCurvesCount(); ++c) {
            EXPECT_EQ(CurveTexts(reread, c), CurveTexts(original, c));
            EXPECT_EQ(las_test::Curve(reread, c), las_test::Curve(original, c)) << "curve " << c;
        }
        EXPECT_EQ(KeptHeaderLines(reread.GetParser()), KeptHeaderLines(original.GetParser()));
        const auto found = recomputed.find(name);
        Recomputed exceptions = found == recomputed.end() ? Recomputed{} : found->second;
        for (const std::string& line : DisagreeingDepthLines(original))
            exceptions.lines.push_back(line);
        const LasText in = SplitLasText(ReadFileBytes(path), exceptions.lines);
        const LasText out = SplitLasText(ReadFileBytes(copy), exceptions.lines);
        EXPECT_EQ(out.header, in.header);
        if (exceptions.reshapedRows)
            continue;
        ASSERT_EQ(out.values.size(), in.values.size());
        for (size_t i = 0; i < in.values.size(); ++i)
            EXPECT_TRUE(SameValueText(in.values[i], out.values[i]))
                << in.values[i] << " written as " << out.values[i];
    }
    EXPECT_GT(compared, 60);
}
