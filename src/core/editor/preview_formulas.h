#pragma once
// What the editor hands to the plugin writer for a preview: the formulas as typed, changed
// for one-box mode and for the alpha view. The boxes themselves keep what the user typed.

#include <array>
#include <string>
#include <string_view>

namespace qm::editor {

// The editor's formula boxes: 0 alpha, 1 red, 2 green, 3 blue.
enum EditorBox { kBoxAlpha = 0, kBoxRed = 1, kBoxGreen = 2, kBoxBlue = 3 };
using EditorFormulas = std::array<std::string, 4>;

// The letter an empty box gets back before a preview: "a", "r", "g", "b".
std::string_view channelLetter(int box);

// True when box holds nothing at all, so it gets its letter back.
bool fillEmptyBoxes(EditorFormulas& boxes);

// The alpha formula rewritten for display: every "a" not followed by l, b, d, p, x or n
// becomes "i", so abs, add, val, map, max and tan keep their names.
std::string ReplaceAwithI(std::string_view alphaFormula);

struct PreviewFormulas {
  std::array<std::string, 4> record;  // R, G, B, A as the record holds them
  bool alphaShown = false;            // the preview shows the alpha channel as grey
};

// record: the gathered formulas (R, G, B, A). oneBox: the red formula stands for all three
// colours. alphaView: the alpha-channel view is ticked.
PreviewFormulas previewFormulas(const std::array<std::string, 4>& record, bool oneBox,
                                bool alphaView);

}  // namespace qm::editor
