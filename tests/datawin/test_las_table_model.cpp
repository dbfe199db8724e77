// The value grid model over a LAS document, without widgets.
#include "core/Lasfile.h"
#include "datawin/LasTableModel.h"
#include "platform/NumberText.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace strativ::test {
namespace {

// Shown texts are those of the platform's number text, whichever way the model words them.
TEST(LasTableModelTest, CellTextsAreThePlatformNumberTexts)
{
    TempDir dir;
    std::mt19937 random(7);
    // Columns of 0, 1, 2, 3, 4 and 6 decimals over magnitudes from 1e-3 to 1e8.
    const int decimals[] = {0, 1, 2, 3, 4, 6};
    std::ostringstream las;
    las << "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n NULL. -999.25 :\n~Curve\n DEPT.M :\n";
    for (int c = 0; c < 6; ++c)
        las << " C" << c << ". :\n";
    las << "~A\n";
    const int rows = 3000;
    for (int r = 0; r < rows; ++r) {
        las << 1000 + r;
        for (int d : decimals) {
            const double magnitude = std::pow(10.0, std::uniform_real_distribution<double>(-3, 8)(random));
            double value = (random() % 2 ? -1 : 1) * magnitude;
            if (r % 97 == 0)
                value = 0;
            if (r % 89 == 0)
                value = std::round(value * 8) / 8;  // exact binary fractions: ties of the rounding
            char text[64];
            std::snprintf(text, sizeof text, " %.*f", d, value);
            las << (r % 50 == 3 ? " -999.25" : text);
        }
        las << "\n";
    }
    WriteFileBytes(dir.file("values.las"), las.str());
    TLASFile document(dir.file("values.las"), 2);
    ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
    LasTableModel model;
    model.SetDocument(&document);
    ASSERT_EQ(model.ColCount(), 8);
    ASSERT_EQ(model.RowCount(), rows + 1);
    for (QChar separator : {QChar('.'), QChar(',')}) {
        platform::SetDecimalSeparator(separator);
        for (int c = 1; c < model.ColCount(); ++c) {
            const int places = c == 1 ? document.GetDepthDecimals() : document.GetCurveDecimals(c - 1);
            for (int r = 1; r <= rows; ++r) {
                const float value = document.GetCurveData(c - 1)[r - 1];
                const QString expected = value == document.GetNullValue()
                                             ? QStringLiteral("Null")
                                             : platform::LasNumberText(value, places);
                ASSERT_EQ(model.Text(c, r).toStdString(), expected.toStdString()) << value << " " << places;
            }
        }
    }
    platform::SetDecimalSeparator(QChar());
}

}  // namespace
}  // namespace strativ::test
