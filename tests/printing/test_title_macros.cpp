// Macro names and "#" expressions in title cell texts.
#include "platform/NumberText.h"
#include "printing/Q7CellsArray.h"

#include <gtest/gtest.h>

namespace {

// A one-row array whose cells hold the texts.
TQ7CellsArray Row(const std::vector<std::string>& texts)
{
    TQ7CellsArray cells;
    cells.Resize(static_cast<int>(texts.size()), 1);
    for (std::size_t i = 0; i < texts.size(); ++i)
        cells.Cell(static_cast<int>(i), 0).Content.Text = texts[i];
    return cells;
}

TCellRange WholeRow(const TQ7CellsArray& cells)
{
    return {0, 0, cells.ColCount() - 1, 0};
}

TEST(TitleMacros, CollectsEachNameOnceInUpperCase)
{
    struct Case {
        std::vector<std::string> texts;
        char32_t left, right;
        std::vector<std::string> names;
    } cases[] = {
        {{"[AB] [ab] [AB]"}, '[', ']', {"AB"}},
        {{"[A B] [A-B] [] [Скв]"}, '[', ']', {}},
        {{"[[WELL]"}, '[', ']', {"WELL"}},
        {{"x[well]y", "[DATE][WELL]", "[comp"}, '[', ']', {"WELL", "DATE"}},
        {{"«fld» и «FLD2»"}, U'«', U'»', {"FLD", "FLD2"}},
        {{"#A# #B#"}, '#', '#', {}},  // equal delimiters never close a name
    };
    for (const Case& c : cases) {
        const TQ7CellsArray cells = Row(c.texts);
        std::vector<std::string> names{"stale"};
        cells.CollectMacros(WholeRow(cells), c.left, c.right, names);
        EXPECT_EQ(names, c.names) << c.texts[0];
    }
    const TQ7CellsArray cells = Row({"[A]"});
    std::vector<std::string> untouched{"kept"};
    cells.CollectMacros({0, 0, 1, 0}, '[', ']', untouched);
    EXPECT_EQ(untouched, std::vector<std::string>{"kept"});
}

TEST(TitleMacros, ReplacementMatchesLowerCaseTextToUpperCasePattern)
{
    struct Case {
        std::string text, pattern, expected;
        int count;
    } cases[] = {
        {"x[ab]y", "[AB]", "xVy", 1},
        {"[WELL] и [Well]", "[WELL]", "V и V", 2},
        {"[[WELL]", "[WELL]", "[V", 1},
        {"[WEWELL]", "[WELL]", "[WEWELL]", 0},
        {"итог [WE", "[WELL]", "итог [WE", 0},
        {"[sdate] [SDATE]", "[sdate]", "V [SDATE]", 1},
        {"[скв] [Ёж] [ёж]", "[СКВ]", "V [Ёж] [ёж]", 1},
        {"[ёж]", "[ЁЖ]", "V", 1},
        {"{X}", "[X]", "{X}", 0},  // only letters differ by case
        {"`a", "@A", "`a", 0},
        {"abc", "", "abc", 0},
    };
    for (const Case& c : cases) {
        TQ7CellsArray cells = Row({c.text, c.text});
        EXPECT_EQ(cells.ReplaceInCells(c.pattern, "V", WholeRow(cells)), 2 * c.count) << c.text;
        EXPECT_EQ(cells.Cell(1, 0).Content.Text, c.expected) << c.text;
    }
}

TEST(TitleMacros, ExpressionsAreReplacedByTheirValues)
{
    struct Case {
        std::string text, point, comma;
    } cases[] = {
        {"#2+3#", "5.00", "5,00"},
        {"#9#", "9.00", "9,00"},
        {"#1,5*2#", "3.00", "3,00"},  // a decimal comma outside a call
        {"#MAX(1,2)#", "2.00", "2,00"},  // commas of a call separate its arguments
        {"#(1,5+2)*2#", "7.00", "7,00"},
        {"#1e3#", "1000.00", "1000,00"},
        {"Итого #10/4# м", "Итого 2.50 м", "Итого 2,50 м"},
        {"#SQRT(16)#", "4.00", "4,00"},
        {"#1#2#", "1.002#", "1,002#"},
        // Left open, an expression runs to the end of the text and needs two characters;
        // what cannot be computed there stays as typed.
        {"h=#12", "h=12.00", "h=12,00"},
        {"Шаг: #0,1*10", "Шаг: 1.00", "Шаг: 1,00"},
        {"a #2*3 b", "a #2*3 b", "a #2*3 b"},
        {"Скв. #1 и #2", "Скв. #1 и #2", "Скв. #1 и #2"},
        {"##", "##", "##"},
        {"# #", "# #", "# #"},
        // What cannot be computed is marked.
        {"#1/0#", "#1/0# (?)", "#1/0# (?)"},
        {"#2+#", "#2+# (?)", "#2+# (?)"},
        {"#[WELL]#", "#[WELL]# (?)", "#[WELL]# (?)"},
    };
    for (QChar separator : {QChar('.'), QChar(',')}) {
        platform::SetDecimalSeparator(separator);
        for (const Case& c : cases) {
            TQ7CellsArray cells = Row({c.text, "#1+1#"});
            cells.EvaluateExpressions(WholeRow(cells));
            EXPECT_EQ(cells.Cell(0, 0).Content.Text, separator == '.' ? c.point : c.comma) << c.text;
            EXPECT_EQ(cells.Cell(1, 0).Content.Text, separator == '.' ? "2.00" : "2,00");
        }
    }
    platform::SetDecimalSeparator(QChar());
}

TEST(TitleMacros, ValuesOfMacrosAreNeverComputed)
{
    TQ7CellsArray cells = Row({"([FLD]) [WELL]", "#MAX([A],[b])# [NOTE]", "#[A]*2#", "Шаг: #[STEP]*10"});
    cells.SubstituteMacros({{"[WELL]", "Eastrock Lauren #12"}, {"[FLD]", "Lauren #2#"}, {"[A]", "3"},
                            {"[B]", "7"}, {"[NOTE]", "#1+1#"}, {"[STEP]", "0.1000"}},
                           WholeRow(cells));
    EXPECT_EQ(cells.Cell(0, 0).Content.Text, "(Lauren #2#) Eastrock Lauren #12");
    EXPECT_EQ(cells.Cell(1, 0).Content.Text, "7.00 #1+1#");
    EXPECT_EQ(cells.Cell(2, 0).Content.Text, "6.00");
    EXPECT_EQ(cells.Cell(3, 0).Content.Text, "Шаг: 1.00");  // the template's own expression
}

}  // namespace
