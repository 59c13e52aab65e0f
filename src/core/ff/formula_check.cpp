#include "core/ff/formula_check.h"

#include "core/formula/parser.h"

namespace qm::ff {

std::string describeFormulaError(int channel, std::size_t position, std::string_view message) {
  static constexpr std::string_view kNames[] = {"R", "G", "B", "A"};
  const std::string_view name = channel >= 0 && channel < 4 ? kNames[channel] : "?";
  return std::string(name) + ":" + std::to_string(position + 1) + ": " + std::string(message);
}

std::string firstFormulaError(const std::array<std::string, 4>& formulas) {
  for (int channel = 0; channel < 4; ++channel) {
    auto tree = formula::parseFormula(formulas[static_cast<std::size_t>(channel)]);
    if (!tree) return describeFormulaError(channel, tree.error().position, tree.error().message);
  }
  return {};
}

}  // namespace qm::ff
