#include "core/editor/shape_check.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/formula/lexer.h"
#include "core/formula/parser.h"

namespace qm::editor {
namespace {

using formula::Token;
using formula::TokenKind;

constexpr std::array<std::string_view, 18> kBinaryOperators = {"||", "&&", "|",  "^", "&",  "==",
                                                               "!=", "<",  "<=", ">", ">=", "<<",
                                                               ">>", "+",  "-",  "*", "/",  "%"};

class ShapeChecker {
 public:
  explicit ShapeChecker(std::string_view text) : size_(text.size()) {
    std::vector<Token> lexed;
    formula::Lexer lexer(text);
    for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) lexed.push_back(t);
    for (std::size_t k = 0; k < lexed.size(); ++k) {
      Token t = lexed[k];
      // A whole argument placeholder is one operand, however it lexes inside.
      if (t.kind == TokenKind::Invalid) {
        if (const auto close = placeholderEnd(text, t.position); close != std::string_view::npos) {
          t.text = text.substr(t.position, close + 1 - t.position);
          while (k + 1 < lexed.size() && lexed[k + 1].position <= close) ++k;
        }
      }
      tokens_.push_back(t);
    }
  }

  std::vector<Diagnostic> run() {
    if (!tokens_.empty()) sequence(false);
    std::ranges::sort(found_, {}, &Diagnostic::position);
    return std::move(found_);
  }

 private:
  // Keeps hostile nesting from exhausting the stack; the parser reports it in its own words.
  struct DepthGuard {
    ShapeChecker& c;
    explicit DepthGuard(ShapeChecker& checker) : c(checker) {
      if (++c.depth_ > formula::kMaxNesting) c.stopped_ = true;
    }
    ~DepthGuard() { --c.depth_; }
  };

  bool atEnd() const { return next_ >= tokens_.size(); }
  const Token& token() const { return tokens_[next_]; }
  std::size_t here() const { return atEnd() ? size_ : token().position; }
  void advance() { ++next_; }

  bool isOp(std::string_view op) const {
    return !atEnd() && token().kind == TokenKind::Operator && token().text == op;
  }
  bool isBinaryOperator() const {
    return !atEnd() && token().kind == TokenKind::Operator &&
           std::ranges::find(kBinaryOperators, token().text) != kBinaryOperators.end();
  }
  bool isUnaryOperator() const { return isOp("-") || isOp("+") || isOp("!") || isOp("~"); }
  bool isStrange() const { return !atEnd() && token().kind == TokenKind::Invalid; }
  bool startsOperand() const {
    if (atEnd()) return false;
    const TokenKind kind = token().kind;
    return kind == TokenKind::Number || kind == TokenKind::Name || kind == TokenKind::Invalid ||
           isOp("(") || isUnaryOperator();
  }

  void report(std::string message) {
    const std::size_t position = here();
    if (std::ranges::any_of(found_, [&](const Diagnostic& d) { return d.position == position; }))
      return;
    const std::size_t length = atEnd() ? 1 : token().text.size();
    found_.push_back(Diagnostic{0, position, length, std::move(message)});
  }

  // Operands separated by ",", up to the end (top level) or a ")" left for the caller.
  void sequence(bool inBrackets) {
    int colonsOwed = 0;  // "?" that missed their ":"; a stray ":" later is one of theirs
    conditional(colonsOwed, false);
    while (!stopped_) {
      if (isOp(",")) {
        advance();
        conditional(colonsOwed, false);
        continue;
      }
      if (atEnd() || (inBrackets && isOp(")"))) return;
      // A ")" with no "(" or a ":" with no "?": read on as if it were not there.
      if (isOp(":") && colonsOwed > 0)
        --colonsOwed;
      else
        report(isOp(")") ? "unmatched ')'" : "':' without '?'");
      advance();
      conditional(colonsOwed, true);
    }
  }

  // lenient: the operand before may be missing (reading on after a skipped token).
  void conditional(int& colonsOwed, bool lenient) {
    DepthGuard guard(*this);
    if (stopped_) return;
    chain(lenient);
    if (stopped_ || !isOp("?")) return;
    advance();
    conditional(colonsOwed, false);
    if (stopped_) return;
    if (!isOp(":")) {
      report("expected ':'");
      ++colonsOwed;
      return;
    }
    advance();
    conditional(colonsOwed, false);
  }

  // Operands joined by binary operators. Precedence does not change what is well formed.
  void chain(bool lenient) {
    if (!lenient || startsOperand()) unary();
    while (!stopped_) {
      if (isBinaryOperator()) {
        advance();
        unary();
      } else if (isStrange()) {
        // Between operands it stands for an operator; the character itself is reported apart.
        advance();
        if (startsOperand()) unary();
      } else if (startsOperand()) {
        report("expected an operator");
        unary();
      } else {
        return;
      }
    }
  }

  void unary() {
    DepthGuard guard(*this);
    if (stopped_) return;
    if (isUnaryOperator()) {
      advance();
      unary();
      return;
    }
    operand();
  }

  void operand() {
    if (atEnd()) {
      report("unexpected end of formula");
      return;
    }
    const TokenKind kind = token().kind;
    if (kind == TokenKind::Number || kind == TokenKind::Invalid) {
      advance();
      return;
    }
    if (kind == TokenKind::Name) {
      advance();
      // Whatever the name is, brackets after it are its argument list.
      if (isOp("(")) {
        advance();
        if (!isOp(")")) sequence(true);
        if (isOp(")")) advance();
      }
      return;
    }
    if (isOp("(")) {
      advance();
      sequence(true);
      if (isOp(")")) advance();
      return;
    }
    // Left in place: an operator, "," or ")" after it still means what it says.
    report("expected a value");
  }

  std::size_t size_;
  std::vector<Token> tokens_;
  std::size_t next_ = 0;
  int depth_ = 0;
  bool stopped_ = false;
  std::vector<Diagnostic> found_;
};

}  // namespace

std::vector<Diagnostic> listShapeErrors(std::string_view formula) {
  return ShapeChecker(formula).run();
}

}  // namespace qm::editor
