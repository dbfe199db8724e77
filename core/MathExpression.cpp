// One calculation script: its ".exp" file, argument count, constant prompts and evaluation over curves.
#include "core/MathExpression.h"

#include "core/LasNumbers.h"
#include "core/Q7mathutils.h"
#include "core/SettingsFile.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cfloat>
#include <cmath>

namespace {

AskNumberHook& NumberHook()
{
    static AskNumberHook hook;
    return hook;
}

const char* const InfoSection = "Info";
const char* const ExpressionSection = "Expression";
const char* const ConstantsSection = "Constants";
const char* const VariablesSection = "Variables";
const char* const CalcErrorPrefix = "Ошибка в вычислениях:\n";

std::string Numbered(const char* key, int i)
{
    return key + std::to_string(i);
}

std::string ReadText(const TSimpleSettingFile& file, const char* section, const std::string& key)
{
    std::string text;
    file.ReadString(section, key, text);
    return text;
}

double ReadDouble(const TSimpleSettingFile& file, const char* section, const std::string& key)
{
    double value = 0;
    return ParseIniDouble(ReadText(file, section, key), value) ? value : 0.0;
}

// Count key of a numbered list, bounded by the keys the section holds.
int ReadCount(const TSimpleSettingFile& file, const char* section)
{
    const int s = file.FindSection(section);
    int count = 0;
    if (s >= 0 && file.ReadIntRange(section, "Count", count, 0, file.GetKeyCount(s)) == 1)
        return count;
    return 0;
}

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Largest N + 1 of x[N], x(N), X[N], X(N) in the text with white space removed; 0 when none.
int ArgumentCountOf(const std::string& text)
{
    std::string t;
    for (char c : text)
        if (!IsWhiteSpace(c))
            t += c;
    int count = 0;
    for (size_t i = 0; i + 3 < t.size(); ++i) {
        if ((t[i] != 'x' && t[i] != 'X') || t[i + 2] < '0' || t[i + 2] > '9')
            continue;
        if ((t[i + 1] == '[' && t[i + 3] == ']') || (t[i + 1] == '(' && t[i + 3] == ')'))
            count = std::max(count, t[i + 2] - '0' + 1);
    }
    return count;
}

// Bit r of entry k is set when a tree reads range value r of argument k.
std::array<unsigned, TParserContext::MaxArguments> RangeValuesUsed(const std::vector<TParserTree>& variables,
                                                                    const TParserTree& expression)
{
    std::array<unsigned, TParserContext::MaxArguments> used{};
    const auto scan = [&](const TParserTree& tree) {
        for (const TParserNode& node : tree.Nodes)
            if (node.kind == TParserNode::Kind::Range)
                used[node.index] |= 1u << node.range;
    };
    for (const TParserTree& tree : variables)
        scan(tree);
    scan(expression);
    return used;
}

} // namespace

void SetAskNumberHook(AskNumberHook hook)
{
    NumberHook() = std::move(hook);
}

bool AskNumber(const std::string& title, const std::string& prompt, int decimals, double min, double max,
               double& value)
{
    const AskNumberHook& hook = NumberHook();
    return hook && hook(title, prompt, decimals, min, max, value);
}

int TMathExpression::Load(const std::string& path)
{
    // Read through the plain file object: loading must not rewrite the script file.
    TSimpleSettingFile file;
    file.LoadFromFile(path);
    fileName_ = path;

    version_ = 0;
    file.ReadIntRange(InfoSection, "Version", version_, INT_MIN, INT_MAX);
    name_ = ReadText(file, InfoSection, "Name");
    caption_ = ReadText(file, InfoSection, "Caption");
    hint_ = ReadText(file, InfoSection, "Hint");
    if (file.ReadIntRange(InfoSection, "Button", button_, 0, 200) != 1)
        button_ = DefaultButton;
    show_ = true;
    file.ReadBool(InfoSection, "Show", show_);

    value_ = ReadText(file, ExpressionSection, "Value");
    if (file.ReadIntRange(ExpressionSection, "NullType", nullType_, 0, 2) != 1)
        nullType_ = 0;
    nullSubst_ = static_cast<float>(ReadDouble(file, ExpressionSection, "NullSubst"));

    parser_.ClearConstants();
    const int constants = ReadCount(file, ConstantsSection);
    for (int i = 0; i < constants; ++i)
        parser_.AddConstant(ReadText(file, ConstantsSection, Numbered("Name", i)),
                            ReadDouble(file, ConstantsSection, Numbered("Value", i)),
                            ReadText(file, ConstantsSection, Numbered("Descr", i)));
    parser_.ClearVariables();
    const int variables = ReadCount(file, VariablesSection);
    for (int i = 0; i < variables; ++i)
        parser_.AddVariable(ReadText(file, VariablesSection, Numbered("Name", i)),
                            ReadText(file, VariablesSection, Numbered("Expr", i)));

    modified_ = false;
    return version_ == 1 && !name_.empty() ? 0 : 2;
}

bool TMathExpression::Save()
{
    if (fileName_.empty() || !FitsTheFile())
        return false;
    TQ7SettingsFile file(fileName_);
    file.ClearSections();
    file.WriteInt(InfoSection, "Version", 1);
    file.WriteString(InfoSection, "Name", name_);
    file.WriteString(InfoSection, "Caption", caption_);
    file.WriteString(InfoSection, "Hint", hint_);
    file.WriteInt(InfoSection, "Button", button_);
    file.WriteBool(InfoSection, "Show", show_);
    file.WriteString(ExpressionSection, "Value", value_);
    file.WriteInt(ExpressionSection, "NullType", nullType_);
    file.WriteFloat(ExpressionSection, "NullSubst", nullSubst_);

    file.WriteInt(ConstantsSection, "Count", parser_.GetConstantCount());
    for (int i = 0; i < parser_.GetConstantCount(); ++i) {
        const TUserConst& c = parser_.GetConstant(i);
        file.WriteString(ConstantsSection, Numbered("Name", i), c.Name);
        file.WriteString(ConstantsSection, Numbered("Descr", i), c.Descr);
        file.WriteFloat(ConstantsSection, Numbered("Value", i), c.Value);
    }
    file.WriteInt(VariablesSection, "Count", parser_.GetVariableCount());
    for (int i = 0; i < parser_.GetVariableCount(); ++i) {
        file.WriteString(VariablesSection, Numbered("Name", i), parser_.GetVariable(i).Name);
        file.WriteString(VariablesSection, Numbered("Expr", i), parser_.GetVariable(i).Expr);
    }
    if (!file.Save())
        return false;
    version_ = 1;
    modified_ = false;
    return true;
}

// Values longer than a settings field would be cut on writing, line breaks changed: a changed
// expression must not replace the file.
bool TMathExpression::FitsTheFile() const
{
    // A line break would be written as a blank.
    const auto fits = [](const std::string& text) {
        return CutUtf8Chars(text, TSimpleSettingFile::MaxValueLength).size() == text.size() &&
               text.find_first_of("\r\n") == std::string::npos;
    };
    bool ok = fits(name_) && fits(caption_) && fits(hint_) && fits(value_);
    for (int i = 0; i < parser_.GetConstantCount(); ++i)
        ok = ok && fits(parser_.GetConstant(i).Name) && fits(parser_.GetConstant(i).Descr);
    for (int i = 0; i < parser_.GetVariableCount(); ++i)
        ok = ok && fits(parser_.GetVariable(i).Name) && fits(parser_.GetVariable(i).Expr);
    return ok;
}

void TMathExpression::SetFileName(const std::string& path)
{
    fileName_ = path;
    Modify();
}

void TMathExpression::SetName(const std::string& name)
{
    name_ = name;
    Modify();
}

void TMathExpression::SetCaption(const std::string& caption)
{
    caption_ = caption;
    Modify();
}

void TMathExpression::SetHint(const std::string& hint)
{
    hint_ = hint;
    Modify();
}

void TMathExpression::SetButton(int width)
{
    button_ = width;
    Modify();
}

void TMathExpression::SetValue(const std::string& expression)
{
    value_ = expression;
    Modify();
}

void TMathExpression::SetNullType(int type)
{
    if (type < 0 || type > 2)
        return;
    nullType_ = type;
    Modify();
}

void TMathExpression::SetNullSubst(float value)
{
    nullSubst_ = value;
    Modify();
}

void TMathExpression::SetShow(bool show)
{
    show_ = show;
    Modify();
}

int TMathExpression::GetMaxCurveIndex() const
{
    int count = ArgumentCountOf(value_);
    for (int i = 0; i < parser_.GetVariableCount(); ++i)
        count = std::max(count, ArgumentCountOf(parser_.GetVariable(i).Expr));
    return count;
}

bool TMathExpression::AskUserConstValues()
{
    for (int i = 0; i < parser_.GetConstantCount(); ++i) {
        const TUserConst& c = parser_.GetConstant(i);
        double value = c.Value;
        if (!AskNumber("Ввод значения константы", "'" + c.Name + "' (" + c.Descr + ")", 4, -500000000.0,
                       500000000.0, value))
            return false;
        parser_.SetConstantValue(i, value);
    }
    return true;
}

namespace {

bool ReadsDepth(const TParserTree& tree)
{
    return std::any_of(tree.Nodes.begin(), tree.Nodes.end(),
                       [](const TParserNode& node) { return node.kind == TParserNode::Kind::Depth; });
}

} // namespace

bool TMathExpression::Fail(const std::string& message)
{
    lastError_ = CalcErrorPrefix + message;
    return false;
}

bool TMathExpression::Calculate(const std::vector<const float*>& args, FloatVector& result, int first,
                                int last, float nullValue, const float* depths)
{
    lastError_.clear();
    const int argCount = GetMaxCurveIndex();
    if (static_cast<int>(args.size()) != argCount)
        return Fail("Неверное количество аргументов");
    for (const float* arg : args)
        if (!arg)
            return Fail("Неверное количество аргументов");
    if (first < 0 || last < first)
        return Fail("Неверный диапазон");

    std::vector<TParserTree> variableTrees;
    TParserTree tree;
    int compiling = 0;
    try {
        for (; compiling < parser_.GetVariableCount(); ++compiling)
            variableTrees.push_back(parser_.Compile(parser_.GetVariable(compiling).Expr, compiling));
        tree = parser_.Compile(value_, parser_.GetVariableCount());
    } catch (const TError& e) {
        if (compiling < parser_.GetVariableCount())
            return Fail("Переменная '" + parser_.GetVariable(compiling).Name + "'\n" + e.GetMessage());
        return Fail(e.GetMessage());
    }

    TParserContext& context = parser_.Context();
    context = TParserContext{};
    context.Variables.assign(variableTrees.size(), TParserContext::Block{});
    const int count = last - first + 1;
    context.StartD = depths ? depths[first] : 0.0;
    context.StopD = depths ? depths[last] : 0.0;
    const auto used = RangeValuesUsed(variableTrees, tree);
    const bool substitute = nullType_ == 2;
    // Range values come from the non-NULL samples. A range without one has none of them: a
    // script that reads one gives NULL on the whole range, or takes NullSubst in its place.
    bool readsAbsentValue = false;
    for (int k = 0; k < argCount; ++k) {
        const float* values = args[k] + first;
        const auto bit = [&](TRangeValue r) { return (used[k] >> static_cast<int>(r)) & 1u; };
        auto range = [&](TRangeValue r) -> double& { return context.Range[static_cast<int>(r)][k]; };
        const auto valid = [&](int i) { return values[i] != nullValue; };
        int firstValid = 0;
        while (firstValid < count && !valid(firstValid))
            ++firstValid;
        if (firstValid == count) {
            for (int r = 0; r < static_cast<int>(TRangeValue::Count); ++r) {
                readsAbsentValue = readsAbsentValue || bit(static_cast<TRangeValue>(r));
                range(static_cast<TRangeValue>(r)) = substitute ? nullSubst_ : nullValue;
            }
            continue;
        }
        int lastValid = count - 1;
        while (!valid(lastValid))
            --lastValid;
        range(TRangeValue::StartX) = values[firstValid];
        range(TRangeValue::StopX) = values[lastValid];
        if (bit(TRangeValue::MiddleX)) {
            // The valid sample nearest the middle, the shallower one on a tie.
            const int middle = (last - first) / 2;
            for (int d = 0;; ++d) {
                if (middle - d >= 0 && valid(middle - d)) {
                    range(TRangeValue::MiddleX) = values[middle - d];
                    break;
                }
                if (middle + d < count && valid(middle + d)) {
                    range(TRangeValue::MiddleX) = values[middle + d];
                    break;
                }
            }
        }
        // The statistics take a pass over the range each: only those the script reads.
        if (bit(TRangeValue::AverX))
            range(TRangeValue::AverX) = NullMean(count, nullValue, values);
        if (bit(TRangeValue::MinX) || bit(TRangeValue::MinDX)) {
            int minIndex = 0;
            range(TRangeValue::MinX) = NullMin(count, nullValue, values, minIndex);
            range(TRangeValue::MinDX) = depths ? depths[first + minIndex] : 0.0;
        }
        if (bit(TRangeValue::MaxX) || bit(TRangeValue::MaxDX)) {
            int maxIndex = 0;
            range(TRangeValue::MaxX) = NullMax(count, nullValue, values, maxIndex);
            range(TRangeValue::MaxDX) = depths ? depths[first + maxIndex] : 0.0;
        }
    }

    if (static_cast<int>(result.size()) <= last)
        result.resize(last + 1, nullValue);
    if (readsAbsentValue && !substitute) {
        std::fill(result.begin() + first, result.begin() + last + 1, nullValue);
        return true;
    }
    constexpr int B = TParserContext::BlockSize;
    int32_t isNull[B];  // lanes as wide as a float: the mask passes pack nothing
    const bool readsDepth = ReadsDepth(tree) ||
                            std::any_of(variableTrees.begin(), variableTrees.end(), ReadsDepth);
    for (int block = first; block <= last; block += B) {
        const int n = std::min(B, last - block + 1);
        // Branch-free passes the compiler vectorises: the NULL mask, and the samples as doubles
        // where NULL takes a substitute.
        if (substitute || argCount == 0)
            std::fill(isNull, isNull + n, 0);
        for (int k = 0; k < argCount; ++k) {
            const float* arg = args[k] + block;
            if (substitute) {
                double* x = context.X[k].data();
                for (int j = 0; j < n; ++j)
                    x[j] = arg[j] == nullValue ? nullSubst_ : arg[j];
            } else {
                if (k == 0)  // the first argument starts the mask
                    for (int j = 0; j < n; ++j)
                        isNull[j] = -static_cast<int32_t>(arg[j] == nullValue);
                else
                    for (int j = 0; j < n; ++j)
                        isNull[j] |= -static_cast<int32_t>(arg[j] == nullValue);
                context.XSamples[k] = arg;  // read where they stand
            }
        }
        if (readsDepth)
            for (int j = 0; j < n; ++j)
                context.Depth[j] = depths ? depths[block + j] : 0.0;
        for (size_t v = 0; v < variableTrees.size(); ++v)
            parser_.Evaluate(variableTrees[v], n, context.Variables[v].data());
        const double* values = parser_.EvaluateInPlace(tree, n);
        // An infinite result (a division by zero, an overflow of float) is no value; a NaN
        // where a value is expected stops the calculation.
        float* out = result.data() + block;
        int undefined = 0;
        for (int j = 0; j < n; ++j) {
            const float value = static_cast<float>(values[j]);
            undefined |= (isNull[j] == 0) & (values[j] != values[j]);
            const bool drop = (isNull[j] != 0) | !(std::fabs(value) <= FLT_MAX);
            out[j] = drop ? nullValue : value;
        }
        if (undefined)
            for (int j = 0; j < n; ++j)
                if (!isNull[j] && std::isnan(values[j]))
                    return Fail("Результат не определен в точке " + std::to_string(block + j) +
                                " (глубина " +
                                FormatLasFixed(depths ? depths[block + j] : 0.0f, 2) + ")");
    }
    return true;
}
