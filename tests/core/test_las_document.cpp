// The LAS document: shifts, value and depth replacement, curves added and removed, header fields
// and STEP; and its writers: OEM text, recomputed depth lines, NULL texts, the thinned writer's
// index arithmetic, and writes that must fail without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <filesystem>
#include <string>
#include <tuple>
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
const Values kDepths{10, 10.5f, 11, 11.5f, 12};
const Values kA{1, 2, 3, 4, 5};
const Values kB{10, 20, 30, 40, 50};

// The same without STEP: the document's step is then the mean of the depths.
std::string NoStepDocument()
{
    std::string text = kDocument;
    return text.erase(text.find(" STEP.M 0.5 : step\n"), 19);
}

class LasDocument : public ::testing::Test {
protected:
    std::unique_ptr<TLASFile> Load(const std::string& text = kDocument, int decimals = 2)
    {
        auto document = files_.Load(text, decimals);
        EXPECT_TRUE(document->IsLoaded()) << document->GetLoadError();
        return document;
    }
    las_test::LasFiles files_;
};

// STEP 0.5: a shift by depth moves the curve by the rounded number of samples.
TEST_F(LasDocument, ShiftsMoveTheCurveByWholeSamplesAndFillVacatedSamplesWithNull)
{
    STRATIV_REQUIRE_CORPUS();
    const Values none{N, N, N, N, N};
    const std::tuple<bool, float, Values> cases[] = {
        {true, 0, kA},
        {true, 1, {N, 1, 2, 3, 4}},  {true, 2, {N, N, 1, 2, 3}},  {true, -1, {2, 3, 4, 5, N}},
        {true, 4, {N, N, N, N, 1}},  {true, -4, {5, N, N, N, N}}, {true, 5, none},
        {true, -7, none},            {true, INT_MIN, none},
        {false, 0.74f, {N, 1, 2, 3, 4}},  {false, 0.75f, {N, N, 1, 2, 3}},
        {false, -0.75f, {3, 4, 5, N, N}}, {false, 0.2f, kA},  {false, 1e30f, none},
    };
    for (const auto& [bySamples, amount, a] : cases) {
        auto document = Load();
        for (int index : {1, 0, 3}) {  // never the depths, nothing for a curve not there
            if (bySamples)
                document->ShiftCurveBySamples(index, static_cast<int>(amount));
            else
                document->ShiftCurveByDepth(index, amount);
        }
        EXPECT_EQ(Curve(*document, 1), a) << amount;
        EXPECT_EQ(Curve(*document, 0), kDepths);
        EXPECT_EQ(Curve(*document, 2), kB);
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
    auto down = Load();
    EXPECT_EQ(down->ShiftCurveExtending(1, 2), 7);
    EXPECT_EQ(Curve(*down, 0), (Values{10, 10.5f, 11, 11.5f, 12, 12.5f, 13}));
    EXPECT_EQ(Curve(*down, 1), (Values{N, N, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Curve(*down, 2), (Values{10, 20, 30, 40, 50, N, N}));

    auto up = Load(NoStepDocument());
    EXPECT_EQ(up->ShiftCurveByDepthExtending(2, -1.0f), 7);
    EXPECT_EQ(Curve(*up, 0), (Values{9, 9.5f, 10, 10.5f, 11, 11.5f, 12}));
    EXPECT_EQ(Curve(*up, 1), (Values{N, N, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Curve(*up, 2), (Values{10, 20, 30, 40, 50, N, N}));

    auto none = Load();
    for (int n : {none->ShiftCurveExtending(1, 0), none->ShiftCurveExtending(0, 3),
                  none->ShiftCurveByDepthExtending(1, 0.2f)})
        EXPECT_EQ(n, 5);
    EXPECT_THROW(none->ShiftCurveByDepthExtending(1, 1e30f), std::runtime_error);
    EXPECT_THROW(none->ShiftCurveExtending(2, -kMaxPointCount), std::runtime_error);
    EXPECT_EQ(Curve(*none, 0), kDepths);
}

TEST_F(LasDocument, SetCurveValuesCopiesOnlyARangeThatFits)
{
    const float source[] = {-1, -2, -3, -4, -5, -6};
    const struct {
        int first, index, last, copied;
        Values a, b;
    } cases[] = {
        {0, 1, 5, 5, {-1, -2, -3, -4, -5}, kB}, {1, 2, 3, 2, kA, {10, -2, -3, 40, 50}},
        {4, 1, 5, 1, {1, 2, 3, 4, -5}, kB},     {3, 1, 3, 0, kA, kB}, {-1, 1, 2, 0, kA, kB},
        {0, 1, 6, 0, kA, kB},                   {0, 3, 5, 0, kA, kB}, {0, 0, 5, 0, kA, kB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " " << c.index << " " << c.last);
        auto document = Load();
        EXPECT_EQ(document->SetCurveValues(source, c.first, c.index, c.last), c.copied);
        EXPECT_EQ(Curve(*document, 0), kDepths);
        EXPECT_EQ(Curve(*document, 1), c.a);
        EXPECT_EQ(Curve(*document, 2), c.b);
    }
}

TEST_F(LasDocument, SetDepthValuesResizesEveryCurveKeepingLeadingValues)
{
    auto document = Load();
    const float depths[] = {1, 2, 3, 4, 5, 6, 7};
    document->SetDepthValues(7, depths);
    EXPECT_EQ(Curve(*document, 0), (Values{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Curve(*document, 2), (Values{10, 20, 30, 40, 50, N, N}));

    // The depths may come from the document's own array, which the resize replaces.
    document->SetDepthValues(3, document->GetCurveData(0) + 4);
    EXPECT_EQ(Curve(*document, 0), (Values{5, 6, 7}));
    EXPECT_EQ(Curve(*document, 1), (Values{1, 2, 3}));

    document->SetDepthValues(0, depths);
    EXPECT_EQ(document->GetPointCount(), 3);
}

TEST_F(LasDocument, AddedCurvesCopyTheirValuesAndDeletingRenumbersTheRest)
{
    auto document = Load();
    TStravoFloatArrayList before;
    for (int i = 0; i < document->GetCurvesCount(); ++i)
        before.Add(document->GetCurveArrays().Item(i).Clone());
    float values[] = {7, 8, 9, 10, 11};
    EXPECT_EQ(document->AddCurve("НОВАЯ", values), 3);
    values[0] = 0;  // the document keeps its own copy
    EXPECT_EQ(Curve(*document, 3), (Values{7, 8, 9, 10, 11}));
    EXPECT_EQ(document->GetCurveName(3), "НОВАЯ");
    EXPECT_EQ(document->GetCurveDescription(3), "Добавлена");
    EXPECT_EQ(document->GetCurveDecimals(3), 2);

    EXPECT_FALSE(document->DeleteCurve(0));
    EXPECT_FALSE(document->DeleteCurve(4));
    EXPECT_TRUE(document->DeleteCurve(1));
    EXPECT_EQ(document->GetCurvesCount(), 3);
    EXPECT_EQ(document->GetCurveName(2), "НОВАЯ");
    EXPECT_EQ(Curve(*document, 1), kB);
    document->SetCurveName(3, "NONE");
    EXPECT_EQ(document->GetCurveName(3), "");

    // An added curve undone (the arrays of before brought back, its ~C line left): the file
    // written names only the curves it holds.
    document->AddCurve("LAST", nullptr);
    document->SwapCurveArrays(before);
    ASSERT_TRUE(document->WriteLas(files_.Path("undone.las")));
    EXPECT_EQ(document->GetCurveName(3), "");
    TLASFile undone(files_.Path("undone.las"), 2);
    EXPECT_EQ(undone.GetCurvesCount(), 3);
    EXPECT_EQ(Curve(undone, 2), kB);
}

TEST_F(LasDocument, StepComesFromTheHeaderOrTheDepthsAndIsWrittenWithDepthDecimals)
{
    auto document = Load(NoStepDocument());
    EXPECT_FLOAT_EQ(document->GetStep(), 0.5f);
    document->SetDepthDecimals(3);
    document->SetStep(0.25f);
    EXPECT_FLOAT_EQ(document->GetStep(), 0.25f);
    const TLasParsSection& well = document->GetParser().GetWellSection();
    EXPECT_STREQ(well.FindLineByCode(kLineStep)->Value(), "0.250");
}

// Texts stay CP866 in the document and its files; getters and setters speak UTF-8.
TEST_F(LasDocument, OemTextSurvivesReadingEditingAndWriting)
{
    auto document = Load("~V\n VERS. 2.0 :\n~C\n DEPT.M :\n" +
                         AnsiToOemString(" ГК  .мкР/ч : гамма") + "\n~A\n1.0 5.5\n2.0 6.5\n");
    EXPECT_EQ(document->GetCurveUnit(1), "мкР/ч");
    document->SetCurveDescription(0, "Глубина по стволу");
    ASSERT_TRUE(document->WriteLas(files_.Path("out.las")));
    const std::string text = las_test::ReadFileBytes(files_.Path("out.las"));
    EXPECT_NE(text.find(AnsiToOemString(" ГК  .мкР/ч : гамма\n")), std::string::npos);
    EXPECT_NE(text.find(AnsiToOemString(": Глубина по стволу\n")), std::string::npos);
    EXPECT_EQ(TLASFile(files_.Path("out.las"), 2).GetCurveDescription(0), "Глубина по стволу");
}

// A header without STRT and STOP, STEP 0 (irregular) and a NULL text with more decimals than
// the curves.
TEST_F(LasDocument, DepthLinesAreRecomputedAndNullKeepsItsOwnText)
{
    const auto document = Load("~W\n STEP.FT 0 : irregular\n NULL.  -999.2500 : null\n~C\n"
                               " DEPT.FT :\n A.U :\n B.U :\n~A\n100.25 7 -999.2500\n"
                               "101.5 -999.25 8\n103 1 9\n",
                               0);
    ASSERT_EQ(document->GetCurvesCount(), 3);
    document->GetCurveData(2)[2] = INFINITY;  // a value no reader could take back
    ASSERT_TRUE(document->WriteLas(files_.Path("out.las")));
    const std::string text = las_test::ReadFileBytes(files_.Path("out.las"));
    EXPECT_EQ(text.substr(text.find("~A")), "~A\n"
                                            "100.25 7 -999.2500\n"
                                            "101.5 -999.25 8\n"
                                            "103 1 -999.2500\n");

    TLASFile reread(files_.Path("out.las"), 2);
    const TLasParsSection& well = reread.GetParser().GetWellSection();
    EXPECT_STREQ(well.FindLineByCode(kLineStrt)->Value(), "100.25");
    EXPECT_STREQ(well.FindLineByCode(kLineStrt)->Unit(), "FT");
    EXPECT_STREQ(well.FindLineByCode(kLineStop)->Value(), "103");
    EXPECT_STREQ(well.FindLineByCode(kLineStep)->Value(), "0");
}

TEST_F(LasDocument, WritersWriteEveryKthSampleOfTheClampedRangeOrNothing)
{
    const int b[] = {2};
    const int both[] = {2, 1};
    const int depthToo[] = {0};
    const int outside[] = {3};
    const struct {
        int n;
        const int* curves;
        int k, last, first;
        std::vector<int> samples;  // empty: nothing written
    } cases[] = {
        {1, b, 1, 4, 0, {0, 1, 2, 3, 4}}, {1, b, 2, 4, 0, {0, 2, 4}}, {1, b, 3, 4, 0, {0, 3}},
        {1, b, 2, 4, 1, {1, 3}},          {2, both, 0, 100, -5, {0, 1, 2, 3, 4}},
        {1, b, 1, 2, 2, {2}}, {1, b, 5, 3, 1, {1}}, {1, b, 1, 1, 2, {}},  {0, b, 1, 4, 0, {}},  {3, both, 1, 4, 0, {}},
        {1, depthToo, 1, 4, 0, {}},  {1, outside, 1, 4, 0, {}},  {1, nullptr, 1, 4, 0, {}},
    };
    auto document = Load();
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << index);
        const std::string path = files_.Path("out" + std::to_string(index++) + ".las");
        const bool wrote = document->WriteLasThinned(c.n, c.curves, 0, c.k, c.last, c.first, path);
        EXPECT_EQ(wrote, !c.samples.empty());
        EXPECT_EQ(std::filesystem::exists(path), wrote);
        if (!wrote)
            continue;
        TLASFile thinned(path, 0);
        ASSERT_EQ(thinned.GetCurvesCount(), c.n + 1);
        for (int curve = 0; curve <= c.n; ++curve) {
            const Values& all = curve == 0 ? kDepths : c.curves[curve - 1] == 1 ? kA : kB;
            Values expected;
            for (int i : c.samples)
                expected.push_back(all[static_cast<size_t>(i)]);
            EXPECT_EQ(Curve(thinned, curve), expected) << "curve " << curve;
        }
        const TLasParsSection& well = thinned.GetParser().GetWellSection();
        EXPECT_EQ(std::stof(well.FindLineByCode(kLineStrt)->Value()), kDepths[c.samples.front()]);
        EXPECT_EQ(std::stof(well.FindLineByCode(kLineStop)->Value()), kDepths[c.samples.back()]);
        EXPECT_EQ(std::stof(well.FindLineByCode(kLineStep)->Value()), 0.5f * std::max(c.k, 1));
    }
    // The full writer also writes one sample and the depth alone.
    document->SetDepthValues(1, document->GetCurveData(0));
    ASSERT_TRUE(document->DeleteCurve(2) && document->DeleteCurve(1));
    ASSERT_TRUE(document->WriteLas(files_.Path("one.las")));
    EXPECT_EQ(Curve(TLASFile(files_.Path("one.las"), 0), 0), Values{10});
}

TEST_F(LasDocument, FailedWriteReturnsFalseAndLeavesTheTargetAsItWas)
{
    namespace fs = std::filesystem;
    auto document = Load();
    EXPECT_FALSE(document->WriteLas(files_.Path("missing/out.las")));
    EXPECT_EQ(document->GetWriteError(), ENOENT);  // the window words the reason
    // A folder in the target's place cannot be replaced by the file.
    fs::create_directory(files_.Path("taken"));
    las_test::WriteFileBytes(files_.Path("taken/inside.txt"), "kept");
    EXPECT_FALSE(document->WriteLas(files_.Path("taken")));
    EXPECT_EQ(document->GetWriteError(), EISDIR);
    EXPECT_EQ(las_test::ReadFileBytes(files_.Path("taken/inside.txt")), "kept");
    for (const auto& entry : fs::directory_iterator(fs::path(files_.Path("taken")).parent_path()))
        EXPECT_NE(entry.path().filename().string().rfind(".strativ", 0), 0u) << entry.path();
}

} // namespace
