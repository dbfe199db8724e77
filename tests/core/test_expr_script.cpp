// Calculation scripts: argument count, evaluation over curves, ".exp" files, the folder list.
#include "core/ExprList.h"
#include "core/MathExpression.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <cmath>
#include <gtest/gtest.h>

using strativ::test::ReadFileBytes;
using strativ::test::WriteFileBytes;

namespace {

constexpr float Null = -999.25f;

TMathExpression Script(const std::string& expression)
{
    TMathExpression script;
    script.SetValue(expression);
    return script;
}

} // namespace

TEST(MathExpression, ArgumentCountFromTheExpressionAndTheVariables)
{
    const struct { const char* expression; const char* variable; int count; } cases[] = {
        {"1 + 2", "", 0},     {"x[0]", "", 1},          {"X(2) * x[0]", "", 3},  {"x [ 9 ]", "", 10},
        {"x\t(\n4\r)", "", 5}, {"min_x[2]", "", 3},      // range names end in x, so they count
        {"x[1) + x(1]", "", 0}, {"x[12]", "", 0},       // brackets must match; one digit only
        {"x[0]", "x[3] + 1", 4}, {"v", "x(5)", 6},
    };
    for (const auto& c : cases) {
        TMathExpression script = Script(c.expression);
        if (*c.variable)
            script.GetParser().AddVariable("v", c.variable);
        EXPECT_EQ(script.GetMaxCurveIndex(), c.count) << c.expression << " / " << c.variable;
    }
}

TEST(MathExpression, NullPolicies)
{
    const float x0[] = {1, Null, 3, Null};
    const float x1[] = {1, 1, Null, Null};
    const struct { int nullType; FloatVector expected; } cases[] = {
        {0, {2, Null, Null, Null}},
        {1, {2, Null, Null, Null}}, // behaves like 0
        {2, {2, 6, 8, 10}},         // NULL arguments take NullSubst (5)
    };
    for (const auto& c : cases) {
        TMathExpression script = Script("x[0] + x[1]");
        script.SetNullType(c.nullType);
        script.SetNullSubst(5);
        FloatVector result;
        ASSERT_TRUE(script.Calculate({x0, x1}, result, 0, 3, Null, nullptr));
        EXPECT_EQ(result, c.expected) << "NullType " << c.nullType;
    }
}

TEST(MathExpression, RangeValuesAndDepthsOverTheCalculatedRange)
{
    // Range 1..5 of the arrays; sample 0 and 6 lie outside.
    const float x0[] = {100, 4, Null, 1, 9, 6, -100};
    const float depths[] = {10, 11, 12, 13, 14, 15, 16};
    const struct { const char* expression; float value; } cases[] = {
        {"startx[0]", 4},   {"stopx[0]", 6},     {"middlex[0]", 1},   {"averx[0]", 5},
        {"min_x[0]", 1},    {"max_x(0)", 9},     {"mind_x[0]", 13},   {"maxd_x[0]", 14},
        {"startd", 11},     {"stopd", 15},
    };
    for (const auto& c : cases) {
        TMathExpression script = Script(std::string(c.expression) + " + 0 * x[0]");
        script.SetNullType(2); // so the NULL sample is evaluated too
        FloatVector result(7, 42);
        ASSERT_TRUE(script.Calculate({x0}, result, 1, 5, Null, depths)) << c.expression;
        for (int i = 1; i <= 5; ++i)
            EXPECT_EQ(result[i], c.value) << c.expression << " at " << i;
        EXPECT_EQ(result[0], 42) << "outside the range";
        EXPECT_EQ(result[6], 42) << "outside the range";
    }

    TMathExpression perSample = Script("depth + 0 * x[0]");
    FloatVector result;
    ASSERT_TRUE(perSample.Calculate({x0}, result, 1, 3, Null, nullptr));
    EXPECT_EQ(result[1], 0); // no depth array: depths are 0
}

TEST(MathExpression, VariablesInOrderThenTheExpressionAcrossEvaluationBlocks)
{
    const int n = 1000;
    FloatVector x0(n), x1(n), depths(n);
    for (int i = 0; i < n; ++i) {
        x0[i] = i % 7 == 0 ? Null : static_cast<float>(i);
        x1[i] = 1;
        depths[i] = 500.0f + static_cast<float>(i);
    }
    TMathExpression script = Script("b * k + depth");
    script.GetParser().AddConstant("k", 10);
    script.GetParser().AddVariable("a", "x[0] + x[1]");
    script.GetParser().AddVariable("b", "a * 2"); // uses the earlier variable
    FloatVector result;
    ASSERT_TRUE(script.Calculate({x0.data(), x1.data()}, result, 3, n - 2, Null, depths.data()))
        << script.GetLastError();
    ASSERT_EQ(result.size(), static_cast<size_t>(n - 1));
    for (int i = 3; i <= n - 2; ++i)
        ASSERT_EQ(result[i], i % 7 == 0 ? Null : 20.0f * (i + 1) + 500.0f + i) << i;
}

// Operands are single values, curve samples or computed blocks in any mix; every mix gives what
// the formula gives sample by sample, over several blocks and under both NULL rules.
TEST(MathExpression, ScalarAndSampleOperandsMixAsTheFormulaSays)
{
    const int n = 700;
    FloatVector x0(n), x1(n);
    for (int i = 0; i < n; ++i) {
        x0[i] = i % 11 == 0 ? Null : 0.25f * static_cast<float>(i % 40) - 3.0f;
        x1[i] = static_cast<float>(i % 9) + 0.5f;
    }
    const struct {
        const char* text;
        double (*formula)(double a, double b);
    } cases[] = {
        {"x[0]", [](double a, double) { return a; }},
        {"2 * 3 - 1 + 0 * x[0]", [](double, double) { return 5.0; }},
        {"-x[0] + sin(0.5)", [](double a, double) { return -a + std::sin(0.5); }},
        {"max(x[0], 2, x[1])", [](double a, double b) { return std::max(std::max(a, 2.0), b); }},
        {"min(1, x[1] * x[0])", [](double a, double b) { return std::min(1.0, b * a); }},
        {"aver(1, x[0], 4)", [](double a, double) { return (1.0 + a + 4.0) / 3.0; }},
        {"x[1] / (x[0] * x[0] + 1) - 2 ^ x[1]", [](double a, double b) { return b / (a * a + 1) - std::pow(2.0, b); }},
        {"sqrt(x[1]) * x[1] + 0 * x[0]", [](double, double b) { return std::sqrt(b) * b; }},
    };
    for (const auto& c : cases) {
        for (const int nullType : {0, 2}) {
            SCOPED_TRACE(std::string(c.text) + " null type " + std::to_string(nullType));
            TMathExpression script = Script(c.text);
            script.SetNullType(nullType);
            script.SetNullSubst(7.5f);
            FloatVector result;
            std::vector<const float*> args{x0.data(), x1.data()};
            args.resize(static_cast<size_t>(script.GetMaxCurveIndex()));
            ASSERT_TRUE(script.Calculate(args, result, 0, n - 1, Null, nullptr)) << script.GetLastError();
            const bool usesX0 = std::string(c.text).find("x[0]") != std::string::npos;
            for (int i = 0; i < n; ++i) {
                const bool absent = x0[i] == Null && usesX0;
                const double a = x0[i] == Null ? 7.5 : x0[i];
                const float expected = absent && nullType == 0 ? Null : static_cast<float>(c.formula(a, x1[i]));
                ASSERT_EQ(result[i], expected) << i;
            }
        }
    }
}

TEST(MathExpression, FailuresLeaveAnErrorText)
{
    const float x0[] = {4, -1, 9};
    const float depths[] = {100, 100.5f, 101};
    const struct { const char* expression; const char* variable; int args; const char* error; } cases[] = {
        {"x[0] + x[1]", "", 1, "Ошибка в вычислениях:\nНеверное количество аргументов"},
        {"1 + 2", "", 1, "Ошибка в вычислениях:\nНеверное количество аргументов"},
        {"sqrt(x[0])", "", 1, "Ошибка в вычислениях:\nРезультат не определен в точке 1 (глубина 100.50)"},
        {"x[0] +", "", 1, "Ошибка в вычислениях:\nНеожиданный конец выражения"},
        {"v + x[0]", "x[0] * unknown", 1, "Ошибка в вычислениях:\nПеременная 'v'\nНеизвестное имя"},
    };
    for (const auto& c : cases) {
        TMathExpression script = Script(c.expression);
        if (*c.variable)
            script.GetParser().AddVariable("v", c.variable);
        std::vector<const float*> args(c.args, x0);
        FloatVector result(3);
        EXPECT_FALSE(script.Calculate(args, result, 0, 2, Null, depths)) << c.expression;
        EXPECT_EQ(script.GetLastError(), c.error) << c.expression;
    }

    TMathExpression infinite = Script("1 / (x[0] - 4)");
    FloatVector result;
    ASSERT_TRUE(infinite.Calculate({x0}, result, 0, 0, Null, nullptr));
    EXPECT_EQ(result[0], Null);  // no LAS number: stored as NULL
}

TEST(MathExpression, FileRoundTripKeepsConstantsAndVariables)
{
    strativ::test::TempDir dir;
    TMathExpression script;
    EXPECT_FALSE(script.Save()); // no file name yet
    script.SetFileName(dir.file("ratio.exp"));
    script.SetName("Отношение");
    script.SetCaption("R");
    script.SetHint("x[0] / x[1]");
    script.SetButton(40);
    script.SetValue("k * s / x[1]");
    script.SetNullType(2);
    script.SetNullSubst(0.1f);
    script.SetShow(false);
    script.GetParser().AddConstant("k", 1.0 / 3.0, "коэффициент");
    script.GetParser().AddVariable("s", "x[0] + 1");
    EXPECT_TRUE(script.IsModified());
    ASSERT_TRUE(script.Save());
    EXPECT_FALSE(script.IsModified());

    TMathExpression loaded;
    ASSERT_EQ(loaded.Load(dir.file("ratio.exp")), 0);
    EXPECT_FALSE(loaded.IsModified());
    EXPECT_EQ(loaded.GetNullSubst(), 0.1f);
    EXPECT_EQ(loaded.GetParser().GetConstant(0).Value, 1.0 / 3.0); // exact, not just 6 digits
    // Every field read back: the loaded record writes the same file again.
    loaded.SetFileName(dir.file("copy.exp"));
    ASSERT_TRUE(loaded.Save());
    const std::string saved = ReadFileBytes(dir.file("ratio.exp"));
    EXPECT_EQ(ReadFileBytes(dir.file("copy.exp")), saved);
    EXPECT_NE(saved.find("[Constants]\r\nCount=1\r\nName0=k\r\nDescr0=коэффициент\r\nValue0="), std::string::npos);
    EXPECT_NE(saved.find("[Variables]\r\nCount=1\r\nName0=s\r\nExpr0=x[0] + 1\r\n"), std::string::npos);

    // An expression the file cannot hold whole is refused, not cut.
    script.SetValue(std::string(250, ' ') + "x[0] + 1");
    EXPECT_FALSE(script.Save());
    EXPECT_EQ(ReadFileBytes(dir.file("ratio.exp")), saved);
    // So is a hint with a line break, which the file would change to a blank.
    script.SetValue("x[0] + 1");
    script.SetHint("first line\nsecond line");
    EXPECT_FALSE(script.Save());
    EXPECT_EQ(ReadFileBytes(dir.file("ratio.exp")), saved);
}

TEST(MathExpression, LoadDefaultsAndResult)
{
    strativ::test::TempDir dir;
    const struct { const char* text; int result; int button; int nullType; bool show; } cases[] = {
        {"[Info]\nVersion=1\nName=a\n", 0, 15, 0, true},
        {"[Info]\nVersion=1\nName=a\nButton=201\nShow=false\n[Expression]\nNullType=3\n", 0, 15, 0, false},
        {"[Info]\nVersion=1\nName=a\nButton=0\n[Expression]\nNullType=1\n", 0, 0, 1, true},
        {"[Info]\nVersion=2\nName=a\n", 2, 15, 0, true},
        {"[Info]\nVersion=1\n", 2, 15, 0, true},
        {"[Info]\nName=a\n", 2, 15, 0, true},
        // A Count larger than the keys present does not run away.
        {"[Info]\nVersion=1\nName=a\n[Constants]\nCount=2000000000\nName0=c\n", 0, 15, 0, true},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file("s.exp");
        WriteFileBytes(path, c.text);
        TMathExpression script;
        EXPECT_EQ(script.Load(path), c.result) << c.text;
        EXPECT_EQ(script.GetButton(), c.button) << c.text;
        EXPECT_EQ(script.GetNullType(), c.nullType) << c.text;
        EXPECT_EQ(script.GetShow(), c.show) << c.text;
        EXPECT_EQ(script.GetNullSubst(), 0) << c.text;
        EXPECT_LE(script.GetParser().GetConstantCount(), 2) << c.text;
    }
    TMathExpression missing;
    EXPECT_EQ(missing.Load(dir.file("none.exp")), 2);
}

TEST(MathExpression, AskUserConstValuesThroughTheHook)
{
    TMathExpression script;
    SetAskNumberHook(nullptr);
    EXPECT_TRUE(script.AskUserConstValues()); // nothing to ask
    script.GetParser().AddConstant("a", 1, "первая");
    script.GetParser().AddConstant("b", 2, "вторая");
    EXPECT_FALSE(script.AskUserConstValues()); // no number box registered

    std::vector<std::string> prompts;
    SetAskNumberHook([&](const std::string& title, const std::string& prompt, int decimals, double min,
                         double max, double& value) {
        EXPECT_EQ(title + std::to_string(decimals), "Ввод значения константы4");
        EXPECT_EQ(max, -min);
        prompts.push_back(prompt);
        if (prompts.size() == 2)
            return false;
        value = value * 10;
        return true;
    });
    EXPECT_FALSE(script.AskUserConstValues());
    SetAskNumberHook(nullptr);
    EXPECT_EQ(prompts, (std::vector<std::string>{"'a' (первая)", "'b' (вторая)"}));
    EXPECT_EQ(script.GetParser().GetConstant(0).Value, 10); // answered before the cancel: kept
    EXPECT_EQ(script.GetParser().GetConstant(1).Value, 2);
    EXPECT_FALSE(script.IsModified());
}

TEST(ExprList, ScanSaveAndDelete)
{
    strativ::test::TempDir dir;
    WriteFileBytes(dir.file("GOOD.EXP"), "[Info]\nVersion=1\nName=good\n");
    WriteFileBytes(dir.file("broken.exp"), "[Info]\nVersion=7\nName=broken\n");
    WriteFileBytes(dir.file("other.txt"), "[Info]\nVersion=1\nName=other\n");
    std::filesystem::create_directory(dir.file("folder.exp"));

    TExprList list;
    EXPECT_EQ(list.ScanFolder(dir.file("missing")), 0);
    ASSERT_EQ(list.ScanFolder(dir.path()), 1);
    EXPECT_EQ(list.GetFolder(), dir.path() + "/");
    EXPECT_FALSE(list.IsModified()); // loading is not a change
    list.Item(0)->SetCaption("G");
    EXPECT_TRUE(list.IsModified());

    auto created = std::make_unique<TMathExpression>();
    created->SetName("новый");
    created->SetFileName(dir.file("new.exp"));
    list.Add(std::move(created));
    EXPECT_TRUE(list.SaveAll());
    EXPECT_FALSE(list.IsModified());
    for (const char* name : {"b.exp", "a.exp", "c.exp"})
        WriteFileBytes(dir.file(name), std::string("[Info]\nVersion=1\nName=") + name + "\n");
    list.Reload();
    ASSERT_EQ(list.Count(), 5);
    // File-name order whatever the directory listing gives.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list.Item(i)->GetName(), (std::vector<std::string>{"good", "a.exp", "b.exp", "c.exp", "новый"}[i]));
    for (int i = 3; i >= 1; --i)
        ASSERT_TRUE(list.CheckItem(i, true));

    EXPECT_FALSE(list.CheckItem(2, true));
    const std::string first = list.Item(0)->GetFileName();
    const std::string second = list.Item(1)->GetFileName();
    ASSERT_TRUE(list.CheckItem(1, false));
    ASSERT_TRUE(list.CheckItem(0, true));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second));
    EXPECT_TRUE(std::filesystem::exists(dir.file("broken.exp"))); // never touched
}

TEST(MathExpression, RangeValuesComeFromTheNonNullSamples)
{
    // Depths 0..6; first, middle and last samples NULL.
    const std::vector<float> x = {Null, 4, 2, Null, 9, 1, Null};
    const std::vector<float> depths = {0, 1, 2, 3, 4, 5, 6};
    const struct { const char* expression; float value; } cases[] = {
        {"startx[0]", 4}, {"stopx[0]", 1}, {"middlex[0]", 2},  // 2 and 9 are as near: the shallower
        {"averx[0]", 4},  {"min_x[0]", 1}, {"max_x[0]", 9},    {"mind_x[0]", 5}, {"maxd_x[0]", 4},
    };
    for (const auto& c : cases) {
        TMathExpression script = Script(std::string(c.expression) + " + x[0] * 0");
        std::vector<float> result;
        ASSERT_TRUE(script.Calculate({x.data()}, result, 0, 6, Null, depths.data())) << c.expression;
        EXPECT_EQ(result[1], c.value) << c.expression;
        EXPECT_EQ(result[0], Null) << c.expression;  // a NULL argument stays NULL
    }
    // Without NULL samples: the samples at the ends and in the middle, as before.
    const std::vector<float> full = {3, 5, 7, 8};
    TMathExpression middle = Script("startx[0] * 100 + middlex[0] * 10 + stopx[0] + x[0] * 0");
    std::vector<float> result;
    ASSERT_TRUE(middle.Calculate({full.data()}, result, 0, 3, Null, depths.data()));
    EXPECT_EQ(result[0], 358.0f);

    // An all-NULL range: the whole range NULL, or NullSubst in place of each value with NullType 2.
    const std::vector<float> none(5, Null);
    for (const char* expression : {"startx[0] + 1", "averx[0] + 1", "mind_x[0] + 1", "middlex[0] + 1"}) {
        TMathExpression script = Script(expression + std::string(" + x[0] * 0"));
        std::vector<float> out(7, 42.0f);
        ASSERT_TRUE(script.Calculate({none.data()}, out, 1, 3, Null, depths.data()));
        EXPECT_EQ(out, (std::vector<float>{42, Null, Null, Null, 42, 42, 42})) << expression;
        script.SetNullType(2);
        script.SetNullSubst(5.0f);
        ASSERT_TRUE(script.Calculate({none.data()}, out, 1, 3, Null, depths.data()));
        EXPECT_EQ(out[2], 6.0f) << expression;  // 5 + 1, the argument being 5 too
    }
}
