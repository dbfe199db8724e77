// Every public sample file either loads with the curves, points and depth range read off the
// file by hand, or fails with a message naming the reason (and the line where there is one); every
// file that loads reads back the same after the full writer wrote it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cctype>
#include <map>
#include <cmath>
#include <string>
#include <vector>

#include "core/LasNumbers.h"
#include "core/Lasfile.h"
#include "core/StringUtils.h"
#include "tests/common/LasSaveCompare.h"
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

std::vector<std::string> CurveTexts(const TLASFile& document, int c)
{
    return {document.GetCurveName(c), document.GetCurveUnit(c), document.GetCurveDescription(c),
            std::to_string(document.GetCurveDecimals(c))};
}

} // namespace

// Load and save give the file back byte for byte, but for the STRT, STOP and STEP lines that
// disagree with the data and the required ones a header lacked; the copy reads back the same.
// One edited sample changes one line, and rows lacking values are then written whole.
TEST(LasCorpus, LoadAndSaveGiveTheFileBackByteForByte)
{
    STRATIV_REQUIRE_CORPUS();
    las_test::LasFiles files;
    int compared = 0;
    for (const std::string& name : strativ::test::LoadableCorpusFiles()) {
        const std::string path = strativ::test::CorpusDir() + "/" + name;
        TLASFile original(path, 2);
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
        const std::vector<std::string> recomputed = strativ::test::DisagreeingDepthLines(original);
        EXPECT_EQ(strativ::test::ChangedLines(ReadFileBytes(path), ReadFileBytes(copy), recomputed),
                  std::vector<std::string>{});

        // Rows lacking values are written whole once a value changes: issue83.las has two.
        const bool rowsComplete = original.GetParser().GetDataSource().rowsComplete;
        strativ::test::EditOneSample(original);
        ASSERT_TRUE(original.WriteLas(copy));
        EXPECT_EQ(strativ::test::ChangedLines(ReadFileBytes(path), ReadFileBytes(copy), recomputed).size(),
                  rowsComplete ? 1u : 2u);
        EXPECT_EQ(TLASFile(copy, 2).GetOmittedData(), "");
    }
    EXPECT_GT(compared, 60);
}
