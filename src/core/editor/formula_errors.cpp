#include "core/editor/formula_errors.h"

#include <algorithm>

#include "core/editor/preview_formulas.h"
#include "core/editor/shape_check.h"
#include "core/formula/lexer.h"
#include "core/formula/names.h"
#include "core/formula/parser.h"

namespace qm::editor {
namespace {

using formula::Token;
using formula::TokenKind;

bool isOp(const Token& t, std::string_view op) {
  return t.kind == TokenKind::Operator && t.text == op;
}

std::string quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

class Linter {
 public:
  explicit Linter(std::string_view text) : text_(text) {
    formula::Lexer lexer(text);
    for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) tokens_.push_back(t);
  }

  std::vector<Diagnostic> run() {
    std::vector<std::size_t> open;  // token indices of unclosed "("
    for (std::size_t k = 0; k < tokens_.size(); ++k) {
      const Token& t = tokens_[k];
      if (t.kind == TokenKind::Invalid) {
        k = invalid(k);
      } else if (t.kind == TokenKind::Name) {
        name(k);
      } else if (isOp(t, "(")) {
        open.push_back(k);
      } else if (isOp(t, ")")) {
        if (open.empty())
          add(t.position, 1, "unmatched ')'");
        else
          open.pop_back();
      }
    }
    for (std::size_t k : open) add(tokens_[k].position, 1, "'(' is never closed");
    return std::move(found_);
  }

 private:
  void add(std::size_t position, std::size_t length, std::string message) {
    found_.push_back(Diagnostic{0, position, std::max<std::size_t>(length, 1), std::move(message)});
  }

  // An unexpected character, or a whole argument placeholder; returns the last token used.
  std::size_t invalid(std::size_t k) {
    const Token& t = tokens_[k];
    if (const auto close = placeholderEnd(text_, t.position); close != std::string_view::npos) {
      const auto inner = text_.substr(t.position + 1, close - t.position - 1);
      add(t.position, close + 1 - t.position, "argument " + quoted(inner) + " not filled in");
      std::size_t last = k;
      while (last + 1 < tokens_.size() && tokens_[last + 1].position <= close) ++last;
      return last;
    }
    add(t.position, 1, "unexpected character " + quoted(t.text));
    return k;
  }

  void name(std::size_t k) {
    const Token& t = tokens_[k];
    const auto info = formula::lookupName(t.text);
    const bool call = k + 1 < tokens_.size() && isOp(tokens_[k + 1], "(");
    if (!info) {
      add(t.position, t.text.size(), "unknown name " + quoted(t.text));
      return;
    }
    if (info->kind != formula::NameInfo::Kind::Function) {
      if (call) add(t.position, t.text.size(), quoted(t.text) + " is not a function");
      return;
    }
    if (!call) {
      add(t.position, t.text.size(), "expected '(' after " + quoted(t.text));
      return;
    }
    const int given = argumentCount(k + 1);
    if (given >= 0 && given != info->arity)
      add(t.position, t.text.size(),
          quoted(t.text) + " takes " + std::to_string(info->arity) +
              (info->arity == 1 ? " argument" : " arguments"));
  }

  // Arguments between the "(" at token open and its ")"; -1 when it is never closed.
  int argumentCount(std::size_t open) const {
    int depth = 0, commas = 0;
    for (std::size_t k = open; k < tokens_.size(); ++k) {
      const Token& t = tokens_[k];
      if (isOp(t, "(")) {
        ++depth;
      } else if (isOp(t, ")")) {
        if (--depth == 0) return k == open + 1 ? 0 : commas + 1;
      } else if (depth == 1 && isOp(t, ",")) {
        ++commas;
      }
    }
    return -1;
  }

  std::string_view text_;
  std::vector<Token> tokens_;
  std::vector<Diagnostic> found_;
};

// The order boxes are shown in: R (or C), G, B, A.
constexpr int kShownOrder[4] = {kBoxRed, kBoxGreen, kBoxBlue, kBoxAlpha};

int orderOf(int box) {
  for (int k = 0; k < 4; ++k)
    if (kShownOrder[k] == box) return k;
  return 4;
}

}  // namespace

std::vector<Diagnostic> listErrors(std::string_view formula) {
  std::vector<Diagnostic> found = Linter(formula).run();
  if (auto tree = formula::parseFormula(formula); !tree) {
    // A formula cut off inside a "(" gets that "(" listed, not its end as well.
    const bool unclosed = std::ranges::any_of(
        found, [](const Diagnostic& d) { return d.message == "'(' is never closed"; });
    auto explained = [&](std::size_t position) {
      return (unclosed && position >= formula.size()) ||
             std::ranges::any_of(found,
                                 [&](const Diagnostic& d) { return d.position == position; });
    };
    for (Diagnostic& d : listShapeErrors(formula))
      if (!explained(d.position)) found.push_back(std::move(d));
    // The parser's own first error, where nothing above stands for it (hostile nesting).
    const auto& e = tree.error();
    if (!explained(e.position)) found.push_back(Diagnostic{0, e.position, e.length, e.message});
  }
  std::ranges::stable_sort(found, {}, &Diagnostic::position);
  return found;
}

TextPlace placeOf(std::string_view text, std::size_t position) {
  TextPlace place;
  position = std::min(position, text.size());
  std::size_t lineStart = 0;
  for (std::size_t k = 0; k < position; ++k) {
    if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') continue;
    if (text[k] == '\r' || text[k] == '\n') {
      ++place.line;
      lineStart = k + 1;
    }
  }
  place.column = static_cast<int>(position - lineStart) + 1;
  return place;
}

std::vector<BoxError> listBoxErrors(const std::array<std::string, 4>& boxes, bool oneBox) {
  std::vector<BoxError> list;
  for (int box : kShownOrder) {
    if (oneBox && (box == kBoxGreen || box == kBoxBlue)) continue;
    static constexpr const char* kLetters[4] = {"A", "R", "G", "B"};
    const std::string channel = oneBox && box == kBoxRed ? "C" : kLetters[box];
    const bool multiLine = boxes[box].find_first_of("\r\n") != std::string::npos;
    for (Diagnostic d : listErrors(boxes[box])) {
      d.channel = box;
      list.push_back(BoxError{box, channel, d, placeOf(boxes[box], d.position), multiLine});
    }
  }
  return list;
}

std::string errorListText(const BoxError& error) {
  const std::string place =
      error.multiLine ? "line " + std::to_string(error.place.line) + ", " : std::string();
  return error.channel + "  " + place + "column " + std::to_string(error.place.column) + ": " +
         error.diagnostic.message;
}

std::string errorCaption(const BoxError& error) {
  return error.channel + "= " + errorListText(error).substr(error.channel.size() + 2);
}

int nextErrorIndex(const std::vector<BoxError>& errors, int box, std::size_t offset, bool forward) {
  if (errors.empty()) return -1;
  const auto here = std::pair(orderOf(box), offset);
  const int n = static_cast<int>(errors.size());
  auto at = [&](int k) { return std::pair(orderOf(errors[k].box), errors[k].diagnostic.position); };
  if (forward) {
    for (int k = 0; k < n; ++k)
      if (at(k) > here) return k;
    return 0;
  }
  for (int k = n - 1; k >= 0; --k)
    if (at(k) < here) return k;
  return n - 1;
}

}  // namespace qm::editor
