#pragma once
// Turns one formula text into a syntax tree, or reports the first error with its position.

#include <string_view>

#include "core/formula/outcome.h"
#include "core/formula/syntax.h"

namespace qm::formula {

// Nesting deeper than this is refused with an error instead of exhausting the stack.
inline constexpr int kMaxNesting = 200;

Outcome<SyntaxTree, FormulaError> parseFormula(std::string_view text,
                                               const LanguageOptions& options = {});

}  // namespace qm::formula
