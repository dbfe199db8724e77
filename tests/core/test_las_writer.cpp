// Writing LAS files: the full writer round trip over the public samples, OEM text, NULL texts,
// the thinned writer's index arithmetic, and writes that must fail without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/CodePages.h"
#include "core/Lasfile.h"
#include "tests/common/TestPaths.h"
#include "tests/core/test_las_util.h"

namespace {

namespace fs = std::filesystem;
using las_test::Curve;
using las_test::ReadText;
using las_test::WriteText;

// The header lines a write keeps as read (all but WRAP and the recomputed or added STRT, STOP,
// STEP and NULL), section by section; ~V, ~W and ~C are written first, so sections are sorted.
std::vector<std::vector<std::string>> KeptHeaderLines(const TLasParser2Parser& parser)
{
    std::vector<std::vector<std::string>> sections;
    for (int s = 0; s < parser.GetSectionCount(); ++s) {
        const TLasParsSection& section = *parser.GetSection(s);
        if (section.GetKind() == kSectionData)
            continue;
        std::vector<std::string> lines{section.GetTitle()};
        for (int i = 0; i < section.GetCount(); ++i) {
            const int code = section.GetLine(i)->GetKind();
            if (code != kLineWrap && (code < kLineStrt || code > kLineNull))
                lines.push_back(section.GetLine(i)->Compose());
        }
        sections.push_back(lines);
    }
    std::sort(sections.begin(), sections.end());
    return sections;
}

TEST(LasWriter, EveryLoadableSampleReadsBackWithItsCurvesValuesAndHeaderLines)
{
    strativ::test::TempDir dir;
    int written = 0;
    for (const auto& entry : fs::recursive_directory_iterator(strativ::test::CorpusDir())) {
        if (entry.path().extension() != ".las")
            continue;
        TLASFile original(entry.path().string(), 2);
        if (!original.IsLoaded())
            continue;
        SCOPED_TRACE(entry.path().string());
        const std::string copy = dir.file("copy" + std::to_string(++written) + ".las");
        ASSERT_TRUE(original.WriteLas(copy));
        TLASFile reread(copy, 2);
        ASSERT_TRUE(reread.IsLoaded()) << reread.GetLoadError();
        ASSERT_EQ(reread.GetCurvesCount(), original.GetCurvesCount());
        ASSERT_EQ(reread.GetPointCount(), original.GetPointCount());
        EXPECT_EQ(reread.GetNullValue(), original.GetNullValue());
        EXPECT_FLOAT_EQ(reread.GetStep(), original.GetStep());
        for (int c = 0; c < original.GetCurvesCount(); ++c) {
            EXPECT_EQ(reread.GetCurveName(c), original.GetCurveName(c));
            EXPECT_EQ(reread.GetCurveUnit(c), original.GetCurveUnit(c));
            EXPECT_EQ(reread.GetCurveDescription(c), original.GetCurveDescription(c));
            EXPECT_EQ(reread.GetCurveDecimals(c), original.GetCurveDecimals(c));
            EXPECT_EQ(Curve(reread, c), Curve(original, c)) << "curve " << c;
        }
        EXPECT_EQ(KeptHeaderLines(reread.GetParser()), KeptHeaderLines(original.GetParser()));
    }
    EXPECT_GT(written, 60);
}

TEST(LasWriter, OemTextSurvivesReadingEditingAndWriting)
{
    strativ::test::TempDir dir;
    const std::string well = AnsiToOemString(" WELL.  Скважина №1 : название");
    const std::string note = AnsiToOemString("Примечание: каротаж");
    WriteText(dir.file("ru.las"), "~V\r\n VERS. 2.0 :\r\n~W\r\n NULL. -999.25 :\r\n" + well +
                                      "\r\n~C\r\n DEPT.M : глубина\r\n" +
                                      AnsiToOemString(" ГК  .мкР/ч : гамма") + "\r\n~O\r\n" +
                                      note + "\r\n~A\r\n1.0 5.5\r\n2.0 6.5\r\n");
    TLASFile document(dir.file("ru.las"), 2);
    ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
    EXPECT_EQ(document.GetCurveName(1), "ГК");
    EXPECT_EQ(document.GetCurveUnit(1), "мкР/ч");
    EXPECT_EQ(OemToAnsi(document.GetParser().GetWellSection().FindLineByCode(kLineWell)->Value()),
              "Скважина №1");
    document.SetCurveDescription(0, "Глубина по стволу");
    ASSERT_TRUE(document.WriteLas(dir.file("out.las")));

    const std::string text = ReadText(dir.file("out.las"));
    EXPECT_NE(text.find(well + "\r\n"), std::string::npos);
    EXPECT_NE(text.find(note + "\r\n"), std::string::npos);
    EXPECT_NE(text.find(AnsiToOemString("Глубина по стволу")), std::string::npos);
    TLASFile reread(dir.file("out.las"), 2);
    EXPECT_EQ(reread.GetCurveDescription(0), "Глубина по стволу");
    EXPECT_EQ(reread.GetCurveUnit(1), "мкР/ч");
}

TEST(LasWriter, NullIsWrittenWithItsOwnTextWhateverTheDecimals)
{
    strativ::test::TempDir dir;
    WriteText(dir.file("n.las"), "~V\n VERS. 2.0 :\n~W\n NULL.  -999.2500 : null\n~C\n"
                                 " DEPT.M :\n A.U :\n B.U :\n~A\n1 7 -999.2500\n2 -999.25 8\n");
    TLASFile document(dir.file("n.las"), 0);
    ASSERT_TRUE(document.IsLoaded());
    EXPECT_EQ(document.GetCurveDecimals(1), 0);
    document.GetCurveData(2)[1] = INFINITY;  // a value no reader could take back
    ASSERT_TRUE(document.WriteLas(dir.file("out.las")));
    const std::string text = ReadText(dir.file("out.las"));
    const std::string data = text.substr(text.find("~A"));
    EXPECT_NE(data.find("           7    -999.2500\r\n"), std::string::npos) << data;
    EXPECT_NE(data.find("   -999.2500    -999.2500\r\n"), std::string::npos) << data;
    EXPECT_EQ(data.find("-999 "), std::string::npos);
}

class LasThinnedWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string text = "~V\n VERS. 2.0 :\n~W\n STRT.M 0 :\n STOP.M 9 :\n STEP.M 1.00 :\n"
                           " NULL. -999.25 :\n~C\n DEPT.M :\n A.U :\n B.U :\n~A\n";
        for (int i = 0; i < 10; ++i)
            text += std::to_string(i) + " " + std::to_string(i * 10) + " " +
                    std::to_string(i * 100) + "\n";
        WriteText(dir_.file("t.las"), text);
        document_ = std::make_unique<TLASFile>(dir_.file("t.las"), 0);
        ASSERT_TRUE(document_->IsLoaded());
    }
    strativ::test::TempDir dir_;
    std::unique_ptr<TLASFile> document_;
};

TEST_F(LasThinnedWriter, WritesEveryKthSampleOfTheClampedRangeOrNothing)
{
    const int b[] = {2};
    const int both[] = {2, 1};
    const int depthToo[] = {0};
    const int outside[] = {3};
    const struct {
        int n;
        const int* curves;
        int k, last, first;
        std::vector<float> depths;  // empty: nothing written
    } cases[] = {
        {1, b, 1, 9, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, {1, b, 3, 9, 0, {0, 3, 6, 9}},
        {1, b, 4, 9, 1, {1, 5, 9}}, {1, b, 4, 9, 0, {0, 4, 8}}, {1, b, 1, 5, 4, {4, 5}},
        {2, both, 0, 100, -5, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {1, b, 1, 4, 4, {}}, {1, b, 5, 5, 3, {}}, {0, b, 1, 9, 0, {}}, {3, both, 1, 9, 0, {}},
        {1, depthToo, 1, 9, 0, {}}, {1, outside, 1, 9, 0, {}}, {1, nullptr, 1, 9, 0, {}},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << index);
        const std::string path = dir_.file("out" + std::to_string(index++) + ".las");
        const bool wrote = document_->WriteLasThinned(c.n, c.curves, 0, c.k, c.last, c.first, path);
        EXPECT_EQ(wrote, !c.depths.empty());
        EXPECT_EQ(fs::exists(path), wrote);
        if (!wrote)
            continue;
        TLASFile thinned(path, 0);
        ASSERT_EQ(thinned.GetCurvesCount(), c.n + 1);
        const std::vector<float> depths = Curve(thinned, 0);
        EXPECT_EQ(depths, c.depths);
        for (int curve = 1; curve <= c.n; ++curve)  // A holds depth x 10, B depth x 100
            for (size_t i = 0; i < depths.size(); ++i)
                EXPECT_EQ(thinned.GetCurveData(curve)[i],
                          depths[i] * (c.curves[curve - 1] == 1 ? 10.0f : 100.0f));
        const TLasParsSection& well = thinned.GetParser().GetWellSection();
        EXPECT_EQ(std::stof(well.FindLineByCode(kLineStrt)->Value()), depths.front());
        EXPECT_EQ(std::stof(well.FindLineByCode(kLineStop)->Value()), depths.back());
        EXPECT_EQ(std::stof(well.FindLineByCode(kLineStep)->Value()), std::max(c.k, 1));
    }
}

TEST_F(LasThinnedWriter, FullWriterAlsoWritesOnePointAndTheDepthAlone)
{
    document_->SetDepthValues(1, document_->GetCurveData(0));
    ASSERT_TRUE(document_->DeleteCurve(2));
    ASSERT_TRUE(document_->DeleteCurve(1));
    ASSERT_TRUE(document_->WriteLas(dir_.file("one.las")));
    TLASFile one(dir_.file("one.las"), 0);
    ASSERT_TRUE(one.IsLoaded()) << one.GetLoadError();
    EXPECT_EQ(one.GetCurvesCount(), 1);
    EXPECT_EQ(one.GetPointCount(), 1);
}

TEST_F(LasThinnedWriter, FailedWriteReturnsFalseAndLeavesTheTargetAsItWas)
{
    EXPECT_FALSE(document_->WriteLas(dir_.file("missing/out.las")));
    // A folder in the target's place cannot be replaced by the file.
    fs::create_directory(dir_.file("taken"));
    WriteText(dir_.file("taken/inside.txt"), "kept");
    EXPECT_FALSE(document_->WriteLas(dir_.file("taken")));
    EXPECT_EQ(ReadText(dir_.file("taken/inside.txt")), "kept");
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(dir_.path()))
        leftovers += entry.path().filename().string().rfind(".strativ", 0) == 0;
    EXPECT_EQ(leftovers, 0);
}

TEST(LasWriterHeader, MissingDepthLinesAreAddedAndAZeroStepStaysZero)
{
    strativ::test::TempDir dir;
    WriteText(dir.file("bare.las"), "~W\n WELL. W-1 : well\n STEP.FT 0 : irregular\n~C\n"
                                    " DEPT.FT :\n~A\n100.25 \n101.5\n103\n");
    TLASFile document(dir.file("bare.las"), 2);
    ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
    ASSERT_TRUE(document.WriteLas(dir.file("out.las")));
    TLASFile reread(dir.file("out.las"), 2);
    ASSERT_TRUE(reread.IsLoaded()) << reread.GetLoadError();
    const TLasParsSection& well = reread.GetParser().GetWellSection();
    EXPECT_STREQ(well.FindLineByCode(kLineStrt)->Value(), "100.25");
    EXPECT_STREQ(well.FindLineByCode(kLineStop)->Value(), "103.00");
    EXPECT_STREQ(well.FindLineByCode(kLineStep)->Value(), "0.00");
    EXPECT_STREQ(well.FindLineByCode(kLineStrt)->Unit(), "FT");
    EXPECT_STREQ(well.FindLineByCode(kLineNull)->Value(), "-999.25");
    EXPECT_STREQ(well.FindLineByCode(kLineWell)->Value(), "W-1");
}

} // namespace
