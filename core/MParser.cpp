// Tokenizer and recursive-descent parser of the expression language.
#include "core/MParser.h"

#include "core/StringUtils.h"

#include <charconv>
#include <numbers>

namespace {

constexpr int MaxNesting = 256;

const char* ErrorMessage(int code)
{
    switch (code) {
    case TError::InvalidCharacter: return "Недопустимый символ";
    case TError::UnexpectedEnd: return "Неожиданный конец выражения";
    case TError::UnexpectedToken: return "Синтаксическая ошибка";
    case TError::UnbalancedBrackets: return "Несогласованные скобки";
    case TError::UnknownName: return "Неизвестное имя";
    case TError::BadArgumentNumber: return "Неверный номер аргумента";
    case TError::BadFunctionArgumentCount: return "Неверное количество аргументов функции";
    case TError::MalformedNumber: return "Неверная запись числа";
    case TError::NotParsed: return "Выражение не разобрано";
    case TError::EmptyExpression: return "Пустое выражение";
    }
    return "Ошибка в выражении";
}

struct NamedFunc
{
    const char* name;
    TParserNode::Func func;
};

constexpr NamedFunc Functions[] = {
    {"sin", TParserNode::Func::Sin},       {"cos", TParserNode::Func::Cos},
    {"tg", TParserNode::Func::Tg},         {"ctg", TParserNode::Func::Ctg},
    {"arcsin", TParserNode::Func::ArcSin}, {"arccos", TParserNode::Func::ArcCos},
    {"arctg", TParserNode::Func::ArcTg},   {"arcctg", TParserNode::Func::ArcCtg},
    {"sh", TParserNode::Func::Sh},         {"ch", TParserNode::Func::Ch},
    {"th", TParserNode::Func::Th},         {"cth", TParserNode::Func::Cth},
    {"lg", TParserNode::Func::Lg},         {"ln", TParserNode::Func::Ln},
    {"exp", TParserNode::Func::Exp},       {"sqrt", TParserNode::Func::Sqrt},
};

// In TRangeValue order.
constexpr const char* RangeNames[] = {"startx", "stopx", "middlex", "averx",
                                      "min_x",  "max_x", "mind_x",  "maxd_x"};

constexpr const char* OtherReservedWords[] = {"max", "min", "aver", "pi", "e", "depth", "startd", "stopd", "x"};

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct Token
{
    enum class Type { Number, Name, Operator, End } type = Type::End;
    char op = 0;
    int position = 0; // 1-based
    std::string_view text;
    double number = 0;
};

class Lexer
{
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    int EndPosition() const { return static_cast<int>(text_.size()) + 1; }

    Token Next()
    {
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
        Token token;
        token.position = static_cast<int>(pos_) + 1;
        if (pos_ >= text_.size())
            return token;
        const char c = text_[pos_];
        if (IsDigit(c) || c == '.')
            return Number(token);
        if (IsLetter(c)) {
            const size_t start = pos_;
            while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_])))
                ++pos_;
            token.type = Token::Type::Name;
            token.text = text_.substr(start, pos_ - start);
            return token;
        }
        if (std::string_view("+-*/%^()[],").find(c) != std::string_view::npos) {
            ++pos_;
            token.type = Token::Type::Operator;
            token.op = c;
            token.text = text_.substr(pos_ - 1, 1);
            return token;
        }
        throw TError(TError::InvalidCharacter, token.position);
    }

private:
    size_t SkipDigits()
    {
        const size_t start = pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_]))
            ++pos_;
        return pos_ - start;
    }

    bool At(size_t i, bool (*test)(char)) const { return i < text_.size() && test(text_[i]); }

    // digits [ "." digits ] | "." digits, then optionally ("e" | "E") [sign] digits.
    Token Number(Token token)
    {
        const size_t start = pos_;
        const auto malformed = [&] { return TError(TError::MalformedNumber, token.position); };
        const size_t whole = SkipDigits();
        if (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            if (SkipDigits() == 0)
                throw malformed();
        } else if (whole == 0) {
            throw malformed();
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-'))
                ++pos_;
            if (SkipDigits() == 0)
                throw malformed();
        }
        // "1.2.3", "2x": a number glued to a point, a letter or a digit is a typing slip.
        if (pos_ < text_.size() && (text_[pos_] == '.' || IsLetter(text_[pos_])))
            throw malformed();
        token.text = text_.substr(start, pos_ - start);
        const auto [end, ec] = std::from_chars(token.text.data(), token.text.data() + token.text.size(),
                                               token.number);
        if (ec != std::errc() || end != token.text.data() + token.text.size())
            throw malformed();
        token.type = Token::Type::Number;
        return token;
    }

    std::string_view text_;
    size_t pos_ = 0;
};

class Parser
{
public:
    Parser(std::string_view text, const std::vector<TUserConst>& constants,
           const std::vector<TUserVar>& variables, int visibleVariables, TParserTree& tree)
        : lexer_(text), constants_(constants), variables_(variables),
          visibleVariables_(visibleVariables), tree_(tree)
    {
    }

    void Run()
    {
        Advance();
        if (token_.type == Token::Type::End)
            throw TError(TError::EmptyExpression, 1);
        Expr();
        if (IsOp(')') || IsOp(']'))
            throw TError(TError::UnbalancedBrackets, token_.position);
        if (token_.type != Token::Type::End)
            throw TError(TError::UnexpectedToken, token_.position);
    }

private:
    void Advance() { token_ = lexer_.Next(); }
    bool IsOp(char op) const { return token_.type == Token::Type::Operator && token_.op == op; }

    [[noreturn]] void Unexpected() const
    {
        if (token_.type == Token::Type::End)
            throw TError(TError::UnexpectedEnd, token_.position);
        throw TError(TError::UnexpectedToken, token_.position);
    }

    // A closing bracket is due: a missing or wrong one is a bracket error.
    void ExpectClose(char close)
    {
        if (IsOp(close)) {
            Advance();
            return;
        }
        if (token_.type == Token::Type::End || IsOp(')') || IsOp(']'))
            throw TError(TError::UnbalancedBrackets, token_.position);
        throw TError(TError::UnexpectedToken, token_.position);
    }

    // pushes: the change of the value stack height when the node runs.
    void Emit(const TParserNode& node, int pushes)
    {
        tree_.Nodes.push_back(node);
        height_ += pushes;
        if (height_ > tree_.StackDepth)
            tree_.StackDepth = height_;
    }

    void EmitKind(TParserNode::Kind kind, int pushes)
    {
        TParserNode node;
        node.kind = kind;
        Emit(node, pushes);
    }

    void Expr()
    {
        Term();
        while (IsOp('+') || IsOp('-')) {
            const auto kind = token_.op == '+' ? TParserNode::Kind::Add : TParserNode::Kind::Subtract;
            Advance();
            Term();
            EmitKind(kind, -1);
        }
    }

    void Term()
    {
        Unary();
        while (IsOp('*') || IsOp('/') || IsOp('%')) {
            const auto kind = token_.op == '*'   ? TParserNode::Kind::Multiply
                              : token_.op == '/' ? TParserNode::Kind::Divide
                                                 : TParserNode::Kind::Modulo;
            Advance();
            Unary();
            EmitKind(kind, -1);
        }
    }

    void Unary()
    {
        // Every level of nesting passes here; a bound keeps hostile texts off the call stack.
        if (++nesting_ > MaxNesting)
            throw TError(TError::UnexpectedToken, token_.position);
        if (IsOp('+') || IsOp('-')) {
            const bool negate = token_.op == '-';
            Advance();
            Unary();
            if (negate)
                EmitKind(TParserNode::Kind::Negate, 0);
        } else {
            Power();
        }
        --nesting_;
    }

    void Power()
    {
        Primary();
        if (IsOp('^')) {
            Advance();
            Unary(); // right-associative, and -2^2 = -(2^2)
            EmitKind(TParserNode::Kind::Power, -1);
        }
    }

    void Primary()
    {
        if (token_.type == Token::Type::Number) {
            TParserNode node;
            node.value = token_.number;
            Emit(node, 1);
            Advance();
            return;
        }
        if (IsOp('(')) {
            Advance();
            Expr();
            ExpectClose(')');
            return;
        }
        if (token_.type == Token::Type::Name) {
            Name();
            return;
        }
        Unexpected();
    }

    void Name()
    {
        const Token name = token_;
        const std::string lower = LowerAscii(name.text);
        Advance();
        TParserNode node;
        if (lower == "x") {
            node.kind = TParserNode::Kind::Argument;
            node.index = ArgumentNumber();
            Emit(node, 1);
            return;
        }
        for (size_t r = 0; r < std::size(RangeNames); ++r) {
            if (lower == RangeNames[r]) {
                node.kind = TParserNode::Kind::Range;
                node.range = static_cast<uint8_t>(r);
                node.index = ArgumentNumber();
                Emit(node, 1);
                return;
            }
        }
        for (const auto& f : Functions) {
            if (lower == f.name) {
                const int commaPosition = Arguments();
                if (commaPosition > 0)
                    throw TError(TError::BadFunctionArgumentCount, commaPosition);
                node.kind = TParserNode::Kind::Function;
                node.func = f.func;
                Emit(node, 0);
                return;
            }
        }
        if (lower == "max" || lower == "min" || lower == "aver") {
            node.kind = lower == "max"   ? TParserNode::Kind::Max
                        : lower == "min" ? TParserNode::Kind::Min
                                         : TParserNode::Kind::Aver;
            const int before = height_;
            Arguments();
            node.index = height_ - before;
            Emit(node, 1 - node.index);
            return;
        }
        if (lower == "pi" || lower == "e") {
            node.value = lower == "pi" ? std::numbers::pi : std::numbers::e;
            Emit(node, 1);
            return;
        }
        if (lower == "depth" || lower == "startd" || lower == "stopd") {
            node.kind = lower == "depth"    ? TParserNode::Kind::Depth
                        : lower == "startd" ? TParserNode::Kind::StartD
                                            : TParserNode::Kind::StopD;
            Emit(node, 1);
            return;
        }
        // A later variable shadows an earlier one and any constant of the same name.
        for (int v = visibleVariables_ - 1; v >= 0; --v) {
            if (EqualIgnoringAsciiCase(variables_[v].Name, name.text)) {
                node.kind = TParserNode::Kind::Variable;
                node.index = v;
                Emit(node, 1);
                return;
            }
        }
        for (size_t c = 0; c < constants_.size(); ++c) {
            if (EqualIgnoringAsciiCase(constants_[c].Name, name.text)) {
                node.kind = TParserNode::Kind::Constant;
                node.index = static_cast<int>(c);
                Emit(node, 1);
                return;
            }
        }
        throw TError(TError::UnknownName, name.position);
    }

    // "[" digit "]" or "(" digit ")" after x or a range name.
    int ArgumentNumber()
    {
        if (!IsOp('[') && !IsOp('('))
            Unexpected();
        const char close = token_.op == '[' ? ']' : ')';
        Advance();
        if (token_.type == Token::Type::End)
            Unexpected();
        if (token_.type != Token::Type::Number || token_.text.size() != 1)
            throw TError(TError::BadArgumentNumber, token_.position);
        const int number = token_.text[0] - '0';
        Advance();
        ExpectClose(close);
        return number;
    }

    // "(" expr { "," expr } ")"; returns the position of the first comma (0 when none).
    int Arguments()
    {
        if (!IsOp('('))
            Unexpected();
        Advance();
        if (IsOp(')'))
            throw TError(TError::BadFunctionArgumentCount, token_.position);
        int firstComma = 0;
        for (;;) {
            Expr();
            if (!IsOp(','))
                break;
            if (firstComma == 0)
                firstComma = token_.position;
            Advance();
        }
        ExpectClose(')');
        return firstComma;
    }

    Lexer lexer_;
    Token token_;
    const std::vector<TUserConst>& constants_;
    const std::vector<TUserVar>& variables_;
    int visibleVariables_;
    TParserTree& tree_;
    int height_ = 0;
    int nesting_ = 0;
};

} // namespace

TError::TError(int code, int position)
    : code_(code), position_(position), message_(ErrorMessage(code))
{
}

bool TMParser::IsReservedWord(std::string_view name)
{
    const std::string lower = LowerAscii(name);
    for (const auto& f : Functions)
        if (lower == f.name)
            return true;
    for (const char* range : RangeNames)
        if (lower == range)
            return true;
    for (const char* word : OtherReservedWords)
        if (lower == word)
            return true;
    return false;
}

TParserTree TMParser::Compile(std::string_view text, int visibleVariables) const
{
    TParserTree tree;
    Parser(text, constants_, variables_, std::min(visibleVariables, GetVariableCount()), tree).Run();
    return tree;
}

bool TMParser::Parse(std::string_view text)
{
    tree_ = Compile(text, 0); // a failed parse keeps the last good tree
    return true;
}
