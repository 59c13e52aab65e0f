#include "core/formula/parser.h"

#include <optional>
#include <string>
#include <utility>

#include "core/formula/lexer.h"

namespace qm::formula {
namespace {

struct BinaryInfo {
  BinaryOp op;
  int level;  // higher binds tighter
};

// The original groups && with || and & with ^ and | on one level each; C gives every
// operator its own level. Comma (level 0) and ?: are handled outside this table.
std::optional<BinaryInfo> binaryInfo(std::string_view t, bool c) {
  struct Entry {
    std::string_view text;
    BinaryOp op;
    int oneLevel;
    int cLevel;
  };
  static constexpr Entry kTable[] = {
      {"||", BinaryOp::LogOr, 3, 3}, {"&&", BinaryOp::LogAnd, 3, 4}, {"|", BinaryOp::BitOr, 4, 5},
      {"^", BinaryOp::BitXor, 4, 6}, {"&", BinaryOp::BitAnd, 4, 7},  {"==", BinaryOp::Eq, 5, 8},
      {"!=", BinaryOp::Ne, 5, 8},    {"<", BinaryOp::Lt, 6, 9},      {"<=", BinaryOp::Le, 6, 9},
      {">", BinaryOp::Gt, 6, 9},     {">=", BinaryOp::Ge, 6, 9},     {"<<", BinaryOp::Shl, 7, 10},
      {">>", BinaryOp::Shr, 7, 10},  {"+", BinaryOp::Add, 8, 11},    {"-", BinaryOp::Sub, 8, 11},
      {"*", BinaryOp::Mul, 9, 12},   {"/", BinaryOp::Div, 9, 12},    {"%", BinaryOp::Mod, 9, 12},
  };
  for (const Entry& e : kTable)
    if (e.text == t) return BinaryInfo{e.op, c ? e.cLevel : e.oneLevel};
  return std::nullopt;
}

constexpr int kLowestBinaryLevel = 3;

class Parser {
 public:
  Parser(std::string_view text, const LanguageOptions& options)
      : text_(text), lexer_(text), options_(options) {
    advance();
  }

  Outcome<SyntaxTree, FormulaError> run() {
    if (tok_.kind == TokenKind::End) return std::move(tree_);
    const int root = parseSequence();
    if (!error_ && tok_.kind == TokenKind::Invalid)
      fail("unexpected character '" + std::string(tok_.text) + "'");
    if (!error_ && tok_.kind != TokenKind::End)
      fail(isOp(")") ? "unmatched ')'" : "expected an operator");
    if (error_) return Failure{*error_};
    tree_.root = root;
    return std::move(tree_);
  }

 private:
  void advance() { tok_ = lexer_.next(); }
  bool isOp(std::string_view t) const { return tok_.kind == TokenKind::Operator && tok_.text == t; }

  int fail(std::string message) {
    return failAt(tok_.position, tok_.text.size(), std::move(message));
  }
  int failAt(std::size_t pos, std::size_t len, std::string message) {
    if (!error_) error_ = FormulaError{pos, len == 0 ? 1 : len, std::move(message)};
    return -1;
  }

  int add(Node n) {
    tree_.nodes.push_back(std::move(n));
    return static_cast<int>(tree_.nodes.size() - 1);
  }

  // Guards every recursive descent so hostile nesting ends in an error, not a crash.
  struct DepthGuard {
    Parser& p;
    explicit DepthGuard(Parser& parser) : p(parser) { ++p.depth_; }
    ~DepthGuard() { --p.depth_; }
    bool tooDeep() const { return p.depth_ > kMaxNesting; }
  };

  int parseSequence() {
    int lhs = parseConditional();
    while (!error_ && isOp(",")) {
      Node n{
          NodeKind::Binary, static_cast<std::uint8_t>(BinaryOp::Comma), 0, {}, tok_.position, {}};
      advance();
      const int rhs = parseConditional();
      n.kids = {lhs, rhs};
      lhs = add(std::move(n));
    }
    return error_ ? -1 : lhs;
  }

  int parseConditional() {
    DepthGuard guard(*this);
    if (guard.tooDeep()) return fail("formula nested too deeply");
    const int cond = parseBinary(kLowestBinaryLevel);
    if (error_ || !isOp("?")) return error_ ? -1 : cond;
    Node n{NodeKind::Conditional, 0, 0, {}, tok_.position, {}};
    advance();
    const int yes = parseConditional();
    if (error_) return -1;
    if (!isOp(":")) return fail("expected ':'");
    advance();
    const int no = parseConditional();
    if (error_) return -1;
    n.kids = {cond, yes, no};
    return add(std::move(n));
  }

  // Precedence climbing: chains of one level are built in a loop, so a long sum does not
  // deepen the recursion.
  int parseBinary(int minLevel) {
    int lhs = parseUnary();
    while (!error_ && tok_.kind == TokenKind::Operator) {
      const auto info = binaryInfo(tok_.text, options_.cPrecedence);
      if (!info || info->level < minLevel) break;
      Node n{NodeKind::Binary, static_cast<std::uint8_t>(info->op), 0, {}, tok_.position, {}};
      advance();
      DepthGuard guard(*this);
      if (guard.tooDeep()) return fail("formula nested too deeply");
      const int rhs = parseBinary(info->level + 1);
      if (error_) return -1;
      n.kids = {lhs, rhs};
      lhs = add(std::move(n));
    }
    return error_ ? -1 : lhs;
  }

  int parseUnary() {
    DepthGuard guard(*this);
    if (guard.tooDeep()) return fail("formula nested too deeply");
    if (tok_.kind == TokenKind::Operator && tok_.text.size() == 1 &&
        std::string_view("-+!~").find(tok_.text[0]) != std::string_view::npos) {
      const UnaryOp op = tok_.text == "-"   ? UnaryOp::Neg
                         : tok_.text == "+" ? UnaryOp::Plus
                         : tok_.text == "!" ? UnaryOp::Not
                                            : UnaryOp::BitNot;
      Node n{NodeKind::Unary, static_cast<std::uint8_t>(op), 0, {}, tok_.position, {}};
      advance();
      const int operand = parseUnary();
      if (error_) return -1;
      n.kids = {operand};
      return add(std::move(n));
    }
    return parsePrimary();
  }

  int parsePrimary() {
    switch (tok_.kind) {
      case TokenKind::Number: {
        const int n = add(Node{NodeKind::Number, 0, tok_.value, {}, tok_.position, {}});
        advance();
        return n;
      }
      case TokenKind::Name:
        return parseName();
      case TokenKind::End:
        return fail("unexpected end of formula");
      case TokenKind::Invalid:
        return fail("unexpected character '" + std::string(tok_.text) + "'");
      case TokenKind::Operator:
        break;
    }
    if (!isOp("(")) return fail("expected a value");
    advance();
    const int inner = parseSequence();
    if (error_) return -1;
    if (!isOp(")")) return fail("expected ')'");
    advance();
    return inner;
  }

  int parseName() {
    const Token name = tok_;
    const auto info = lookupName(name.text);
    if (!info) return fail("unknown name '" + std::string(name.text) + "'");
    advance();
    if (info->kind != NameInfo::Kind::Function) {
      if (isOp("("))
        return failAt(name.position, name.text.size(),
                      "'" + std::string(name.text) + "' is not a function");
      return add(Node{NodeKind::Name, 0, 0, *info, name.position, {}});
    }
    if (!isOp("("))
      return failAt(name.position, name.text.size(),
                    "expected '(' after '" + std::string(name.text) + "'");
    advance();
    Node call{NodeKind::Call, 0, 0, *info, name.position, {}};
    if (!isOp(")")) {
      while (true) {
        const int arg = parseConditional();
        if (error_) return -1;
        call.kids.push_back(arg);
        if (isOp(",")) {
          advance();
          continue;
        }
        break;
      }
    }
    if (!isOp(")")) return fail("expected ')'");
    advance();
    if (static_cast<int>(call.kids.size()) != info->arity) {
      return failAt(name.position, name.text.size(),
                    "'" + std::string(name.text) + "' takes " + std::to_string(info->arity) +
                        (info->arity == 1 ? " argument" : " arguments"));
    }
    return add(std::move(call));
  }

  std::string_view text_;
  Lexer lexer_;
  LanguageOptions options_;
  Token tok_;
  SyntaxTree tree_;
  std::optional<FormulaError> error_;
  int depth_ = 0;
};

}  // namespace

Outcome<SyntaxTree, FormulaError> parseFormula(std::string_view text,
                                               const LanguageOptions& options) {
  return Parser(text, options).run();
}

}  // namespace qm::formula
