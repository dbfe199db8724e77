// Depth units as lengths: the metres behind the unit names files write, and the scale note.
#include "platform/DepthUnit.h"

#include <gtest/gtest.h>

namespace {

TEST(DepthUnit, NamesAndCountedUnitsAreLengthsInMetres)
{
    const struct {
        const char* unit;
        double metres;  // 0: no length, the scale takes metres
    } rows[] = {
        {".1IN", 0.00254},          {"0.1IN", 0.00254},         {"1IN", 0.0254},      {".1in", 0.00254},
        {"10CM", 0.1},              {"0.5M", 0.5},              {"M", 1.0},           {"ft", 0.3048},
        {"USFT", 1200.0 / 3937.0},  {"ftUS", 1200.0 / 3937.0},  {"ФТ", 0.3048},       {"фут", 0.3048},
        {"Фут", 0.3048},            {" .1IN ", 0.00254},        {"S", 0},             {"1.2.3IN", 0},
        {".IN", 0},                 {"0IN", 0},                 {"10", 0},            {"10S", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.unit);
        const QString unit = QString::fromUtf8(row.unit);
        EXPECT_NEAR(platform::DepthUnitMetres(unit), row.metres, 1e-15);
        EXPECT_EQ(platform::DepthScaleNote(unit).isEmpty(), row.metres > 0);
    }
}

}  // namespace
