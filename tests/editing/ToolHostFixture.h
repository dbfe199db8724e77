// A real panel over a real document and undo store, with a host that records what the tools
// ask of the window.
#pragma once

#include "core/Lasfile.h"
#include "core/data_dump_restore.h"
#include "editing/IntervalManager.h"
#include "editing/PanelTool.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/TestPaths.h"
#include "view/PanelWithCurves.h"

#include <QTest>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class TestToolHost : public TToolHost {
public:
    TPanelWithCurves panel;
    std::unique_ptr<TLASFile> document;
    DumpRestoreCurveData store;
    IntervalManager intervals;
    std::vector<std::string> snapshots;
    std::vector<QString> prompts;
    int done = 0;
    int changed = 0;
    int discarded = 0;
    std::vector<std::pair<int, std::uint32_t>> shownCurves;
    std::vector<std::pair<float, float>> addedIntervals;
    std::vector<int> scales;

    TPanelWithCurves& Panel() override { return panel; }
    TLASFile* Document() override { return document.get(); }
    QWidget* DialogOwner() override { return &panel; }
    IntervalManager& IntervalList() override { return intervals; }
    void Snapshot(const std::string& operation) override
    {
        store.Dump(operation);
        snapshots.push_back(operation);
    }
    void DiscardSnapshot() override
    {
        store.DiscardLast();
        ++discarded;
    }
    void RecordOffsetChange(int, int) override {}
    void MarkModified() override {}
    void DocumentChanged() override { ++changed; }
    void PromptChanged() override { prompts.push_back(tool ? tool->Prompt() : QString()); }
    void ToolDone() override { ++done; }
    void ShowNewCurve(int index, std::uint32_t color) override
    {
        panel.AddCurve(document->GetCurveData(index), document->GetPointCount(), color, document->GetNullValue());
        shownCurves.emplace_back(index, color);
    }
    void AddInterval(float top, float bottom) override { addedIntervals.emplace_back(top, bottom); }
    FloatPairList SelectOperationIntervals(const QString&, int) override
    {
        return {{document->GetTopDepth(), document->GetBottomDepth()}};
    }
    void WriteSmoothedSegments(int, const ListOfFloatValuesWithIndex&) override {}
    void ShowShiftValue(bool shown, const QString& text) override { shiftValue = shown ? text : QString(); }
    QString shiftValue;
    void SetDepthScale(int n) override
    {
        scales.push_back(n);
        panel.SetScaleY(n);
    }

    TPanelTool* tool = nullptr;
};

// Depths 100, 100.5, ... (401 rows), curves C1..C3 with values c * 10 + (row % 7); the panel
// shows all three at 1:500 (about 80 samples), 400 x 300 drawing area.
class ToolTest : public ::testing::Test {
protected:
    static constexpr int kRows = 401;

    void SetUp() override
    {
        const std::string path = dir.file("tools.las");
        std::ofstream out(path, std::ios::binary);
        out << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 100 :\r\n STOP.M 300 :\r\n STEP.M 0.5 :\r\n"
               " NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n C1.U :\r\n C2.U :\r\n C3.U :\r\n~A\r\n";
        for (int r = 0; r < kRows; ++r)
            out << 100 + 0.5 * r << ' ' << 10 + r % 7 << ' ' << 20 + r % 7 << ' ' << 30 + r % 7 << "\r\n";
        out.close();
        host.document = std::make_unique<TLASFile>(path, 2);
        ASSERT_EQ(host.document->GetPointCount(), kRows);
        host.store.SetLasFile(host.document.get());
        TAxis& axis = host.panel.YAxisInfo;
        axis.MarksStepValue = 0.5f;
        axis.SetDepthArray(host.document->GetCurveData(0), kRows);
        axis.SetScaleFactorValue(500);
        for (int c = 1; c <= 3; ++c) {
            TCurve* curve = host.panel.AddCurve(host.document->GetCurveData(c), kRows, 0x0000FF,
                                                host.document->GetNullValue());
            curve->SetXOffset(-(c - 1) * 130);
        }
        host.panel.XAxisInfo.SetOffset(-260);
        host.panel.resize(460, 335);
        host.panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.panel));
        host.panel.OnCurveClick = [this](TPanelWithCurves*, int curve) {
            if (host.tool)
                host.tool->CurveClick(curve, host.panel.MousePosition());
        };
        host.panel.OnMouseDown = [this](QMouseEvent& event) {
            if (host.tool)
                host.tool->MousePress(event);
        };
        host.panel.OnMouseMove = [this](QMouseEvent& event) {
            if (host.tool)
                host.tool->MouseMove(event);
        };
        host.panel.OnMouseUp = [this](QMouseEvent& event) {
            if (host.tool)
                host.tool->MouseRelease(event);
        };
        host.panel.OnPaintOverlay = [this](QPainter& painter, const PanelCoordinates& coordinates) {
            if (host.tool)
                host.tool->PaintOverlay(painter, coordinates);
        };
    }

    // The panel follows arrays that undo exchanged.
    void Reattach()
    {
        for (int c = 1; c <= host.panel.GetCurvesCount(); ++c)
            host.panel.GetCurve(c - 1)->SetData(host.document->GetCurveData(c), host.document->GetPointCount());
        host.panel.YAxisInfo.SetDepthArray(host.document->GetCurveData(0), host.document->GetPointCount());
    }

    void Use(TPanelTool& tool)
    {
        host.tool = &tool;
        tool.Activate();
    }

    // Pixel of curve c (0-based) at depth index i.
    QPoint PointOf(int c, int i) const
    {
        const PanelCoordinates coordinates = host.panel.Coordinates();
        const TCurve* curve = host.panel.GetCurve(c);
        return QPoint(int(std::lround(curve->ColumnOf(curve->Values()[i], coordinates))),
                      coordinates.RowOf(coordinates.depths[i]));
    }
    void ClickAt(QPoint at)
    {
        QTest::mouseMove(&host.panel, at);
        QTest::mouseClick(&host.panel, Qt::LeftButton, Qt::NoModifier, at);
    }
    std::vector<float> Curve(int index) const
    {
        const float* values = host.document->GetCurveData(index);
        return std::vector<float>(values, values + host.document->GetPointCount());
    }

    strativ::test::TempDir dir;
    platform::RecordingDialogRunner runner;
    TestToolHost host;
};
