// Editing operations of the LAS document: shifts, value and depth replacement, curves added and
// removed, header fields, STEP, and the array exchange used by the undo store.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "core/CodePages.h"
#include "core/Lasfile.h"
#include "tests/common/TestPaths.h"
#include "tests/core/test_las_util.h"

namespace {

constexpr float N = -999.25f;
using Values = std::vector<float>;
using las_test::Curve;

// DEPT 10.0 .. 12.0 by 0.5, A = 1..5, B = 10..50.
const char* const kDocument =
    "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STEP.M 0.5 : step\n NULL. -999.25 :\n"
    "~C\n DEPT.M : depth\n A   .MM : first\n B   .V/V : second\n~A\n"
    "10.0 1 10\n10.5 2 20\n11.0 3 30\n11.5 4 40\n12.0 5 50\n";

class LasDocument : public ::testing::Test {
protected:
    std::unique_ptr<TLASFile> Load(const std::string& text)
    {
        const std::string path = dir_.file("doc" + std::to_string(++files_) + ".las");
        las_test::WriteText(path, text);
        auto document = std::make_unique<TLASFile>(path, 2);
        EXPECT_TRUE(document->IsLoaded()) << document->GetLoadError();
        return document;
    }

    strativ::test::TempDir dir_;
    int files_ = 0;
};

TEST_F(LasDocument, ShiftBySamplesMovesTheCurveAndFillsVacatedSamplesWithNull)
{
    const struct {
        int index;
        int n;
        Values a;
    } cases[] = {
        {1, 0, {1, 2, 3, 4, 5}},       {1, 1, {N, 1, 2, 3, 4}},     {1, 2, {N, N, 1, 2, 3}},
        {1, -1, {2, 3, 4, 5, N}},      {1, 4, {N, N, N, N, 1}},     {1, -4, {5, N, N, N, N}},
        {1, 5, {N, N, N, N, N}},       {1, -7, {N, N, N, N, N}},    {1, INT_MIN, {N, N, N, N, N}},
        {0, 1, {1, 2, 3, 4, 5}},       {3, 1, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << " n " << c.n);
        auto document = Load(kDocument);
        document->ShiftCurveBySamples(c.index, c.n);
        EXPECT_EQ(Curve(*document, 1), c.a);
        EXPECT_EQ(Curve(*document, 0), (Values{10, 10.5f, 11, 11.5f, 12}));
        EXPECT_EQ(Curve(*document, 2), (Values{10, 20, 30, 40, 50}));
    }
}

TEST_F(LasDocument, ShiftByDepthRoundsToWholeSamplesAndNeedsAStep)
{
    const std::pair<float, Values> cases[] = {
        {0.5f, {N, 1, 2, 3, 4}},  {0.74f, {N, 1, 2, 3, 4}}, {0.75f, {N, N, 1, 2, 3}},
        {-0.75f, {3, 4, 5, N, N}}, {0.2f, {1, 2, 3, 4, 5}},  {1e30f, {N, N, N, N, N}},
    };
    for (const auto& [d, a] : cases) {
        auto document = Load(kDocument);
        document->ShiftCurveByDepth(1, d);
        EXPECT_EQ(Curve(*document, 1), a) << d;
    }
    // One sample and STEP 0: no step to divide by.
    TLASFile single(strativ::test::CorpusDir() + "/single_step_20.las", 2);
    ASSERT_EQ(single.GetStep(), 0.0f);
    const Values before = Curve(single, 1);
    single.ShiftCurveByDepth(1, 5.0f);
    EXPECT_EQ(Curve(single, 1), before);
    EXPECT_EQ(single.ShiftCurveByDepthExtending(1, 5.0f), 1);
}

TEST_F(LasDocument, ExtendingShiftGrowsEveryCurveAndLosesNoValue)
{
    auto down = Load(kDocument);
    EXPECT_EQ(down->ShiftCurveExtending(1, 2), 7);
    EXPECT_EQ(Curve(*down, 0), (Values{10, 10.5f, 11, 11.5f, 12, 12.5f, 13}));
    EXPECT_EQ(Curve(*down, 1), (Values{N, N, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Curve(*down, 2), (Values{10, 20, 30, 40, 50, N, N}));

    auto up = Load(kDocument);
    EXPECT_EQ(up->ShiftCurveByDepthExtending(2, -1.0f), 7);
    EXPECT_EQ(Curve(*up, 0), (Values{9, 9.5f, 10, 10.5f, 11, 11.5f, 12}));
    EXPECT_EQ(Curve(*up, 1), (Values{N, N, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Curve(*up, 2), (Values{10, 20, 30, 40, 50, N, N}));

    auto none = Load(kDocument);
    EXPECT_EQ(none->ShiftCurveExtending(1, 0), 5);
    EXPECT_EQ(none->ShiftCurveExtending(0, 3), 5);
    EXPECT_EQ(none->ShiftCurveByDepthExtending(1, 0.2f), 5);
    EXPECT_EQ(none->ShiftCurveByDepthExtending(1, 1e30f), 5);
    EXPECT_EQ(none->GetPointCount(), 5);
}

TEST_F(LasDocument, SetCurveValuesCopiesOnlyARangeThatFits)
{
    const float source[] = {-1, -2, -3, -4, -5, -6};
    const Values a{1, 2, 3, 4, 5};
    const Values b{10, 20, 30, 40, 50};
    const struct {
        int first, index, last, copied;
        Values a, b;
    } cases[] = {
        {0, 1, 5, 5, {-1, -2, -3, -4, -5}, b}, {1, 2, 3, 2, a, {10, -2, -3, 40, 50}},
        {4, 1, 5, 1, {1, 2, 3, 4, -5}, b},     {3, 1, 3, 0, a, b},
        {-1, 1, 2, 0, a, b},                   {0, 1, 6, 0, a, b},
        {0, 3, 5, 0, a, b},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " " << c.index << " " << c.last);
        auto document = Load(kDocument);
        EXPECT_EQ(document->SetCurveValues(source, c.first, c.index, c.last), c.copied);
        EXPECT_EQ(Curve(*document, 1), c.a);
        EXPECT_EQ(Curve(*document, 2), c.b);
    }
    auto document = Load(kDocument);
    EXPECT_EQ(document->SetCurveValues(source, 0, 0, 5), 0);  // never the depths
    EXPECT_EQ(document->SetCurveValues(nullptr, 0, 1, 5), 0);
    EXPECT_EQ(Curve(*document, 0), (Values{10, 10.5f, 11, 11.5f, 12}));
}

TEST_F(LasDocument, SetDepthValuesResizesEveryCurveKeepingLeadingValues)
{
    auto document = Load(kDocument);
    const float depths[] = {1, 2, 3, 4, 5, 6, 7};
    document->SetDepthValues(7, depths);
    EXPECT_EQ(Curve(*document, 0), (Values{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Curve(*document, 2), (Values{10, 20, 30, 40, 50, N, N}));

    // The depths may come from the document's own array, which the resize replaces.
    document->SetDepthValues(3, document->GetCurveData(0) + 4);
    EXPECT_EQ(Curve(*document, 0), (Values{5, 6, 7}));
    EXPECT_EQ(Curve(*document, 1), (Values{1, 2, 3}));

    document->SetDepthValues(0, depths);
    document->SetDepthValues(4, nullptr);
    EXPECT_EQ(document->GetPointCount(), 3);
}

TEST_F(LasDocument, AddedCurvesCopyTheirValuesAndDeletingRenumbersTheRest)
{
    auto document = Load(kDocument);
    float values[] = {7, 8, 9, 10, 11};
    EXPECT_EQ(document->AddCurve("НОВАЯ", values), 3);
    values[0] = 0;  // the document keeps its own copy
    EXPECT_EQ(Curve(*document, 3), (Values{7, 8, 9, 10, 11}));
    EXPECT_EQ(document->GetCurveName(3), "НОВАЯ");
    EXPECT_EQ(document->GetCurveUnit(3), "");
    EXPECT_EQ(document->GetCurveDescription(3), "Добавлена");
    EXPECT_EQ(document->GetCurveDecimals(3), 2);
    EXPECT_EQ(document->AddCurve("EMPTY", nullptr), 4);
    EXPECT_EQ(Curve(*document, 4), (Values{N, N, N, N, N}));

    EXPECT_FALSE(document->DeleteCurve(0));
    EXPECT_FALSE(document->DeleteCurve(5));
    EXPECT_TRUE(document->DeleteCurve(1));
    EXPECT_EQ(document->GetCurvesCount(), 4);
    EXPECT_EQ(document->GetCurveName(1), "B");
    EXPECT_EQ(document->GetCurveName(2), "НОВАЯ");
    EXPECT_EQ(Curve(*document, 1), (Values{10, 20, 30, 40, 50}));
}

TEST_F(LasDocument, CurveFieldSettersStoreOemTextAndMarkOnlyTheirLineModified)
{
    auto document = Load(kDocument);
    document->SetCurveName(2, "ПЛОТН");
    document->SetCurveUnit(2, "г/см3");
    document->SetCurveName(3, "NONE");  // no such curve
    EXPECT_TRUE(document->GetParser().GetCurveLine(2)->IsModified());
    EXPECT_FALSE(document->GetParser().GetCurveLine(1)->IsModified());
    EXPECT_EQ(std::string(document->GetParser().GetCurveLine(2)->Mnemonic()),
              AnsiToOemString("ПЛОТН"));
    EXPECT_EQ(document->GetCurveUnit(2), "г/см3");
    EXPECT_EQ(document->GetCurveName(3), "");
}

TEST_F(LasDocument, StepComesFromTheHeaderOrTheDepthsAndIsWrittenWithDepthDecimals)
{
    auto document = Load(kDocument);
    document->SetDepthDecimals(3);
    document->SetStep(0.25f);
    EXPECT_FLOAT_EQ(document->GetStep(), 0.25f);
    EXPECT_STREQ(document->GetParser().GetWellSection().FindLineByCode(kLineStep)->Value(), "0.250");

    std::string noStep = kDocument;
    auto irregular = Load(noStep.replace(noStep.find(" STEP.M 0.5 : step\n"), 19, ""));
    EXPECT_FLOAT_EQ(irregular->GetStep(), 0.5f);  // mean of the depths
    irregular->SetStep(0.5f);
    EXPECT_STREQ(irregular->GetParser().GetWellSection().FindLineByCode(kLineStep)->Value(),
                 "0.50");
}

} // namespace
