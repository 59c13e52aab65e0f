#include "core/editor/diagnostics.h"

#include "core/ff/formula_check.h"
#include "core/formula/parser.h"

namespace qm::editor {

std::vector<Diagnostic> checkFormula(std::string_view formula) {
  auto tree = formula::parseFormula(formula);
  if (tree) return {};
  const auto& e = tree.error();
  return {Diagnostic{0, e.position, e.length, e.message}};
}

std::vector<Diagnostic> checkFormulas(const std::array<std::string, 4>& formulas) {
  std::vector<Diagnostic> found;
  for (int channel = 0; channel < 4; ++channel) {
    for (Diagnostic d : checkFormula(formulas[channel])) {
      d.channel = channel;
      found.push_back(std::move(d));
    }
  }
  return found;
}

std::string_view channelName(int channel) {
  static constexpr std::string_view kNames[] = {"R", "G", "B", "A"};
  return channel >= 0 && channel < 4 ? kNames[channel] : std::string_view("?");
}

std::string describe(const Diagnostic& diagnostic) {
  return ff::describeFormulaError(diagnostic.channel, diagnostic.position, diagnostic.message);
}

std::size_t placeholderEnd(std::string_view formula, std::size_t from) {
  constexpr char kOpenMark = '\x8b';
  constexpr char kCloseMark = '\x9b';
  if (from >= formula.size() || formula[from] != kOpenMark) return std::string_view::npos;
  return formula.find(kCloseMark, from);
}

}  // namespace qm::editor
