// Saves over the document's own file one after another: whatever way the last save wrote its rows,
// the next one writes the document.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "core/Lasfile.h"
#include "tests/core/test_las_text.h"
#include "tests/core/test_las_util.h"

namespace {

using las_test::Curve;
using las_test::ReadFileBytes;

// The file read back holds the document's curves, values and names.
void ExpectSameDocument(const std::string& path, const TLASFile& document)
{
    const TLASFile read(path, 2);
    ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
    EXPECT_EQ(read.GetOmittedData(), "");
    ASSERT_EQ(read.GetCurvesCount(), document.GetCurvesCount());
    for (int c = 0; c < document.GetCurvesCount(); ++c) {
        EXPECT_EQ(read.GetCurveName(c), document.GetCurveName(c));
        EXPECT_EQ(Curve(read, c), Curve(document, c)) << read.GetCurveName(c);
    }
}

// Gives the file another modification time, as another program touching it would.
void Touch(const std::string& path)
{
    struct stat now {};
    ASSERT_EQ(stat(path.c_str(), &now), 0);
    timespec times[2] = {now.st_atim, now.st_mtim};
    times[1].tv_sec += 10;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

} // namespace

// A first save that formats every row (a curve's decimals changed, the file touched on disk, a row
// holding a value more than the curves), then a value edited and two saves more, on files of one
// block and of five: each save reads back as the document, and the one with nothing changed since
// gives the file back byte for byte.
TEST(LasSaveSequences, SavesFollowASaveThatFormattedEveryRow)
{
    enum Start { kDecimals, kTouched, kExtraValue };
    for (const int rows : {4000, 20000}) {
        for (const Start start : {kDecimals, kTouched, kExtraValue}) {
            SCOPED_TRACE("rows " + std::to_string(rows) + ", start " + std::to_string(start));
            las_test::Shape shape{"\r\n", false, false, rows};
            if (start == kExtraValue)
                shape.extraValueRow = rows / 2;
            las_test::LasFiles files;
            const std::string path = files.Write(las_test::LasText(shape));
            TLASFile document(path, 2);
            ASSERT_EQ(document.GetPointCount(), rows);
            if (start == kDecimals)
                document.SetCurveDecimals(1, 4);
            if (start == kTouched)
                Touch(path);
            std::string previous;
            for (int save = 0; save < 3; ++save) {
                SCOPED_TRACE("save " + std::to_string(save));
                if (save == 1)
                    document.GetCurveData(2)[rows - 5] = 4.25f;
                ASSERT_TRUE(document.WriteLas(path));
                const std::string saved = ReadFileBytes(path);
                if (save == 2) {
                    EXPECT_EQ(saved, previous);
                }
                ExpectSameDocument(path, document);
                previous = saved;
            }
        }
    }
}
