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

} // namespace

void TMParser::Evaluate(const TParserTree& tree, int n, double* out)
{
    constexpr int B = TParserContext::BlockSize;
    if (tree.Empty())
        throw TError(TError::NotParsed, 0);
    if (stack_.size() < static_cast<size_t>(tree.StackDepth) * B)
        stack_.resize(static_cast<size_t>(tree.StackDepth) * B);
    if (context_.Variables.size() < variables_.size())
        context_.Variables.resize(variables_.size(), TParserContext::Block{});

    // Each stack entry is a block of B values; top points at the block on top (null while empty).
    double* top = nullptr;
    const auto next = [&] { return top = top ? top + B : stack_.data(); };
    const auto push = [&](double value) { std::fill_n(next(), n, value); };
    const auto pushBlock = [&](const double* values) { std::copy_n(values, n, next()); };
    // Binary operators leave their result in the lower operand's block.
    const auto binary = [&](auto op) {
        double* a = top - B;
        for (int j = 0; j < n; ++j)
            a[j] = op(a[j], top[j]);
        top = a;
    };
    using K = TParserNode::Kind;
    for (const TParserNode& node : tree.Nodes) {
        switch (node.kind) {
        case K::Number: push(node.value); break;
        case K::Argument: pushBlock(context_.X[node.index].data()); break;
        case K::Range: push(context_.Range[node.range][node.index]); break;
        case K::Depth: pushBlock(context_.Depth.data()); break;
        case K::StartD: push(context_.StartD); break;
        case K::StopD: push(context_.StopD); break;
        case K::Constant: push(constants_[node.index].Value); break;
        case K::Variable: pushBlock(context_.Variables[node.index].data()); break;
        case K::Negate:
            for (int j = 0; j < n; ++j)
                top[j] = -top[j];
            break;
        case K::Add: binary([](double a, double b) { return a + b; }); break;
        case K::Subtract: binary([](double a, double b) { return a - b; }); break;
        case K::Multiply: binary([](double a, double b) { return a * b; }); break;
        case K::Divide: binary([](double a, double b) { return a / b; }); break;
        case K::Modulo: binary([](double a, double b) { return std::fmod(a, b); }); break;
        case K::Power: binary([](double a, double b) { return std::pow(a, b); }); break;
        case K::Function:
            for (int j = 0; j < n; ++j)
                top[j] = ApplyFunction(node.func, top[j]);
            break;
        case K::Max:
        case K::Min:
        case K::Aver: {
            double* first = top - (node.index - 1) * B;
            for (double* operand = first + B; operand <= top; operand += B) {
                for (int j = 0; j < n; ++j) {
                    if (node.kind == K::Max)
                        first[j] = operand[j] > first[j] ? operand[j] : first[j];
                    else if (node.kind == K::Min)
                        first[j] = operand[j] < first[j] ? operand[j] : first[j];
                    else
                        first[j] += operand[j];
                }
            }
            if (node.kind == K::Aver)
                for (int j = 0; j < n; ++j)
                    first[j] /= node.index;
            top = first;
            break;
        }
        }
    }
    std::copy(top, top + n, out);
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
