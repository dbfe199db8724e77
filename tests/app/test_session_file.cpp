// The session file: its layout, the interval records and the checked reader.
#include "app/StrativSession.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

StrativSession SampleSession()
{
    StrativSession session;
    session.LasCopyName = "well.las";
    session.PreviewPng = std::string("\x89PNG\r\n\x1a\n\0\1", 10);
    session.View = {500, 120, -35, false};
    session.Curves = {{1, 0x0000FF, 2, 0.75, -100, true, false}, {3, 0x00FF00, 1, 12.5, 0, false, true}};
    return session;
}

IntervalManager SampleIntervals()
{
    IntervalManager intervals;
    intervals.SetTopBottom(0, 3000);
    std::string longName;
    for (int i = 0; i < 70; ++i)
        longName += "Ж";  // 140 bytes: cut at a character boundary within 127
    intervals.List = {{1200.5, 1210.25, 0xFF123456, longName, true}, {1100, 1300, 0xFF, "Пласт", false}};
    return intervals;
}

TEST(SessionFile, RoundTripKeepsIntervalsAsStoredWithCutNamesAndMaskedColours)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("work.vxs");
    std::string error;
    ASSERT_TRUE(SampleSession().Save(path, SampleIntervals(), error)) << error;

    // Header, two 26-byte curve records, then the count and two 149-byte interval records.
    const std::string bytes = strativ::test::ReadFileBytes(path);
    const size_t header = 8 + 4 + (4 + 8) + (4 + 10) + 13;
    ASSERT_EQ(bytes.size(), header + 4 + 2 * 26 + 4 + 2 * 149);
    const size_t record = header + 4 + 2 * 26 + 4;
    EXPECT_EQ(bytes[record + 20 + 126], '\0');  // 63 two-byte letters fill 126 bytes
    EXPECT_EQ(bytes[record + 148], '\1');

    StrativSession loaded;
    ASSERT_TRUE(loaded.Load(path, error)) << error;
    EXPECT_EQ(loaded.PreviewPng, SampleSession().PreviewPng);

    IntervalManager restored;
    restored.SetInterval(1, 2);
    loaded.RestoreIntervals(restored, 1000, 1500);
    EXPECT_EQ(restored.GetTop(), 1000);
    EXPECT_EQ(restored.GetBottom(), 1500);
    ASSERT_EQ(restored.List.size(), 2u);  // overlapping, unsorted, as stored
    EXPECT_EQ(restored.List[0].Name, SampleIntervals().List[0].Name.substr(0, 126));
    EXPECT_DOUBLE_EQ(restored.List[0].Bottom, 1210.25);
    EXPECT_EQ(restored.List[0].Color, 0x123456u);
    EXPECT_EQ(restored.List[1].Name, "Пласт");
    EXPECT_FALSE(restored.List[1].Active);
}

TEST(SessionFile, DamagedOrForeignFilesAreRefusedAndChangeNothing)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("s.vxs");
    std::string error;
    ASSERT_TRUE(SampleSession().Save(path, SampleIntervals(), error));
    const std::string bytes = strativ::test::ReadFileBytes(path);
    StrativSession escaping = SampleSession();
    escaping.LasCopyName = "../../elsewhere.las";
    ASSERT_TRUE(escaping.Save(dir.file("escaping.vxs"), SampleIntervals(), error));

    std::vector<std::string> damaged;
    for (size_t length = 0; length < bytes.size(); ++length)  // every truncation
        damaged.push_back(bytes.substr(0, length));
    for (const auto& [at, value] : {std::pair{7, 'X'} /* signature */, std::pair{8, '\2'} /* version */,
                                    std::pair{53, '\x7F'} /* curve count */}) {
        damaged.push_back(bytes);
        damaged.back()[at] = value;
    }
    damaged.push_back(strativ::test::ReadFileBytes(dir.file("escaping.vxs")));  // a LAS copy outside the folder

    // Values the window cannot produce: a track scale of 1e300 or NaN, offsets and scales out of
    // the pixel range, an interval name without its terminating zero.
    const auto withView = [&](SessionView view) {
        StrativSession session = SampleSession();
        session.View = view;
        return session;
    };
    const auto withCurve = [&](double pixelsPerUnit, std::int32_t xOffset, std::int32_t pen) {
        StrativSession session = SampleSession();
        session.Curves[0].PixelsPerUnit = pixelsPerUnit;
        session.Curves[0].XOffset = xOffset;
        session.Curves[0].PenWidth = pen;
        return session;
    };
    const StrativSession implausible[] = {
        withCurve(1e300, 0, 1), withCurve(std::nan(""), 0, 1), withCurve(-1, 0, 1), withCurve(1, INT32_MAX, 1),
        withCurve(1, 0, 99),    withView({INT32_MAX, 0, 0, true}), withView({200, INT32_MAX, 0, true}),
        withView({200, -1, 0, true}), withView({200, 0, INT32_MIN, true}),
    };
    for (StrativSession session : implausible) {
        ASSERT_TRUE(session.Save(dir.file("odd.vxs"), SampleIntervals(), error));
        damaged.push_back(strativ::test::ReadFileBytes(dir.file("odd.vxs")));
    }
    damaged.push_back(bytes);
    std::fill_n(damaged.back().end() - 149 - 128 - 1, 128, 'A');  // the first interval's name field

    StrativSession target = SampleSession();
    target.LasCopyName = "kept.las";
    for (size_t i = 0; i < damaged.size(); ++i) {
        strativ::test::WriteFileBytes(path, damaged[i]);
        EXPECT_FALSE(target.Load(path, error)) << i;
        EXPECT_EQ(error, "Файл сессии поврежден или имеет неизвестный формат") << i;
    }
    EXPECT_EQ(target.LasCopyName, "kept.las");
    EXPECT_FALSE(target.Load(dir.file("missing.vxs"), error));
}

}  // namespace
