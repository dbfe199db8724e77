// Every public sample file either loads with the curves, points and depth range read off the
// file by hand, or fails with a message naming the reason (and the line where there is one).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/Lasfile.h"
#include "tests/common/TestPaths.h"

namespace {

struct CorpusCase {
    int curves = 0;  // 0: the file must fail
    int points = 0;
    float top = 0.0f;
    float bottom = 0.0f;
    const char* error = "";  // part of the failure message
};

CorpusCase Fails(const char* error)
{
    return {0, 0, 0.0f, 0.0f, error};
}

// The usual lasio sample: 8 curves, 3 rows from 1670 down to 1669.75.
const char* const kSampleShaped[] = {
    "1.2/sample.las", "1.2/sample_curve_api.las", "1.2/sample_inf_api_leading_zero.las",
    "1.2/sample_inf_uwi_leading_zero.las", "2.0/sample_2.0-small-neg-values.las",
    "2.0/sample_2.0.las", "2.0/sample_2.0_empty_other_section.las",
    "2.0/sample_2.0_inf_api_leading_zero.las", "2.0/sample_2.0_inf_uwi.las",
    "2.0/sample_2.0_inf_uwi_leading_zero.las", "2.0/sample_2.0_tab_dlm.las",
    "2.0/sample_2.0_universal_newline.las", "2.0/sample_2.0_wrong_stop_value.las",
    "UWI_API_leading_zero.las", "blank_line_start.las", "duplicate_step.las", "emptyparam.las",
    "encodings_iso88591.las", "encodings_utf8wbom.las", "missing_null.las", "missing_vers.las",
    "missing_wrap.las", "mnemonic_duplicate.las", "mnemonic_duplicate2.las", "mnemonic_good.las",
    "mnemonic_leading_period.las", "mnemonic_missing.las", "mnemonic_missing_multiple.las",
    "non-standard-header-section.las", "non-standard-header-sections.las",
    "null_policy_-999.25.las", "null_policy_9999.las", "sample.las", "sample_2.1.las",
    "sample_TVD.las", "sample_bracketed_units.las", "sample_cyrillic_depth_unit.las",
    "sample_null.las", "sample_write_empty_params.las", "sample_write_sect_widths.las",
    "sample_write_sect_widths_20_narrow.las", "sample_write_sect_widths_20_wide.las",
    "sparse_curves.las",
};

const std::map<std::string, CorpusCase>& Expected()
{
    static const std::map<std::string, CorpusCase> cases = [] {
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
            {"barebones.las", Fails("нет секций ~V и ~W")},
            {"barebones2.las", Fails("нет секций ~V и ~W")},
            {"not_a_las_file.las", Fails("Файл не является файлом LAS")},
            {"blank_line.las", Fails("Файл не содержит данных")},
            {"header_only.las", Fails("Файл не содержит данных")},
            {"missing_a_section.las", Fails("Файл не содержит данных")},
            {"issue79.las", Fails("Версия LAS 3.0 не поддерживается (строка 2 файла)")},
            {"comma_decimal_mark.las", Fails("в строке 45 файла: '123,420'")},
            {"data_characters.las", Fails("в строке 41 файла: '00:00:00'")},
            {"data_characters_numeric.las", Fails("в строке 41 файла: '00:00:00'")},
            {"lasio_issue_271.las", Fails("в строке 24 файла: 'pick_alpha'")},
            {"null_policy_(null).las", Fails("в строке 46 файла: '(null)'")},
            {"null_policy_ERR.las", Fails("в строке 46 файла: 'ERR'")},
            {"null_policy_dashes.las", Fails("в строке 44 файла: '-'")},
            {"null_policy_ind.las", Fails("в строке 21 файла: '-1.#IND0000'")},
        };
        for (const char* name : {"encodings_utf16be.las", "encodings_utf16bebom.las",
                                 "encodings_utf16le.las", "encodings_utf16lebom.las"})
            all[name] = Fails("UTF-16");
        for (const char* name : {"F", "FEET", "FT", "M", "M_FT", "M_lower"})
            all[std::string("autodepthindex_") + name + ".las"] = {2, 101, 0.0f, 100.0f};
        for (const char* name : kSampleShaped)
            all[name] = {8, 3, 1669.75f, 1670.0f};
        return all;
    }();
    return cases;
}

TEST(LasCorpus, EveryFileLoadsWithItsShapeOrFailsWithItsReason)
{
    namespace fs = std::filesystem;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(strativ::test::CorpusDir())) {
        if (entry.path().extension() != ".las")
            continue;
        ++files;
        const std::string name =
            fs::relative(entry.path(), strativ::test::CorpusDir()).generic_string();
        SCOPED_TRACE(name);
        const auto found = Expected().find(name);
        ASSERT_NE(found, Expected().end()) << "no expectation for this sample";
        const CorpusCase& expected = found->second;

        TLASFile document(entry.path().string(), 2);
        if (expected.curves == 0) {
            EXPECT_FALSE(document.IsLoaded());
            EXPECT_NE(document.GetLoadError().find(expected.error), std::string::npos)
                << document.GetLoadError();
            EXPECT_EQ(document.GetCurvesCount(), 0);
            EXPECT_EQ(document.GetPointCount(), 0);
            continue;
        }
        ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
        EXPECT_EQ(document.GetCurvesCount(), expected.curves);
        EXPECT_EQ(document.GetPointCount(), expected.points);
        EXPECT_FLOAT_EQ(document.GetTopDepth(), expected.top);
        EXPECT_FLOAT_EQ(document.GetBottomDepth(), expected.bottom);
    }
    EXPECT_EQ(files, static_cast<int>(Expected().size()));
}

} // namespace
