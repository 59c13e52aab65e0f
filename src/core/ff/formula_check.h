#pragma once
// Whether the formulas a plugin would hold compile, told the way `check` tells it.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qm::ff {

// "R:5: unknown name 'pow'": channel (0 R .. 3 A), 1-based column of byte offset position.
std::string describeFormulaError(int channel, std::size_t position, std::string_view message);

// The first error of the four formulas (record order R, G, B, A); empty when all compile.
std::string firstFormulaError(const std::array<std::string, 4>& formulas);

}  // namespace qm::ff
