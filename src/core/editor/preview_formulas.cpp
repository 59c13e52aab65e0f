#include "core/editor/preview_formulas.h"

namespace qm::editor {
namespace {

constexpr std::size_t kR = 0, kG = 1, kB = 2, kA = 3;

}  // namespace

std::string_view channelLetter(int box) {
  static constexpr std::string_view kLetters[] = {"a", "r", "g", "b"};
  return box >= 0 && box < 4 ? kLetters[box] : std::string_view();
}

bool fillEmptyBoxes(EditorFormulas& boxes) {
  bool changed = false;
  for (int box = 0; box < 4; ++box) {
    if (!boxes[box].empty()) continue;
    boxes[box] = channelLetter(box);
    changed = true;
  }
  return changed;
}

std::string ReplaceAwithI(std::string_view alphaFormula) {
  static constexpr std::string_view kKeepAfter = "lbdpxn";
  std::string out(alphaFormula);
  for (std::size_t k = 0; k < out.size(); ++k) {
    if (out[k] != 'a') continue;
    bool keep = k + 1 < out.size() && kKeepAfter.find(out[k + 1]) != std::string_view::npos;
    if (!keep) out[k] = 'i';
  }
  return out;
}

PreviewFormulas previewFormulas(const std::array<std::string, 4>& record, bool oneBox,
                                bool alphaView) {
  PreviewFormulas result{record, false};
  auto& f = result.record;
  if (oneBox) f[kG] = f[kB] = f[kR];
  if (alphaView && f[kA] != "a") {
    std::string shown = ReplaceAwithI(f[kA]);
    // A get in the alpha formula reads cells the colour formulas put; keep those running.
    if (shown.find("get") == std::string::npos || f[kR].size() < 2)
      f[kR] = f[kG] = f[kB] = shown;
    else
      f[kB] = shown;
    result.alphaShown = true;
  }
  return result;
}

}  // namespace qm::editor
