// The docking rule of the single-curve windows over window rectangles.
#include "datawin/DockingRule.h"

#include <gtest/gtest.h>

namespace {

DockMember At(int left, int top, bool minimisedOrMaximised = false)
{
    return {{left, top, 400, 500}, minimisedOrMaximised};
}

struct Snap {
    int left;
    int top;
    bool snaps;
};

TEST(DockingRule, AWindowSnapsToTheRightEdgeOfAnotherWithinTheSnapDistance)
{
    // The other window's right edge is at 500, its top at 100.
    for (const Snap& c : {Snap{519, 119, true}, Snap{481, 81, true}, Snap{520, 100, false}, Snap{500, 120, false},
                          Snap{480, 100, false}}) {
        SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
        DockPair pair;
        const auto moves = DockStep({At(100, 100), At(c.left, c.top)}, 1, pair);
        if (c.snaps) {
            ASSERT_EQ(moves.size(), 1u);
            EXPECT_EQ(moves[0].window, 1);
            EXPECT_EQ(moves[0].left, 500);
            EXPECT_EQ(moves[0].top, 100);
            EXPECT_EQ(pair.first, 0);
            EXPECT_EQ(pair.second, 1);
        } else {
            EXPECT_TRUE(moves.empty());
            EXPECT_EQ(pair.first, -1);
            EXPECT_EQ(pair.second, -1);
        }
    }
}

TEST(DockingRule, AWindowMovedLeftOfAnotherPullsItToItsRightEdge)
{
    // Window 0's right edge (110 + 400) comes within 10 pixels of window 1's left edge.
    DockPair pair;
    const auto moves = DockStep({At(110, 205), At(520, 200)}, 0, pair);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].window, 1);
    EXPECT_EQ(moves[0].left, 510);
    EXPECT_EQ(moves[0].top, 205);
    EXPECT_EQ(pair.first, 0);
    EXPECT_EQ(pair.second, 1);
}

TEST(DockingRule, ThePairMovesAsOneAndBreaksWhenTheSecondIsPulledAway)
{
    DockPair pair{0, 1};
    // Dragging the first window carries the second along.
    auto moves = DockStep({At(300, 50), At(500, 100)}, 0, pair);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].window, 1);
    EXPECT_EQ(moves[0].left, 700);
    EXPECT_EQ(moves[0].top, 50);
    EXPECT_EQ(pair.second, 1);

    // The second window moved a little snaps back; by the snap distance it leaves the pair.
    moves = DockStep({At(100, 100), At(510, 105)}, 1, pair);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].left, 500);
    EXPECT_EQ(moves[0].top, 100);
    moves = DockStep({At(100, 100), At(520, 100)}, 1, pair);
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(pair.first, -1);
    EXPECT_EQ(pair.second, -1);
}

TEST(DockingRule, MinimisedAndMaximisedWindowsNeitherDockNorCarry)
{
    // A minimised partner: the first window moves alone and the pair stays.
    DockPair pair{0, 1};
    EXPECT_TRUE(DockStep({At(300, 50), At(500, 100, true)}, 0, pair).empty());
    EXPECT_EQ(pair.second, 1);
    // A maximised member that moves dissolves the pair; minimised windows are skipped in the scan.
    EXPECT_TRUE(DockStep({At(100, 100), At(900, 900, true)}, 1, pair).empty());
    EXPECT_EQ(pair.first, -1);
    pair = {};
    EXPECT_TRUE(DockStep({At(100, 100, true), At(505, 100)}, 1, pair).empty());
    EXPECT_EQ(pair.first, -1);
    // Among several candidates the first in list order wins.
    pair = {};
    const auto moves = DockStep({At(100, 100, true), At(100, 110), At(505, 100)}, 2, pair);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].top, 110);
    EXPECT_EQ(pair.first, 1);
    EXPECT_EQ(pair.second, 2);
}

TEST(DockingRule, WindowsNearTheDesktopsRightOrBottomEdgeDoNotDock)
{
    // A desktop of two screens, the second left of the primary one.
    const DockRect desktop{-1920, 0, 3840, 1080};
    struct Case {
        int left;
        int top;
        bool docks;
    };
    for (const Case& c : {Case{-1900, 10, true}, Case{1500, 500, true}, Case{1511, 10, false},
                          Case{1510 - 1, 10, true}, Case{100, 571, false}, Case{100, 569, true}}) {
        SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
        const DockRect window{c.left, c.top, 400, 500};
        EXPECT_EQ(DocksOnDesktop(desktop, c.left + 4, c.top + 30, window), c.docks);
    }
    EXPECT_FALSE(DocksOnDesktop(desktop, 1921, 10, {1921, 10, 10, 10}));
}

}  // namespace
