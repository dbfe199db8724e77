// The expression language: precedence, functions, errors with code and position, constants.
#include "core/MParser.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

double Eval(TMParser& parser, const std::string& text)
{
    parser.Parse(text);
    return parser.Calculate();
}

double Eval(const std::string& text)
{
    TMParser parser;
    return Eval(parser, text);
}

} // namespace

TEST(ExprParser, PrecedenceAssociativityAndNumbers)
{
    const struct { const char* text; double value; } cases[] = {
        {"1 + 2 * 3", 7},          {"(1 + 2) * 3", 9},     {"-2^2", -4},          {"2^-1", 0.5},
        {"2^3^2", 512},            {"(-2)^2", 4},          {"10 - 4 - 3", 3},     {"48 / 4 / 2", 6},
        {"7 % 4 * 2", 6},          {"-7 % 4", -3},         {"--3", 3},            {"+-+3", -3},
        {"2 * -3", -6},            {".5 + 1.25", 1.75},    {"1.5e2", 150},        {"2E-1", 0.2},
        {" \t1\r\n+\n2 ", 3},      {"((((4))))", 4},       {"3 - -2^2", 7},       {"-2^-2", -0.25},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Eval(c.text), c.value) << c.text;
}

TEST(ExprParser, FunctionsAndConstantsIgnoringCase)
{
    const double pi = std::numbers::pi;
    const struct { const char* text; double value; } cases[] = {
        {"sin(pi/2)", 1},         {"COS(0)", 1},             {"tg(pi/4)", std::tan(pi / 4)},
        {"ctg(pi/4)", 1 / std::tan(pi / 4)},                 {"arcsin(1)", pi / 2},
        {"arccos(1)", 0},         {"ArcTg(1)", pi / 4},      {"arcctg(1)", pi / 2 - pi / 4},
        {"sh(1)", std::sinh(1)},  {"ch(1)", std::cosh(1)},   {"th(1)", std::tanh(1)},
        {"cth(1)", 1 / std::tanh(1)},                        {"lg(1000)", 3},
        {"ln(e)", 1},             {"exp(2)", std::exp(2)},   {"sqrt(16)", 4},
        {"max(3, 9, -1)", 9},     {"MIN(3, 9, -1)", -1},     {"aver(1, 2, 6)", 3},
        {"max(5)", 5},            {"Pi", pi},                {"E", std::numbers::e},
        {"max(1, min(4, 2)) * aver(2, 4)", 6},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(Eval(c.text), c.value, 1e-12) << c.text;
}

TEST(ExprParser, IeeeResultsAndSampleValuesOutsideACalculation)
{
    EXPECT_TRUE(std::isinf(Eval("1/0")));
    EXPECT_TRUE(std::isnan(Eval("sqrt(-1)")));
    EXPECT_EQ(Eval("x[0] + X(9) + depth + startd + stopd + averx[3] + maxd_x(1) + 1"), 1);
}

TEST(ExprParser, ErrorsCarryCodeAndPosition)
{
    using E = TError;
    const struct { const char* text; int code; int position; } cases[] = {
        {"1 + $", E::InvalidCharacter, 5},       {"2 * я", E::InvalidCharacter, 5},
        {"", E::EmptyExpression, 1},             {"  \t ", E::EmptyExpression, 1},
        {"1 +", E::UnexpectedEnd, 4},            {"sin", E::UnexpectedEnd, 4},
        {"1 + x", E::UnexpectedEnd, 6},          {"1 2", E::UnexpectedToken, 3},
        {"1 + * 2", E::UnexpectedToken, 5},      {"(1 + 2", E::UnbalancedBrackets, 7},
        {"1 + 2)", E::UnbalancedBrackets, 6},    {"x[1)", E::UnbalancedBrackets, 4},
        {"sin(1]", E::UnbalancedBrackets, 6},    {"foo + 1", E::UnknownName, 1},
        {"x[10]", E::BadArgumentNumber, 3},      {"x[a]", E::BadArgumentNumber, 3},
        {"startx[1.5]", E::BadArgumentNumber, 8}, {"sin(1, 2)", E::BadFunctionArgumentCount, 6},
        {"max()", E::BadFunctionArgumentCount, 5}, {"1.2.3", E::MalformedNumber, 1},
        {"1.", E::MalformedNumber, 1},           {"2e+", E::MalformedNumber, 1},
        {"3pi", E::MalformedNumber, 1},          {"1e999", E::MalformedNumber, 1},
    };
    for (const auto& c : cases) {
        TMParser parser;
        try {
            parser.Parse(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const TError& e) {
            EXPECT_EQ(e.GetCode(), c.code) << c.text;
            EXPECT_EQ(e.GetPosition(), c.position) << c.text;
            EXPECT_FALSE(e.GetMessage().empty());
        }
    }
}

TEST(ExprParser, CalculateUsesTheLastSuccessfulParse)
{
    TMParser parser;
    try {
        parser.Calculate();
        FAIL();
    } catch (const TError& e) {
        EXPECT_EQ(e.GetCode(), TError::NotParsed);
        EXPECT_EQ(e.GetMessage(), "Выражение не разобрано");
    }
    EXPECT_EQ(Eval(parser, "2 + 3"), 5);
    EXPECT_THROW(parser.Parse("2 +"), TError);
    EXPECT_EQ(parser.Calculate(), 5);
    EXPECT_EQ(parser.GetResult(), 5);
}

TEST(ExprParser, DeepNestingIsRefusedInsteadOfExhaustingTheStack)
{
    TMParser parser;
    EXPECT_THROW(parser.Parse(std::string(100000, '(') + "1" + std::string(100000, ')')), TError);
    EXPECT_THROW(parser.Parse(std::string(100000, '-') + "1"), TError);
    EXPECT_EQ(Eval(parser, std::string(100, '(') + "1" + std::string(100, ')')), 1);
}

TEST(ExprParser, UserConstantsAreKnownNames)
{
    TMParser parser;
    parser.AddConstant("Koef", 2.5, "coefficient");
    parser.AddConstant("b", 4);
    EXPECT_EQ(Eval(parser, "koef * B"), 10);
    parser.SetConstantValue(0, 3);
    EXPECT_EQ(parser.Calculate(), 12); // values are read at evaluation time

    parser.RemoveConstant(0);
    ASSERT_EQ(parser.GetConstantCount(), 1);
    EXPECT_EQ(parser.GetConstant(0).Name, "b");
    EXPECT_THROW(parser.Calculate(), TError); // the tree named a removed constant
    EXPECT_THROW(parser.Parse("koef"), TError);
}

TEST(ExprParser, ReservedWordsIgnoreCase)
{
    for (const char* word : {"ARCCTG", "aver", "E", "stopd", "X", "middlex", "MAXD_X"})
        EXPECT_TRUE(TMParser::IsReservedWord(word)) << word;
    for (const char* word : {"x0", "sinus", "depth1", ""})
        EXPECT_FALSE(TMParser::IsReservedWord(word)) << word;
}
