#pragma once
// The parsed form of one formula: a flat arena of nodes (no recursion on destruction) and
// the error type every stage reports, with a position the editor can underline.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/formula/names.h"

namespace qm::formula {

struct FormulaError {
  std::size_t position = 0;  // byte offset in the formula text
  std::size_t length = 1;    // bytes to underline
  std::string message;
};

enum class NodeKind : std::uint8_t { Number, Name, Call, Unary, Binary, Conditional };

enum class UnaryOp : std::uint8_t { Neg, Plus, Not, BitNot };

enum class BinaryOp : std::uint8_t {
  Comma,
  LogAnd,
  LogOr,
  BitAnd,
  BitXor,
  BitOr,
  Eq,
  Ne,
  Lt,
  Le,
  Gt,
  Ge,
  Shl,
  Shr,
  Add,
  Sub,
  Mul,
  Div,
  Mod
};

struct Node {
  NodeKind kind = NodeKind::Number;
  std::uint8_t op = 0;     // UnaryOp or BinaryOp
  std::int32_t value = 0;  // Number
  NameInfo name{};         // Name and Call
  std::size_t position = 0;
  std::vector<int> kids;  // node indices
};

struct SyntaxTree {
  std::vector<Node> nodes;
  int root = -1;  // -1: the formula is empty (only blanks and comments)
};

// Choices for the points the language reference leaves open; the defaults follow its
// recommendations.
struct LanguageOptions {
  bool cPrecedence = false;      // && above ||, & above ^ above |, as in C
  bool arithmeticShift = false;  // >> keeps the sign
};

}  // namespace qm::formula
