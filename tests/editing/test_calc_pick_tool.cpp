// The argument pick of a calculation script through a real panel and a test host.
#include "core/ExprList.h"
#include "editing/CalcPickTool.h"
#include "tests/editing/ToolHostFixture.h"

namespace {

class CalcPickToolTest : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        auto script = std::make_unique<TMathExpression>();
        script->SetName("diff");
        script->SetValue("x[0] - x[1]");
        scripts.Add(std::move(script));
    }

    TExprList scripts;
    int released = 0;
    TCalcPickTool tool{host, scripts, [this] { ++released; }};
};

TEST_F(CalcPickToolTest, PicksInClickOrderAndTheLastRunsTheScript)
{
    Use(tool);
    tool.Start(0, 2);
    EXPECT_EQ(tool.Prompt(), "Всего аргументов: 2, отметьте нужные кривые(Esc-отмена)");
    ClickAt(PointOf(2, 60));
    EXPECT_EQ(tool.FCalcPick, (2u << 16) + (1u << 8) + 1u);
    EXPECT_EQ(host.prompts.back(), "Указано аргументов: 1. Всего аргументов: 2, отметьте нужные кривые(Esc-отмена)");
    runner.PushText("D");
    runner.PushColor(0x00FF00);
    runner.Push(platform::IDOK);
    tool.CurveListClick(0);  // x[1] from the curve list
    ASSERT_EQ(host.shownCurves.size(), 1u);
    EXPECT_EQ(host.shownCurves[0], std::make_pair(4, std::uint32_t(0x00FF00)));
    EXPECT_EQ(Curve(4), std::vector<float>(kRows, 20.0f));  // C3 - C1
    EXPECT_EQ(host.done, 1);
    EXPECT_FALSE(tool.Picking());
    EXPECT_GE(released, 1);
    EXPECT_TRUE(host.snapshots.empty());  // a new curve takes no undo step
}

TEST_F(CalcPickToolTest, CancelDropsThePicksAndCancelledNameAddsNothing)
{
    Use(tool);
    tool.Start(0, 2);
    tool.CurveListClick(1);
    tool.Cancel();
    EXPECT_FALSE(tool.Picking());
    tool.CurveListClick(1);  // no pick without a calculation
    EXPECT_EQ(host.document->GetCurvesCount(), 4);

    tool.Start(0, 2);
    runner.PushCancel();
    tool.CurveListClick(1);
    tool.CurveListClick(1);
    EXPECT_EQ(host.document->GetCurvesCount(), 4);
    EXPECT_EQ(host.done, 1);
}

}  // namespace
