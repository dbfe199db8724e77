#include "app/StrativSession.h"
#include "core/AtomicFile.h"
#include "tests/common/TestPaths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

StrativSession SampleSession()
{
    StrativSession session;
    session.LasCopyName = "well.las";
    session.PreviewPng = std::string("\x89PNG\r\n\x1a\n\0\1", 10);
    session.View = {500, -120, 35, false};
    session.Curves = {{1, 0x0000FF, 2, 0.75, -100, true, false}, {3, 0x00FF00, 1, 12.5, 0, false, true}};
    return session;
}

IntervalManager SampleIntervals()
{
    IntervalManager intervals;
    intervals.SetTopBottom(0, 3000);
    intervals.List = {{1200.5, 1210.25, 0x123456, "Пласт БС10", true}, {1100, 1300, 0xFF, "", false}};
    return intervals;
}

} // namespace

TEST(SessionFile, RoundTripKeepsViewCurvesAndIntervalsInFileOrder)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("work.vxs");
    StrativSession saved = SampleSession();
    std::string error;
    ASSERT_TRUE(saved.Save(path, SampleIntervals(), error)) << error;

    // Header, two 26-byte curve records, then the count and two 149-byte interval records.
    const size_t header = 8 + 4 + (4 + 8) + (4 + 10) + 13;
    EXPECT_EQ(ReadAll(path).size(), header + 4 + 2 * 26 + 4 + 2 * 149);

    StrativSession loaded;
    ASSERT_TRUE(loaded.Load(path, error)) << error;
    EXPECT_EQ(loaded.LasCopyName, "well.las");
    EXPECT_EQ(loaded.PreviewPng, saved.PreviewPng);
    EXPECT_EQ(loaded.View.DepthScale, 500);
    EXPECT_EQ(loaded.View.DepthOffset, -120);
    EXPECT_FALSE(loaded.View.CaptionsShown);
    ASSERT_EQ(loaded.Curves.size(), 2u);
    EXPECT_EQ(loaded.Curves[1].DocumentIndex, 3);
    EXPECT_DOUBLE_EQ(loaded.Curves[1].PixelsPerUnit, 12.5);
    EXPECT_TRUE(loaded.Curves[1].Selected);
    EXPECT_FALSE(loaded.Curves[1].Visible);

    IntervalManager restored;
    restored.SetInterval(1, 2);
    loaded.RestoreIntervals(restored, 1000, 1500);
    EXPECT_EQ(restored.GetTop(), 1000);
    EXPECT_EQ(restored.GetBottom(), 1500);
    ASSERT_EQ(restored.List.size(), 2u); // overlapping, unsorted, as stored
    EXPECT_EQ(restored.List[0].Name, "Пласт БС10");
    EXPECT_DOUBLE_EQ(restored.List[0].Bottom, 1210.25);
    EXPECT_EQ(restored.List[0].Color, 0x123456u);
    EXPECT_FALSE(restored.List[1].Active);
}

TEST(SessionFile, IntervalRecordCutsNamesAndMasksColours)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("s.vxs");
    IntervalManager intervals;
    std::string longName;
    for (int i = 0; i < 70; ++i)
        longName += "Ж"; // 140 bytes: cut at a character boundary within 127
    intervals.List = {{1, 2, 0xFF123456, longName, true}};
    StrativSession session = SampleSession();
    std::string error;
    ASSERT_TRUE(session.Save(path, intervals, error));

    std::string bytes = ReadAll(path);
    const size_t record = bytes.size() - 149;
    EXPECT_EQ(bytes[record + 20 + 126], '\0'); // 63 two-byte letters fill 126 bytes
    EXPECT_EQ(bytes[record + 148], '\1');
    ASSERT_TRUE(session.Load(path, error));
    EXPECT_EQ(session.Intervals[0].Name, longName.substr(0, 126));
    EXPECT_EQ(session.Intervals[0].Color, 0x123456u);
}

TEST(SessionFile, DamagedOrForeignFilesAreRefusedAndChangeNothing)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("s.vxs");
    StrativSession good = SampleSession();
    std::string error;
    ASSERT_TRUE(good.Save(path, SampleIntervals(), error));
    const std::string bytes = ReadAll(path);

    StrativSession target = SampleSession();
    target.LasCopyName = "kept.las";
    // Every truncation of a valid file fails cleanly.
    for (size_t length = 0; length < bytes.size(); ++length) {
        ASSERT_TRUE(WriteFileAtomically(path, bytes.substr(0, length)));
        EXPECT_FALSE(target.Load(path, error)) << length;
        EXPECT_EQ(error, "Файл сессии поврежден или имеет неизвестный формат");
    }
    std::string damaged = bytes;
    damaged[7] = 'X'; // signature
    ASSERT_TRUE(WriteFileAtomically(path, damaged));
    EXPECT_FALSE(target.Load(path, error));

    damaged = bytes;
    damaged[8] = 2; // version
    ASSERT_TRUE(WriteFileAtomically(path, damaged));
    EXPECT_FALSE(target.Load(path, error));

    StrativSession escaping = SampleSession();
    escaping.LasCopyName = "../../elsewhere.las";
    ASSERT_TRUE(escaping.Save(path, SampleIntervals(), error));
    EXPECT_FALSE(target.Load(path, error));

    EXPECT_EQ(target.LasCopyName, "kept.las");
    EXPECT_FALSE(target.Load(dir.file("missing.vxs"), error));
}
