#pragma once
// Splits formula text into tokens. Blanks, tabs, line ends, "//" comments and the stored
// line-break pairs "\r" / "\n" separate tokens and are otherwise ignored.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm::formula {

enum class TokenKind : std::uint8_t { End, Number, Name, Operator, Invalid };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string_view text;
  std::size_t position = 0;
  std::int32_t value = 0;  // Number: the value modulo 2^32
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}
  Token next();

 private:
  void skipBlanks();
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace qm::formula
