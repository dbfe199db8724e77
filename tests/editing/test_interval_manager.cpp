#include "editing/IntervalManager.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using Bounds = std::vector<std::pair<double, double>>;

Bounds BoundsOf(const IntervalManager& manager)
{
    Bounds bounds;
    for (const IntervalItem& item : manager.List)
        bounds.emplace_back(item.Top, item.Bottom);
    return bounds;
}

IntervalManager Make(const Bounds& bounds, float top = 0.0f, float bottom = 100.0f)
{
    IntervalManager manager;
    manager.SetTopBottom(top, bottom);
    char name = 'A';
    for (const auto& [t, b] : bounds) {
        IntervalItem* item = manager.SetInterval(static_cast<float>(t), static_cast<float>(b));
        item->Name = std::string(1, name++);
        item->Color = 0x0000FF;
    }
    return manager;
}

// Area of 100 rows showing depths 0..100: one row per depth unit.
const QRect kArea(0, 0, 50, 100);

} // namespace

TEST(IntervalManager, NewIntervalsResolveOverlaps)
{
    struct Case {
        const char* what;
        Bounds before;
        float top, bottom;
        Bounds after;
        int newIndex;
    };
    const Case cases[] = {
        {"empty list appends", {}, 10, 20, {{10, 20}}, 0},
        {"touching both neighbours trims nothing", {{10, 20}, {30, 40}}, 20, 30, {{10, 20}, {20, 30}, {30, 40}}, 1},
        {"overlap trims both neighbours", {{10, 20}, {30, 40}}, 15, 35, {{10, 15}, {15, 35}, {35, 40}}, 1},
        {"covering removes intervals", {{10, 20}, {30, 40}, {50, 60}}, 5, 45, {{5, 45}, {50, 60}}, 0},
        {"inside splits", {{10, 40}}, 20, 30, {{10, 20}, {20, 30}, {30, 40}}, 1},
        {"reversed bounds are put in order", {{10, 20}, {30, 40}}, 35, 15, {{10, 15}, {15, 35}, {35, 40}}, 1},
        {"clamped to the loaded range", {}, -10, 150, {{0, 100}}, 0},
        {"front insert trims the first", {{10, 20}}, 5, 12, {{5, 12}, {12, 20}}, 0},
        {"append after the last", {{10, 20}}, 20, 25, {{10, 20}, {20, 25}}, 1},
        {"beyond the last with overlap", {{10, 20}}, 15, 25, {{10, 15}, {15, 25}}, 1},
    };
    for (const Case& c : cases) {
        IntervalManager manager = Make(c.before);
        IntervalItem* added = manager.SetInterval(c.top, c.bottom);
        EXPECT_EQ(BoundsOf(manager), c.after) << c.what;
        EXPECT_EQ(added, &manager.List[static_cast<size_t>(c.newIndex)]) << c.what;
        EXPECT_TRUE(added->Name.empty()) << c.what;
    }
}

TEST(IntervalManager, ChangeMergeAndDeleteKeepAttributes)
{
    IntervalManager manager = Make({{10, 20}, {30, 40}, {50, 60}});
    manager.List[2].Color = 0xABCDEF;
    IntervalItem* moved = manager.ChangeInterval(2, 1, 5);
    EXPECT_EQ(moved, &manager.List[0]);
    EXPECT_EQ(moved->Name, "C");
    EXPECT_EQ(moved->Color, 0xABCDEFu);
    EXPECT_EQ(BoundsOf(manager), (Bounds{{1, 5}, {10, 20}, {30, 40}}));

    IntervalItem* last = manager.MergeWithNext(2);
    EXPECT_EQ(last, &manager.List[2]);
    EXPECT_EQ(BoundsOf(manager).size(), 3u);

    IntervalItem* merged = manager.MergeWithNext(1);
    EXPECT_EQ(merged->Name, "A");
    EXPECT_EQ(BoundsOf(manager), (Bounds{{1, 5}, {10, 40}}));

    manager.DeleteInterval(0);
    EXPECT_EQ(BoundsOf(manager), (Bounds{{10, 40}}));

    // The parts of a split interval keep its name, colour and mark.
    manager.List[0].Active = false;
    manager.SetInterval(20, 30);
    for (size_t i : {0u, 2u}) {
        EXPECT_EQ(manager.List[i].Name, "A") << i;
        EXPECT_FALSE(manager.List[i].Active) << i;
    }
}

TEST(IntervalManager, StoredOrderIsSortedByTheNextPlacementAndAnEmptyRangeClampsNothing)
{
    IntervalManager manager;
    manager.List = {{50, 60, 0, "late", true}, {10, 20, 0, "early", true}};
    manager.SetInterval(70, 80);
    EXPECT_EQ(BoundsOf(manager), (Bounds{{10, 20}, {50, 60}, {70, 80}}));
    manager.List.clear();
    manager.SetInterval(500, -50);
    EXPECT_EQ(BoundsOf(manager), (Bounds{{-50, 500}}));
    float top = 0, bottom = 0;
    EXPECT_FALSE(manager.GetFreeRangeAt(kArea, 10, 0, 100, top, bottom));
}

TEST(IntervalManager, PickingByRow)
{
    const IntervalManager touching = Make({{10, 20}, {20, 30}});
    EXPECT_EQ(touching.FindIntervalAt(kArea, 20, 0, 100), (std::vector<int>{0, 1}));
    EXPECT_EQ(touching.FindIntervalAt(kArea, 25, 0, 100), (std::vector<int>{1}));
    EXPECT_TRUE(touching.FindIntervalAt(kArea, 50, 0, 100).empty());
    EXPECT_TRUE(touching.FindIntervalAt(kArea, 15, 10, 10).empty());        // no depth span
    EXPECT_TRUE(touching.FindIntervalAt(QRect(0, 0, 50, 0), 0, 0, 100).empty()); // no height

    // Half the scale: row 40 is depth 20 when 200 rows show 0..100.
    EXPECT_EQ(touching.FindIntervalAt(QRect(0, 0, 50, 200), 50, 0, 100), (std::vector<int>{1}));
}

TEST(IntervalManager, FreeRangeAroundARow)
{
    const IntervalManager manager = Make({{10, 20}, {30, 40}});
    struct Case {
        int row;
        float top, bottom;
    };
    for (const Case& c : {Case{25, 20, 30}, Case{5, 0, 10}, Case{15, 10, 20}, Case{60, 40, 100}}) {
        float top = -1, bottom = -1;
        ASSERT_TRUE(manager.GetFreeRangeAt(kArea, c.row, 0, 100, top, bottom)) << c.row;
        EXPECT_FLOAT_EQ(top, c.top) << c.row;
        EXPECT_FLOAT_EQ(bottom, c.bottom) << c.row;
    }
    float top = 0, bottom = 0;
    EXPECT_FALSE(manager.GetFreeRangeAt(kArea, 50, 60, 160, top, bottom)); // depth 110 below range
    ASSERT_TRUE(Make({}).GetFreeRangeAt(kArea, 50, 0, 100, top, bottom));
    EXPECT_FLOAT_EQ(top, 0);
    EXPECT_FLOAT_EQ(bottom, 100);
}

TEST(IntervalManager, BandsAreExclusiveOrLayers)
{
    IntervalManager manager = Make({{10, 20}, {30, 40}, {-20, 5}, {50, 50.5f}}, -50, 100);
    for (IntervalItem& item : manager.List)
        item.Active = item.Top != 30;
    manager.List[0].Color = 0x00FF00; // the band clipped at the top

    QImage image(50, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage blank = image.copy();
    {
        QPainter painter(&image);
        manager.DrawIntervals(painter, kArea, 0, 100);
    }
    EXPECT_EQ(image.pixel(10, 15), qRgb(255, 0, 0));   // 0x0000FF is red
    EXPECT_EQ(image.pixel(10, 0), qRgb(0, 255, 0));    // clipped to the area's top
    EXPECT_EQ(image.pixel(10, 35), qRgb(255, 255, 255)); // inactive
    EXPECT_EQ(image.pixel(10, 50), qRgb(255, 255, 255)); // thinner than a pixel
    {
        QPainter painter(&image);
        manager.DrawIntervals(painter, kArea, 0, 100);
    }
    EXPECT_EQ(image, blank);
}
