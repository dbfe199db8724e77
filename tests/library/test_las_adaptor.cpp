// The LAS file adaptor: the row values it reads from the headers of real files.
#include <gtest/gtest.h>

#include "core/CodePages.h"
#include "library/LASDBAdaptor.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

using strativ::test::Strings;

TEST(LasAdaptor, ReadsTheWellLinesOfRealFiles)
{
    STRATIV_REQUIRE_CORPUS();
    const std::string corpus = strativ::test::CorpusDir();
    const struct {
        std::string file;
        Strings values;  // file, fld, well, comp, srvc, date, uwi
    } cases[] = {
        {"/2.0/sample_2.0.las",
         {"WILDCAT", "AAAAA_2", "ANY OIL COMPANY INC.", "ANY LOGGING COMPANY INC.", "13-DEC-86", "100123401234W500"}},
        // LAS 1.2 information lines carry their value after the colon.
        {"/1.2/sample.las",
         {"EDAM", "ANY ET AL OIL WELL #12", "# ANY OIL COMPANY LTD.", "ANY LOGGING COMPANY LTD.", "25-DEC-1988",
          "100091604920W300"}},
    };
    LASDBAdaptor adaptor;
    for (const auto& c : cases) {
        ASSERT_EQ(adaptor.GetFileValues(corpus + c.file), 0) << c.file;
        Strings expected = c.values;
        expected.insert(expected.begin(), corpus + c.file);
        EXPECT_EQ(adaptor.GetValues(), expected);
    }
    // A file that is no LAS file leaves nothing of the previous one.
    EXPECT_EQ(adaptor.GetFileValues(corpus + "/not_a_las_file.las"), 1);
    EXPECT_EQ(adaptor.GetValues(), Strings(7));
}

TEST(LasAdaptor, DecodesTheHeaderInTheFilesOwnEncoding)
{
    strativ::test::TempDir dir;
    const struct {
        const char* name;
        std::string field;
    } files[] = {{"oem.las", AnsiToOemString("Восточная-3")},
                 {"cp1251.las", Utf8ToCp1251("Восточная-3")},
                 {"utf8.las", "Восточная-3"}};
    LASDBAdaptor adaptor;
    for (const auto& f : files) {
        strativ::test::WriteLas(dir.file(f.name), {{"FLD", f.field}, {"WELL", "1"}});
        ASSERT_EQ(adaptor.GetFileValues(dir.file(f.name)), 0);
        EXPECT_EQ(adaptor.GetValues().at(1), "Восточная-3") << f.name;
    }
}
