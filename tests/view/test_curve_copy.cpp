// Preview copies of a panel curve: shifted values, the values and place given back, the look.
#include "PanelFixture.h"

#include "view/CurveCopy.h"
#include "view/PaintHelpers.h"

namespace {

class CurveCopyTest : public PanelFixture {
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        values = {1, 2, kNull, 4, 5};
        source = panel.AddCurve(values.data(), 5, 0x204060, kNull);
        source->SetXOffset(30);
        source->SetLineWidth(3);
    }

    std::vector<float> Copy(const TCurveCopy& copy) const
    {
        return std::vector<float>(copy.Values(), copy.Values() + copy.Count());
    }

    std::vector<float> values;
    TCurve* source = nullptr;
};

TEST_F(CurveCopyTest, ShiftByMovesTheSourceValuesWithNullWhereNoneComes)
{
    TCurveCopy copy(&panel, 0, 15);
    const float N = kNull;
    const std::vector<std::pair<int, std::vector<float>>> cases = {
        {0, {1, 2, N, 4, 5}},  {2, {N, N, 1, 2, N}},  {-1, {2, N, 4, 5, N}},
        {-4, {5, N, N, N, N}}, {5, {N, N, N, N, N}}, {-7, {N, N, N, N, N}},
    };
    for (const auto& [n, expected] : cases) {
        copy.ShiftBy(n);
        EXPECT_EQ(Copy(copy), expected) << n;
    }
    EXPECT_EQ(values, (std::vector<float>{1, 2, N, 4, 5}));  // the source is never written
    values[0] = 9;
    copy.ShiftBy(0);  // a new snapshot
    EXPECT_EQ(Copy(copy)[0], 9);
}

TEST_F(CurveCopyTest, CopyLooksLikeItsSourceLighterAndBeside)
{
    TCurveCopy copy(&panel, 0, 15);
    EXPECT_EQ(copy.Color(), LightenColor(0x204060));
    EXPECT_EQ(copy.XOffset(), 45);
    EXPECT_EQ(copy.PixelsPerUnit(), source->PixelsPerUnit());
    EXPECT_EQ(copy.LineWidth(), 3);
    EXPECT_EQ(std::pair(copy.Minimum(), copy.Maximum()), std::pair(1.0f, 5.0f));
    EXPECT_EQ(copy.NullValue(), kNull);
}

TEST_F(CurveCopyTest, RestoreGivesBackValuesAndPlace)
{
    TCurveCopy copy(&panel, 0, 0);
    values = {7, 7, 7, 7, 7};
    source->Update();
    source->SetXOffset(80);
    copy.Restore();
    EXPECT_EQ(values, (std::vector<float>{1, 2, kNull, 4, 5}));
    EXPECT_EQ(source->XOffset(), 30);
    EXPECT_EQ(source->Maximum(), 5.0f);
}

}  // namespace
