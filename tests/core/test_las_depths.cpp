// Depths after a change of the depth column, as saved: shifts, added rows and a new grid written
// as the decimals asked for, shifts the depths cannot hold refused, a shift taken back or undone
// giving the file back; depth lines that keep their text, and the sections a save adds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/Lasfile.h"
#include "core/data_dump_restore.h"
#include "tests/core/test_las_util.h"

namespace {

using Texts = std::vector<std::string>;

// n depths from `first` by `step` in units of 10^-decimals, as texts in file order.
Texts Depths(long long first, long long step, int n, int decimals)
{
    Texts texts;
    for (long long i = 0, scale = std::stoll("1" + std::string(decimals, '0')); i < n; ++i) {
        const long long units = first + i * step;
        const std::string fraction = std::to_string(units % scale);
        texts.push_back(std::to_string(units / scale) +
                        (decimals ? "." + std::string(decimals - fraction.size(), '0') + fraction : ""));
    }
    return texts;
}

std::string Log(const Texts& depths, const std::string& step, const std::string& eol = "\n")
{
    std::string text = "~Version" + eol + " VERS. 2.0 :" + eol + " WRAP. NO :" + eol + "~Well" + eol +
                       " STRT.M " + depths.front() + " : START DEPTH" + eol + " STOP.M " + depths.back() +
                       " :STOP DEPTH\n STEP.M " + step + " :" + eol + " NULL. -999.25 :" + eol + "~Curve" +
                       eol + " DEPT.M :" + eol + " A.U :" + eol + "~A" + eol;
    for (const std::string& depth : depths)
        text += depth + " 1.5" + eol;
    return text;
}

// Uneven depths of 16 and of 17 digits, no float and no double of which gives them back.
const Texts uneven16 = {"934309.5000000615", "934309.7123456789", "934310.0000000003", "934315.9999999999",
                        "934400.1234567891"};
const Texts uneven17Up = {"934400.12345678912", "934315.99999999999", "934310.00000000003", "934309.71234567891",
                          "934309.50000000615"};

class LasDepths : public ::testing::Test {
protected:
    std::string Save(const TLASFile& document) { return files_.Save(document); }
    // The depth texts of a saved file, and its ~W values.
    static Texts Column(const std::string& text)
    {
        Texts depths;
        for (size_t at = text.find('\n', text.find("~A")); text.find_first_not_of(" \r\n", at) != std::string::npos;
             at = text.find('\n', at + 1)) {
            const size_t begin = text.find_first_not_of(' ', at + 1);
            depths.push_back(text.substr(begin, text.find(' ', begin) - begin));
        }
        return depths;
    }
    las_test::LasFiles files_;
};

} // namespace

// Every depth written is the decimal asked for, with the decimals it needs, STRT and STOP its
// first and last rows and STEP the grid's, on upward logs and downward ones.
TEST_F(LasDepths, ChangedDepthsAreWrittenAsTheDecimalsAskedFor)
{
    const Texts upward = Depths(120650, -5, 400, 1);  // 12065.0 .. 11865.5 by -0.5
    const Texts deep = Depths(36000000, 1524, 3000, 4);  // 3600.0000 by 0.1524
    const Texts six = {"8.100000", "16.575000", "17.175000", "18.450000", "31.000000"};
    // Uneven depths a float does not tell from their neighbours (3876.7023 and 3876.7024 are one
    // float) after one it does, in a downward and an upward file.
    const Texts uneven = {"512.1234", "2153.8601", "3876.7023", "3876.8547", "3877.0101", "12345.6789"};
    const Texts unevenUp(uneven.rbegin(), uneven.rend());
    // An 8-digit grid broken in its last row.
    Texts broken = deep;
    broken.back() = "4057.1111";
    Texts brokenShifted = Depths(36001000, 1524, 3000, 4);
    brokenShifted.back() = "4057.2111";
    // The USGS layout: six digits whatever the depth (0.900000, 1.00000 ... 1000.00), past 1000.
    Texts usgs;
    for (const std::string& depth : Depths(9, 1, 12000, 1)) {
        char text[16];
        std::snprintf(text, sizeof text, "%#.6g", std::stod(depth));
        usgs.push_back(text);
    }
    const Texts usgsUp(usgs.rbegin(), usgs.rend());
    const struct {
        const char* name;
        std::string input;
        std::function<void(TLASFile&)> change;
        Texts expected;
        std::string step;
    } cases[] = {
        {"upward by 0.25", Log(upward, "-0.5"), [](TLASFile& d) { d.ShiftDepth(0.25); },
         Depths(1206525, -50, 400, 2), "-0.5"},
        {"upward by its step", Log(upward, "-0.5"), [](TLASFile& d) { d.ShiftDepth(-0.5f); },
         Depths(120645, -5, 400, 1), "-0.5"},
        {"by a finer step", Log(upward, "-0.5"), [](TLASFile& d) { d.ShiftDepth(0.125f); },
         Depths(12065125, -500, 400, 3), "-0.5"},
        {"16 digits upward by 0.1", Log(Depths(9343095000000615, -1000000000, 3000, 10), "-0.1"),
         [](TLASFile& d) { d.ShiftDepth(0.1); }, Depths(9343096000000615, -1000000000, 3000, 10), "-0.1"},
        {"16 digits upward grown at the top", Log(Depths(9343095000000615, -1000000000, 3000, 10), "-0.1"),
         [](TLASFile& d) { d.ShiftCurveExtending(1, -2); }, Depths(9343095000000615, -1000000000, 3002, 10), "-0.1"},
        {"16 digits by 0.1", Log(Depths(9343095000000615, 1000000000, 3000, 10), "0.1"),
         [](TLASFile& d) { d.ShiftDepth(0.1); }, Depths(9343096000000615, 1000000000, 3000, 10), "0.1"},
        {"uneven 16 digits by 0.1", Log(uneven16, "0"), [](TLASFile& d) { d.ShiftDepth(0.1); },
         {"934309.6000000615", "934309.8123456789", "934310.1000000003", "934316.0999999999", "934400.2234567891"},
         "0"},
        {"uneven 17 digits upward by 0.1", Log(uneven17Up, "0"), [](TLASFile& d) { d.ShiftDepth(0.1); },
         {"934400.22345678912", "934316.09999999999", "934310.10000000003", "934309.81234567891",
          "934309.60000000615"},
         "0"},
        {"6 decimals by 0.1", Log(six, "0"), [](TLASFile& d) { d.ShiftDepth(0.1); },
         {"8.200000", "16.675000", "17.275000", "18.550000", "31.100000"}, "0"},
        {"uneven 8 digits by 0.1", Log(uneven, "0"), [](TLASFile& d) { d.ShiftDepth(0.1); },
         {"512.2234", "2153.9601", "3876.8023", "3876.9547", "3877.1101", "12345.7789"}, "0"},
        {"uneven 8 digits upward by -1", Log(unevenUp, "0"), [](TLASFile& d) { d.ShiftDepth(-1.0); },
         {"12344.6789", "3876.0101", "3875.8547", "3875.7023", "2152.8601", "511.1234"}, "0"},
        {"8-digit grid broken at the end by 0.1", Log(broken, "0"), [](TLASFile& d) { d.ShiftDepth(0.1); },
         brokenShifted, "0"},
        {"USGS layout by 0.1", Log(usgs, "0.1"), [](TLASFile& d) { d.ShiftDepth(0.1); },
         Depths(1000000, 100000, 12000, 6), "0.1"},
        {"USGS layout upward by -0.1", Log(usgsUp, "-0.1"), [](TLASFile& d) { d.ShiftDepth(-0.1); },
         Depths(1200800000 - 100000, -100000, 12000, 6), "-0.1"},
        {"8 digits grown at the top", Log(deep, "0.1524"), [](TLASFile& d) { d.ShiftCurveExtending(1, -2); },
         Depths(35996952, 1524, 3002, 4), "0.1524"},
        {"8 digits re-stamped", Log(upward, "-0.5"),
         [](TLASFile& d) {
             d.SetDepthDecimals(4);
             d.SetDepthGrid(1000, 0.1524);
             d.SetStep(0.1524f);
         },
         Depths(10000000 + 399 * 1524, -1524, 400, 4), "-0.1524"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto document = files_.Load(c.input);
        ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
        c.change(*document);
        const std::string saved = Save(*document);
        EXPECT_EQ(Column(saved), c.expected);
        EXPECT_NE(saved.find(" STRT.M " + c.expected.front() + " :"), std::string::npos);
        EXPECT_NE(saved.find(" STOP.M " + c.expected.back() + " :STOP DEPTH\n"), std::string::npos);
        EXPECT_NE(saved.find(" STEP.M " + c.step + " :"), std::string::npos);
        const TLASFile reread(files_.Write(saved), 2);
        EXPECT_EQ(las_test::Curve(reread, 0), las_test::Curve(*files_.Load(Log(c.expected, c.step)), 0));
    }
}

// A shift that would merge rows or give depths no file can hold is refused with the reason,
// the document as it was.
TEST_F(LasDepths, ShiftsTheDepthsCannotHoldAreRefusedChangingNothing)
{
    const std::string input = Log(Depths(19160000, 125, 50, 3), "0.125");
    const auto document = files_.Load(input);
    const std::pair<double, const char*> cases[] = {
        {1e38, "невозможен: глубина 1e+38 с 3 знаками после точки займет 42 значащих цифр"},
        {1e39, "слишком велик"},
        {100000000, "слишком велик: глубины 100019160 и 100019160.125 соседних строк станут одинаковыми"},
        {999999999, "станут одинаковыми"},
        {1e-25, "задан слишком точно"},
        {0.0001, "меньше точности хранимых глубин: глубина 19160 не изменится"},
        {1e-11, "Сдвиг 1e-11 выходит за последний знак глубин файла (0.001): с 11 знаками после точки глубины "
                "займут 16 значащих цифр, а записать можно не более 15"},
    };
    for (const auto& [shift, reason] : cases) {
        SCOPED_TRACE(shift);
        EXPECT_NE(document->DepthShiftProblem(shift).find(reason), std::string::npos)
            << document->DepthShiftProblem(shift);
        EXPECT_THROW(document->ShiftDepth(shift), std::runtime_error);
        EXPECT_EQ(Save(*document), input);
    }
}

// Uneven depths of eight digits are shown and written as the file has them, with the file gone
// too, where a float would give a neighbour (3876.7024, 2153.86).
TEST_F(LasDepths, UnevenDepthsAreShownAndWrittenAsRead)
{
    const Texts uneven = {"2153.8601", "3876.7023", "3876.8547", "3877.0101", "12345.6789"};
    const std::string path = files_.Write(Log(uneven, "0"));
    const TLASFile document(path, 2);
    ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
    for (size_t i = 0; i < uneven.size(); ++i)
        EXPECT_EQ(document.DepthAt(static_cast<long long>(i)), std::stod(uneven[i])) << uneven[i];
    ASSERT_TRUE(std::filesystem::remove(path));
    EXPECT_EQ(Column(Save(document)), uneven);
}

// A shift and its opposite, or a shift undone, give the file back byte for byte; redone, the
// shifted file again.
TEST_F(LasDepths, AShiftTakenBackOrUndoneGivesTheFileBack)
{
    Texts upward = Depths(36000000, 1524, 6701, 4);
    std::reverse(upward.begin(), upward.end());
    const std::string input = Log(upward, "-0.1524", "\r\n");
    const auto document = files_.Load(input);
    document->ShiftDepth(1000000);
    EXPECT_EQ(Column(Save(*document)).back(), "1003600.0000");
    document->ShiftDepth(-1000000);
    EXPECT_EQ(Save(*document), input);

    // A time index in epoch seconds, whose rows share floats as read.
    const std::string seconds = Log({"1700000003.0", "1700000002.0", "1700000001.0", "1700000000.0"}, "-1.0");
    const auto times = files_.Load(seconds);
    times->ShiftDepth(190);
    EXPECT_EQ(Column(Save(*times)).front(), "1700000193.0");
    EXPECT_EQ(times->DepthShiftProblem(-190), "");
    times->ShiftDepth(-190);
    EXPECT_EQ(Save(*times), seconds);

    // Depths of 16 digits, as many as the file holds, come back.
    const std::string wide = Log(Depths(999995000000000, 10000000000, 3, 10), "1.0000000000");
    const auto deep = files_.Load(wide);
    deep->ShiftDepth(-2);
    deep->ShiftDepth(2);
    EXPECT_EQ(Save(*deep), wide);
    EXPECT_EQ(deep->DepthShiftProblem(1000000), "Сдвиг 1000000 невозможен: глубина 1099999.5 с 10 знаками после "
                                                "точки займет 17 значащих цифр, а записать можно не более 16");
    for (const std::string& exact : {Log(Depths(9343095000000615, -1000000000, 3000, 10), "-0.1"),
                                     Log(uneven16, "0"), Log(uneven17Up, "0")}) {
        const auto shifted = files_.Load(exact);
        shifted->ShiftDepth(0.1);
        const auto reread = files_.Load(Save(*shifted));
        reread->ShiftDepth(-0.1);
        EXPECT_EQ(Save(*reread), exact);
    }

    DumpRestoreCurveData undo;
    undo.SetLasFile(document.get());
    undo.Dump("'Сдвиг всех кривых по глубине'");
    document->ShiftDepth(0.25);
    const std::string shifted = Save(*document);
    ASSERT_TRUE(undo.Undo());
    EXPECT_EQ(Save(*document), input);
    ASSERT_TRUE(undo.Redo());
    EXPECT_EQ(Save(*document), shifted);
}

// STRT that agrees with the first row in value stays as read; a rewritten line keeps the text
// around its number and its own line end. Sections a file lacks come where LAS 2.0 puts them,
// STEP the step of the rows.
TEST_F(LasDepths, DepthLinesKeepTheirTextAndAddedSectionsComeInOrder)
{
    std::string input = Log({"+100.0", "100.5", "101.0"}, "0.5", "\r\n");
    input.replace(input.find(" STRT.M +100.0"), 14, " STRT.M 100.0");
    const auto document = files_.Load(input);
    EXPECT_EQ(Save(*document), input);
    document->ShiftDepth(0.25);
    EXPECT_NE(Save(*document).find(" STRT.M 100.25 : START DEPTH\r\n STOP.M 101.25 :STOP DEPTH\n"),
              std::string::npos);

    const std::string rows = "~Curve\n DEPT.M :\n A.U :\n~A\n10.250 1\n10.125 2\n10.000 3\n";
    for (const std::string& lacking : {"~Version\n VERS. 2.0 :\n WRAP. NO :\n" + rows,
                                       "~Well\n NULL. -999.25 :\n" + rows}) {
        const std::string saved = Save(*files_.Load(lacking));
        const TLASFile reread(files_.Write(saved), 2);
        std::string kinds;
        for (int s = 0; s < reread.GetParser().GetSectionCount(); ++s)
            kinds += std::to_string(reread.GetParser().GetSection(s)->GetKind());
        EXPECT_EQ(kinds, "1236") << saved;
        EXPECT_NE(saved.find("STEP    .M          -0.125 :"), std::string::npos) << saved;
        EXPECT_EQ(las_test::Curve(reread, 0), (std::vector<float>{10, 10.125f, 10.25f}));
    }
}

// A depth is shown, shifted and written as the decimal the file, a typed depth or a re-stamp gave
// it, where its float stands for a neighbour too: a grid the floats alone agree with does not
// replace it, and a save does not keep the text of a depth whose float did not move.
TEST_F(LasDepths, DepthsAreTheDecimalsReadTypedOrReStamped)
{
    const auto reversed = [](Texts texts) {
        std::reverse(texts.begin(), texts.end());
        return texts;
    };
    const auto typed = [](TLASFile& d) {
        std::vector<double> depths;
        for (int i = 0; i < d.GetPointCount(); ++i)
            depths.push_back(d.DepthAt(i));
        depths[2] = 3600.3047;
        d.SetDepths(depths);
    };
    // Typed at both ends with fewer decimals than the column's, beyond the digits a double holds.
    const auto typedEnds = [](TLASFile& d) {
        std::vector<double> depths;
        for (int i = 0; i < d.GetPointCount(); ++i)
            depths.push_back(d.DepthAt(i));
        depths.front() = 99999488.3333333;
        depths.back() = 99999512.3333333;
        d.SetDepths(depths);
    };
    const Texts noisy = Depths(999994880000000000, 80000000000, 4, 10);
    const auto shift = [](double by) { return [by](TLASFile& d) { d.ShiftDepth(by); }; };
    const auto restamp = [](double first) { return [first](TLASFile& d) { d.SetDepthGrid(first, 0.001); }; };
    const Texts deep = Depths(36000000, 1524, 50, 4);
    Texts deepTyped = deep;
    deepTyped[2] = "3600.3047";
    std::string offStrt = Log(Depths(25000000, 5000, 20, 4), "0.5");
    offStrt.replace(offStrt.find(" STRT.M 2500.0000"), 17, " STRT.M 2500.0001");
    Texts offGrid = Depths(3000000, 1, 20, 3);
    offGrid[1] = "3000.0009";
    Texts offGridShifted = Depths(30010000, 10, 20, 4);
    offGridShifted[1] = "3001.0009";
    const Texts leading = {"1500", "1500.1", "1500.2524", "1500.4048", "1500.5572"};
    const Texts leadingShifted = {"1500.1000", "1500.2000", "1500.3524", "1500.5048", "1500.6572"};
    const Texts times = {"1700000000.000", "1700000001.020", "1700000002.000", "1700000003.000"};
    const struct {
        const char* name;
        std::string input;
        std::function<void(TLASFile&)> change;
        Texts expected;  // in file order
    } cases[] = {
        {"3600.3047 typed over 3600.3048", Log(deep, "0.1524"), typed, deepTyped},
        {"3600.3047 typed upward", Log(reversed(deep), "-0.1524"), typed, reversed(deepTyped)},
        {"re-stamped at 3000 m", Log(Depths(30000000, 10, 100, 4), "0.0010"), restamp(3000.0001),
         Depths(30000001, 10, 100, 4)},
        {"re-stamped upward at 3000 m", Log(reversed(Depths(30000000, 10, 100, 4)), "-0.0010"), restamp(3000.0001),
         reversed(Depths(30000001, 10, 100, 4))},
        {"re-stamped at 5000 m", Log(Depths(50000000, 10, 20000, 4), "0.0010"), restamp(5000.0001),
         Depths(50000001, 10, 20000, 4)},
        {"STRT 2500.0001 over 2500.0000", offStrt, [](TLASFile&) {}, Depths(25000000, 5000, 20, 4)},
        {"STRT 2500.0001 over 2500.0000 shifted", offStrt, shift(0.1), Depths(25001000, 5000, 20, 4)},
        {"3000.0009 among 0.001 steps", Log(offGrid, "0.001"), shift(1), offGridShifted},
        {"irregular leading rows", Log(leading, "0"), shift(0.1), leadingShifted},
        {"irregular leading rows upward", Log(reversed(leading), "0"), shift(0.1), reversed(leadingShifted)},
        {"99999488.3333333 typed", Log(noisy, "8"), typedEnds,
         {"99999488.3333333000", noisy[1], noisy[2], "99999512.3333333000"}},
        {"uneven time index", Log(times, "1"), shift(1000),
         {"1700001000.000", "1700001001.020", "1700001002.000", "1700001003.000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto document = files_.Load(c.input);
        ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
        c.change(*document);
        const std::string saved = Save(*document);
        EXPECT_EQ(Column(saved), c.expected);
        EXPECT_NE(saved.find(" STRT.M " + c.expected.front() + " "), std::string::npos);
        EXPECT_NE(saved.find(" STOP.M " + c.expected.back() + " "), std::string::npos);
        const bool upward = c.expected.front() > c.expected.back();
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(RoundToDecimals(document->DepthAt(static_cast<long long>(i)), document->GetDepthDecimals()),
                      std::stod(c.expected[upward ? c.expected.size() - 1 - i : i]))
                << i;
    }
}

// An unchanged save of one row or of rows that do not step by STEP writes the depth lines as read.
TEST_F(LasDepths, DepthLinesOfUnevenOrSingleRowsStayAsRead)
{
    for (const Texts& depths : {Texts{"1670.0000"}, Texts{"0.300", "0.400", "0.550", "0.600"},
                                Texts{"0.600", "0.550", "0.400", "0.300"}, Texts{"0.300", "0.400", "0.500"}}) {
        SCOPED_TRACE(depths.front());
        const std::string input = Log(depths, "-0.1250", "\r\n");
        EXPECT_EQ(Save(*files_.Load(input)), input);
    }
}
