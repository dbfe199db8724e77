// A real multi-page curve diagram from a LAS file and a template file, written as PDF; the
// template loader's refusals.
#include "core/Lasfile.h"
#include "printing/BindDocument.h"
#include "printing/CurveTemplate.h"
#include "printing/DiagramPdf.h"
#include "printing/GridParams.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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

const char* ThreeColumns = R"([TemlateInfo]
Version=1
ColumnCount=3

[Col0]
Width=4
ColumnSpace=0.2
Col0Curve0=GR

[Col0Curve0]
Color=32768
Width=0.03
BlikTitleType=1

[Col1]
Width=4
Col1Curve0=RES

[Col1Curve0]
Color=255
LogarithmicScale=1
LogLeftValue=1
LogScaleModule=2

[Col2]
Width=5
Col2Curve0=DT
Col2Curve1=NOSUCH
Col2Curve2=GR

[Col2Curve0]
Color=16711680
LeftValue=250
ScaleValue=20

[Col2Curve2]
BlikTitle=1
BlikTitleType=3
)";

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
        WriteText(lasPath, WellLog());
        WriteText(templPath, ThreeColumns);
        las = std::make_unique<TLASFile>(lasPath, 4);
        ASSERT_TRUE(las->IsLoaded()) << las->GetLoadError();
        BindAllCurves(t, *las);
    }
};

int PdfinfoPages(const std::string& path)
{
    FILE* pipe = popen(("pdfinfo '" + path + "' 2>/dev/null").c_str(), "r");
    if (!pipe)
        return -1;
    char line[512];
    int pages = -1;
    while (std::fgets(line, sizeof line, pipe))
        if (std::sscanf(line, "Pages: %d", &pages) == 1)
            break;
    pclose(pipe);
    return pages;
}

TEST_F(PrintPdf, MultiPageDiagramHasTheComputedPageCount)
{
    ASSERT_EQ(t.LoadTemplate(templPath), "");
    ASSERT_EQ(t.Columns.size(), 3u);
    EXPECT_EQ(t.Columns[2]->Curves.size(), 2u);  // NOSUCH is not in the file
    EXPECT_TRUE(t.Columns[1]->Curves[0]->LogarithmicScale);
    EXPECT_EQ(ReadText(templPath), ThreeColumns);  // loading leaves the file as it was

    std::filesystem::create_directories(strativ::test::OutputDir());
    const std::string pdf = strativ::test::OutputDir() + "/curve_diagram.pdf";
    const DiagramPdfResult r = WriteDiagramPdf(t, pdf, 19.0, 27.7, 300);
    ASSERT_TRUE(r.ok) << r.error;
    // 300 m at 1:200 is 150 cm of strip: the first page loses the header band.
    EXPECT_EQ(r.pages, t.GetPageCount());
    EXPECT_GE(r.pages, 6);
    const int reported = PdfinfoPages(pdf);
    if (reported < 0)
        GTEST_SKIP() << "pdfinfo is not installed";
    EXPECT_EQ(reported, t.GetPageCount());
}

TEST_F(PrintPdf, FailedWriteIsReportedAndKeepsTheOldFile)
{
    const std::string blocked = dir.file("no/such/folder/out.pdf");
    const DiagramPdfResult r = WriteDiagramPdf(t, blocked, 19.0, 27.7, 150);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_FALSE(std::filesystem::exists(blocked));
}

TEST_F(PrintPdf, TemplateLoaderRefusesMissingFilesAndOtherVersions)
{
    t.AddColumn();
    const std::string missing = dir.file("missing.ctl");
    EXPECT_EQ(t.LoadTemplate(missing), "Файл не найден" + missing);
    EXPECT_EQ(t.Columns.size(), 1u);

    const std::string v2 = dir.file("v2.ctl");
    WriteText(v2, "[TemlateInfo]\nVersion=2\nColumnCount=1\n[Col0]\nCol0Curve0=GR\n");
    EXPECT_EQ(t.LoadTemplate(v2), "Версия шаблона не поддерживается");
    EXPECT_TRUE(t.Columns.empty());

    const std::string narrow = dir.file("narrow.ctl");
    WriteText(narrow, "[TemlateInfo]\nVersion=1\nColumnCount=1\n[Col0]\nWidth=0.5\nCol0Curve0=RES\n");
    GridLineValues().DefaultColumnSpace = 0.3f;
    EXPECT_EQ(t.LoadTemplate(narrow), "");
    ASSERT_EQ(t.Columns.size(), 1u);
    EXPECT_FLOAT_EQ(t.Columns[0]->Width, 1.0f);
    EXPECT_FLOAT_EQ(t.Columns[0]->ColumnSpace, 0.3f);
    ASSERT_EQ(t.Columns[0]->Curves.size(), 1u);
    EXPECT_EQ(t.Columns[0]->Curves[0]->Mnemonic, "RES");
    EXPECT_EQ(t.Columns[0]->Curves[0]->Unit, "OHMM");
}

}  // namespace
