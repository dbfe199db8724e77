// A shown curve panel over a known document: depths 1000.0, 1000.1, ... with 4 pixels per
// sample (40 pixels per cm at 1:100) and a 400 x 300 drawing area at (60, 35).
#pragma once

#include "platform/RecordingDialogRunner.h"
#include "view/PanelWithCurves.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

class PanelFixture : public ::testing::Test {
protected:
    static constexpr float kNull = -999.25f;
    static constexpr int kCount = 1000;

    void SetUp() override
    {
        depths.resize(kCount);
        for (int i = 0; i < kCount; ++i)
            depths[std::size_t(i)] = 1000.0f + 0.1f * float(i);
        panel.resize(460, 335);
        panel.YAxisInfo.SetPixelsPerCm(40);
        panel.XAxisInfo.SetPixelsPerCm(40);
        panel.YAxisInfo.SetScaleFactorValue(100);
        panel.YAxisInfo.MarksStepValue = 0.1f;
        panel.YAxisInfo.DepthStepValue = 100;
        panel.YAxisInfo.SetDepthArray(depths.data(), kCount);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        ASSERT_EQ(panel.DrawingArea(), QRect(60, 35, 400, 300));
    }

    // Row of sample i under the current scroll.
    int RowOf(int i) const { return panel.Coordinates().RowOf(depths[std::size_t(i)]); }
    int ColumnOf(int curve, float value) const
    {
        return int(std::lround(panel.GetCurve(curve)->ColumnOf(value, panel.Coordinates())));
    }

    std::vector<float> depths;
    TPanelWithCurves panel;
};
