// Template binding to a whole document.
#include "printing/BindDocument.h"

#include "core/Lasfile.h"
#include "printing/CurveTemplate.h"

void BindAllCurves(TCurveTemplate& t, const TLASFile& las)
{
    const int n = las.GetCurvesCount() - 1;
    std::vector<const float*> arrays;
    std::vector<std::string> info(static_cast<size_t>(3 * std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        arrays.push_back(las.GetCurveData(i + 1));
        info[static_cast<size_t>(i)] = las.GetCurveName(i + 1);
        info[static_cast<size_t>(n + i)] = las.GetCurveUnit(i + 1);
        info[static_cast<size_t>(2 * n + i)] = las.GetCurveDescription(i + 1);
    }
    t.SetSource(arrays, info, las.GetCurveData(0), las.GetNullValue(), las.GetStep(), las.GetBottomDepth(),
                las.GetTopDepth(), las.GetPointCount());
    t.SetDepthUnit(las.GetDepthUnit());
}
