// Evaluation of parsed expressions and the parser's constants and variables.
#include "core/MParser.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double ApplyFunction(TParserNode::Func func, double v)
{
    using F = TParserNode::Func;
    switch (func) {
    case F::Sin: return std::sin(v);
    case F::Cos: return std::cos(v);
    case F::Tg: return std::tan(v);
    case F::Ctg: return 1.0 / std::tan(v);
    case F::ArcSin: return std::asin(v);
    case F::ArcCos: return std::acos(v);
    case F::ArcTg: return std::atan(v);
    case F::ArcCtg: return std::numbers::pi / 2 - std::atan(v);
    case F::Sh: return std::sinh(v);
    case F::Ch: return std::cosh(v);
    case F::Th: return std::tanh(v);
    case F::Cth: return 1.0 / std::tanh(v);
    case F::Lg: return std::log10(v);
    case F::Ln: return std::log(v);
    case F::Exp: return std::exp(v);
    case F::Sqrt: return std::sqrt(v);
    }
    return std::nan("");
}

// Removes item i; false when i is outside the list.
template <typename T>
bool EraseAt(std::vector<T>& items, int i)
{
    if (i < 0 || i >= static_cast<int>(items.size()))
        return false;
    items.erase(items.begin() + i);
    return true;
}

bool IsScalar(const TEvalOperand& operand)
{
    return !operand.block && !operand.floats;
}

struct ScalarSamples {
    double value;
    double operator[](int) const { return value; }
};

// Calls f with the operand's samples as something indexable: doubles, floats or one value.
template <typename F>
void WithSamples(const TEvalOperand& operand, F&& f)
{
    if (operand.block)
        f(operand.block);
    else if (operand.floats)
        f(operand.floats);
    else
        f(ScalarSamples{operand.scalar});
}

// Applies op to every sample of two operands, not both scalars, into out (which may be a's own
// block).
template <typename Op>
void BinaryBlocks(const TEvalOperand& a, const TEvalOperand& b, int n, double* out, Op op)
{
    WithSamples(a, [&](auto x) {
        WithSamples(b, [&](auto y) {
            for (int j = 0; j < n; ++j)
                out[j] = op(static_cast<double>(x[j]), static_cast<double>(y[j]));
        });
    });
}

} // namespace

void TMParser::Evaluate(const TParserTree& tree, int n, double* out)
{
    const double* values = EvaluateWith(tree, n, out);
    if (values != out)
        std::copy_n(values, n, out);
}

// bottom, when given, stands in for the stack block of depth 0, so that a result computed there
// needs no copy.
const double* TMParser::EvaluateWith(const TParserTree& tree, int n, double* bottom)
{
    constexpr int B = TParserContext::BlockSize;
    if (tree.Empty())
        throw TError(TError::NotParsed, 0);
    if (stack_.size() < static_cast<size_t>(tree.StackDepth) * B)
        stack_.resize(static_cast<size_t>(tree.StackDepth) * B);
    if (operands_.size() < static_cast<size_t>(tree.StackDepth))
        operands_.resize(static_cast<size_t>(tree.StackDepth));
    if (context_.Variables.size() < variables_.size())
        context_.Variables.resize(variables_.size(), TParserContext::Block{});

    // Operands are scalars or point at a block (of the context, or the stack block of their
    // depth, where results are written): samples are read where they stand, never copied.
    int depth = 0;
    const auto slot = [&](int d) { return d == 0 && bottom ? bottom : stack_.data() + static_cast<size_t>(d) * B; };
    const auto pushScalar = [&](double value) { operands_[depth++] = {nullptr, nullptr, value}; };
    const auto pushBlock = [&](const double* values) { operands_[depth++] = {values, nullptr, 0.0}; };
    const auto binary = [&](auto op) {
        TEvalOperand& a = operands_[depth - 2];
        const TEvalOperand& b = operands_[depth - 1];
        if (IsScalar(a) && IsScalar(b)) {
            a.scalar = op(a.scalar, b.scalar);
        } else {
            double* result = slot(depth - 2);
            BinaryBlocks(a, b, n, result, op);
            a = {result, nullptr, 0.0};
        }
        --depth;
    };
    const auto unary = [&](auto f) {
        TEvalOperand& a = operands_[depth - 1];
        if (IsScalar(a)) {
            a.scalar = f(a.scalar);
            return;
        }
        double* result = slot(depth - 1);
        WithSamples(a, [&](auto x) {
            for (int j = 0; j < n; ++j)
                result[j] = f(static_cast<double>(x[j]));
        });
        a = {result, nullptr, 0.0};
    };
    using K = TParserNode::Kind;
    for (const TParserNode& node : tree.Nodes) {
        switch (node.kind) {
        case K::Number: pushScalar(node.value); break;
        case K::Argument:
            if (const float* samples = context_.XSamples[node.index])
                operands_[depth++] = {nullptr, samples, 0.0};
            else
                pushBlock(context_.X[node.index].data());
            break;
        case K::Range: pushScalar(context_.Range[node.range][node.index]); break;
        case K::Depth: pushBlock(context_.Depth.data()); break;
        case K::StartD: pushScalar(context_.StartD); break;
        case K::StopD: pushScalar(context_.StopD); break;
        case K::Constant: pushScalar(constants_[node.index].Value); break;
        case K::Variable: pushBlock(context_.Variables[node.index].data()); break;
        case K::Negate: unary([](double v) { return -v; }); break;
        case K::Add: binary([](double a, double b) { return a + b; }); break;
        case K::Subtract: binary([](double a, double b) { return a - b; }); break;
        case K::Multiply: binary([](double a, double b) { return a * b; }); break;
        case K::Divide: binary([](double a, double b) { return a / b; }); break;
        case K::Modulo: binary([](double a, double b) { return std::fmod(a, b); }); break;
        case K::Power: binary([](double a, double b) { return std::pow(a, b); }); break;
        case K::Function: unary([func = node.func](double v) { return ApplyFunction(func, v); }); break;
        case K::Max:
            Combine(node.index, depth, n, slot(depth - node.index), [](double a, double b) { return b > a ? b : a; });
            break;
        case K::Min:
            Combine(node.index, depth, n, slot(depth - node.index), [](double a, double b) { return b < a ? b : a; });
            break;
        case K::Aver: {
            Combine(node.index, depth, n, slot(depth - node.index), [](double a, double b) { return a + b; });
            const double count = node.index;
            unary([count](double v) { return v / count; });
            break;
        }
        }
    }
    const TEvalOperand& top = operands_[depth - 1];
    if (top.block)
        return top.block;
    double* result = slot(0);
    WithSamples(top, [&](auto x) {
        for (int j = 0; j < n; ++j)
            result[j] = static_cast<double>(x[j]);
    });
    return result;
}

// Folds the top count operands left to right with op into the lowest of them, whose block is
// result.
template <typename Op>
void TMParser::Combine(int count, int& depth, int n, double* result, Op op)
{
    const int lowest = depth - count;
    TEvalOperand& first = operands_[lowest];
    for (int d = lowest + 1; d < depth; ++d) {
        const TEvalOperand& operand = operands_[d];
        if (IsScalar(first) && IsScalar(operand)) {
            first.scalar = op(first.scalar, operand.scalar);
        } else {
            BinaryBlocks(first, operand, n, result, op);
            first = {result, nullptr, 0.0};
        }
    }
    depth = lowest + 1;
}

double TMParser::Calculate()
{
    Evaluate(tree_, 1, &result_);
    return result_;
}

void TMParser::AddConstant(const std::string& name, double value, const std::string& descr)
{
    constants_.push_back(TUserConst{name, descr, value});
}

void TMParser::SetConstant(int i, const std::string& name, const std::string& descr, double value)
{
    constants_.at(i) = TUserConst{name, descr, value};
}

void TMParser::SetVariable(int i, const std::string& name, const std::string& expr)
{
    variables_.at(i) = TUserVar{name, expr};
}

// Trees keep constant and variable indexes, so removing one drops the parsed tree.
void TMParser::RemoveConstant(int i)
{
    if (EraseAt(constants_, i))
        tree_ = {};
}

void TMParser::ClearConstants()
{
    constants_.clear();
    tree_ = {};
}

void TMParser::AddVariable(const std::string& name, const std::string& expr)
{
    variables_.push_back(TUserVar{name, expr});
}

void TMParser::RemoveVariable(int i)
{
    if (EraseAt(variables_, i))
        tree_ = {};
}

void TMParser::ClearVariables()
{
    variables_.clear();
    tree_ = {};
}
