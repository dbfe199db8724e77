// Shared set-up of the main-window tests: generated LAS files and a window driven through the
// recording dialog runner, with its settings beside a temporary "program folder".
#pragma once

#include "app/ChooseCurves.h"
#include "app/DepthOverview.h"
#include "app/MainUnit.h"
#include "core/Lasfile.h"
#include "view/PanelWithCurves.h"
#include "app/StrativProfileManager.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "platform/WindowFit.h"
#include "tests/common/TestPaths.h"

#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace strativ::test {

// Value of curve c (1-based) at row r in the generated files.
inline float GeneratedValue(int c, int r)
{
    return static_cast<float>(c * 10 + (r % 7));
}

// A LAS 2.0 file with depth DEPT (M) from `top` by `step` and curves C1..Cn.
inline std::string WriteTestLas(const std::string& path, int curves, int rows, double top = 100.0,
                                double step = 0.5)
{
    std::ofstream out(path, std::ios::binary);
    out << "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LAS 2.0\r\n WRAP.   NO  : One line per depth step\r\n";
    out << "~WELL INFORMATION\r\n STRT.M  " << top << " : START DEPTH\r\n STOP.M  " << top + step * (rows - 1)
        << " : STOP DEPTH\r\n STEP.M  " << step << " : STEP\r\n NULL.   -999.25 : NULL VALUE\r\n"
        << " WELL.   TEST : WELL\r\n";
    out << "~CURVE INFORMATION\r\n DEPT.M  : DEPTH\r\n";
    for (int c = 1; c <= curves; ++c)
        out << " C" << c << ".U" << c << " : CURVE " << c << "\r\n";
    out << "~A\r\n";
    for (int r = 0; r < rows; ++r) {
        out << top + step * r;
        for (int c = 1; c <= curves; ++c)
            out << ' ' << GeneratedValue(c, r);
        out << "\r\n";
    }
    return path;
}

// Pixel of panel curve c (0-based) at depth index i.
inline QPoint CurvePoint(const TPanelWithCurves& panel, int c, int i)
{
    const PanelCoordinates coordinates = panel.Coordinates();
    const TCurve* curve = panel.GetCurve(c);
    return QPoint(int(std::lround(curve->ColumnOf(curve->Values()[i], coordinates))),
                  coordinates.RowOf(coordinates.depths[i]));
}

// After any command that changed the document: the depth axis and every panel curve point at
// the document's current arrays with its point count, and the status bar, the depth overview
// and the intervals' loaded range show the document's depths.
inline void ExpectViewFollowsDocument(TFormMain& window, const std::string& command)
{
    SCOPED_TRACE(command);
    TLASFile& document = *window.LasFile();
    const TPanelWithCurves& panel = *window.PanelCurves;
    const int count = document.GetPointCount();
    EXPECT_EQ(panel.YAxisInfo.DepthArray(), document.GetCurveData(0));
    EXPECT_EQ(panel.YAxisInfo.DepthCount(), count);
    ASSERT_EQ(panel.GetCurvesCount(), document.GetCurvesCount() - 1);
    for (int i = 0; i < panel.GetCurvesCount(); ++i) {
        EXPECT_EQ(panel.GetCurve(i)->Values(), document.GetCurveData(i + 1)) << "curve " << i;
        EXPECT_EQ(panel.GetCurve(i)->Count(), count) << "curve " << i;
    }
    const auto depth = [&](float d) { return platform::LasNumberText(d, document.GetDepthDecimals()); };
    EXPECT_TRUE(window.StatusText(2).startsWith("Глубины: " + depth(document.GetTopDepth()) + " - " +
                                                depth(document.GetBottomDepth())))
        << window.StatusText(2).toStdString();
    EXPECT_EQ(window.StatusText(3), "Шаг: " + depth(document.GetStep()));
    EXPECT_EQ(window.PBoxAllDepth->First(), double(document.GetTopDepth()));
    EXPECT_EQ(window.PBoxAllDepth->Last(), double(document.GetBottomDepth()));
    EXPECT_EQ(window.Intervals.GetTop(), document.GetTopDepth());
    EXPECT_EQ(window.Intervals.GetBottom(), document.GetBottomDepth());
}

// A left click on panel curve `curve` in the middle of the drawing area, the mouse brought there
// from elsewhere (a move to where the cursor already is sends nothing).
inline void ClickCurve(TPanelWithCurves& panel, int curve)
{
    const PanelCoordinates c = panel.Coordinates();
    const QPoint on = CurvePoint(panel, curve, panel.GetDepthArrayNumber(c.area.center().y()));
    QTest::mouseMove(&panel, c.area.topLeft());
    QTest::mouseMove(&panel, on);
    ASSERT_EQ(panel.GetCurrentCurve(), curve + 1);
    QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, on);
}

// The available screen area is `area` while alive.
class ScreenAreaReplaced {
public:
    explicit ScreenAreaReplaced(const QRect& area)
        : previous_(platform::SetAvailableScreenArea([area](const QPoint&) { return area; }))
    {
    }
    ~ScreenAreaReplaced() { platform::SetAvailableScreenArea(previous_); }
    ScreenAreaReplaced(const ScreenAreaReplaced&) = delete;
    ScreenAreaReplaced& operator=(const ScreenAreaReplaced&) = delete;

private:
    platform::ScreenAreaSource previous_;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("STRATIV_HOME", dir.path().c_str(), 1);
        setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
        StrativProfileManager::ResetInstance();
        platform::SetDecimalSeparator(QChar('.'));
        runner = std::make_unique<platform::RecordingDialogRunner>();
        CreateWindow();
    }

    void TearDown() override
    {
        window.reset();
        runner.reset();
        StrativProfileManager::ResetInstance();
        platform::SetDecimalSeparator(QChar());
        unsetenv("STRATIV_HOME");
        unsetenv("XDG_DATA_HOME");
    }

    void CreateWindow()
    {
        window = std::make_unique<TFormMain>();
        window->resize(1000, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // The curve choice answered with OK, every curve ticked but those at these list rows.
    void PushCurveChoice(std::vector<int> untickRows = {})
    {
        runner->PushDialog([untickRows](QDialog& dialog) {
            QListWidget& list = static_cast<TFormChooseCurves&>(dialog).CurveList();
            for (int row = 0; row < list.count(); ++row)
                list.item(row)->setCheckState(std::count(untickRows.begin(), untickRows.end(), row) ? Qt::Unchecked
                                                                                                   : Qt::Checked);
            return int(QDialog::Accepted);
        });
    }

    bool Open(const std::string& path)
    {
        PushCurveChoice();
        return window->OpenLasFile(QString::fromStdString(path));
    }

    TPanelWithCurves& Panel() const { return *window->PanelCurves; }
    Ui::TFormMain& F() const { return window->Form(); }
    TLASFile& Document() const { return *window->LasFile(); }
    QPoint PointOf(int c, int i) const { return CurvePoint(Panel(), c, i); }

    // The values of document curve `index` (0 is the depth).
    std::vector<float> Values(int index) const
    {
        const float* values = window->LasFile()->GetCurveData(index);
        return {values, values + window->LasFile()->GetPointCount()};
    }

    // Messages asked so far, as "title|text".
    QStringList Messages() const
    {
        QStringList out;
        for (const auto& request : runner->Requests())
            if (request.kind == platform::DialogKind::Message)
                out << request.title + "|" + request.text;
        return out;
    }

    TempDir dir;
    std::unique_ptr<platform::RecordingDialogRunner> runner;
    std::unique_ptr<TFormMain> window;
};

}  // namespace strativ::test
