#include "core/plugins/image_modes.h"

#include <array>

namespace qm::plugins {
namespace {

struct ModeFacts {
  std::string_view name;
  int depth;
  int channels;
  int family;  // the 8-bit mode of the same colour model
  bool shown;  // HSL and HSB are in the numbering but no host offers them
};

constexpr std::array<ModeFacts, kModeCount> kModes = {{
    {"Bitmap", 1, 1, 0, true},
    {"Grey", 8, 1, 1, true},
    {"Indexed", 8, 1, 2, true},
    {"RGB", 8, 3, 3, true},
    {"CMYK", 8, 4, 4, true},
    {"HSL", 8, 3, 5, false},
    {"HSB", 8, 3, 6, false},
    {"Multichannel", 8, 3, 7, true},
    {"Duotone", 8, 1, 8, true},
    {"Lab", 8, 3, 9, true},
    {"Grey16", 16, 1, 1, true},
    {"RGB48", 16, 3, 3, true},
    {"Lab48", 16, 3, 9, true},
    {"CMYK64", 16, 4, 4, true},
    {"Multichannel16", 16, 3, 7, true},
    {"Duotone16", 16, 1, 8, true},
    {"RGB96", 32, 3, 3, true},
    {"Grey32", 32, 1, 1, true},
}};

// The order of the lists: the common colour models first.
constexpr std::array<int, 16> kShownOrder = {3,  1,  4,  9,  2,  0,  7,  8,
                                             11, 10, 13, 12, 14, 15, 16, 17};

bool valid(int mode) {
  return mode >= 0 && mode < kModeCount;
}

// The 8-bit families of the modes in set, in list order.
std::vector<int> familiesOf(ModeSet set, int depthWanted) {
  std::vector<int> families;
  for (int mode : kShownOrder) {
    if (!(set & modeBit(mode))) continue;
    const ModeFacts& facts = kModes[static_cast<std::size_t>(mode)];
    if (depthWanted != 0 && facts.depth != depthWanted) continue;
    bool seen = false;
    for (int f : families) seen = seen || f == facts.family;
    if (!seen) families.push_back(facts.family);
  }
  return families;
}

std::string joinedOr(const std::vector<int>& families) {
  std::string text;
  for (std::size_t i = 0; i < families.size(); ++i) {
    if (i > 0) text += i + 1 == families.size() ? " or " : ", ";
    text += modeName(families[i]);
  }
  return text;
}

bool anyOfDepth(ModeSet set, int depth) {
  for (int mode : kShownOrder)
    if (set & modeBit(mode) && kModes[static_cast<std::size_t>(mode)].depth == depth) return true;
  return false;
}

}  // namespace

int modeDepth(int mode) {
  return valid(mode) ? kModes[static_cast<std::size_t>(mode)].depth : 0;
}

int modeChannels(int mode) {
  return valid(mode) ? kModes[static_cast<std::size_t>(mode)].channels : 0;
}

std::string_view modeName(int mode) {
  return valid(mode) ? kModes[static_cast<std::size_t>(mode)].name : std::string_view{};
}

ModeSet modesFromFlagSet(ByteView flags) {
  ModeSet set = 0;
  for (int mode = 0; mode < kModeCount; ++mode) {
    auto byte = flags.u8(static_cast<std::size_t>(mode / 8));
    if (byte && *byte & (0x80 >> (mode % 8))) set |= modeBit(mode);
  }
  return set;
}

std::vector<std::string_view> modeNames(ModeSet set) {
  std::vector<std::string_view> names;
  for (int mode : kShownOrder)
    if (set & modeBit(mode)) names.push_back(modeName(mode));
  return names;
}

std::string modesColumnText(ModeSet set) {
  std::string text;
  auto add = [&](std::string_view part) {
    if (!text.empty()) text += ", ";
    text += part;
  };
  for (int family : familiesOf(set, 0)) add(modeName(family));
  if (anyOfDepth(set, 16)) add("16-bit");
  if (anyOfDepth(set, 32)) add("32-bit");
  return text;
}

std::string modesRestriction(ModeSet set) {
  const std::vector<int> families = familiesOf(set, 0);
  if (families.empty()) return "Greyed out in every image mode";
  const std::vector<int> deep = familiesOf(set, 16);
  const bool flat = anyOfDepth(set, 8) || anyOfDepth(set, 1);
  // Every family a 16-bit mode exists for, and which ones of them this filter takes deep.
  std::vector<int> deepPossible;
  for (int f : families)
    for (int mode = 10; mode < 16; ++mode)
      if (kModes[static_cast<std::size_t>(mode)].family == f) deepPossible.push_back(f);
  std::string text;
  if (families.size() == 8) {
    if (deep.size() == deepPossible.size()) return "Works in every image mode";
    text = "Works in every 8-bit image mode";
  } else {
    const std::string_view first = modeName(families.front());
    const bool vowel = first == "RGB" || first == "Indexed";
    text = std::string("Needs ") + (vowel ? "an " : "a ") + joinedOr(families) + " image";
  }
  if (deep.empty()) {
    text += "; not 16-bit";
  } else if (!flat) {
    text += "; 16-bit only";
  } else if (deep.size() < deepPossible.size()) {
    text += "; 16-bit only in " + joinedOr(deep);
  }
  return text;
}

}  // namespace qm::plugins
