#pragma once
// Compiles the four channel formulas of a filter, for one image size and slider setting,
// into one instruction list: run constants and sliders are folded in, pure sub-expressions
// with constant operands are computed once, and pure results nobody uses are dropped.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/formula/outcome.h"
#include "core/formula/program.h"
#include "core/formula/syntax.h"

namespace qm::formula {

struct FilterSetup {
  int width = 0;
  int height = 0;
  int channels = 3;  // 4: the image has alpha and the A formula runs
  std::array<std::uint8_t, 8> sliders{};
  LanguageOptions language;
};

struct CompileError {
  int channel = 0;  // 0 R, 1 G, 2 B, 3 A
  FormulaError error;
};

// An empty formula (blanks and comments only) leaves its channel as it is: the original
// refuses to run with an empty field, but a source file missing one formula is common and
// "c" is what a user would have typed.
Outcome<Program, CompileError> compileFilter(const std::array<std::string, 4>& formulas,
                                             const FilterSetup& setup);

// Drops instructions whose results nobody reads and that change nothing, and recounts the
// inputs and state the rest use.
void removeDeadCode(Program& program);

// Parses and checks the formulas without an image, for editors: the first error, if any.
std::optional<CompileError> checkFilter(const std::array<std::string, 4>& formulas, int channels,
                                        const LanguageOptions& language = {});

}  // namespace qm::formula
