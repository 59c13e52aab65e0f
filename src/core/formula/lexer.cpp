#include "core/formula/lexer.h"

#include <array>

namespace qm::formula {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
int hexDigit(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::array<std::string_view, 8> kTwoCharOperators = {
    "<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
constexpr std::string_view kOneCharOperators = "(),?:+-*/%<>&^|!~";

}  // namespace

void Lexer::skipBlanks() {
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++pos_;
    } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
      while (pos_ < text_.size() && text_[pos_] != '\r' && text_[pos_] != '\n') ++pos_;
    } else if (c == '\\' && pos_ + 1 < text_.size() &&
               (text_[pos_ + 1] == 'r' || text_[pos_ + 1] == 'n')) {
      // A line break the user typed, as source files store it.
      pos_ += 2;
    } else {
      return;
    }
  }
}

Token Lexer::next() {
  skipBlanks();
  Token t;
  t.position = pos_;
  if (pos_ >= text_.size()) return t;
  const char c = text_[pos_];
  const std::size_t start = pos_;
  if (isDigit(c)) {
    t.kind = TokenKind::Number;
    // Literals wrap modulo 2^32 (4294967296 is 0, 2147483648 is INT_MIN), as 32-bit code would.
    std::uint32_t v = 0;
    // Hexadecimal is accepted; whether the original did is unknown, and it costs nothing.
    if (c == '0' && pos_ + 1 < text_.size() && (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X') &&
        pos_ + 2 < text_.size() && hexDigit(text_[pos_ + 2]) >= 0) {
      pos_ += 2;
      while (pos_ < text_.size() && hexDigit(text_[pos_]) >= 0)
        v = v * 16u + static_cast<std::uint32_t>(hexDigit(text_[pos_++]));
    } else {
      while (pos_ < text_.size() && isDigit(text_[pos_]))
        v = v * 10u + static_cast<std::uint32_t>(text_[pos_++] - '0');
    }
    t.value = static_cast<std::int32_t>(v);
  } else if (isLetter(c)) {
    t.kind = TokenKind::Name;
    while (pos_ < text_.size() && (isLetter(text_[pos_]) || isDigit(text_[pos_]))) ++pos_;
  } else {
    t.kind = TokenKind::Operator;
    const std::string_view two = text_.substr(pos_, 2);
    bool found = false;
    for (std::string_view op : kTwoCharOperators)
      if (op == two) found = true;
    if (found) {
      pos_ += 2;
    } else if (kOneCharOperators.find(c) != std::string_view::npos) {
      pos_ += 1;
    } else {
      t.kind = TokenKind::Invalid;
      pos_ += 1;
    }
  }
  t.text = text_.substr(start, pos_ - start);
  return t;
}

}  // namespace qm::formula
