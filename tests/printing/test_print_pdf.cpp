// A real multi-page curve diagram from a LAS file and a template file, written as PDF; the
// template loader's refusals.
#include "core/Lasfile.h"
#include "printing/BindDocument.h"
#include "printing/CurveTemplate.h"
#include "printing/DiagramPdf.h"
#include "printing/GridParams.h"
#include "tests/common/CommandOutput.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// 1000..1300 m every 0.1 m: a gamma curve, a resistivity over three decades and a sonic
// curve with NULL runs.
std::string WellLog()
{
    std::ostringstream las;
    las << "~VERSION INFORMATION\n VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\n"
           " WRAP.   NO  : ONE LINE PER DEPTH STEP\n~WELL INFORMATION\n STRT.M 1000.0 :\n STOP.M 1300.0 :\n"
           " STEP.M 0.1 :\n NULL.  -999.25 :\n WELL.  TEST : WELL\n~CURVE INFORMATION\n DEPT.M : DEPTH\n"
           " GR  .API : GAMMA RAY\n RES .OHMM : RESISTIVITY\n DT  .US/M : SONIC\n~A\n";
    for (int i = 0; i <= 3000; ++i) {
        const double d = 1000.0 + i * 0.1;
        const double gr = 60 + 40 * std::sin(i * 0.013);
        const double res = std::pow(10.0, 1.0 + 1.5 * std::sin(i * 0.007));
        const bool gap = i % 700 > 600;
        las << d << ' ' << gr << ' ' << res << ' ' << (gap ? -999.25 : 300 + 80 * std::cos(i * 0.02)) << '\n';
    }
    return las.str();
}

// Linear, logarithmic and off-scale curves; a name the file lacks.
const char* ThreeColumns =
    "[TemlateInfo]\nVersion=1\nColumnCount=3\n"
    "[Col0]\nWidth=4\nColumnSpace=0.2\nCol0Curve0=GR\n"
    "[Col0Curve0]\nColor=32768\nWidth=0.03\nBlikTitleType=1\n"
    "[Col1]\nWidth=4\nCol1Curve0=RES\n"
    "[Col1Curve0]\nColor=255\nLogarithmicScale=1\nLogLeftValue=1\nLogScaleModule=2\n"
    "[Col2]\nWidth=5\nCol2Curve0=DT\nCol2Curve1=NOSUCH\nCol2Curve2=GR\n"
    "[Col2Curve0]\nColor=16711680\nLeftValue=250\nScaleValue=20\n"
    "[Col2Curve2]\nBlikTitle=1\nBlikTitleType=3\n";

class PrintPdf : public ::testing::Test {
protected:
    strativ::test::TempDir dir;
    std::string lasPath = dir.file("well.las");
    std::string templPath = dir.file("three.ctl");
    std::unique_ptr<TLASFile> las;
    TCurveTemplate t;

    void SetUp() override
    {
        GridLineValues() = TGridLineValues{};
        strativ::test::WriteFileBytes(lasPath, WellLog());
        strativ::test::WriteFileBytes(templPath, ThreeColumns);
        las = std::make_unique<TLASFile>(lasPath, 4);
        ASSERT_TRUE(las->IsLoaded()) << las->GetLoadError();
        BindAllCurves(t, *las);
    }
};

// What a poppler command prints about a file; empty when it is not installed.
std::string Poppler(const std::string& command, const std::string& path, const std::string& tail = "")
{
    return strativ::test::CommandOutput(command + " '" + path + "' " + tail);
}

TEST_F(PrintPdf, MultiPageDiagramHasTheComputedPageCount)
{
    ASSERT_EQ(t.LoadTemplate(templPath), "");
    ASSERT_EQ(t.Columns.size(), 3u);
    EXPECT_EQ(t.Columns[2]->Curves.size(), 2u);  // NOSUCH is not in the file
    EXPECT_TRUE(t.Columns[1]->Curves[0]->LogarithmicScale);
    EXPECT_EQ(strativ::test::ReadFileBytes(templPath), ThreeColumns);  // loading leaves the file as it was

    std::filesystem::create_directories(strativ::test::OutputDir());
    const std::string pdf = strativ::test::OutputDir() + "/curve_diagram.pdf";
    const DiagramPdfResult r = WriteDiagramPdf(t, pdf, 19.0, 27.7, 300);
    ASSERT_TRUE(r.ok) << r.error;
    // 300 m at 1:200 is 150 cm of strip: the first page loses the header band.
    EXPECT_EQ(r.pages, t.GetPageCount());
    EXPECT_GE(r.pages, 6);
    const std::string info = Poppler("pdfinfo", pdf);
    if (info.empty())
        GTEST_SKIP() << "pdfinfo is not installed";
    const size_t at = info.find("Pages:");
    int reported = -1;
    ASSERT_NE(at, std::string::npos) << info;
    std::sscanf(info.c_str() + at, "Pages: %d", &reported);
    EXPECT_EQ(reported, t.GetPageCount());
}

TEST_F(PrintPdf, SinglePageCarriesNothingOfTheFirstAndMissingPagesAreRefused)
{
    ASSERT_EQ(t.LoadTemplate(templPath), "");
    const std::string pdf = dir.file("one.pdf");
    DiagramPdfResult r = WriteDiagramPdf(t, pdf, 19.0, 27.7, 150, 1);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.pages, 1);
    const std::string text = Poppler("pdftotext", pdf, "-");
    if (!text.empty()) {
        EXPECT_EQ(text.find("GR, API"), std::string::npos);  // the first page's header
        EXPECT_NE(text.find("1055"), std::string::npos) << text;
    }

    const std::string beyond = dir.file("beyond.pdf");
    r = WriteDiagramPdf(t, beyond, 19.0, 27.7, 150, t.GetPageCount());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(std::filesystem::exists(beyond));

    const std::string blocked = dir.file("no/such/folder/out.pdf");
    r = WriteDiagramPdf(t, blocked, 19.0, 27.7, 150);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_FALSE(std::filesystem::exists(blocked));
}

TEST_F(PrintPdf, TemplateLoaderRefusesMissingFilesAndOtherVersionsAndKeepsTheColumns)
{
    t.AddColumn();
    const std::string missing = dir.file("missing.ctl");
    EXPECT_EQ(t.LoadTemplate(missing), "Файл не найден: " + missing);
    EXPECT_EQ(t.Columns.size(), 1u);

    const std::string v2 = dir.file("v2.ctl");
    strativ::test::WriteFileBytes(v2, "[TemlateInfo]\nVersion=2\nColumnCount=1\n[Col0]\nCol0Curve0=GR\n");
    EXPECT_EQ(t.LoadTemplate(v2), "Версия шаблона не поддерживается");
    EXPECT_EQ(t.Columns.size(), 1u);

    // A count beyond the column sections is damage, not billions of columns.
    const std::string damaged = dir.file("damaged.ctl");
    strativ::test::WriteFileBytes(damaged, "[TemlateInfo]\nVersion=1\nColumnCount=2000000000\n[Col0]\nWidth=2\nCol0Curve0=RES\n"
                       "[Col1]\nWidth=3\n");
    GridLineValues().DefaultColumnSpace = 0.3f;
    EXPECT_EQ(t.LoadTemplate(damaged), "");
    ASSERT_EQ(t.Columns.size(), 2u);
    EXPECT_FLOAT_EQ(t.Columns[0]->ColumnSpace, 0.3f);
    ASSERT_EQ(t.Columns[0]->Curves.size(), 1u);
    EXPECT_EQ(t.Columns[0]->Curves[0]->Mnemonic, "RES");
    EXPECT_EQ(t.Columns[0]->Curves[0]->Unit, "OHMM");

    // Numbers that cannot be drawn refuse the whole file, naming the key; the columns stay.
    const std::pair<const char*, const char*> refused[] = {
        {"[Col0]\nWidth=1e30\n", "Width в разделе [Col0]"},
        {"[Col0]\nWidth=inf\n", "Width в разделе [Col0]"},
        {"[Col0]\nColumnSpace=-1e30\n", "ColumnSpace в разделе [Col0]"},
        {"[Col0]\nCol0Curve0=GR\n[Col0Curve0]\nScaleValue=1e38\n", "ScaleValue в разделе [Col0Curve0]"},
        {"[Col0]\nCol0Curve0=GR\n[Col0Curve0]\nScaleValue=1e-9\n", "ScaleValue в разделе [Col0Curve0]"},
        {"[Col0]\nCol0Curve0=GR\n[Col0Curve0]\nLogLeftValue=nan\n", "LogLeftValue в разделе [Col0Curve0]"},
    };
    for (const auto& [body, key] : refused) {
        strativ::test::WriteFileBytes(damaged, std::string("[TemlateInfo]\nVersion=1\nColumnCount=1\n") + body);
        EXPECT_NE(t.LoadTemplate(damaged).find(key), std::string::npos) << body;
        EXPECT_EQ(t.Columns.size(), 2u) << body;
    }

    // Narrow columns of older files widen to 1 cm; numbers the loader does not take keep
    // their defaults.
    strativ::test::WriteFileBytes(damaged, "[TemlateInfo]\nVersion=1\nColumnCount=1\n[Col0]\nWidth=0.5\nCol0Curve0=GR\n"
                                           "[Col0Curve0]\nLogScaleModule=11\nLeftValue=abc\nColor=-1\nScaleValue=0\n");
    EXPECT_EQ(t.LoadTemplate(damaged), "");
    ASSERT_EQ(t.Columns.size(), 1u);
    EXPECT_FLOAT_EQ(t.Columns[0]->Width, 1.0f);
    ASSERT_EQ(t.Columns[0]->Curves.size(), 1u);
    const TCurveForPrinting& gr = *t.Columns[0]->Curves[0];
    EXPECT_EQ(gr.LogScaleModule, 2);
    EXPECT_GT(gr.ScaleValue, 0.0f);
    EXPECT_GE(gr.Color, 0);
}

}  // namespace
