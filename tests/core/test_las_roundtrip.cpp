// What a load and save keep: value texts (tiny, noisy, exponent), a regular depth grid at any
// depth, one-row documents, the lines before the first section, LAS 1.2 information with colons;
// and what the reader takes: underflow, a DOS end-of-file byte, form feeds.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/LasNumbers.h"
#include "core/Lasfile.h"
#include "tests/core/test_las_util.h"

namespace {

using las_test::Curve;

std::string LasWithData(const std::string& curves, const std::string& rows,
                        const std::string& well = "")
{
    return "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n" + well + " NULL. -999.25 :\n~Curve\n" +
           curves + "~A\n" + rows;
}

// Value texts of the ~A section, row by row.
std::vector<std::vector<std::string>> DataTokens(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text.substr(text.find("\n", text.find("~A")) + 1));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream tokens(line);
        rows.emplace_back();
        for (std::string token; tokens >> token;)
            rows.back().push_back(token);
    }
    return rows;
}

std::string WellValue(const TLASFile& document, int code)
{
    return document.GetParser().GetWellSection().FindLineByCode(code)->Value();
}

class LasRoundTrip : public ::testing::Test {
protected:
    std::string Save(const TLASFile& document) { return files_.Save(document); }
    las_test::LasFiles files_;
};

} // namespace

// Tiny values keep every digit, values come back with the texts they were read with, and a
// computed value the column's decimals cannot hold is written in exponent form.
TEST_F(LasRoundTrip, ValuesComeBackAsTheyWereRead)
{
    const auto document = files_.Load(LasWithData(" DEPT.M :\n A.U :\n B.U :\n",
                                                  "1874.90 1.2345678E-06 0.47260000\n"
                                                  "3615.4340 2.5E-11 -0.5\n"
                                                  "3615.5864 -999.25 12.5\n"));
    ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
    const std::string text = Save(*document);
    const auto rows = DataTokens(text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][0], "1874.90");
    EXPECT_EQ(rows[1][0], "3615.4340");
    EXPECT_EQ(rows[2][0], "3615.5864");
    EXPECT_EQ(rows[0][2], "0.47260000");
    EXPECT_EQ(rows[1][2], "-0.5");
    EXPECT_EQ(rows[2][1], "-999.25");
    const TLASFile reread(files_.Write(text), 2);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(Curve(reread, c), Curve(*document, c)) << c;
    EXPECT_EQ(reread.GetCurveData(1)[1], 2.5e-11f);

    // Computed values in a column of 2 decimals: too small ones in exponent form.
    const std::vector<float> computed{1e-7f, 0.004f, 123456.78f};
    const int added = document->AddCurve("CALC", computed.data());
    EXPECT_EQ(document->GetCurveDecimals(added), 2);
    const auto written = DataTokens(Save(*document));
    EXPECT_EQ((std::vector<std::string>{written[0][3], written[1][3], written[2][3]}),
              (std::vector<std::string>{"1E-07", "4E-03", "123456.78"}));

    // Values moved by one float step are written anew, whatever the texts they were read from:
    // a tie of two floats, more digits than a double holds, plain decimals (the last one rounds
    // to a double on the tie of two floats, though the text lies below it).
    const auto close = files_.Load(LasWithData(" DEPT.M :\n A.U :\n B.U :\n",
                                               "1 16777217 0.1000000000000000055511\n"
                                               "2 -2.5000000 1.00000661611557\n"));
    ASSERT_TRUE(close->IsLoaded()) << close->GetLoadError();
    EXPECT_EQ(DataTokens(Save(*close))[0],
              (std::vector<std::string>{"1", "16777217", "0.1000000000000000055511"}));
    for (int c = 1; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            close->GetCurveData(c)[r] = std::nextafter(close->GetCurveData(c)[r], 1e9f);
    const TLASFile moved(files_.Write(Save(*close)), 2);
    for (int c = 1; c < 3; ++c)
        EXPECT_EQ(Curve(moved, c), Curve(*close, c)) << c;
}

// A regular grid whose depths a float cannot hold is written from STRT + i * STEP, exactly as
// read, whichever way the file runs; an edited depth falls back to the float's own text while
// the others keep theirs.
TEST_F(LasRoundTrip, RegularDepthGridIsWrittenExactly)
{
    for (const bool descending : {false, true}) {
        SCOPED_TRACE(descending);
        std::string rows;
        std::vector<std::string> depths;
        for (long long i = 0; i < 2000; ++i) {
            const long long units = 36000000 + i * 1524;  // 3600.0000 + i * 0.1524
            char depth[32];
            std::snprintf(depth, sizeof depth, "%lld.%04lld", units / 10000, units % 10000);
            depths.push_back(depth);
        }
        if (descending)
            std::reverse(depths.begin(), depths.end());
        for (const std::string& depth : depths)
            rows += depth + " 1.5\n";
        const std::string well = " STRT.M " + depths.front() + " :\n STOP.M " + depths.back() +
                                 " :\n STEP.M " + (descending ? "-0.1524" : "0.1524") + " :\n";
        const std::string input = LasWithData(" DEPT.M :\n A.U :\n", rows, well);
        const auto document = files_.Load(input);
        ASSERT_TRUE(document->IsLoaded());
        const std::string text = Save(*document);
        std::vector<std::string> written;
        for (const auto& row : DataTokens(text))
            written.push_back(row.at(0));
        EXPECT_EQ(written, depths);
        EXPECT_NE(text.find(" STEP.M " + std::string(descending ? "-0.1524" : "0.1524") + " :"),
                  std::string::npos);

        document->GetCurveData(0)[1] += 0.01f;
        const auto edited = DataTokens(Save(*document));
        const TLASFile reread(files_.Write(text), 2);
        EXPECT_EQ(Curve(reread, 0), Curve(*files_.Load(input), 0));
        EXPECT_EQ(edited[descending ? 1998 : 1][0], "3600.1624");
        EXPECT_EQ(edited[descending ? 1997 : 2][0], descending ? depths[1997] : depths[2]);
    }
}

// A file of 8-digit depths whose STRT disagrees with them, with LF or CR LF line ends: a save
// gives it back but for STRT, which takes the first row's text; an edited value rewrites its
// own line only, at its column; without the source file every row is formatted, nothing lost.
TEST_F(LasRoundTrip, UnchangedRowsComeBackAsReadAndChangedOnesKeepTheirColumns)
{
    for (const std::string eol : {"\n", "\r\n"}) {
        SCOPED_TRACE(eol == "\n" ? "LF" : "CR LF");
        const auto file = [&](const std::string& strt, const std::string& row2,
                              const std::string& row0 = "3615.8912  -999.2500     1") {
            return "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n STRT.M " + strt +
                   " : start\n STOP.M 3615.5864 :\n STEP.M -0.1524 :\n NULL. -999.25 :\n"
                   "~Curve\n DEPT.M :\n A.U :\n B.U :\n~A\n" +
                   row0 + "\n3615.7388      .8941  12.5\n" +
                   row2 + "\n";
        };
        const auto withEnds = [&](std::string text) {
            for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += eol.size())
                text.replace(at, 1, eol);
            return text;
        };
        const std::string row2 = "3615.5864  2153.5601 -0.50";
        const std::string path = files_.Write(withEnds(file("3615.0", row2)));
        TLASFile document(path, 2);
        ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
        EXPECT_EQ(Save(document), withEnds(file("3615.8912", row2)));

        // Sample 0 is the last row of the file: its depths run down.
        document.GetCurveData(1)[0] = 7.25f;
        const std::string edited = "3615.5864     7.2500 -0.50";
        EXPECT_EQ(Save(document), withEnds(file("3615.8912", edited)));

        // Saved over its source, the file is where unchanged rows come from next time.
        ASSERT_TRUE(document.WriteLas(path));
        document.GetCurveData(2)[2] = 3.0f;
        EXPECT_EQ(Save(document), withEnds(file("3615.8912", edited, "3615.8912  -999.2500  3.00")));

        std::filesystem::remove(path);
        const std::string formatted = Save(document);
        EXPECT_NE(formatted.find("~A" + eol + "   3615.8912      -999.25         3.00" + eol),
                  std::string::npos);
        const TLASFile reread(files_.Write(formatted), 2);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(Curve(reread, c), Curve(document, c)) << c;
    }
}

// Without the source file each value is the float rounded to its column's decimals: eight
// significant digits as the file had them, and beyond what a float holds zeros, never noise.
TEST_F(LasRoundTrip, FormattedValuesAreTheFloatsRoundedToTheirDecimals)
{
    const std::string path = files_.Write(LasWithData(" DEPT.M :\n A.U :\n B.U :\n C.U :\n",
                                                      "1000.0 3615.8911 136.1000000 12345.6789\n"
                                                      "1000.5 7273.4951 2692.7075000 0.1000\n"));
    TLASFile document(path, 2);
    ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
    std::filesystem::remove(path);
    EXPECT_EQ(DataTokens(Save(document)),
              (std::vector<std::vector<std::string>>{{"1000.0", "3615.8911", "136.1000000", "12345.6790"},
                                                     {"1000.5", "7273.4951", "2692.7075000", "0.1000"}}));

    // Exponent texts count their decimals; a value the decimals that may be written cannot hold
    // is written in exponent form, a subnormal depth too.
    const std::string tiny = files_.Write(LasWithData(" DEPT.M :\n A.U :\n B.U :\n",
                                                      "1e-40 0.12345 9.869233e-16\n"
                                                      "0.5 1.2e-05 4.5e-13\n"));
    TLASFile small(tiny, 2);
    ASSERT_TRUE(small.IsLoaded()) << small.GetLoadError();
    std::filesystem::remove(tiny);
    const std::string saved = Save(small);
    EXPECT_EQ(DataTokens(saved), (std::vector<std::vector<std::string>>{
                                     {"1E-40", "0.123450", "9.869233E-16"},
                                     {"0.50000000000000000000", "0.000012", "0.00000000000045000000"}}));
    const TLASFile reread(files_.Write(saved), 2);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(Curve(reread, c), Curve(small, c)) << c;
}

// Below the float range a number reads as the nearest float; beyond it, or not a number, the
// file is refused with the line.
TEST_F(LasRoundTrip, UnderflowReadsAsTheNearestFloat)
{
    const auto document = files_.Load(
        LasWithData(" DEPT.M :\n A.U :\n", "1 1e-50\n2 -1e-50\n3 1e-40\n4 1e-400\n5 3e38\n"));
    ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
    EXPECT_EQ(Curve(*document, 1), (std::vector<float>{0.0f, -0.0f, 1e-40f, 0.0f, 3e38f}));
    EXPECT_TRUE(std::signbit(document->GetCurveData(1)[1]));
    const TLASFile reread(files_.Write(Save(*document)), 2);
    EXPECT_EQ(Curve(reread, 1), Curve(*document, 1));

    for (const char* bad : {"1e39", "-4e38", "1e400", "1x"}) {
        const auto refused = files_.Load(LasWithData(" DEPT.M :\n A.U :\n", "1 2\n2 " + std::string(bad) + "\n"));
        EXPECT_EQ(refused->GetLoadError(),
                  "Некорректное значение в строке 11 файла: '" + std::string(bad) + "'");
    }
}

TEST_F(LasRoundTrip, OneRowDocumentIsSavedByBothWriters)
{
    const auto document =
        files_.Load(LasWithData(" DEPT.M :\n A.U :\n", "1500.25 7.5\n", " STEP.M 0.25 :\n"));
    ASSERT_EQ(document->GetPointCount(), 1);
    const int curves[] = {1};
    const std::string path = files_.Path("one.las");
    ASSERT_TRUE(document->WriteLasThinned(1, curves, 0, 1, 0, 0, path));
    const TLASFile thinned(path, 2);
    EXPECT_EQ(Curve(thinned, 1), std::vector<float>{7.5f});
    EXPECT_EQ(WellValue(thinned, kLineStrt), "1500.25");
    EXPECT_EQ(WellValue(thinned, kLineStop), "1500.25");
    EXPECT_EQ(DataTokens(Save(*document)), (std::vector<std::vector<std::string>>{{"1500.25", "7.5"}}));
}

// Comments before the first section come back first, byte for byte; a 1.2 information line
// takes everything after the first colon that follows the unit.
TEST_F(LasRoundTrip, PreambleAndLas12InformationWithColonsAreKept)
{
    const std::string preamble = "# LAS format log file from PETREL\r\n"
                                 "# 03/04/1999 Updated by: J. Smith\r\n"
                                 "#-----\r\n"
                                 "\r\n";
    const std::string header = "~VERSION INFORMATION\r\n"
                               " VERS.   1.2:   CWLS LOG ASCII STANDARD -VERSION 1.2\r\n"
                               " WRAP.   NO:   ONE LINE PER DEPTH STEP\r\n"
                               "~WELL INFORMATION\r\n"
                               " STRT.M   10.0:\r\n"
                               " STOP.M   10.5:\r\n"
                               " STEP.M   0.5:\r\n"
                               " NULL.    -999.25:\r\n"
                               " DATE.   LOG DATE:  25-DEC-1988 14:30\r\n"
                               " SRVC.   SERVICE COMPANY:  ANY LOGGING CO: UNIT 7\r\n"
                               " WELL.   WELL:  A-1\r\n"
                               "~CURVE INFORMATION\r\n"
                               " DEPT.M   :  DEPTH\r\n"
                               " GR  .API :  GAMMA\r\n"
                               "~A  DEPTH  GR\r\n";
    const auto document = files_.Load(preamble + header + "10.0 1.0\r\n10.5 2.0\r\n");
    ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
    EXPECT_EQ(document->GetParser().GetPreamble().size(), 4u);
    const TLasParsSection& well = document->GetParser().GetWellSection();
    EXPECT_STREQ(well.FindLineByCode(kLineDate)->Value(), "25-DEC-1988 14:30");
    EXPECT_STREQ(well.FindLineByCode(kLineDate)->Description(), "LOG DATE");
    EXPECT_STREQ(well.FindLineByCode(kLineSrvc)->Value(), "ANY LOGGING CO: UNIT 7");
    EXPECT_STREQ(well.FindLineByCode(kLineWell)->Value(), "A-1");

    const std::string text = Save(*document);
    EXPECT_EQ(text.substr(0, preamble.size() + header.size()), preamble + header);

    // An edited value keeps the layout; the text after the first colon is the value.
    document->GetParser().GetWellSection().FindLineByCode(kLineSrvc)->SetField(
        TLasParsParsedString::kValue, "OTHER CO: UNIT 9");
    const TLASFile reread(files_.Write(Save(*document)), 2);
    EXPECT_STREQ(reread.GetParser().GetWellSection().FindLineByCode(kLineSrvc)->Value(),
                 "OTHER CO: UNIT 9");
}

// Blank header lines and repeated section titles come back as read; a renamed curve keeps the
// blanks of its description and is renamed in a ~A title that lists the curves as read.
TEST_F(LasRoundTrip, HeaderLinesComeBackAsReadAndRenamesReachTheDataTitle)
{
    const auto file = [](const std::string& depth, const std::string& gamma, const std::string& title) {
        return "~Version\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n\r\n~Well\r\n STRT.M 1 :\r\n STOP.M 2 :\r\n"
               " STEP.M 1 :\r\n NULL. -999.25 :\r\n \t \r\n"
               "~Curve\r\n" + depth + "\r\n\r\n" + gamma + "\r\n\r\n"
               "~Parameter\r\n BHT.DEGC 35 : t\r\n~Other\r\nnote one\r\n\r\n"
               "~Parameter\r\n MDT.DEGC 36 : u\r\n~Other\r\nnote two\r\n" + title + "\r\n1 10\r\n2 20\r\n";
    };
    const std::string depth = " DEPT.M      :  depth  ";
    const std::string gamma = " GR  .API    :  gamma ray  ";
    const std::string gk = " GK  .API    :  gamma ray  ";
    const struct {
        std::string title;
        int curve;
        std::string name, depth, gamma, savedTitle;
    } cases[] = {
        {"~A  DEPT  GR", 1, "GR", depth, gamma, "~A  DEPT  GR"},
        {"~A  DEPT  GR", 1, "GK", depth, gk, "~A  DEPT  GK"},
        {"~A  DEPT  GR  ", 0, "MD", " MD  .M      :  depth  ", gamma, "~A  MD    GR  "},
        {"~ASCII Log Data", 1, "GK", depth, gk, "~ASCII Log Data"},
        {"~A  DEPTH  GR", 1, "GK", depth, gk, "~A  DEPTH  GK"},
        {"~A  DEPTH  GR", 0, "MD", " MD  .M      :  depth  ", gamma, "~A  MD     GR"},
        {"~A  DEPTH  GR  X", 1, "GK", depth, gk, "~A  DEPTH  GR  X"},
        {"~A  DEPTH  GAMMA", 1, "GK", depth, gk, "~A  DEPTH  GAMMA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title + " " + c.name);
        const auto document = files_.Load(file(depth, gamma, c.title));
        ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
        ASSERT_TRUE(document->SetCurveName(c.curve, c.name));
        EXPECT_EQ(Save(*document), file(c.depth, c.gamma, c.savedTitle));
    }
}

// The ~A title names the columns written, in their order, each where the title had a name.
TEST_F(LasRoundTrip, DataTitleNamesTheColumnsWritten)
{
    const auto title = [](const std::string& text) {
        const size_t begin = text.find("~A");
        return text.substr(begin, text.find('\n', begin) - begin);
    };
    std::string input = LasWithData(" DEPT.M :\n DT.US/M :\n RHOB.K/M3 :\n NPHI.V/V :\n", "1 2 3 4\n2 3 4 5\n");
    input.replace(input.find("~A"), 2, "~A  DEPTH     DT       RHOB     NPHI");
    const int reordered[] = {3, 1};
    const struct {
        std::function<void(TLASFile&)> change;
        std::string saved;
    } cases[] = {
        {[](TLASFile& d) { d.DeleteCurve(3); }, "~A  DEPTH     DT       RHOB"},
        {[](TLASFile& d) { d.DeleteCurve(1); }, "~A  DEPTH     RHOB     NPHI"},
        {[](TLASFile& d) { d.AddCurve("GR", nullptr); }, "~A  DEPTH     DT       RHOB     NPHI     GR"},
        {[](TLASFile& d) { d.SetCurveName(2, "DEN"); }, "~A  DEPTH     DT       DEN      NPHI"},
        {[](TLASFile& d) { d.SetCurveName(2, "DENSITY"); }, "~A  DEPTH     DT       DENSITY  NPHI"},
    };
    for (const auto& c : cases) {
        const auto document = files_.Load(input);
        c.change(*document);
        EXPECT_EQ(title(Save(*document)), c.saved);
    }
    const auto document = files_.Load(input);
    ASSERT_TRUE(document->WriteLasThinned(2, reordered, 0, 1, 1, 0, files_.Path("thinned.las")));
    EXPECT_EQ(title(las_test::ReadFileBytes(files_.Path("thinned.las"))), "~A  DEPTH     NPHI     DT");

    // sample.las loaded without NPHI.
    STRATIV_REQUIRE_CORPUS();
    TLASFile sample(strativ::test::CorpusDir() + "/sample.las", 2);
    ASSERT_TRUE(sample.DeleteCurve(3));
    EXPECT_EQ(title(Save(sample)), "~A  DEPTH     DT       RHOB     SFLU     SFLA     ILM       ILD");
}

// A ~A title of one word per curve as read names the columns written with its words, whatever
// they are (a depth word first, or a mnemonic among them): a dropped curve's word goes, an added curve's mnemonic follows, a word that was the
// mnemonic follows a rename. Any other title gives way to the mnemonics once the columns differ
// from the curves read.
TEST_F(LasRoundTrip, DataTitleWordsFollowTheirColumns)
{
    const auto file = [](const std::string& title, bool upward) {
        std::string text = LasWithData(" DEPT.M :\n DPHI.V/V :\n NPHI.V/V :\n GR.API :\n",
                                       upward ? "2 3 4 5\n1 2 3 4\n" : "1 2 3 4\n2 3 4 5\n");
        return text.replace(text.find("~A"), 2, title);
    };
    const std::string words = "~A  DEPTH  PHID  PHIN  GR";
    const struct {
        std::string title;
        bool upward;
        std::function<void(TLASFile&)> change;
        std::vector<int> written;  // empty: the whole document
        std::string saved;
    } cases[] = {
        {words, false, [](TLASFile& d) { d.DeleteCurve(1); }, {}, "~A  DEPTH  PHIN  GR"},
        {words, true, [](TLASFile& d) { d.DeleteCurve(2); }, {}, "~A  DEPTH  PHID  GR"},
        {words, false, [](TLASFile& d) { d.AddCurve("NEWC", nullptr); }, {}, "~A  DEPTH  PHID  PHIN  GR  NEWC"},
        {words, false, [](TLASFile& d) { d.DeleteCurve(1); d.AddCurve("NEWC", nullptr); }, {},
         "~A  DEPTH  PHIN  GR    NEWC"},
        {words, false, [](TLASFile& d) { d.SetCurveName(2, "NEU"); d.SetCurveName(3, "GK"); }, {},
         "~A  DEPTH  PHID  PHIN  GK"},
        {words, false, [](TLASFile& d) { d.DeleteCurve(2); d.WriteLas(d.GetFileName()); }, {}, "~A  DEPTH  PHID  GR"},
        {words, false, [](TLASFile&) {}, {3, 1}, "~A  DEPTH  GR    PHID"},
        {words, false, [](TLASFile&) {}, {2}, "~A  DEPTH  PHIN"},
        {"~A  Log data", false, [](TLASFile& d) { d.DeleteCurve(1); }, {}, "~A DEPT NPHI GR"},
        {"~ASCII Log Data Of Well", false, [](TLASFile& d) { d.DeleteCurve(1); }, {}, "~A DEPT NPHI GR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        const auto document = files_.Load(file(c.title, c.upward));
        c.change(*document);
        std::string saved;
        if (c.written.empty()) {
            saved = Save(*document);
        } else {
            const int last = document->GetPointCount() - 1;
            ASSERT_TRUE(document->WriteLasThinned(static_cast<int>(c.written.size()), c.written.data(), 0, 1, last,
                                                  0, files_.Path("thinned.las")));
            saved = las_test::ReadFileBytes(files_.Path("thinned.las"));
        }
        const size_t title = saved.find("~A");
        EXPECT_EQ(saved.substr(title, saved.find('\n', title) - title), c.saved);
    }
}

// Header lines the rows do not contradict come back as read: a STEP whose sign disagrees with
// the order of the rows, a second STEP, an unreadable STEP, an odd WRAP, a repeated section
// title, and a ~W without NULL, which gets none.
TEST_F(LasRoundTrip, UnchangedSaveGivesEveryHeaderLineBack)
{
    const auto file = [](const std::string& wrap, const std::string& well, bool upward) {
        return "~Version\n VERS. 2.0 :\n WRAP. " + wrap + " :\n~Well\n" +
               (upward ? " STRT.M 1.2 :\n STOP.M 1.0 :\n" : " STRT.M 1.0 :\n STOP.M 1.2 :\n") + well +
               "~Curve\n DEPT.M :\n A.U :\n~A\n" + (upward ? "1.2 7\n1.1 6\n1.0 5\n" : "1.0 5\n1.1 6\n1.2 7\n");
    };
    const std::string null = " NULL. -999.25 :\n";
    for (const std::string& input : {
             file("NO", " STEP.M 0.1 :\n" + null, true),
             file("NO", " STEP.M -0.1 :\n" + null, false),
             file("NO", " STEP.M 0.1 :\n STEP.M 0.2 :\n" + null, false),
             file("NO", " STEP.M 1.0x :\n" + null, false),
             file("NO%", " STEP.M 0.1 :\n" + null, false),
             file("NO", "~WELL INFORMATION\n STEP.M 0.1 :\n" + null, false),
             file("NO", " STEP.M 0.1 :\n", true),
         }) {
        SCOPED_TRACE(input);
        EXPECT_EQ(Save(*files_.Load(input)), input);
    }
}

// A DOS end-of-file byte ends the text wherever it stands; a form feed in ~A is a blank; other
// control bytes are refused and shown by their code.
TEST_F(LasRoundTrip, DosEndOfFileAndFormFeed)
{
    const std::string base = LasWithData(" DEPT.M :\n A.U :\n", "1 10\n2\f20\n\f\n3 30\n");
    for (const std::string& tail : {std::string("\x1A"), std::string("\x1A\x1A\x1A"),
                                    std::string("4 40\x1Ajunk \x01\x02\n")}) {
        const auto document = files_.Load(base + tail);
        ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
        EXPECT_EQ(Curve(*document, 1).size(), tail.size() > 3 ? 4u : 3u);
        EXPECT_EQ(Curve(*document, 1)[1], 20.0f);
    }
    const auto header = files_.Load(LasWithData(" DEPT.M :\n\x1A", "1 10\n"));
    EXPECT_EQ(header->GetLoadError(), "В строке 8 файла стоит символ конца файла DOS (0x1A): текст после него не "
                                      "загружен, секции ~A до него нет");
    EXPECT_EQ(files_.Load(base + "4 4\x07\n")->GetLoadError(),
              "Некорректное значение в строке 14 файла: '4\\x07'");
}

// Texts a ~C line cannot hold are refused by the setters and AddCurve, with the reason from the
// one check; accepted texts save and reload as set.
TEST_F(LasRoundTrip, CurveTextsTheLineCannotHoldAreRefused)
{
    const auto document = files_.Load(LasWithData(" DEPT.M :\n A.U : first\n", "1 2\n"));
    ASSERT_TRUE(document->IsLoaded());
    const struct {
        int field;
        const char* text;
        bool accepted;
    } cases[] = {
        {TLasParsParsedString::kMnemonic, "A.B", false},  {TLasParsParsedString::kMnemonic, "A:B", false},
        {TLasParsParsedString::kMnemonic, "A B", false},  {TLasParsParsedString::kMnemonic, "A\nB", false},
        {TLasParsParsedString::kMnemonic, " ", false},    {TLasParsParsedString::kMnemonic, "ГК_2", true},
        {TLasParsParsedString::kUnit, "m s", false},      {TLasParsParsedString::kUnit, "m:s", false},
        {TLasParsParsedString::kUnit, "m\r", false},      {TLasParsParsedString::kUnit, "g/cm3", true},
        {TLasParsParsedString::kDescription, "ratio: 1:2", false},
        {TLasParsParsedString::kDescription, "a\nb", false},
        {TLasParsParsedString::kDescription, "ratio 1.5, m s", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(document->CheckCurveText(c.field, c.text).empty(), c.accepted);
        const auto set = c.field == TLasParsParsedString::kMnemonic ? &TLASFile::SetCurveName
                         : c.field == TLasParsParsedString::kUnit   ? &TLASFile::SetCurveUnit
                                                                    : &TLASFile::SetCurveDescription;
        const auto get = c.field == TLasParsParsedString::kMnemonic ? &TLASFile::GetCurveName
                         : c.field == TLasParsParsedString::kUnit   ? &TLASFile::GetCurveUnit
                                                                    : &TLASFile::GetCurveDescription;
        const std::string before = ((*document).*get)(1);
        EXPECT_EQ(((*document).*set)(1, c.text), c.accepted);
        const TLASFile reread(files_.Write(Save(*document)), 2);
        EXPECT_EQ((reread.*get)(1), c.accepted ? std::string(c.text) : before);
        EXPECT_EQ(reread.GetCurvesCount(), 2);
    }
    EXPECT_EQ(document->AddCurve("X.Y", nullptr), -1);
    EXPECT_EQ(document->GetCurvesCount(), 2);
    // A CP866 file cannot hold a character outside its code page; nothing is written as '?'.
    EXPECT_EQ(document->CheckCurveText(TLasParsParsedString::kDescription, "€"),
              "Символ '€' нельзя записать в кодировке файла");
    EXPECT_FALSE(document->SetCurveDescription(1, "цена €"));
}

// Header texts are read and written in the file's own encoding; unmodified lines keep their bytes.
TEST_F(LasRoundTrip, HeaderTextsStayInTheFilesEncoding)
{
    const std::string utf8 = LasWithData(" DEPT.M :\n GR.API : Пласт Völkersen\n", "1 2\n",
                                         " WELL. Скв-1 : WELL\n");
    const std::string cp1251 = LasWithData(" DEPT.M :\n GR.API : \xCF\xEB\xE0\xF1\xF2 \xE3\xEB\xE8\xED\xE8\xF1\xF2\xFB\xE9\n",
                                           "1 2\n");
    for (const auto& [text, description] :
         {std::pair{utf8, std::string("Пласт Völkersen")}, std::pair{cp1251, std::string("Пласт глинистый")},
          std::pair{"\xEF\xBB\xBF" + cp1251, std::string("Пласт глинистый")}}) {
        const auto document = files_.Load(text);
        ASSERT_TRUE(document->IsLoaded());
        EXPECT_EQ(document->GetCurveDescription(1), description);
        ASSERT_TRUE(document->SetCurveName(1, "ГК"));
        const std::string saved = Save(*document);
        const size_t from = text.find("GR.API : ") + 9;
        EXPECT_NE(saved.find(text.substr(from, text.find('\n', from) - from)), std::string::npos);
        const TLASFile reread(files_.Write(saved), 2);
        EXPECT_EQ(reread.GetCurveName(1), "ГК");
        EXPECT_EQ(reread.GetCurveDescription(1), description);
    }
}

// A small file of many one-line curves and many one-value rows would need far more memory than
// any machine has: it is refused before anything is allocated.
TEST_F(LasRoundTrip, FileAskingForMoreMemoryThanTheMachineHasIsRefused)
{
    std::string text = "~V\n VERS. 2.0 :\n WRAP. NO :\n~C\n";
    for (int c = 0; c < 20000; ++c)
        text += "C" + std::to_string(c) + ".:\n";
    text += "~A\n";
    for (int r = 0; r < 2000000; ++r)
        text += "1\n";  // 20,000 curves x 2,000,000 rows: 160 GB of floats
    const auto document = files_.Load(text);
    EXPECT_FALSE(document->IsLoaded());
    EXPECT_EQ(document->GetLoadError().rfind("Недостаточно памяти для загрузки файла (нужно ", 0), 0u)
        << document->GetLoadError();
    EXPECT_EQ(document->GetCurvesCount(), 0);
}
