#pragma once
// The shape of a formula (operands, operators, brackets, "?:") checked the way the parser
// reads it, but carrying on after each mistake, so that a formula with several independent
// mistakes gets each of them listed once and a mistake does not drag others after it.

#include <string_view>
#include <vector>

#include "core/editor/diagnostics.h"

namespace qm::editor {

// Names, arities and unexpected characters are not judged here: an unknown name or stray
// character stands for an operand (or, between operands, for an operator). A "(" left open at
// the end is not reported either. Ordered by position, one error per position at most.
std::vector<Diagnostic> listShapeErrors(std::string_view formula);

}  // namespace qm::editor
