// Expression language of calculation scripts and title expressions: the parser object,
// its compiled tree, user constants, intermediate variables and the parse error.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

// A parse or evaluation error: code, 1-based position in the text (0 when none) and message.
class TError : public std::exception
{
public:
    enum Code
    {
        InvalidCharacter = 1,
        UnexpectedEnd = 2,
        UnexpectedToken = 3,
        UnbalancedBrackets = 4,
        UnknownName = 5,
        BadArgumentNumber = 6,
        BadFunctionArgumentCount = 7,
        MalformedNumber = 8,
        NotParsed = 9,
        EmptyExpression = 10,
    };

    TError(int code, int position);

    int GetCode() const { return code_; }
    int GetPosition() const { return position_; }
    const std::string& GetMessage() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    int code_;
    int position_;
    std::string message_;
};

// Per-argument values over the calculated range, in the order of the language's names.
enum class TRangeValue : uint8_t
{
    StartX, StopX, MiddleX, AverX, MinX, MaxX, MinDX, MaxDX, Count
};

// Values an expression reads besides its constants; all 0 outside a calculation. Sample
// values come in blocks so that one pass over the tree serves BlockSize samples.
struct TParserContext
{
    static constexpr int MaxArguments = 10;
    static constexpr int BlockSize = 256;
    using Block = std::array<double, BlockSize>;

    Block X[MaxArguments] = {};
    // An argument's samples of the block read where they stand (X not filled); null: read X.
    const float* XSamples[MaxArguments] = {};
    Block Depth = {};
    double StartD = 0;
    double StopD = 0;
    double Range[static_cast<int>(TRangeValue::Count)][MaxArguments] = {};
    std::vector<Block> Variables; // values of the intermediate variables, in order
};

// One node of a parsed expression. Nodes are stored in post-order (operands before their
// operator), so the tree is evaluated by one pass over the array with a value stack.
struct TParserNode
{
    enum class Kind : uint8_t
    {
        Number, Argument, Range, Depth, StartD, StopD, Constant, Variable,
        Negate, Add, Subtract, Multiply, Divide, Modulo, Power,
        Function, Max, Min, Aver
    };
    enum class Func : uint8_t
    {
        Sin, Cos, Tg, Ctg, ArcSin, ArcCos, ArcTg, ArcCtg, Sh, Ch, Th, Cth, Lg, Ln, Exp, Sqrt
    };

    Kind kind = Kind::Number;
    Func func = Func::Sin;
    uint8_t range = 0; // TRangeValue for Kind::Range
    int index = 0;     // argument, constant or variable index; operand count of Max/Min/Aver
    double value = 0;  // Kind::Number
};

// An operand of the evaluation: a block of samples (read where it stands, doubles or the floats
// of a curve) or, with neither, one value.
struct TEvalOperand
{
    const double* block = nullptr;
    const float* floats = nullptr;
    double scalar = 0;
};

struct TParserTree
{
    std::vector<TParserNode> Nodes;
    int StackDepth = 0;
    bool Empty() const { return Nodes.empty(); }
};

// User constant. The editor keeps names to 7 characters and descriptions to 55; the parser
// takes names as given, since it also holds variable names as constants when checking a text.
struct TUserConst
{
    static constexpr size_t MaxNameLength = 7;
    static constexpr size_t MaxDescrLength = 55;
    std::string Name;
    std::string Descr;
    double Value = 0;
};

struct TUserVar
{
    std::string Name;
    std::string Expr;
};

class TMParser
{
public:
    // Parses with the user constants as known names; true on success, any failure throws TError.
    bool Parse(std::string_view text);
    // Evaluates the tree of the last successful Parse and keeps the result; TError 9 without one.
    double Calculate();
    double GetResult() const { return result_; }

    // Compiles a text knowing the user constants and the first visibleVariables variables.
    TParserTree Compile(std::string_view text, int visibleVariables) const;
    // Evaluates the tree for the first n (1..BlockSize) samples of the context into out, which
    // also holds the tree's first working block: it must be no block the tree reads.
    void Evaluate(const TParserTree& tree, int n, double* out);
    // The same, the n values left where they were computed (valid until the next evaluation).
    const double* EvaluateInPlace(const TParserTree& tree, int n) { return EvaluateWith(tree, n, nullptr); }

    static bool IsReservedWord(std::string_view name);

    void AddConstant(const std::string& name, double value, const std::string& descr = {});
    void RemoveConstant(int i);
    void ClearConstants();
    int GetConstantCount() const { return static_cast<int>(constants_.size()); }
    const TUserConst& GetConstant(int i) const { return constants_.at(i); }
    void SetConstant(int i, const std::string& name, const std::string& descr, double value);
    void SetConstantValue(int i, double value) { constants_.at(i).Value = value; }

    void AddVariable(const std::string& name, const std::string& expr);
    void RemoveVariable(int i);
    void ClearVariables();
    int GetVariableCount() const { return static_cast<int>(variables_.size()); }
    const TUserVar& GetVariable(int i) const { return variables_.at(i); }
    void SetVariable(int i, const std::string& name, const std::string& expr);

    TParserContext& Context() { return context_; }
    const TParserContext& Context() const { return context_; }

private:
    std::vector<TUserConst> constants_;
    std::vector<TUserVar> variables_;
    TParserContext context_;
    TParserTree tree_;
    double result_ = 0;
    std::vector<double> stack_;
    std::vector<TEvalOperand> operands_;

    template <typename Op>
    void Combine(int count, int& depth, int n, double* result, Op op);
    const double* EvaluateWith(const TParserTree& tree, int n, double* bottom);
};
