// A diagram page drawn by the engine into an EMF picture and read by external EMF readers.
#include "platform/EmfCanvas.h"
#include "platform/NumberText.h"
#include "printing/CurveTemplate.h"
#include "printing/DiagramEmf.h"
#include "printing/GridParams.h"
#include "tests/common/EmfRecords.h"
#include "tests/common/ScriptedProgress.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <algorithm>
#include <sys/wait.h>

namespace {

// Exit status and standard output of a shell command; -1 when the tool is missing.
int RunTool(const std::string& command, std::string* output = nullptr)
{
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        if (output)
            output->append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Installed(const std::string& tool) { return RunTool("command -v " + tool) == 0; }

TEST(EmfPicture, EnginePageIsReadByExternalReadersWithTextsAndDashedGrid)
{
    if (!Installed("emf2svg-conv") || !Installed("printemf"))
        GTEST_SKIP() << "emf2svg-conv or printemf is not installed";
    GridLineValues() = TGridLineValues{};

    // 1000..1100 m every 0.1 m, two curves with NULL runs.
    const float null = -999.25f;
    std::vector<float> depth, gk, ps;
    for (int i = 0; i <= 1000; ++i) {
        depth.push_back(1000.0f + i * 0.1f);
        gk.push_back(i % 300 > 250 ? null : static_cast<float>(5 + 4 * std::sin(i * 0.05)));
        ps.push_back(i % 400 < 30 ? null : static_cast<float>(60 + 30 * std::cos(i * 0.03)));
    }
    TCurveTemplate t;
    t.ReadCurvePrnSettings();
    t.SetSource({gk.data(), ps.data()}, {"ГК", "ПС", "мкР/ч", "мВ", "гамма", "потенциал"}, depth.data(), null, 0.1f,
                1100.0f, 1000.0f, static_cast<int>(depth.size()));
    int column = -1;
    ASSERT_NE(t.AddCurveToColumn(0, column), nullptr);
    column = -1;
    ASSERT_NE(t.AddCurveToColumn(1, column), nullptr);

    strativ::test::TempDir dir;
    const std::string path = dir.file("page.emf");
    const platform::EmfReference screen{96, 96, 1920, 1080, 508, 286};
    const float px = 96 / 2.54f;
    const platform::CanvasRect rect{0, 0, static_cast<int>(19 * px), static_cast<int>(27.7 * px)};
    {
        platform::EmfCanvas canvas(path, screen, {0, 0, 19000, 27700});
        t.SetPageWidthCm(19.0f);
        t.SetPageHeightCm(27.7f);
        t.DrawCurvesPage(canvas, 0, rect, px, px);
        canvas.brush.color = 0xE0E0E0;
        canvas.FillRect({400, 20, 460, 60});
        canvas.Polygon({{500, 20}, {560, 20}, {530, 70}});
        canvas.brush.style = platform::BrushStyle::Clear;
        canvas.font.name = "Arial";
        canvas.TextOut(400, 80, "Скважина №1");
        ASSERT_TRUE(canvas.Finish()) << canvas.Error();
    }
    const strativ::test::EmfPicture picture = strativ::test::ReadEmf(path);
    ASSERT_TRUE(picture.complete);
    EXPECT_EQ(picture.Header().nBytes, picture.bytes.size());

    const std::string svg = strativ::test::OutputDir() + "/engine_page.svg";
    std::filesystem::create_directories(strativ::test::OutputDir());
    ASSERT_EQ(RunTool("emf2svg-conv -i '" + path + "' -o '" + svg + "'"), 0);
    const std::string text = strativ::test::ReadFileBytes(svg);
    for (const char* label : {"ГК", "мкР/ч", "Скважина №1", "1000", "1020"})
        EXPECT_NE(text.find(label), std::string::npos) << label;
    // Grid lines are grey (0xC0C0C0 by default) and dashed: many strokes in each path.
    int greyPaths = 0;
    const std::string grey = "\" stroke=\"#C0C0C0\"";
    for (size_t at = text.find(grey); at != std::string::npos; at = text.find(grey, at + 1)) {
        const size_t start = text.rfind("<path d=\"", at);
        ASSERT_NE(start, std::string::npos);
        const std::string d = text.substr(start, at - start);
        EXPECT_GT(std::count(d.begin(), d.end(), 'M'), 10) << d.substr(0, 200);
        ++greyPaths;
    }
    EXPECT_GT(greyPaths, 0);
    EXPECT_EQ(RunTool("printemf '" + path + "' >/dev/null"), 0);
}

}  // namespace

namespace {

// 1000..1100 m every 0.1 m, GR 0..150 in one 5 cm column at 0.25 per cm, 1:100, margins 1 cm.
TEST(EmfPicture, ExportHoldsTheWholeRangeOnOnePageWithThePlatformSeparator)
{
    GridLineValues() = TGridLineValues{};
    std::vector<float> depth, gr;
    for (int i = 0; i <= 1000; ++i) {
        depth.push_back(1000.0f + i * 0.1f);
        gr.push_back(static_cast<float>(i % 151));
    }
    TCurveTemplate t;
    t.ReadCurvePrnSettings();
    t.SetSource({gr.data()}, {"GR", "API", ""}, depth.data(), -999.25f, 0.1f, 1100.0f, 1000.0f,
                static_cast<int>(depth.size()));
    int column = -1;
    TCurveForPrinting* curve = t.AddCurveToColumn(0, column);
    ASSERT_NE(curve, nullptr);
    curve->SetLeftValue(0.0f);
    curve->SetScaleValue(0.25f);
    t.Columns[0]->ColumnSpace = 0.1f;
    t.Dept->SetScale(1.0);

    strativ::test::TempDir dir;
    const std::string path = dir.file("diagram.emf");
    DiagramEmfSetup setup;
    setup.screen = {96, 96, 1920, 1080, 508, 286};
    ScriptedProgress progress(0);
    platform::SetDecimalSeparator(QChar(','));
    const DiagramEmfResult r = ExportDiagramEmf(t, path, setup);
    platform::SetDecimalSeparator(QChar());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(t.GetPageCount(), 1);
    // 100 m at 1:100 is a 100 cm strip; the frame is the sheet's width and the strip, header
    // and margins high (0.01 mm, up to the screen's rounding).
    EXPECT_EQ(r.frame.right, 21000);
    EXPECT_GT(r.frame.bottom, 102 * 1000);
    EXPECT_LT(r.frame.bottom, 110 * 1000);

    const strativ::test::EmfPicture picture = strativ::test::ReadEmf(path);
    ASSERT_TRUE(picture.complete);
    EXPECT_EQ(picture.Header().nBytes, picture.bytes.size());
    EXPECT_EQ(picture.Header().nRecords, picture.records.size());
    EXPECT_EQ(picture.Header().rclFrame.bottom, r.frame.bottom);
    std::vector<std::u16string> texts;
    for (const auto& record : picture.OfType(U_EMR_EXTTEXTOUTW))
        texts.push_back(strativ::test::TextOf(record));
    const auto has = [&texts](const std::u16string& t) { return std::find(texts.begin(), texts.end(), t) != texts.end(); };
    EXPECT_TRUE(has(u"1000"));
    EXPECT_TRUE(has(u"1100"));  // the end of the range is in the picture
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::u16string& t) { return t.rfind(u"0,5", 0) == 0; }));
    EXPECT_FALSE(std::any_of(texts.begin(), texts.end(), [](const std::u16string& t) { return t.rfind(u"0.5", 0) == 0; }));
    if (Installed("emf2svg-conv")) {
        EXPECT_EQ(RunTool("emf2svg-conv -i '" + path + "' -o '" + dir.file("diagram.svg") + "'"), 0);
    }
}

}  // namespace
