// The undo store over a real document: history walk, point-count changes, limits.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "core/Lasfile.h"
#include "core/data_dump_restore.h"
#include "tests/common/TestPaths.h"

namespace {

class UndoStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(dir.file("small.las"), std::ios::binary)
            << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 100.0 :\r\n STOP.M 101.5 :\r\n"
               " STEP.M 0.5 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M : DEPTH\r\n GR.API : GAMMA\r\n"
               "~A\r\n100.0 10\r\n100.5 20\r\n101.0 30\r\n101.5 40\r\n";
        las = std::make_unique<TLASFile>(dir.file("small.las"), 2);
        ASSERT_EQ(las->GetPointCount(), 4);
        store.SetLasFile(las.get());
    }

    std::vector<float> Curve(int index) const
    {
        return std::vector<float>(las->GetCurveData(index), las->GetCurveData(index) + las->GetPointCount());
    }

    strativ::test::TempDir dir;
    std::unique_ptr<TLASFile> las;
    DumpRestoreCurveData store;
};

} // namespace

TEST_F(UndoStore, UndoAndRedoWalkTheHistory)
{
    EXPECT_FALSE(store.Undo());
    store.Dump("'Карандаш'");
    las->GetCurveData(1)[0] = 11.0f;
    store.Dump("'Линия'");
    las->GetCurveData(1)[1] = 22.0f;

    ASSERT_TRUE(store.Undo());
    EXPECT_EQ(Curve(1), (std::vector<float>{11, 20, 30, 40}));
    EXPECT_EQ(store.GetUndoName() + store.GetRedoName(), "'Карандаш''Линия'");
    ASSERT_TRUE(store.Undo());
    EXPECT_EQ(Curve(1), (std::vector<float>{10, 20, 30, 40}));
    EXPECT_FALSE(store.Undo());
    ASSERT_TRUE(store.Redo());
    ASSERT_TRUE(store.Redo());
    EXPECT_EQ(Curve(1), (std::vector<float>{11, 22, 30, 40}));
    EXPECT_FALSE(store.Redo());

    ASSERT_TRUE(store.Undo());
    store.Dump("other");  // a new step drops the redo tail
    EXPECT_FALSE(store.CanRedo());
    EXPECT_EQ(store.GetUndoName(), "other");
}

TEST_F(UndoStore, UndoGivesBackTheOldPointCount)
{
    store.Dump("'Пересчет шага глубины'");
    const std::vector<float> depths = {100, 100.25f, 100.5f, 100.75f, 101, 101.25f, 101.5f};
    las->SetDepthValues(7, depths.data());
    las->GetCurveData(1)[6] = 9.0f;
    const std::vector<float> newGr = Curve(1);

    ASSERT_TRUE(store.Undo());
    ASSERT_EQ(las->GetPointCount(), 4);
    EXPECT_EQ(Curve(0), (std::vector<float>{100, 100.5f, 101, 101.5f}));
    EXPECT_EQ(Curve(1), (std::vector<float>{10, 20, 30, 40}));
    ASSERT_TRUE(store.Redo());
    ASSERT_EQ(las->GetPointCount(), 7);
    EXPECT_EQ(Curve(0), depths);
    EXPECT_EQ(Curve(1), newGr);
}

TEST_F(UndoStore, CountLimitAndByteBudgetDropTheOldestSteps)
{
    const std::size_t stepBytes = 2 * 4 * sizeof(float);
    struct Case { int limit; std::size_t budget; int undoable; };
    for (const Case& c : {Case{3, 1 << 20, 3}, Case{16, 2 * stepBytes, 2}, Case{16, stepBytes - 1, 1}}) {
        DumpRestoreCurveData limited(c.limit);
        limited.SetByteBudget(c.budget);
        limited.SetLasFile(las.get());
        for (int i = 0; i < 5; ++i)
            limited.Dump("step " + std::to_string(i));
        int undone = 0;
        while (limited.Undo())
            ++undone;
        EXPECT_EQ(undone, c.undoable) << c.limit << " " << c.budget;
        EXPECT_EQ(limited.GetRedoName(), "step " + std::to_string(5 - c.undoable));  // the newest are kept
    }
}

// Steps taken before curves were added or deleted are neither offered nor kept; steps taken
// after stay usable, also when the curve count comes back to an older one.
TEST_F(UndoStore, StepsOlderThanACurveChangeAreDropped)
{
    store.Dump("before add");
    const std::vector<float> values(4, 1.0f);
    las->AddCurve("NEW", values.data());
    EXPECT_FALSE(store.CanUndo());
    EXPECT_EQ(store.GetUndoName(), "");
    EXPECT_FALSE(store.Undo());
    EXPECT_EQ(Curve(2), values);

    store.Dump("after add");
    las->GetCurveData(2)[0] = 5.0f;
    ASSERT_TRUE(store.CanUndo());
    ASSERT_TRUE(store.Undo());
    EXPECT_EQ(Curve(2), values);
    EXPECT_FALSE(store.CanUndo());  // "before add" is gone, not merely skipped
    ASSERT_TRUE(store.Redo());

    // Same count as at "before add", other curves: nothing older may come back.
    store.Dump("before delete");
    ASSERT_TRUE(las->DeleteCurve(1));
    EXPECT_FALSE(store.CanUndo());
    EXPECT_FALSE(store.CanRedo());
    EXPECT_EQ(Curve(1)[0], 5.0f);

    store.SetLasFile(las.get());  // rebinding empties the store
    EXPECT_FALSE(store.CanUndo());
    DumpRestoreCurveData unbound;
    unbound.Dump("no document");
    EXPECT_FALSE(unbound.CanUndo());
}

// A step taken back (its command refused) gives back what taking it dropped: the redo steps and
// the oldest step the count limit pushed out.
TEST_F(UndoStore, StepTakenBackLeavesUndoAndRedoAsTheyWere)
{
    for (int undone : {0, 1}) {
        DumpRestoreCurveData limited(2);
        limited.SetLasFile(las.get());
        limited.Dump("a");
        limited.Dump("b");
        if (undone)
            limited.Undo();
        limited.Dump("refused");
        limited.DiscardLast();
        EXPECT_EQ(limited.GetUndoName() + "|" + limited.GetRedoName(), undone ? "a|b" : "b|");
        int undoable = 0;
        while (limited.Undo())
            ++undoable;
        EXPECT_EQ(undoable, 2 - undone);
    }
}

// The texts values were typed as are undone and redone with the values; a text stays only while
// it reads as its value.
TEST_F(UndoStore, TypedTextsFollowTheValues)
{
    const auto typed = [this](int sample) {
        const std::string_view text = las->TypedText(1, sample);
        return text.empty() ? std::string("-") : std::string(text);
    };
    store.Dump("first");
    las->GetCurveData(1)[0] = 2700.1234f;
    las->SetTypedText(1, 0, "2700.1234");
    store.Dump("second");
    las->GetCurveData(1)[1] = 4932.8337f;
    las->SetTypedText(1, 1, "4932.8337");
    EXPECT_EQ(typed(0) + " " + typed(1), "2700.1234 4932.8337");
    ASSERT_TRUE(store.Undo());
    EXPECT_EQ(typed(0) + " " + typed(1), "2700.1234 -");
    ASSERT_TRUE(store.Undo());
    EXPECT_EQ(typed(0) + " " + typed(1), "- -");
    ASSERT_TRUE(store.Redo());
    ASSERT_TRUE(store.Redo());
    EXPECT_EQ(typed(0) + " " + typed(1), "2700.1234 4932.8337");
    las->GetCurveData(1)[1] = 5.0f;
    EXPECT_EQ(typed(1), "-");
}
