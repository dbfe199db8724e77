// The document's generation moves exactly when a view holding pointers into its arrays, its
// point count, its depths or its STEP would be stale.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/Lasfile.h"
#include "tests/common/TestPaths.h"

namespace {

struct Observed {
    std::vector<const float*> arrays;
    int points = 0;
    std::vector<float> depths;
    float step = 0;

    explicit Observed(const TLASFile& las) : points(las.GetPointCount()), step(las.GetStep())
    {
        for (int i = 0; i < las.GetCurvesCount(); ++i)
            arrays.push_back(las.GetCurveData(i));
        depths.assign(las.GetCurveData(0), las.GetCurveData(0) + points);
    }
    bool operator==(const Observed&) const = default;
};

TEST(LasGeneration, MovesExactlyWhenArraysCountsDepthsOrStepChange)
{
    strativ::test::TempDir dir;
    std::ofstream(dir.file("g.las"), std::ios::binary)
        << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 100.0 :\r\n STOP.M 101.5 :\r\n"
           " STEP.M 0.5 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M : DEPTH\r\n GR.API : GAMMA\r\n DT.US : SONIC\r\n"
           "~A\r\n100.0 10 1\r\n100.5 20 2\r\n101.0 30 3\r\n101.5 40 4\r\n";
    TLASFile las(dir.file("g.las"), 2);
    ASSERT_EQ(las.GetPointCount(), 4);
    const float values[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    TStravoFloatArrayList copy;
    const std::vector<std::pair<std::string, std::function<void()>>> operations = {
        {"values in place", [&] { las.SetCurveValues(values, 0, 1, 4); }},
        {"shift by samples", [&] { las.ShiftCurveBySamples(1, 1); }},
        {"shift by depth", [&] { las.ShiftCurveByDepth(2, 0.5f); }},
        {"zero depth shift", [&] { las.ShiftDepth(0.0f); }},
        {"depth shift", [&] { las.ShiftDepth(2.5f); }},
        {"same step", [&] { las.SetStep(0.5f); }},
        {"new step", [&] { las.SetStep(0.25f); }},
        {"name", [&] { las.SetCurveName(1, "GK"); }},
        {"decimals", [&] { las.SetCurveDecimals(1, 4); }},
        {"extending shift", [&] { las.ShiftCurveExtending(1, 2); }},
        {"zero extending shift", [&] { las.ShiftCurveExtending(1, 0); }},
        {"extending shift by depth", [&] { las.ShiftCurveByDepthExtending(2, -0.25f); }},
        {"small extending shift by depth", [&] { las.ShiftCurveByDepthExtending(2, 0.01f); }},
        {"add curve", [&] { las.AddCurve("NEW", nullptr); }},
        {"delete curve", [&] { las.DeleteCurve(3); }},
        {"delete depth refused", [&] { las.DeleteCurve(0); }},
        {"depth values", [&] { las.SetDepthValues(3, values); }},
        {"swap arrays", [&] {
             copy = TStravoFloatArrayList();
             for (int i = 0; i < las.GetCurvesCount(); ++i)
                 copy.Add(las.GetCurveArrays().Item(i).Clone());
             las.SwapCurveArrays(copy);
         }},
    };
    for (const auto& [name, operation] : operations) {
        const Observed before(las);
        const auto generation = las.Generation();
        operation();
        EXPECT_EQ(las.Generation() != generation, !(Observed(las) == before)) << name;
    }
}

}  // namespace
